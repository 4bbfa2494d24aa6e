// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveCli.h"
#include "Commands.h"

#include "app/Settings.h"
#include "app/TerminalText.h"
#include "archive/Overview.h"
#include "archive/SqliteArchive.h"
#include "texts/ArchiveTexts.h"
#include "views/OverviewPainter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include <map>
#include <utility>

namespace
{

const char *const kUsage = "overview [--archive FILE] [--patient TEXT] [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
                           "                   [--json | --csv | OUT.pdf]";

int usage(QTextStream &err)
{
    err << "usage: quellix-cli " << kUsage << "\n";
    return 2;
}

// The names of `analyze --json`; the valid time is given in seconds there too.
const char *figureKey(OverviewFigure f)
{
    switch (f) {
    case OverviewFigure::Odi3:
        return "odi3";
    case OverviewFigure::Odi4:
        return "odi4";
    case OverviewFigure::T90:
        return "t90Percent";
    case OverviewFigure::Nadir:
        return "nadir";
    case OverviewFigure::MeanSpo2:
        return "meanSpo2";
    case OverviewFigure::PulseMean:
        return "pulseMean";
    case OverviewFigure::ValidHours:
        return "validSeconds";
    case OverviewFigure::HypoxicBurden:
        return "hypoxicBurden";
    case OverviewFigure::Coverage:
        return "coverage";
    }
    return "";
}

const char *columnKey(OverviewColumn c)
{
    switch (c) {
    case OverviewColumn::MostRecent:
        return "mostRecent";
    case OverviewColumn::Last7:
        return "last7";
    case OverviewColumn::Last30:
        return "last30";
    case OverviewColumn::Last90:
        return "last90";
    case OverviewColumn::Last365:
        return "last365";
    case OverviewColumn::Period:
        return "period";
    }
    return "";
}

std::optional<double> statValue(const OverviewStats &s, OverviewFigure f)
{
    const std::optional<double> v = s.values[std::size_t(f)];
    if (v && f == OverviewFigure::ValidHours)
        return *v * 3600;
    return v;
}

// The keys and values of a statistics column, in the order of the CSV's columns.
std::vector<std::pair<QString, QJsonValue>> statFields(const OverviewStats &s)
{
    const auto optional = [](std::optional<double> v) { return v ? QJsonValue(*v) : QJsonValue(); };
    std::vector<std::pair<QString, QJsonValue>> out = {
        {QStringLiteral("column"), QLatin1String(columnKey(s.column))},
        {QStringLiteral("first"), s.first.isValid() ? QJsonValue(s.first.toString(Qt::ISODate)) : QJsonValue()},
        {QStringLiteral("last"), s.last.isValid() ? QJsonValue(s.last.toString(Qt::ISODate)) : QJsonValue()},
        {QStringLiteral("nights"), s.nights},
        {QStringLiteral("leftOut"), s.leftOut},
        {QStringLiteral("shortRecording"), s.shortNight},
    };
    for (int f = 0; f < kOverviewFigures; ++f)
        out.emplace_back(QLatin1String(figureKey(OverviewFigure(f))), optional(statValue(s, OverviewFigure(f))));
    out.emplace_back(QStringLiteral("pulseMin"), optional(s.pulseMin));
    out.emplace_back(QStringLiteral("pulseMax"), optional(s.pulseMax));
    return out;
}

QJsonObject nightRow(const OverviewData &d, const OverviewNight &n)
{
    QJsonObject o = nightJson(d.info(n));
    o.insert(QStringLiteral("date"), n.date.toString(Qt::ISODate));
    return o;
}

QString csvField(const QJsonValue &v)
{
    QString text;
    if (v.isBool())
        text = v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    else if (v.isDouble())
        text = QString::number(v.toDouble(), 'g', 12);
    else if (v.isString())
        text = v.toString();
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n')) ||
        text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1String("\""), QLatin1String("\"\""));
        text = QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

void writeCsv(QTextStream &out, const OverviewData &d)
{
    // The nights, then after an empty line the statistics, each with its header line.
    QStringList keys = {QStringLiteral("date")};
    for (const QString &key : nightJson(NightInfo()).keys())
        keys << key;
    std::sort(keys.begin() + 1, keys.end());
    out << keys.join(QLatin1Char(',')) << "\n";
    for (const OverviewNight &n : d.nights) {
        const QJsonObject o = nightRow(d, n);
        QStringList fields;
        for (const QString &key : keys)
            fields << csvField(o.value(key));
        out << fields.join(QLatin1Char(',')) << "\n";
    }
    out << "\n";
    QStringList header;
    for (const auto &[key, value] : statFields(OverviewStats()))
        header << key;
    out << header.join(QLatin1Char(',')) << "\n";
    for (const OverviewStats &s : d.table) {
        QStringList fields;
        for (const auto &[key, value] : statFields(s))
            fields << csvField(value);
        out << fields.join(QLatin1Char(',')) << "\n";
    }
}

void writeJson(QTextStream &out, const OverviewData &d)
{
    QJsonArray nights;
    for (const OverviewNight &n : d.nights)
        nights.append(nightRow(d, n));
    QJsonArray table;
    for (const OverviewStats &s : d.table) {
        QJsonObject o;
        for (const auto &[key, value] : statFields(s))
            o.insert(key, value);
        table.append(o);
    }
    const auto date = [](QDate day) { return day.isValid() ? QJsonValue(day.toString(Qt::ISODate)) : QJsonValue(); };
    const QJsonObject all{{QStringLiteral("patient"), d.patient},
                          {QStringLiteral("from"), date(d.from)},
                          {QStringLiteral("to"), date(d.to)},
                          {QStringLiteral("nights"), nights},
                          {QStringLiteral("statistics"), table}};
    out << QJsonDocument(all).toJson(QJsonDocument::Indented);
}

QString cell(double v, int decimals)
{
    return QString::number(v, 'f', decimals);
}

void writeText(QTextStream &out, const OverviewData &d)
{
    out << EscapeControls(d.patient) << "  " << d.from.toString(Qt::ISODate) << " .. " << d.to.toString(Qt::ISODate)
        << "\n";
    out << "night  date        ODI3  ODI4   T90  nadir  SpO2  pulse  hours  burden  cover\n";
    for (const OverviewNight &n : d.nights) {
        const NightInfo &info = d.info(n);
        const NightSummary &s = info.summary;
        out << QString::number(n.night).leftJustified(6) << n.date.toString(Qt::ISODate) << "  "
            << cell(s.odi3, 1).rightJustified(4) << cell(s.odi4, 1).rightJustified(6)
            << cell(s.t90Percent, 1).rightJustified(6) << QString::number(s.nadir).rightJustified(7)
            << cell(s.meanSpo2, 1).rightJustified(6) << cell(s.pulseMean, 0).rightJustified(7)
            << cell(s.validSeconds / 3600.0, 1).rightJustified(7) << cell(s.hypoxicBurden, 1).rightJustified(8)
            << cell(s.coverage, 0).rightJustified(7) << (s.shortRecording ? "  short" : "")
            << (info.summaryIsCurrent() ? "" : "  (figures of an older Quellix)") << "\n";
    }
    out << "\n";
    for (int r = 0; r < OverviewLayout::kTableRows; ++r) {
        QString line;
        for (int c = 0; c < OverviewLayout::kTableColumns; ++c) {
            const QString text = overviewCellText(d, r, c);
            line += c == 0 ? text.leftJustified(30) : text.rightJustified(20);
        }
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        out << line << "\n";
    }
    if (const QString note = overviewShortNote(d); !note.isEmpty())
        out << note << "\n";
}

// A patient as the archive lists nights: by ID and name.
using PatientKey = std::pair<int, QString>;

QString patientLabel(const NightInfo &n)
{
    return QStringLiteral("%1 (ID %2)").arg(patientText(n)).arg(n.deviceId);
}

} // namespace

int runOverview(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = arguments;
    QString path = SqliteArchive::defaultPath();
    QString server = Settings().clinicServer();
    ArchiveFilter filter;
    QString fromText;
    QString toText;
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    const bool csv = args.removeAll(QStringLiteral("--csv")) > 0;
    if (!takeOption(args, QStringLiteral("--archive"), &path) ||
        !takeOption(args, QStringLiteral("--archive-server"), &server) ||
        !takeOption(args, QStringLiteral("--patient"), &filter.patient) ||
        !takeOption(args, QStringLiteral("--from"), &fromText) || !takeOption(args, QStringLiteral("--to"), &toText))
        return usage(err);
    const QString pdf = args.size() == 1 ? args.first() : QString();
    if (args.size() > 1 ||
        (!pdf.isEmpty() && (json || csv || !pdf.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ||
                            pdf.startsWith(QLatin1Char('-')))) ||
        (json && csv))
        return usage(err);
    QDate from;
    QDate to;
    for (auto [text, date] : {std::pair{&fromText, &from}, std::pair{&toText, &to}}) {
        if (text->isEmpty())
            continue;
        *date = QDate::fromString(*text, Qt::ISODate);
        if (!date->isValid()) {
            err << "not a date: " << *text << " (use YYYY-MM-DD)\n";
            return 2;
        }
    }

    const std::unique_ptr<ClinicArchive> archive = openArchive(path, server, err);
    if (!archive)
        return 1;
    tellServer(*archive, err);
    // A night belongs to the date of the evening it began: one started in the
    // morning after `to` still belongs to the period.
    filter.from = from;
    filter.to = to.isValid() ? to.addDays(1) : to;
    const ArchiveResult<NightList> listed = archive->list(filter);
    if (!listed) {
        err << ArchiveTexts::text(listed, {path, {}, 0}) << "\n";
        return 1;
    }
    std::map<PatientKey, QString> patients;
    for (const NightInfo &n : listed.value())
        patients.emplace(PatientKey{n.deviceId, n.patientName}, patientLabel(n));
    if (patients.size() > 1) {
        err << "an overview is of one patient; " << (filter.patient.isEmpty() ? "the archive holds" : "that matches")
            << " " << patients.size() << " patients, choose one with --patient (an exact ID or a name):\n";
        for (const auto &[key, label] : patients)
            err << "  " << EscapeControls(label) << "\n";
        return 2;
    }
    if (patients.empty() && !json && !csv) {
        err << "no night in the archive " << path << (filter.patient.isEmpty() ? "" : " for that patient")
            << (from.isValid() || to.isValid() ? " in that period" : "") << "\n";
        return 1;
    }
    const QString patient = patients.empty() ? filter.patient : patients.begin()->second;
    const OverviewData data = buildOverview(listed.value(), from, to, patient);

    if (json) {
        writeJson(out, data);
        return 0;
    }
    if (csv) {
        writeCsv(out, data);
        return 0;
    }
    if (pdf.isEmpty()) {
        writeText(out, data);
        return 0;
    }
    OverviewPaintOptions options;
    options.forPrint = true;
    const NightInfo &latest = data.nights.empty() ? listed.value().back() : data.info(data.nights.back());
    options.title = latest.title.isEmpty() ? QStringLiteral("Overview") : latest.title;
    options.header.name = patientText(latest);
    options.header.id = QString::number(latest.deviceId);
    if (const FileResult written = printOverviewPdf(pdf, data, options); !written) {
        err << "Can't create the file " << pdf << ": " << written.detail() << "\n";
        return 1;
    }
    out << data.nights.size() << " nights -> " << pdf << "\n";
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveCli.h"
#include "Commands.h"

#include "app/Settings.h"
#include "app/TerminalText.h"
#include "archive/ClinicArchive.h"
#include "archive/FileImport.h"
#include "archive/NightFiles.h"
#include "archive/SummaryRefresh.h"
#include "texts/ArchiveTexts.h"
#include "texts/ImportTexts.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace
{

const char *const kUsage =
    "archive [--archive FILE] [--archive-server STRING] list [--patient TEXT] [--from YYYY-MM-DD] [--to YYYY-MM-DD] "
    "[--json]\n"
    "       quellix-cli archive [--archive FILE] import FILE... [--id N] [--name TEXT] [--columns MAP]\n"
    "                   [--time-format PATTERN] [--accept-refused]\n"
    "       quellix-cli archive [--archive FILE] export NIGHT OUT.dat|OUT.txt|OUT.xls|OUT.csv|OUT.edf\n"
    "       quellix-cli archive [--archive FILE] remove NIGHT\n"
    "       quellix-cli archive [--archive FILE] backup OUT | restore IN | check\n"
    "       quellix-cli archive [--archive-server STRING] sync";

int usage(QTextStream &err)
{
    err << "usage: quellix-cli " << kUsage << "\n";
    return 2;
}

std::optional<qint64> nightNumber(const QString &text, QTextStream &err)
{
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok || n == 0) { // below zero: this computer's nights while a clinic server is used
        err << "not a night number: " << text << " (see quellix-cli archive list)\n";
        return std::nullopt;
    }
    return n;
}

int list(ClinicArchive &archive, QStringList args, QTextStream &out, QTextStream &err)
{
    ArchiveFilter filter;
    QString from;
    QString to;
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    if (!takeOption(args, QStringLiteral("--patient"), &filter.patient) ||
        !takeOption(args, QStringLiteral("--from"), &from) || !takeOption(args, QStringLiteral("--to"), &to) ||
        !args.isEmpty())
        return usage(err);
    for (auto [text, date] : {std::pair{&from, &filter.from}, std::pair{&to, &filter.to}}) {
        if (text->isEmpty())
            continue;
        *date = QDate::fromString(*text, Qt::ISODate);
        if (!date->isValid()) {
            err << "not a date: " << *text << " (use YYYY-MM-DD)\n";
            return 2;
        }
    }
    // Figures an older program computed are computed again first; where that
    // cannot be done (a read-only archive) they are listed as they are, marked.
    const std::atomic<bool> never{false};
    if (const ArchiveResult<int> refreshed = refreshOlderSummaries(archive.local(), {}, never); !refreshed)
        err << "the figures of nights archived by an older Quellix were not computed again: "
            << ArchiveTexts::text(refreshed, {archive.local().path(), {}, 0}) << "\n";
    const ArchiveResult<NightList> nights = archive.list(filter);
    tellServer(archive, err);
    if (!nights) {
        err << ArchiveTexts::text(nights, {archive.local().path(), {}, 0}) << "\n";
        return 1;
    }
    if (json) {
        QJsonArray all;
        for (const NightInfo &n : nights.value())
            all.append(nightJson(n));
        out << QJsonDocument(all).toJson(QJsonDocument::Indented);
        return 0;
    }
    for (const NightInfo &n : nights.value())
        out << n.night << "  " << n.summary.start << " .. " << n.summary.end.mid(11) << "  " << n.summary.readings
            << " readings  ID " << n.deviceId << "  " << EscapeControls(patientText(n)) << "  "
            << nightSourceName(n.source) << (n.partial ? " (partial)" : "")
            << (n.summaryIsCurrent() ? "" : " (figures of an older Quellix)") << "\n";
    return 0;
}

struct ImportChoices {
    FileImport::Patient patient;
    CsvImport::Options csv;
    bool acceptRefused = false;
};

// Takes the import options out of args; false (with the reason told) on a bad one.
bool takeImportChoices(QStringList &args, ImportChoices &c, QTextStream &err)
{
    QString id;
    QString columns;
    c.acceptRefused = args.removeAll(QStringLiteral("--accept-refused")) > 0;
    if (!takeOption(args, QStringLiteral("--id"), &id) ||
        !takeOption(args, QStringLiteral("--name"), &c.patient.name) ||
        !takeOption(args, QStringLiteral("--columns"), &columns) ||
        !takeOption(args, QStringLiteral("--time-format"), &c.csv.timeFormat))
        return false;
    if (!id.isEmpty()) {
        bool ok = false;
        c.patient.id = id.toInt(&ok);
        if (!ok || c.patient.id < 1 || c.patient.id > 128) {
            err << "not a patient ID: " << id << " (1 to 128)\n";
            return false;
        }
    }
    if (!columns.isEmpty()) {
        const ImportResult<CsvImport::Columns> given = CsvImport::parseColumns(columns);
        if (!given) {
            err << ImportTexts::text(given, columns) << "\n";
            return false;
        }
        c.csv.columns = given.value();
    }
    return true;
}

// The nights of one file, or nullopt when it is refused (the reason told).
std::optional<std::vector<NightInput>> nightsOfFile(const QString &file, const ImportChoices &choices, QTextStream &out,
                                                    QTextStream &err)
{
    const FileImport::Read r = FileImport::read(file, choices.csv);
    if (r.isDat && !r.ok) {
        err << file << ": can't open the file: " << r.error << "\n";
        return std::nullopt;
    }
    if (!r.ok) {
        err << file << ": can't import the file: " << ImportTexts::error(r.night);
        if (r.night.dayMonthUndecided)
            err << " (for example --time-format 'dd/MM/yyyy HH:mm:ss')";
        if (r.night.layoutUnknown)
            err << " (name them with --columns, for example time=1,spo2=2,pulse=3)";
        err << "\n";
        return std::nullopt;
    }
    if (!r.isDat) {
        out << file << ": " << ImportTexts::summary(r.night) << "\n";
        if (r.night.mostlyRefused() && !choices.acceptRefused) {
            err << file << ": not imported, more than 10 % of it was refused; check the file, or import it with "
                << "--accept-refused\n";
            return std::nullopt;
        }
        if (const QString note = ImportTexts::note(r.night); !note.isEmpty())
            out << file << ": " << note << "\n";
        if (r.night.intervalSeconds > 1)
            out << file << ": a reading every " << r.night.intervalSeconds << " s, each held until the next\n";
    }
    return FileImport::nights(r, file, choices.patient);
}

int import(ClinicArchive &archive, QStringList args, QTextStream &out, QTextStream &err)
{
    ImportChoices choices;
    if (!takeImportChoices(args, choices, err) || args.isEmpty())
        return usage(err);
    const QStringList &files = args;
    int failed = 0;
    StoreCounts total;
    for (const QString &file : files) {
        const auto nights = nightsOfFile(file, choices, out, err);
        if (!nights) {
            ++failed;
            continue;
        }
        // One transaction a file: an interrupted import keeps every file before it.
        const ArchiveResult<StoreCounts> stored = archive.store(*nights);
        if (!stored) {
            err << file << ": could not be archived: " << ArchiveTexts::text(stored, {archive.local().path(), {}, 0})
                << "\n";
            ++failed;
            continue;
        }
        const StoreCounts &counts = stored.value();
        out << file << ": " << counts.added << " nights archived, " << counts.present << " already in the archive."
            << Qt::endl; // flushed: a script sees each file as it is done
        total.added += counts.added;
        total.present += counts.present;
    }
    if (files.size() > 1)
        out << total.added << " nights archived, " << total.present << " already in the archive.\n";
    if (failed > 0)
        err << failed << " of " << files.size() << " files not archived\n";
    tellServer(archive, err);
    return failed > 0 ? 1 : 0;
}

int exportNight(ClinicArchive &archive, const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.size() != 2)
        return usage(err);
    const auto number = nightNumber(args[0], err);
    if (!number)
        return 2;
    const ArchiveResult<StoredNight> stored = archive.night(*number);
    if (!stored) {
        err << ArchiveTexts::text(stored, {archive.local().path(), {}, *number}) << "\n";
        return 1;
    }
    const StoredNight *night = &stored.value();
    const RecordingWrite w = writeNight(*night, args[1], Settings().unitSetup());
    if (!w.result) {
        err << "Can't create the file " << args[1] << ": " << w.result.detail() << "\n";
        return 1;
    }
    out << night->readings.size() << " readings -> " << w.paths.join(QStringLiteral(", ")) << "\n";
    return 0;
}

int sync(ClinicArchive &archive, QTextStream &out, QTextStream &err)
{
    if (!archive.usesServer()) {
        err << "no clinic server is set: give --archive-server STRING, or choose \"This computer and the clinic "
               "server\" in Options > Archive...\n";
        return 1;
    }
    const ArchiveResult<ClinicArchive::SyncCounts> synced = archive.sync();
    const ArchiveResult<int> waiting = archive.pendingNights();
    if (!synced) {
        err << "the clinic server cannot be reached: " << synced.detail() << "\n";
        if (waiting)
            err << ArchiveTexts::notOnServer(waiting.value()) << "\n";
        return 1;
    }
    const ClinicArchive::SyncCounts &c = synced.value();
    out << c.nights << " nights sent, " << c.changes << " changes sent, " << c.removals << " removals sent";
    if (c.dropped > 0)
        out << ", " << c.dropped << " nights removed at another desk";
    out << "\n";
    if (waiting)
        out << ArchiveTexts::notOnServer(waiting.value()) << "\n";
    if (c.refused > 0) {
        err << c.refused << " changes refused by the server: "
            << ArchiveTexts::text(c.refusal->error, c.refusal->detail, {archive.local().path(), {}, 0}) << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int runArchive(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = arguments;
    QString path = SqliteArchive::defaultPath();
    QString server = Settings().clinicServer();
    if (!takeOption(args, QStringLiteral("--archive"), &path) ||
        !takeOption(args, QStringLiteral("--archive-server"), &server) || args.isEmpty())
        return usage(err);
    const QString verb = args.takeFirst();
    static const QStringList verbs = {QStringLiteral("list"),   QStringLiteral("import"), QStringLiteral("export"),
                                      QStringLiteral("remove"), QStringLiteral("backup"), QStringLiteral("restore"),
                                      QStringLiteral("check"),  QStringLiteral("sync")};
    if (!verbs.contains(verb))
        return usage(err);
    const bool oneArgument =
        verb == QLatin1String("remove") || verb == QLatin1String("backup") || verb == QLatin1String("restore");
    const bool noArgument = verb == QLatin1String("check") || verb == QLatin1String("sync");
    if ((oneArgument && args.size() != 1) || (noArgument && !args.isEmpty()))
        return usage(err);

    bool wasDamaged = false;
    const std::unique_ptr<ClinicArchive> clinic = openArchive(path, server, err, &wasDamaged);
    if (!clinic)
        return 1;
    SqliteArchive *const archive = &clinic->local();
    if (verb == QLatin1String("sync"))
        return sync(*clinic, out, err);
    const ArchiveTexts::About about{path, args.value(0), 0};
    if (verb == QLatin1String("list"))
        return list(*clinic, args, out, err);
    if (verb == QLatin1String("import"))
        return import(*clinic, args, out, err);
    if (verb == QLatin1String("export"))
        return exportNight(*clinic, args, out, err);
    if (verb == QLatin1String("remove")) {
        const auto number = nightNumber(args[0], err);
        if (!number)
            return 2;
        if (const ArchiveResult<> removed = clinic->remove(*number); !removed) {
            err << ArchiveTexts::text(removed, {path, {}, *number}) << "\n";
            return 1;
        }
        tellServer(*clinic, err);
        out << "night " << *number << " removed\n";
        return 0;
    }
    if (verb == QLatin1String("backup")) {
        if (const ArchiveResult<> copied = archive->backupTo(args[0]); !copied) {
            err << ArchiveTexts::text(copied, about) << "\n";
            return 1;
        }
        out << "archive copied to " << args[0] << "\n";
        return 0;
    }
    if (verb == QLatin1String("restore")) {
        if (const ArchiveResult<> restored = archive->restoreFrom(args[0]); !restored) {
            err << "restore refused, nothing was changed: " << ArchiveTexts::text(restored, about) << "\n";
            return 1;
        }
        out << "archive restored from " << args[0] << "; the nights before are kept in " << path << ".before-restore\n";
        return 0;
    }
    // check
    QStringList faults = archive->check();
    if (wasDamaged)
        faults.prepend(QStringLiteral("the archive file was damaged and has been put aside"));
    for (const QString &f : faults)
        out << f << "\n";
    if (!faults.isEmpty())
        return 1;
    const ArchiveResult<NightList> nights = archive->list({});
    out << path << ": " << (nights ? nights.value().size() : 0) << " nights, no faults\n";
    return 0;
}

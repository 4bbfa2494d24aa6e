// SPDX-License-Identifier: GPL-3.0-or-later
#include "Commands.h"

#include "analysis/EventTimeFile.h"
#include "analysis/RunAnalysis.h"
#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "clinical/ClinicalSummary.h"
#include "clinical/ClinicalSummaryJson.h"
#include "model/FixedText.h"
#include "model/RecordStore.h"
#include "model/SavedData.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

#include <charconv>

namespace
{

int usage(QTextStream &err, const char *text)
{
    err << "usage: quellix-cli " << text << "\n";
    return 2;
}

// The shortest text that reads back as the same single-precision value.
QString FloatText(float v)
{
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    return QString::fromLatin1(buffer, int(r.ptr - buffer));
}

// Opens a saved recording with the patient details stored for its ID, as the
// program does; false (with the reason on err) when the file is refused.
bool Load(RecordStore &store, const QString &path, QTextStream &err)
{
    ScriptedPrompts quiet; // a missing patient record is no failure here
    if (const FileResult opened = SavedData::open(store, path, quiet); !opened) {
        err << "can't open the file\n" << opened.detail() << "\n";
        return false;
    }
    return true;
}

struct Figure {
    const char *name;
    QString value;
};

std::vector<Figure> Figures(const AnalysisResults &r, const RecordingStatistics &s)
{
    auto n = [](int v) { return QString::number(v); };
    return {
        {"spo2EventCount", n(r.spo2EventCount)},
        {"pulseEventCount", n(r.pulseEventCount)},
        {"spo2AvgEventDuration", n(r.spo2AvgEventDuration)},
        {"pulseAvgEventDuration", n(r.pulseAvgEventDuration)},
        {"spo2EventIndex", FloatText(r.spo2EventIndex)},
        {"pulseEventIndex", FloatText(r.pulseEventIndex)},
        {"spo2TimeInEvents", n(r.spo2TimeInEvents)},
        {"spo2AvgEventMax", n(r.spo2AvgEventMax)},
        {"spo2AvgEventMin", n(r.spo2AvgEventMin)},
        {"spo2MaxEventOffset", n(r.spo2MaxEventOffset)},
        {"spo2MaxEventDuration", n(r.spo2MaxEventDuration)},
        {"pulseTimeInEvents", n(r.pulseTimeInEvents)},
        {"pulseAvgEventMax", n(r.pulseAvgEventMax)},
        {"pulseAvgEventMin", n(r.pulseAvgEventMin)},
        {"pulseMaxEventOffset", n(r.pulseMaxEventOffset)},
        {"pulseMaxEventDuration", n(r.pulseMaxEventDuration)},
        {"saturationsHigh", n(r.saturationsHigh)},
        {"saturationsLow", n(r.saturationsLow)},
        {"prHigh", n(r.prHigh)},
        {"prLow", n(r.prLow)},
        {"spo2Max", n(s.spo2Max)},
        {"spo2Min", n(s.spo2Min)},
        {"spo2Mean", n(s.spo2Mean)},
        {"spo2AboveHighCount", n(s.spo2AboveHighCount)},
        {"spo2BelowLowCount", n(s.spo2BelowLowCount)},
        {"pulseMax", n(s.pulseMax)},
        {"pulseMin", n(s.pulseMin)},
        {"pulseMean", n(s.pulseMean)},
        {"pulseAboveHighCount", n(s.pulseAboveHighCount)},
        {"pulseBelowLowCount", n(s.pulseBelowLowCount)},
    };
}

QString JsonEvents(const std::vector<EventRecord> &events)
{
    QStringList items;
    for (const EventRecord &e : events)
        items << QStringLiteral("{\"start\": %1, \"length\": %2, \"maxValue\": %3, \"minValue\": %4, \"stepDrop\": %5}")
                     .arg(e.start)
                     .arg(e.length)
                     .arg(e.maxValue)
                     .arg(e.minValue)
                     .arg(e.stepDrop);
    if (items.isEmpty())
        return QStringLiteral("[]");
    return QStringLiteral("[\n    ") + items.join(QStringLiteral(",\n    ")) + QStringLiteral("\n  ]");
}

// One member a line in field order; the histogram stays on a single line.
QString JsonClinical(const ClinicalSummary &c)
{
    const QJsonObject o = clinicalSummaryJson(c);
    QStringList items;
    for (const QString &key : clinicalSummaryKeys()) {
        // A value alone is no JSON document: wrap it in an array and drop the brackets.
        const QByteArray wrapped = QJsonDocument(QJsonArray{o.value(key)}).toJson(QJsonDocument::Compact);
        items << QStringLiteral("\"%1\": %2").arg(key, QString::fromUtf8(wrapped.mid(1, wrapped.size() - 2)));
    }
    return QStringLiteral("{\n    ") + items.join(QStringLiteral(",\n    ")) + QStringLiteral("\n  }");
}

void PrintJson(QTextStream &out, const AnalysisResults &r, const RecordingStatistics &s, const ClinicalSummary &c)
{
    QStringList members;
    for (const Figure &f : Figures(r, s))
        members << QStringLiteral("  \"%1\": %2").arg(QLatin1String(f.name), f.value);
    members << QStringLiteral("  \"spo2Events\": ") + JsonEvents(r.spo2Events);
    members << QStringLiteral("  \"pulseEvents\": ") + JsonEvents(r.pulseEvents);
    members << QStringLiteral("  \"clinical\": ") + JsonClinical(c);
    out << "{\n" << members.join(QStringLiteral(",\n")) << "\n}\n";
}

// The clinical figures for people: indented under their own heading, since
// pulseMin and the like also name the statistics above.
void PrintPlainClinical(QTextStream &out, const ClinicalSummary &c)
{
    auto decimal = [](double v) { return FixedText(v, 1); };
    out << "clinical: over " << c.validSeconds << " s of valid readings\n";
    if (c.validSeconds == 0)
        return;
    out << "  nadir: " << c.nadir << "\n"
        << "  t90Seconds: " << c.t90Seconds << " (" << decimal(c.t90Percent) << " %)\n"
        << "  t88Seconds: " << c.t88Seconds << " (" << decimal(c.t88Percent) << " %)\n"
        << "  pulseMin: " << c.pulseMin << "\n"
        << "  pulseMean: " << decimal(c.pulseMean) << "\n"
        << "  pulseMax: " << c.pulseMax << "\n"
        << "  odi3: " << decimal(c.odi3) << "\n"
        << "  odi4: " << decimal(c.odi4) << "\n"
        << "  artefactSeconds: " << c.artefactSeconds << " (coverage " << decimal(c.coverage) << " %)\n"
        << "  shortRecording: " << (c.shortRecording ? "yes" : "no") << "\n"
        << "  meanSpo2: " << decimal(c.meanSpo2) << "\n"
        << "  hypoxicBurden: " << decimal(c.hypoxicBurden) << "\n"
        << "  deltaIndex: " << FixedText(c.deltaIndex, 2) << "\n"
        << "  desaturationMeanSeconds: " << decimal(c.desaturationMeanSeconds) << "\n"
        << "  desaturationMeanDepth: " << decimal(c.desaturationMeanDepth) << "\n"
        << "  pulseRiseMean: " << decimal(c.pulseRiseMean) << "\n";
}

void PrintPlain(QTextStream &out, const AnalysisResults &r, const RecordingStatistics &s)
{
    for (const Figure &f : Figures(r, s))
        out << f.name << ": " << f.value << "\n";
    auto list = [&out](const char *name, const std::vector<EventRecord> &events) {
        out << name << ": " << events.size() << " (start length maxValue minValue stepDrop)\n";
        for (const EventRecord &e : events)
            out << "  " << e.start << " " << e.length << " " << e.maxValue << " " << e.minValue << " " << e.stepDrop
                << "\n";
    };
    list("spo2Events", r.spo2Events);
    list("pulseEvents", r.pulseEvents);
}

} // namespace

int runAnalyze(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList rest = args;
    const bool json = rest.removeAll(QStringLiteral("--json")) > 0;
    if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--")))
        return usage(err, "analyze FILE.dat [--json]");
    RecordStore store;
    if (!Load(store, rest.first(), err))
        return 1;
    AnalysisResults results;
    RecordingStatistics statistics;
    RunAnalysis(store.currentSamples.data(), store.currentSampleCount(), Settings().analysis(), results, statistics);
    const ClinicalSummary clinical = computeClinicalSummary(store.currentSamples.data(), store.currentSampleCount());
    if (json) {
        PrintJson(out, results, statistics, clinical);
    } else {
        PrintPlain(out, results, statistics);
        PrintPlainClinical(out, clinical);
    }
    return 0;
}

int runEvents(const QStringList &args)
{
    QTextStream err(stderr);
    if (args.size() != 2)
        return usage(err, "events FILE.dat OUT.txt");
    if (!EventTimeFile::hasTxtExtension(args.at(1))) {
        err << "the event-time file must end in .txt: " << args.at(1) << "\n";
        return 2;
    }
    RecordStore store;
    if (!Load(store, args.at(0), err))
        return 1;
    AnalysisResults results;
    RecordingStatistics statistics;
    RunAnalysis(store.currentSamples.data(), store.currentSampleCount(), Settings().analysis(), results, statistics);
    const int unitSetup = Settings().unitSetup();
    const QByteArray bytes = EventTimeFile::encode(store.currentSamples.data(), store.currentSampleCount(),
                                                   store.currentPatient, results, unitSetup);
    if (const FileResult r = EventTimeFile::write(args.at(1), bytes); !r) {
        err << "Can't create the file\n" << args.at(1) << ": " << r.detail() << "\n";
        return 1;
    }
    return 0;
}

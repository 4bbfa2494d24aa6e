// SPDX-License-Identifier: GPL-3.0-or-later
// quellix-cli analyze and events on real .dat files, against the same figures
// computed in this process.
#include "analysis/EventTimeFile.h"
#include "analysis/RunAnalysis.h"

#include "app/Settings.h"
#include "cli_run.h"
#include "clinical/ClinicalSummary.h"
#include "clinical/ClinicalSummaryJson.h"
#include "model/DatFile.h"
#include "model/PatientRecord.h"
#include "test_env.h"

#include "AnalysisTestData.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSettings>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace analysistest;

namespace
{

using clitest::CliRun;

CliRun Cli(const QStringList &args)
{
    return clitest::RunCli(args);
}

// 5,000 seconds with seven desaturations (an index of 5.04 an hour, not exact
// in binary) and two pulse events.
std::vector<SampleRecord> Night()
{
    auto s = Steady(5000);
    for (int k = 0; k < 7; ++k)
        Desaturate(s, 200 + 600 * k, 12 + k, 90 - k);
    for (int i = 1000; i < 1010; ++i)
        s[std::size_t(i)].pulseRate = 60;
    for (int i = 3000; i < 3020; ++i)
        s[std::size_t(i)].pulseRate = 55;
    return s;
}

QString WriteDat(const std::vector<SampleRecord> &samples, const QString &name)
{
    const QString path = testenv::root() + QLatin1Char('/') + name;
    EXPECT_TRUE(DatFile::write(path, DatFile::encode(3, samples.data(), int(samples.size()), QStringLiteral("t"))));
    return path;
}

const QStringList kKeys = {
    "spo2EventCount",
    "pulseEventCount",
    "spo2Events",
    "pulseEvents",
    "spo2AvgEventDuration",
    "pulseAvgEventDuration",
    "spo2EventIndex",
    "pulseEventIndex",
    "spo2TimeInEvents",
    "spo2AvgEventMax",
    "spo2AvgEventMin",
    "spo2MaxEventOffset",
    "spo2MaxEventDuration",
    "pulseTimeInEvents",
    "pulseAvgEventMax",
    "pulseAvgEventMin",
    "pulseMaxEventOffset",
    "pulseMaxEventDuration",
    "saturationsHigh",
    "saturationsLow",
    "prHigh",
    "prLow",
    "spo2Max",
    "spo2Min",
    "spo2Mean",
    "spo2AboveHighCount",
    "spo2BelowLowCount",
    "pulseMax",
    "pulseMin",
    "pulseMean",
    "pulseAboveHighCount",
    "pulseBelowLowCount",
    "clinical",
};

// The number printed for key, read back as a float straight from the text.
float FloatOf(const QByteArray &json, const char *key)
{
    const QRegularExpression re(QStringLiteral("\"%1\": ([-+0-9.eE]+)").arg(QLatin1String(key)));
    const auto m = re.match(QString::fromUtf8(json));
    EXPECT_TRUE(m.hasMatch()) << key;
    return std::strtof(m.captured(1).toLatin1().constData(), nullptr);
}

} // namespace

TEST(CliAnalyze, JsonHoldsEveryFigureUnderItsOwnName)
{
    QSettings("quellix", "setup").clear();
    const auto samples = Night();
    const QString path = WriteDat(samples, QStringLiteral("night.dat"));
    AnalysisResults r;
    RecordingStatistics s;
    RunAnalysis(samples.data(), int(samples.size()), {}, r, s);
    ASSERT_EQ(r.spo2EventCount, 7);
    ASSERT_EQ(r.pulseEventCount, 2);

    const CliRun run = Cli({QStringLiteral("analyze"), path, QStringLiteral("--json")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    QStringList keys = o.keys();
    QStringList expected = kKeys;
    keys.sort();
    expected.sort();
    EXPECT_EQ(keys, expected);

    EXPECT_EQ(o["spo2EventCount"].toInt(), 7);
    EXPECT_EQ(o["spo2TimeInEvents"].toInt(), r.spo2TimeInEvents);
    EXPECT_EQ(o["spo2AvgEventMin"].toInt(), r.spo2AvgEventMin);
    EXPECT_EQ(o["pulseMaxEventDuration"].toInt(), 20);
    EXPECT_EQ(o["spo2Min"].toInt(), s.spo2Min);
    EXPECT_EQ(o["pulseBelowLowCount"].toInt(), s.pulseBelowLowCount);
    EXPECT_EQ(o["saturationsHigh"].toInt(), 94);
    EXPECT_EQ(FloatOf(run.out.toUtf8(), "spo2EventIndex"), r.spo2EventIndex);
    EXPECT_EQ(FloatOf(run.out.toUtf8(), "pulseEventIndex"), r.pulseEventIndex);
    EXPECT_EQ(float(o["spo2EventIndex"].toDouble()), r.spo2EventIndex);

    const QJsonArray events = o["spo2Events"].toArray();
    ASSERT_EQ(events.size(), 7);
    for (int k = 0; k < 7; ++k) {
        const QJsonObject e = events[k].toObject();
        const EventRecord &want = r.spo2Events[std::size_t(k)];
        EXPECT_EQ(e.keys(), (QStringList{"length", "maxValue", "minValue", "start", "stepDrop"}));
        EXPECT_EQ(e["start"].toInt(), want.start);
        EXPECT_EQ(e["length"].toInt(), want.length);
        EXPECT_EQ(e["maxValue"].toInt(), want.maxValue);
        EXPECT_EQ(e["minValue"].toInt(), want.minValue);
        EXPECT_EQ(e["stepDrop"].toInt(), want.stepDrop);
    }
    EXPECT_EQ(o["pulseEvents"].toArray().size(), 2);
}

TEST(CliAnalyze, ClinicalFiguresUnderTheirOwnKeyAndInThePlainOutput)
{
    QSettings("quellix", "setup").clear();
    // Two hours at 96 % with twelve clean 20 s dips to 91 % five minutes
    // apart, and 30 s of "no signal" the figures must leave out.
    std::vector<SampleRecord> samples = Steady(7230);
    for (SampleRecord &r : samples)
        r.spo2 = 96;
    for (int k = 1; k <= 12; ++k)
        Desaturate(samples, 300 * k, 20, 91);
    for (int i = 5000; i < 5030; ++i)
        samples[std::size_t(i)].spo2 = 0;
    const QString path = WriteDat(samples, QStringLiteral("odi.dat"));
    const ClinicalSummary want = computeClinicalSummary(samples.data(), int(samples.size()));

    const CliRun run = Cli({QStringLiteral("analyze"), path, QStringLiteral("--json")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QJsonObject c = QJsonDocument::fromJson(run.out.toUtf8()).object()["clinical"].toObject();
    EXPECT_EQ(c, clinicalSummaryJson(want));
    EXPECT_EQ(c["validSeconds"].toInt(), 7200);
    EXPECT_EQ(c["odi3"].toDouble(), 6.0);
    EXPECT_EQ(c["odi4"].toDouble(), 6.0);
    EXPECT_EQ(c["nadir"].toInt(), 91);
    EXPECT_EQ(c["spo2Histogram"].toArray().size(), 101);
    EXPECT_EQ(c["spo2Histogram"].toArray()[91].toInt(), 240);
    // Read by a person too: the members in the order of their definitions.
    const qsizetype first = run.out.indexOf(QStringLiteral("\"validSeconds\""));
    const qsizetype last = run.out.indexOf(QStringLiteral("\"odi4\""));
    EXPECT_TRUE(first > 0 && last > first);

    const CliRun plain = Cli({QStringLiteral("analyze"), path});
    ASSERT_EQ(plain.code, 0) << plain.err.toStdString();
    EXPECT_TRUE(plain.out.contains(QStringLiteral("clinical: over 7200 s of valid readings\n"
                                                  "  nadir: 91\n"
                                                  "  t90Seconds: 0 (0.0 %)\n")))
        << plain.out.toStdString();
    EXPECT_TRUE(plain.out.contains(QStringLiteral("  odi3: 6.0\n  odi4: 6.0\n")));
    // The statistics of every reading keep their unindented lines.
    EXPECT_TRUE(plain.out.contains(QStringLiteral("\nspo2Min: 0\n")));

    const CliRun empty = Cli({QStringLiteral("analyze"), testenv::dataFile(QStringLiteral("valid-empty.dat"))});
    ASSERT_EQ(empty.code, 0);
    EXPECT_TRUE(empty.out.endsWith(QStringLiteral("clinical: over 0 s of valid readings\n")));
}

TEST(CliAnalyze, DesaturationIndexCountsGapsInSecondsAndRetestsTheEndingReading)
{
    QSettings("quellix", "setup").clear();
    // 96 % and 64 bpm except where `level` says otherwise.
    const auto night = [](int count, int (*level)(int)) {
        std::vector<SampleRecord> s;
        for (int i = 0; i < count; ++i)
            s.push_back(At(i, level(i), 64));
        return s;
    };
    struct Case {
        const char *name;
        std::vector<SampleRecord> samples;
        double odi3;
    };
    const Case cases[] = {
        // Half an hour without signal between two falls keeps them apart;
        // 1,200 valid seconds.
        {"apart",
         night(3000,
               [](int i) {
                   return i >= 300 && i <= 314 ? 90 : i >= 316 && i <= 2115 ? 0 : i >= 2121 && i <= 2135 ? 90 : 96;
               }),
         6.0},
        // After the deep fall the baseline is near 81: the fall from 200 ends
        // after 9 s at reading 209, which starts a fall of 10 s of its own.
        {"back-to-back",
         night(400,
               [](int i) {
                   return i >= 30 && i <= 149 ? 70 : i >= 200 && i <= 208 ? 77 : i >= 209 && i <= 218 ? 78 : 96;
               }),
         18.0},
    };
    for (const Case &c : cases) {
        AnalysisResults r;
        RecordingStatistics st;
        RunAnalysis(c.samples.data(), int(c.samples.size()), {}, r, st);
        const CliRun run =
            Cli({QStringLiteral("analyze"), WriteDat(c.samples, QString::fromLatin1(c.name) + ".dat"), "--json"});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8()).object();
        EXPECT_EQ(o["clinical"].toObject()["odi3"].toDouble(), c.odi3) << c.name;
        // The event analysis beside it is another matter and keeps its count.
        EXPECT_EQ(o["spo2EventCount"].toInt(), r.spo2EventCount) << c.name;
    }
}

TEST(CliAnalyze, UsesTheStoredSettingsAndRefusesBadFiles)
{
    QSettings("quellix", "setup").clear();
    const QString path = WriteDat(Night(), QStringLiteral("night2.dat"));
    WriteSetupValue(QStringLiteral("DesaturationsEvent"), QStringLiteral("12"));
    WriteSetupValue(QStringLiteral("PrLow"), QStringLiteral("58"));
    const CliRun plain = Cli({QStringLiteral("analyze"), path});
    ASSERT_EQ(plain.code, 0) << plain.err.toStdString();
    // Only the falls of 12 and 13 points count now.
    EXPECT_TRUE(plain.out.contains("spo2EventCount: 2\n")) << plain.out.toStdString();
    EXPECT_TRUE(plain.out.contains("prLow: 58\n"));
    EXPECT_TRUE(plain.out.contains("pulseBelowLowCount: 20\n"));
    EXPECT_TRUE(plain.out.contains("spo2Events: 2 (start length maxValue minValue stepDrop)\n"));
    QSettings("quellix", "setup").clear();

    const CliRun bad = Cli({QStringLiteral("analyze"), testenv::dataFile(QStringLiteral("bad-spo2-101.dat"))});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.err.startsWith(QStringLiteral("can't open the file\n")));
    EXPECT_EQ(Cli({QStringLiteral("analyze")}).code, 2);

    // An empty recording has all figures 0.
    const CliRun empty = Cli(
        {QStringLiteral("analyze"), testenv::dataFile(QStringLiteral("valid-empty.dat")), QStringLiteral("--json")});
    ASSERT_EQ(empty.code, 0);
    EXPECT_EQ(QJsonDocument::fromJson(empty.out.toUtf8()).object()["spo2EventIndex"].toDouble(), 0.0);
}

TEST(CliEvents, WritesTheEventTimeFile)
{
    QSettings("quellix", "setup").clear();
    auto samples = Steady(40);
    Desaturate(samples, 5, 10);
    const QString dat = WriteDat(samples, QStringLiteral("ten.dat"));
    PatientRecord patient;
    patient.idNumber = 3;
    PatientRecord::setText(patient.name, QStringLiteral("Smith"));
    patient.height = 70;
    patient.weight = 150;
    QSettings("quellix", "patientinfo").setValue(QStringLiteral("2"), patient.toBytes());
    QSettings("quellix", "patientinfo").sync();

    const QString out = testenv::root() + QStringLiteral("/ten events.txt");
    const CliRun run = Cli({QStringLiteral("events"), dat, out});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("PatId\tName :\r\n3\tSmith\r\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\r\n2010/07/21-10:00:05\t2010/07/21-10:00:14\t10\t\t90\t\t90\r\n"));
    EXPECT_TRUE(bytes.contains("male\t0\t70 in\t150 lb\r\n"));

    EXPECT_EQ(Cli({QStringLiteral("events"), dat, testenv::root() + QStringLiteral("/x.csv")}).code, 2);
    EXPECT_EQ(Cli({QStringLiteral("events"), dat, QStringLiteral("/nonexistent-folder/x.txt")}).code, 1);
    EXPECT_EQ(Cli({QStringLiteral("events"), dat}).code, 2);
    QSettings("quellix", "patientinfo").clear();
}

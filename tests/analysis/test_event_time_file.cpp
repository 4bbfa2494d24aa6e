// SPDX-License-Identifier: GPL-3.0-or-later
// The event-time text file: layout, time stamps, units, bytes on disk, and the
// command's file name rules.
#include "analysis/EventTimeFile.h"
#include "analysis/RunAnalysis.h"

#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "model/RecordStore.h"
#include "test_env.h"

#include "AnalysisTestData.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

using namespace analysistest;

namespace
{

PatientRecord Smith()
{
    PatientRecord p;
    p.idNumber = 3;
    PatientRecord::setText(p.name, QStringLiteral("Smith"));
    p.gender = 1;
    p.age = 61;
    p.height = 70;
    p.weight = 150;
    p.unitSystem = 0;
    return p;
}

// A recording from 2010/07/21 10:00:00 with one desaturation of 10 samples at index 5.
RecordStore Recording()
{
    RecordStore store;
    store.currentSamples = Steady(40);
    Desaturate(store.currentSamples, 5, 10);
    store.currentSamples[8].spo2 = 88;
    store.currentPatient = Smith();
    return store;
}

AnalysisResults Analyse(const RecordStore &store)
{
    AnalysisResults results;
    RecordingStatistics statistics;
    RunAnalysis(store.currentSamples.data(), store.currentSampleCount(), {}, results, statistics);
    return results;
}

QStringList Lines(const QByteArray &bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.last(), QString()) << "the file ends with a line end";
    lines.removeLast();
    return lines;
}

QString Dir()
{
    const QString dir = testenv::root() + QStringLiteral("/events");
    QDir().mkpath(dir);
    return dir;
}

} // namespace

TEST(EventTimeFile, LayoutOfPatientBlockAndBothSections)
{
    const RecordStore store = Recording();
    const AnalysisResults results = Analyse(store);
    ASSERT_EQ(results.spo2EventCount, 1);
    ASSERT_EQ(results.pulseEventCount, 0);
    const QByteArray bytes = EventTimeFile::encode(store.currentSamples.data(), store.currentSampleCount(),
                                                   store.currentPatient, results, 1);
    const QStringList expected = {
        "PatId\tName :",
        "3\tSmith",
        "",
        "Gender : \tAge : \tHeight : \tWeight : ",
        "female\t61\t178 cm\t68 kg",
        "",
        "",
        "SpO2 Event",
        "Start Date&Time\t\tEnd Date&Time\t\tKeep Count\tMax Value\tMin Value",
        "2010/07/21-10:00:05\t2010/07/21-10:00:14\t10\t\t90\t\t88",
        "",
        "",
        "PR Event",
        "Start Date&Time\t\tEnd Date&Time\t\tKeep Count\tMax Value\tMin Value",
    };
    EXPECT_EQ(Lines(bytes), expected);

    // Every line ends in exactly CR LF; no byte-order mark.
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.count("\n"), expected.size());
    EXPECT_EQ(bytes.count("\r\n"), expected.size());
    EXPECT_FALSE(bytes.contains("\r\r"));
}

TEST(EventTimeFile, NamesGenderUnitsAndText)
{
    PatientRecord p = Smith();
    EXPECT_EQ(EventTimeFile::proposedName(p), QStringLiteral("ID 3  Name Event Smith"));
    p.idNumber = 12;
    PatientRecord::setText(p.name, QString());
    EXPECT_EQ(EventTimeFile::proposedName(p), QStringLiteral("ID 12  Name Event "));

    // British record shown metric, metric record shown British, and unchanged.
    EXPECT_EQ(EventTimeFile::heightText(70, 0, 1), QStringLiteral("178 cm"));
    EXPECT_EQ(EventTimeFile::weightText(150, 0, 1), QStringLiteral("68 kg"));
    EXPECT_EQ(EventTimeFile::heightText(178, 1, 0), QStringLiteral("70 in"));
    EXPECT_EQ(EventTimeFile::weightText(68, 1, 0), QStringLiteral("150 lb"));
    EXPECT_EQ(EventTimeFile::heightText(70, 0, 0), QStringLiteral("70 in"));
    EXPECT_EQ(EventTimeFile::weightText(68.4F, 1, 1), QStringLiteral("68 kg"));
    // Any non-zero system is metric, on both sides.
    EXPECT_EQ(EventTimeFile::heightText(178, 2, 1), QStringLiteral("178 cm"));

    RecordStore store = Recording();
    store.currentPatient.gender = 0;
    PatientRecord::setText(store.currentPatient.name, QStringLiteral("Zoë 李"));
    const QStringList lines = Lines(
        EventTimeFile::encode(store.currentSamples.data(), store.currentSampleCount(), store.currentPatient, {}, 0));
    EXPECT_EQ(lines[1], QStringLiteral("3\tZoë 李"));
    EXPECT_EQ(lines[4], QStringLiteral("male\t61\t70 in\t150 lb"));
    // No events: each section is its title and its column heads.
    EXPECT_EQ(lines.size(), 13);
    EXPECT_EQ(lines[8], QStringLiteral("Start Date&Time\t\tEnd Date&Time\t\tKeep Count\tMax Value\tMin Value"));
    EXPECT_EQ(lines[11], QStringLiteral("PR Event"));
}

TEST(EventTimeFile, PulseEventsFollowTheirOwnHeading)
{
    RecordStore store = Recording();
    for (int i = 20; i < 30; ++i)
        store.currentSamples[std::size_t(i)].pulseRate = 60 + (i == 25);
    const AnalysisResults results = Analyse(store);
    ASSERT_EQ(results.pulseEventCount, 1);
    const QStringList lines = Lines(EventTimeFile::encode(store.currentSamples.data(), store.currentSampleCount(),
                                                          store.currentPatient, results, 0));
    EXPECT_EQ(lines.last(), QStringLiteral("2010/07/21-10:00:20\t2010/07/21-10:00:29\t10\t\t61\t\t60"));
}

TEST(EventTimeFile, CommandAsksForATxtFileAndSaysWhenItCannotWrite)
{
    QSettings("quellix", "setup").clear();
    const RecordStore store = Recording();
    const AnalysisResults results = Analyse(store);
    ScriptedPrompts prompts;

    EXPECT_EQ(EventTimeFile::exportCommand(store, results, prompts, Settings().unitSetup()),
              EventTimeFile::Outcome::Cancelled);
    EXPECT_EQ(prompts.lastRequest.initialName, QStringLiteral("ID 3  Name Event Smith"));
    EXPECT_EQ(prompts.lastRequest.defaultSuffix, QStringLiteral("txt"));
    EXPECT_EQ(prompts.lastRequest.filter, QStringLiteral("Data file(*.txt)"));
    EXPECT_TRUE(prompts.lastRequest.confirmOverwrite);

    // A patient name with a dot leaves the accepted proposal without .txt:
    // nothing is written, and the user hears why.
    const QString dotted = Dir() + QStringLiteral("/ID 3  Name Event J. Smith");
    prompts.files = {dotted};
    EXPECT_EQ(EventTimeFile::exportCommand(store, results, prompts, Settings().unitSetup()),
              EventTimeFile::Outcome::NotTxt);
    EXPECT_FALSE(QFile::exists(dotted));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Nothing was written: choose a file name ending in .txt.")});
    prompts.shown.clear();

    // Capitals are a .txt file too; the stored unit setting is used.
    WriteSetupValue(QStringLiteral("UnitSetup"), QStringLiteral("1"));
    const QString upper = Dir() + QStringLiteral("/EVENTS.TXT");
    prompts.files = {upper};
    EXPECT_EQ(EventTimeFile::exportCommand(store, results, prompts, Settings().unitSetup()),
              EventTimeFile::Outcome::Written);
    QFile written(upper);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("female\t61\t178 cm\t68 kg\r\n"));
    EXPECT_TRUE(prompts.shown.isEmpty());

    prompts.files = {QStringLiteral("/nonexistent-folder/events.txt")};
    EXPECT_EQ(EventTimeFile::exportCommand(store, results, prompts, Settings().unitSetup()),
              EventTimeFile::Outcome::CannotCreate);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Can't create the file")});
    QSettings("quellix", "setup").clear();
}

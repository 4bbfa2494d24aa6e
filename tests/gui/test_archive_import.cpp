// SPDX-License-Identifier: GPL-3.0-or-later
// Files of other oximeters through the archive window's import, its questions answered by hooks.
#include "archive/ArchiveAccess.h"
#include "archive/ArchiveTasks.h"
#include "archive/NightListModel.h"
#include "archive/SqliteArchive.h"
#include "import/ImportedNight.h"
#include "import/TimePattern.h"
#include "interop/EdfExport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class ArchiveImport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString path = SqliteArchive::defaultPath();
        for (const char *tail : {"", "-wal", "-shm"})
            QFile::remove(path + QLatin1String(tail));
    }

    QString written(const QString &name, const QByteArray &bytes)
    {
        const QString path = tmp.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) << path.toStdString();
        return path;
    }

    ArchiveAccess access;
    QTemporaryDir tmp;
};

TEST_F(ArchiveImport, AsksForThePatientColumnsAndRefusedFiles)
{
    std::vector<SampleRecord> lab;
    for (int i = 0; i < 5; ++i) {
        SampleRecord s = ImportedReadings::recordAt(calendarSeconds(2026, 1, 2, 23, 0, 0) + i);
        s.spo2 = std::uint8_t(90 + i);
        s.pulseRate = std::uint8_t(50 + i);
        lab.push_back(s);
    }
    PatientRecord named;
    PatientRecord::setText(named.name, QStringLiteral("Jane Roe"));
    QByteArray refused = "time,spo2,pulse\n";
    for (int i = 0; i < 10; ++i)
        refused += "2026-03-15 22:00:" + QByteArray::number(i).rightJustified(2, '0') +
                   (i % 5 == 1 ? ",300,60\n" : ",95,60\n");
    const QString edf = written(QStringLiteral("lab.edf"), EdfExport::encode(lab.data(), int(lab.size()), named));
    const QString generic = written(QStringLiteral("generic.csv"), "timestamp,SpO2(%),Pulse Rate(bpm)\r\n"
                                                                   "2026-03-14 22:00:00,95,60\r\n"
                                                                   "2026-03-14 22:00:04,94,61\r\n"
                                                                   "2026-03-14 22:00:08,93,62\r\n");
    const QString unknown = written(QStringLiteral("unknown.csv"), "a;b;c\n2026-03-16 22:00:00;95;60\n");
    const QString mostly = written(QStringLiteral("refused.csv"), refused);

    QStringList asked;
    ImportHooks hooks;
    hooks.patient = [&asked](const QString &nameInFile) {
        asked << QStringLiteral("patient ") + nameInFile;
        return std::optional<FileImport::Patient>({7, QStringLiteral("Ann Lee")});
    };
    hooks.columns = [&asked](const QString &file) {
        asked << QStringLiteral("columns ") + QFileInfo(file).fileName();
        CsvImport::Options o;
        o.columns = CsvImport::parseColumns(QStringLiteral("time=1,spo2=2,pulse=3")).value();
        return std::optional<CsvImport::Options>(o);
    };
    hooks.acceptRefused = [&asked](const QString &file, const QString &) {
        asked << QStringLiteral("refused ") + file;
        return false;
    };
    const ImportTally tally = importFiles(access, {edf, generic, unknown, mostly}, hooks);
    EXPECT_EQ(asked, (QStringList{QStringLiteral("patient Jane Roe"), QStringLiteral("columns unknown.csv"),
                                  QStringLiteral("refused refused.csv")}));
    EXPECT_EQ(tally.added, 3);
    EXPECT_FALSE(tally.stopped);
    ASSERT_EQ(tally.failed.size(), 1);
    EXPECT_TRUE(tally.failed[0].startsWith(QStringLiteral("refused.csv: "))) << tally.failed[0].toStdString();
    EXPECT_TRUE(importSummary(tally, 4).contains(QStringLiteral("generic.csv: 3 rows read, 0 refused")));

    QString error;
    const std::vector<NightInfo> nights = access.list(&error).value_or(std::vector<NightInfo>{});
    struct Expected {
        const char *sourceName;
        const char *start;
        int readings;
        int interval;
    } const expected[] = {{"lab.edf", "2026-01-02 23:00:00", 5, 1},
                          {"generic.csv", "2026-03-14 22:00:00", 9, 4},
                          {"unknown.csv", "2026-03-16 22:00:00", 1, 1}};
    ASSERT_EQ(nights.size(), std::size(expected)) << error.toStdString();
    for (std::size_t i = 0; i < nights.size(); ++i) {
        const NightInfo &n = nights[i];
        EXPECT_EQ(n.sourceName.toStdString(), expected[i].sourceName);
        EXPECT_EQ(n.summary.start.toStdString(), expected[i].start);
        EXPECT_EQ(n.summary.readings, expected[i].readings);
        EXPECT_EQ(n.intervalSeconds, expected[i].interval);
        EXPECT_EQ(n.deviceId, 7);
        EXPECT_EQ(n.patientName, QStringLiteral("Ann Lee"));
    }
    EXPECT_EQ(newestNight(access, tally.nights), nights[2].night);

    // The interval is read back with the night, shown in the list, and kept by undo.
    const std::optional<StoredNight> csv = access.night(nights[1].night, &error);
    ASSERT_TRUE(csv) << error.toStdString();
    EXPECT_EQ(csv->info.intervalSeconds, 4);
    NightListModel model;
    model.setNights({csv->info});
    EXPECT_EQ(model.index(0, NightListModel::Interval).data().toString(), QStringLiteral("4 s"));
    ASSERT_TRUE(access.remove(nights[1].night, &error) && access.restoreLastRemoved(&error)) << error.toStdString();
    const auto after = access.list(&error).value_or(std::vector<NightInfo>{});
    ASSERT_EQ(after.size(), 3u);
    EXPECT_NE(after[1].night, nights[1].night) << "restored under a new number";
    EXPECT_EQ(after[1].sourceName, QStringLiteral("generic.csv"));
    EXPECT_EQ(after[1].intervalSeconds, 4);
}

TEST_F(ArchiveImport, SummaryTellsOfTimesMadeLocal)
{
    const QString shifted = written(QStringLiteral("shifted.csv"), "time,spo2,pulse\n"
                                                                   "2026-03-14T22:00:00+01:00,95,60\n"
                                                                   "2026-03-14T22:00:01+01:00,96,61\n");
    const QString local = written(QStringLiteral("local.csv"), "time,spo2,pulse\n2026-03-15T22:00:00,95,60\n");
    const ImportTally tally = importFiles(access, {shifted, local}, ImportHooks{});
    EXPECT_EQ(tally.added, 2);
    EXPECT_EQ(tally.rows, (QStringList{QStringLiteral("shifted.csv: 2 rows read, 0 refused"),
                                       QStringLiteral("shifted.csv: times with a UTC offset were converted to this "
                                                      "computer's local time"),
                                       QStringLiteral("local.csv: 1 rows read, 0 refused")}));
}

// Declining the patient, or Cancel once the file is read, stops with nothing of the file stored.
TEST_F(ArchiveImport, StoppingInAFileAddsNothingOfIt)
{
    const QString generic = written(QStringLiteral("generic.csv"), "time,spo2,pr\n2026-03-14 22:00:00,95,60\n");
    ImportHooks noPatient;
    noPatient.patient = [](const QString &) { return std::optional<FileImport::Patient>(); };
    ImportHooks cancelAfterReading;
    int calls = 0;
    cancelAfterReading.progress = [&calls](int) { return ++calls < 2; };
    for (const ImportHooks &hooks : {noPatient, cancelAfterReading}) {
        const ImportTally tally = importFiles(access, {generic}, hooks);
        EXPECT_TRUE(tally.stopped);
        EXPECT_EQ(tally.done, 0);
        QString error;
        EXPECT_TRUE(access.list(&error).value_or(std::vector<NightInfo>(1)).empty()) << error.toStdString();
    }
    EXPECT_EQ(calls, 2);
}

} // namespace

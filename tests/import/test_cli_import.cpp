// SPDX-License-Identifier: GPL-3.0-or-later
// quellix-cli archive import with files of other oximeters, run as a program.
#include "archive/SqliteArchive.h"
#include "import/ImportFile.h"
#include "import/TimePattern.h"
#include "interop/EdfExport.h"
#include "test_files.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/stat.h>

namespace
{

using namespace testfiles;

const QString kArchive = QStringLiteral("archive");

void removeArchive()
{
    const QDir folder = QFileInfo(SqliteArchive::defaultPath()).dir();
    for (const QString &f : folder.entryList({QStringLiteral("archive.sqlite*")}, QDir::Files))
        QFile::remove(folder.filePath(f));
}

QJsonArray listed()
{
    const CliRun r = cli({kArchive, QStringLiteral("list"), QStringLiteral("--json")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    return QJsonDocument::fromJson(r.out.toUtf8()).array();
}

QString written(const QString &name, const QByteArray &bytes)
{
    const QString path = tempPath(name);
    writeBytes(path, bytes);
    return path;
}

TEST(CliImport, CsvAndEdfBecomeNightsOfTheNamedPatient)
{
    removeArchive();
    const QString ring = written(QStringLiteral("ring.csv"), "Time,Oxygen Level,Pulse Rate,Motion\r\n"
                                                             "08:48:26PM Nov 27, 2025,95,60,0\r\n"
                                                             "08:48:30PM Nov 27, 2025,94,61,2\r\n");
    std::vector<SampleRecord> night;
    for (int i = 0; i < 5; ++i) {
        SampleRecord s = ImportedReadings::recordAt(calendarSeconds(2026, 1, 2, 23, 0, 0) + i);
        s.spo2 = std::uint8_t(90 + i);
        s.pulseRate = std::uint8_t(50 + i);
        night.push_back(s);
    }
    PatientRecord patient;
    PatientRecord::setText(patient.name, QStringLiteral("Jane Roe"));
    const QString edf = written(QStringLiteral("lab.edf"), EdfExport::encode(night.data(), 5, patient));

    CliRun r = cli({kArchive, QStringLiteral("import"), ring, QStringLiteral("--id"), QStringLiteral("2"),
                    QStringLiteral("--name"), QStringLiteral("Ann Lee")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QLatin1String("2 rows read, 0 refused"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QLatin1String("a reading every 4 s"))) << r.out.toStdString();
    r = cli({kArchive, QStringLiteral("import"), edf});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();

    const QJsonArray nights = listed();
    ASSERT_EQ(nights.size(), 2);
    struct Expected {
        int id;
        const char *patient;
        const char *sourceName;
        const char *start;
        int readings;
        int interval;
    } const expected[] = {{2, "Ann Lee", "ring.csv", "2025-11-27 20:48:26", 5, 4},
                          {1, "Jane Roe", "lab.edf", "2026-01-02 23:00:00", 5, 1}};
    for (int i = 0; i < 2; ++i) {
        const QJsonObject n = nights[i].toObject();
        const Expected &e = expected[i];
        EXPECT_EQ(n[QLatin1String("id")].toInt(), e.id);
        EXPECT_EQ(n[QLatin1String("patient")].toString().toStdString(), e.patient);
        EXPECT_EQ(n[QLatin1String("source")].toString(), QStringLiteral("import"));
        EXPECT_EQ(n[QLatin1String("sourceName")].toString().toStdString(), e.sourceName);
        EXPECT_EQ(n[QLatin1String("start")].toString().toStdString(), e.start);
        EXPECT_EQ(n[QLatin1String("readings")].toInt(), e.readings);
        EXPECT_EQ(n[QLatin1String("intervalSeconds")].toInt(), e.interval);
    }
    // The EDF night's readings are the ones written, under ID 1.
    ArchiveResult<SqliteArchive::Opened> o = SqliteArchive::open(SqliteArchive::defaultPath());
    ASSERT_TRUE(o);
    const ArchiveResult<StoredNight> stored =
        o.value().archive->night(qint64(nights[1].toObject()[QLatin1String("night")].toInteger()));
    ASSERT_TRUE(stored) << stored.detail().toStdString();
    for (SampleRecord &s : night)
        s.id = 1;
    EXPECT_EQ(stored.value().readings, night);
}

// A file refused adds nothing; the message says what would let it in.
TEST(CliImport, RefusedFilesAndWhatLetsThemIn)
{
    QByteArray undecided = "time,spo2,pulse\n";
    QByteArray mostlyRefused = "time,spo2,pulse\n";
    for (int i = 0; i < 10; ++i) {
        const QByteArray second = QByteArray::number(i).rightJustified(2, '0');
        undecided += "05/11/2025 22:00:" + second + ",95,60\n";
        mostlyRefused += "2026-03-14 22:00:" + second + (i % 5 == 1 ? ",300,60\n" : ",95,60\n");
    }
    const QByteArray unknown = "a;b;c\n2026-03-14 22:00:00;95;60\n";
    struct Case {
        const char *name;
        QByteArray file;
        QStringList options;
        int code;
        const char *message;
    } const cases[] = {
        {"undecided.csv", undecided, {}, 1, "--time-format 'dd/MM/yyyy HH:mm:ss'"},
        {"undecided.csv", undecided, {"--time-format", "dd/MM/yyyy HH:mm:ss"}, 0, ""},
        {"refused.csv", mostlyRefused, {}, 1, "--accept-refused"},
        {"refused.csv", mostlyRefused, {"--accept-refused"}, 0, ""},
        {"unknown.txt", unknown, {}, 1, "--columns"},
        {"unknown.txt", unknown, {"--columns", "time=1,spo2=2,pulse=3"}, 0, ""},
        {"unknown.txt", unknown, {"--columns", "time=1"}, 2, "the columns need"},
        {"unknown.txt", unknown, {"--columns", "time=1,spo2=2", "--id", "129"}, 2, "not a patient ID: 129"},
        {"binary.edf", QByteArray(300, '\xff'), {}, 1, "not an EDF file"},
    };
    for (const Case &c : cases) {
        removeArchive();
        const QString file = written(QString::fromLatin1(c.name), c.file);
        const CliRun r = cli(QStringList{kArchive, QStringLiteral("import"), file} + c.options);
        EXPECT_EQ(r.code, c.code) << c.name << " " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << c.name << ": " << r.err.toStdString();
        EXPECT_EQ(listed().size(), c.code == 0 ? 1 : 0) << c.name;
    }
    const CliRun r = cli({kArchive, QStringLiteral("import"), tempPath(QStringLiteral("refused.csv")),
                          QStringLiteral("--accept-refused")});
    EXPECT_TRUE(r.out.contains(QLatin1String("8 rows read, 2 refused: line 3: SpO2 '300' is not a reading")))
        << r.out.toStdString();
}

// A device, a pipe without a writer and a huge file end quickly, without readings.
TEST(CliImport, EndlessAndHugeInputsAreBounded)
{
    removeArchive();
    const QString zero = tempPath(QStringLiteral("zero.csv"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString fifo = tempPath(QStringLiteral("pipe.edf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString huge = tempPath(QStringLiteral("huge.csv"));
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(ImportFile::kMaxCsvBytes + 1)); // sparse: no disk used
    }
    struct Case {
        QString path;
        const char *message;
    } const cases[] = {{zero, "larger than 64 MB"}, {fifo, "the file is empty"}, {huge, "larger than 64 MB"}};
    for (const Case &c : cases) {
        const CliRun r = cli({kArchive, QStringLiteral("import"), c.path});
        EXPECT_EQ(r.code, 1) << c.path.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << r.err.toStdString();
    }
    EXPECT_EQ(listed().size(), 0);
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// What is kept between runs, found damaged: a settings file of rubbish, a patient
// record of the wrong size, a data folder that is gone or blocked.
#include "app/DataFolder.h"
#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "app/Texts.h"
#include "child_process.h"
#include "model/DatFile.h"
#include "model/PatientStore.h"
#include "model/RecordStore.h"
#include "model/SavedData.h"
#include "test_env.h"
#include "test_files.h"
#include "test_samples.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{

QString configFile(const char *name)
{
    return testenv::root() + QStringLiteral("/config/quellix/") + QLatin1String(name);
}

void overwrite(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

PatientRecord patient(int id, const char *name)
{
    PatientRecord p;
    p.idNumber = id;
    PatientRecord::setText(p.name, QString::fromLatin1(name));
    p.age = 61;
    return p;
}

} // namespace

TEST(StoredFaults, RubbishSettingsFileGivesDefaultsAndIsRepairedByTheNextWrite)
{
    ASSERT_TRUE(StorePatientInfo(4, patient(5, "Kept Elsewhere")));
    QByteArray rubbish("\x00\xff\xfe[setup\nSaturationsLow=abc\nPrHigh\n=7\n[[[\n", 44);
    for (int i = 0; i < 4000; ++i)
        rubbish.append(char((i * 37) & 0xFF));
    overwrite(configFile("setup.conf"), rubbish);

    EXPECT_EQ(ReadSetupInt(QStringLiteral("SaturationsLow"), SetupDefaults::SaturationsLow),
              SetupDefaults::SaturationsLow);
    EXPECT_EQ(ReadSetupInt(QStringLiteral("PrHigh"), SetupDefaults::PrHigh), SetupDefaults::PrHigh);
    EXPECT_EQ(ReadSetupInt(QStringLiteral("Language"), SetupDefaults::Language), SetupDefaults::Language);
    EXPECT_FALSE(ReadSetupString(QStringLiteral("DefaultCOM")).has_value());

    // A write repairs the file; the rubbish is kept beside it for whoever wants to look.
    EXPECT_TRUE(WriteSetupValue(QStringLiteral("SaturationsLow"), QStringLiteral("85")));
    QFile aside(configFile("setup.conf.damaged"));
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), rubbish);
    EXPECT_EQ(ReadSetupInt(QStringLiteral("SaturationsLow"), SetupDefaults::SaturationsLow), 85);
    EXPECT_TRUE(WriteSetupValue(QStringLiteral("DefaultCOM"), QStringLiteral("ttyUSB0")));
    EXPECT_EQ(ReadSetupString(QStringLiteral("DefaultCOM")), QStringLiteral("ttyUSB0"));

    // The patient details live in their own file and are untouched.
    PatientRecord back;
    ASSERT_TRUE(ReadPatientInfo(4, back));
    EXPECT_EQ(back, patient(5, "Kept Elsewhere"));
}

// Opening a FIFO waits for a writer that never comes; such a file, or a folder
// in its place, is damaged: read as empty, moved aside by the next write.
TEST(StoredFaults, SettingsFilesThatAreNoRegularFilesReadAsDamaged)
{
    using namespace std::chrono_literals;
    const QString setup = configFile("setup.conf");
    const QString patients = configFile("patientinfo.conf");
    QDir().mkpath(QFileInfo(setup).absolutePath());
    for (const QString &path : {setup, patients}) {
        QFile::remove(path);
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
    const auto isFifo = [](const QString &path) {
        struct stat st {
        };
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
    };

    const testfiles::CliRun get =
        testfiles::cli({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("PrHigh")}, 20000);
    EXPECT_EQ(get.code, 0);
    EXPECT_EQ(get.out, QStringLiteral("150\n"));
    const testfiles::CliRun set = testfiles::cli(
        {QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("PrHigh"), QStringLiteral("140")}, 20000);
    EXPECT_EQ(set.code, 0);
    EXPECT_TRUE(QFileInfo(setup).isFile());
    EXPECT_TRUE(isFifo(setup + QStringLiteral(".damaged")));
    EXPECT_EQ(ReadSetupInt(QStringLiteral("PrHigh"), SetupDefaults::PrHigh), 140);

    const pid_t child = testchild::Start([] {
        PatientRecord record;
        const bool read = ReadPatientInfo(4, record);
        return !read && StorePatientInfo(4, patient(5, "After")) ? 0 : 1;
    });
    ASSERT_EQ(testchild::Wait(child, 20s), 0);
    PatientRecord back;
    ASSERT_TRUE(ReadPatientInfo(4, back));
    EXPECT_EQ(back, patient(5, "After"));
    EXPECT_TRUE(isFifo(patients + QStringLiteral(".damaged")));

    // A folder where the file belongs.
    ASSERT_TRUE(QFile::remove(setup));
    ASSERT_TRUE(QDir().mkpath(setup + QStringLiteral("/inside")));
    EXPECT_EQ(ReadSetupInt(QStringLiteral("PrHigh"), SetupDefaults::PrHigh), SetupDefaults::PrHigh);
    EXPECT_TRUE(WriteSetupValue(QStringLiteral("PrHigh"), QStringLiteral("130")));
    EXPECT_EQ(ReadSetupInt(QStringLiteral("PrHigh"), SetupDefaults::PrHigh), 130);
    EXPECT_TRUE(QFileInfo(setup + QStringLiteral(".damaged/inside")).isDir());
}

TEST(StoredFaults, DamagedPatientFileKeepsWhatCanBeReadAndTakesNewRecords)
{
    ASSERT_TRUE(StorePatientInfo(4, patient(5, "Readable")));
    const QString path = configFile("patientinfo.conf");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(QByteArray("\n\xff\x00[broken\n=\n", 14));
    f.close();

    EXPECT_TRUE(StorePatientInfo(9, patient(10, "Added After")));
    PatientRecord back;
    ASSERT_TRUE(ReadPatientInfo(9, back));
    EXPECT_EQ(back, patient(10, "Added After"));
    ASSERT_TRUE(ReadPatientInfo(4, back)) << "details stored before the damage are kept";
    EXPECT_EQ(back, patient(5, "Readable"));
    EXPECT_TRUE(QFile::exists(path + QStringLiteral(".damaged")));
}

TEST(StoredFaults, PatientRecordOfTheWrongSizeReadsAsMissingWhenARecordingOpens)
{
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quellix"),
                    QStringLiteral("patientinfo"));
        s.setValue(QStringLiteral("6"), QByteArray(PatientRecord::kStoredSize - 1, 'x'));
        s.setValue(QStringLiteral("7"), QByteArray(PatientRecord::kStoredSize + 1, 'x'));
        s.sync();
    }
    PatientRecord record = patient(1, "Before");
    EXPECT_FALSE(ReadPatientInfo(6, record));
    EXPECT_FALSE(ReadPatientInfo(7, record));
    EXPECT_EQ(record, patient(1, "Before"));

    // Opening a recording of ID 7: it is shown, the user is told, and ID 7 gets a
    // blank record rather than the details of the patient shown before.
    const QString path = testenv::root() + QStringLiteral("/id7.dat");
    std::vector<SampleRecord> readings;
    for (int i = 0; i < 30; ++i)
        readings.push_back(testdata::Reading(7, i));
    ASSERT_TRUE(DatFile::write(path, DatFile::encode(7, readings.data(), int(readings.size()), QString())));
    RecordStore store;
    store.currentPatient = patient(1, "Before");
    ScriptedPrompts prompts;
    EXPECT_TRUE(SavedData::open(store, path, prompts));
    EXPECT_EQ(store.currentSampleCount(), 30);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Get patient info error!")});
    PatientRecord blank7;
    blank7.idNumber = 7;
    EXPECT_EQ(store.currentPatient, blank7);
}

TEST(StoredFaults, DataFolderIsRecreatedWhenGoneAndABlockedOneIsReportedNotFatal)
{
    const QString marker = DataFolder::markerPath();
    const QString folder = QFileInfo(marker).absolutePath();
    ASSERT_TRUE(DataFolder::ensure());
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_TRUE(DataFolder::ensure());
    EXPECT_TRUE(QFile::exists(marker));
    EXPECT_EQ(QFileInfo(marker).size(), 0);

    // A plain file where the folder belongs: the folder cannot be made.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    overwrite(folder, "not a folder");
    EXPECT_FALSE(DataFolder::ensure());
    EXPECT_FALSE(QFile::exists(marker));
    ASSERT_TRUE(QFile::remove(folder));
    EXPECT_TRUE(DataFolder::ensure());
}

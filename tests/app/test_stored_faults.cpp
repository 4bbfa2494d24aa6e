// What is kept between runs, found damaged: a settings file of rubbish, a patient
// record of the wrong size, a data folder that is gone or blocked.
#include "app/DataFolder.h"
#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "app/Texts.h"
#include "model/DatFile.h"
#include "model/PatientStore.h"
#include "model/RecordStore.h"
#include "model/SavedData.h"
#include "test_env.h"
#include "test_samples.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <gtest/gtest.h>

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

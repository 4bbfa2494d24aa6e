// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "model/DatFile.h"
#include "model/PatientStore.h"
#include "model/RecordStore.h"
#include "model/SavedData.h"
#include "test_env.h"

#include <QFile>
#include <QtEndian>

#include "test_samples.h"

#include <gtest/gtest.h>

namespace
{

SampleRecord reading(int id, int second, int spo2, int pulse, int aux)
{
    return testdata::Reading(id, second, spo2, pulse, aux);
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

QString tempPath(const char *name)
{
    return testenv::root() + QLatin1Char('/') + QLatin1String(name);
}

// ---- committed sample files ----

struct Refusal {
    const char *file;
    qint64 offset;
    const char *checkWords; // part of the failed check's wording
};

class RefusedSample : public ::testing::TestWithParam<Refusal>
{
};

TEST_P(RefusedSample, IsRefusedAtTheFailingField)
{
    const Refusal &c = GetParam();
    const DatFile::ReadResult r = DatFile::read(testenv::dataFile(QLatin1String(c.file)));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.offset, c.offset);
    EXPECT_TRUE(r.failedCheck.contains(QLatin1String(c.checkWords), Qt::CaseInsensitive))
        << r.failedCheck.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    DatFile, RefusedSample,
    ::testing::Values(Refusal{"bad-empty.dat", 0, "empty"}, Refusal{"bad-header-129.dat", 0, "header ID"},
                      Refusal{"bad-too-many.dat", 1, "259200"}, Refusal{"bad-short-by-one.dat", 1, "length 28"},
                      Refusal{"bad-long-by-one.dat", 1, "length 141"},
                      Refusal{"bad-reading-id-129.dat", 16, "reading 1: ID"}, Refusal{"bad-feb29-2011.dat", 6, "date"},
                      Refusal{"bad-hour-24.dat", 6, "time"}, Refusal{"bad-spo2-101.dat", 34, "reading 2: SpO2"},
                      Refusal{"bad-pulse-29.dat", 13, "pulse"}, Refusal{"bad-title-past-end.dat", 16, "past the end"}),
    [](const auto &info) {
        std::string n = info.param.file;
        n = n.substr(0, n.size() - 4);
        for (char &ch : n)
            if (ch == '-')
                ch = '_';
        return n;
    });

TEST(DatFile, ValidSamplesReadWithTheirFields)
{
    const auto empty = DatFile::read(testenv::dataFile(QStringLiteral("valid-empty.dat")));
    ASSERT_TRUE(empty.ok) << empty.failedCheck.toStdString();
    EXPECT_EQ(empty.contents.headerId, 0);
    EXPECT_TRUE(empty.contents.samples.empty());
    EXPECT_TRUE(empty.contents.title.isEmpty());

    const auto night = DatFile::read(testenv::dataFile(QStringLiteral("valid-night-id7.dat")));
    ASSERT_TRUE(night.ok) << night.failedCheck.toStdString();
    EXPECT_EQ(night.contents.headerId, 7);
    ASSERT_EQ(night.contents.samples.size(), 5u);
    EXPECT_EQ(night.contents.title, QString::fromUtf8("Sleep lab \u2013 room 4 \u00e9t\u00e9"));
    const SampleRecord &last = night.contents.samples.back();
    EXPECT_EQ(last.second, 4);
    EXPECT_EQ(last.spo2, 94);
    EXPECT_EQ(last.pulseRate, 64);
    EXPECT_EQ(last.auxValue, 0x1FF - 4); // both bytes, low byte first

    const auto narrow = DatFile::read(testenv::dataFile(QStringLiteral("valid-narrow-title.dat")));
    ASSERT_TRUE(narrow.ok) << narrow.failedCheck.toStdString();
    EXPECT_EQ(narrow.contents.title, QStringLiteral("Ward B"));

    const auto bounds = DatFile::read(testenv::dataFile(QStringLiteral("valid-id128-bounds.dat")));
    ASSERT_TRUE(bounds.ok) << bounds.failedCheck.toStdString();
    EXPECT_EQ(bounds.contents.headerId, 128);
    EXPECT_EQ(bounds.contents.samples.at(0).spo2, 100);
    EXPECT_EQ(bounds.contents.samples.at(0).pulseRate, 30);
    EXPECT_EQ(bounds.contents.samples.at(0).day, 29); // 2012 was a leap year
}

// ---- writer ----

TEST(DatFile, EncodesTheExactLayout)
{
    const SampleRecord s = reading(5, 7, 97, 61, 0x1A2);
    const QByteArray b = DatFile::encode(5, &s, 1, QStringLiteral("Hi"));
    ASSERT_EQ(b.size(), 5 + 11 + 4 + 4);
    EXPECT_EQ(quint8(b[0]), 5);
    EXPECT_EQ(qFromLittleEndian<quint32>(b.constData() + 1), 1u);
    EXPECT_EQ(b.mid(5, 11), QByteArray::fromHex("051a030e161e07613da201"));
    EXPECT_EQ(b.mid(16), QByteArray::fromHex("fffeff0248006900"));
    EXPECT_EQ(DatFile::encode(0, nullptr, 0, QString()), QByteArray::fromHex("0000000000fffeff00"));
}

TEST(DatFile, TitleLengthGrowsAtTheArchiveBoundaries)
{
    EXPECT_EQ(DatFile::encodeTitle(QString(254, u'a')).left(4), QByteArray::fromHex("fffeff fe"));
    EXPECT_EQ(DatFile::encodeTitle(QString(255, u'a')).left(6), QByteArray::fromHex("fffeff ff ff00"));
    EXPECT_EQ(DatFile::encodeTitle(QString(0xFFFD, u'a')).left(6), QByteArray::fromHex("fffeff ff fdff"));
    EXPECT_EQ(DatFile::encodeTitle(QString(0xFFFE, u'a')).left(10), QByteArray::fromHex("fffeff ff ffff feff0000"));
}

TEST(DatFile, SizeBoundsFollowTheReadingCount)
{
    std::vector<SampleRecord> two{reading(1, 0, 95, 70, 0), reading(1, 1, 95, 70, 0)};
    const QByteArray base = DatFile::encode(1, two.data(), 2, QString(60, u't')); // 11N + 129
    EXPECT_TRUE(DatFile::parse(base).ok);
    EXPECT_FALSE(DatFile::parse(base + '\0').ok);

    // 8-bit empty title: the smallest file the length rule lets through is 11N + 7.
    QByteArray smallest = DatFile::encode(1, two.data(), 2, QString()).left(5 + 22);
    smallest.append('\0');
    smallest.append('\0');
    EXPECT_EQ(smallest.size(), 11 * 2 + 7);
    EXPECT_TRUE(DatFile::parse(smallest).ok);
    EXPECT_FALSE(DatFile::parse(smallest.left(smallest.size() - 1)).ok);
}

TEST(DatFile, ReadingCountLimitIsTwoHundredFiftyNineThousandTwoHundred)
{
    std::vector<SampleRecord> many(RecordStore::kFileCapacity, reading(2, 0, 95, 70, 3));
    const QByteArray full = DatFile::encode(2, many.data(), int(many.size()), QString());
    const auto ok = DatFile::parse(full);
    ASSERT_TRUE(ok.ok) << ok.failedCheck.toStdString();
    EXPECT_EQ(ok.contents.samples.size(), many.size());

    many.push_back(reading(2, 1, 95, 70, 3));
    const auto refused = DatFile::parse(DatFile::encode(2, many.data(), int(many.size()), QString()));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.offset, 1);
}

TEST(DatFile, EightBitTitleWithLongLengthFormIsRead)
{
    const SampleRecord s = reading(1, 0, 95, 70, 0);
    QByteArray b = DatFile::encode(1, &s, 1, QString()).left(16);
    b += QByteArray::fromHex("ff0400") + "Ward"; // 0xFF then a u16 that is not FFFE: 8-bit text
    const auto r = DatFile::parse(b);
    ASSERT_TRUE(r.ok) << r.failedCheck.toStdString();
    EXPECT_EQ(r.contents.title, QStringLiteral("Ward"));
}

// ---- open and save through the record store ----

TEST(SavedData, RoundTripKeepsReadingsAuxValuesAndTitle)
{
    RecordStore store;
    for (int i = 0; i < 50; ++i)
        store.currentSamples.push_back(reading(9, i, 80 + i % 21, 30 + i * 3, (i * 37) % 512));
    store.reportTitle = QString::fromUtf8("Nuit du 14 \u2013 \u7761\u7720");
    const QString path = tempPath("round.dat");
    ScriptedPrompts prompts;
    ASSERT_EQ(SavedData::writeDat(store, path, prompts), SavedData::SaveOutcome::Written);
    EXPECT_EQ(store.patientFlags[8].dataSaved, 1);

    RecordStore back;
    back.reportTitle = QStringLiteral("old");
    ASSERT_TRUE(SavedData::open(back, path, prompts));
    EXPECT_EQ(back.currentSamples, store.currentSamples);
    EXPECT_EQ(back.reportTitle, store.reportTitle);
    EXPECT_EQ(back.currentPatient.idNumber, 9);
    // ID 9 has no stored details: the reader says so but shows the recording.
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Get patient info error!")});
}

TEST(SavedData, RefusedFileLeavesTheStoreExactlyAsItWas)
{
    RecordStore store;
    store.currentSamples = {reading(4, 1, 95, 70, 7), reading(4, 2, 96, 71, 8)};
    store.currentPatient.idNumber = 4;
    PatientRecord::setText(store.currentPatient.name, QStringLiteral("Keep"));
    store.reportTitle = QStringLiteral("Keep title");
    const auto samples = store.currentSamples;
    const auto patient = store.currentPatient;

    for (const char *name : {"bad-spo2-101.dat", "bad-title-past-end.dat", "bad-reading-id-129.dat", "missing.dat"}) {
        ScriptedPrompts prompts;
        const FileResult opened = SavedData::open(store, testenv::dataFile(QLatin1String(name)), prompts);
        EXPECT_EQ(opened.maybeError(), FileError::Refused) << name;
        EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("can't open the file")}) << name;
        EXPECT_FALSE(opened.detail().isEmpty());
        EXPECT_EQ(store.currentSamples, samples) << name;
        EXPECT_EQ(store.currentPatient, patient) << name;
        EXPECT_EQ(store.reportTitle, QStringLiteral("Keep title")) << name;
    }
}

TEST(SavedData, OpeningLoadsStoredPatientAndKeepsDownloadBuffers)
{
    PatientRecord p;
    p.idNumber = 7;
    PatientRecord::setText(p.name, QStringLiteral("Mireille"));
    ASSERT_TRUE(StorePatientInfo(6, p));

    RecordStore store;
    store.deviceSamples[1].push_back(reading(2, 0, 95, 70, 0));
    store.currentNights = {4}; // an archived night was open
    store.currentMarks = {{0, 5}};
    ScriptedPrompts prompts;
    ASSERT_TRUE(SavedData::open(store, testenv::dataFile(QStringLiteral("valid-night-id7.dat")), prompts));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(store.currentNights.empty()) << "Save Info must not reach the night open before";
    EXPECT_TRUE(store.currentMarks.empty()) << "a file has no hand marks";
    EXPECT_EQ(store.currentPatient.nameText(), QStringLiteral("Mireille"));
    EXPECT_EQ(store.otherIdLines().size(), 1) << "the downloaded IDs are still offered";

    // Header ID 0: nothing to load and nothing said.
    ScriptedPrompts quiet;
    ASSERT_TRUE(SavedData::open(store, testenv::dataFile(QStringLiteral("valid-empty.dat")), quiet));
    EXPECT_TRUE(quiet.shown.isEmpty());
    EXPECT_EQ(store.currentSampleCount(), 0);
}

TEST(SavedData, SaveCommandStoresPatientOnlyAfterAGoodWrite)
{
    RecordStore store;
    store.currentSamples = {reading(12, 0, 95, 70, 1)};
    store.currentPatient.idNumber = 12;
    PatientRecord::setText(store.currentPatient.name, QStringLiteral("Ana"));

    ScriptedPrompts prompts;
    prompts.files.push_back(tempPath("good.dat"));
    EXPECT_EQ(SavedData::saveCommand(store, prompts, Settings().unitSetup()), SavedData::SaveCommandResult::Written);
    EXPECT_EQ(prompts.lastRequest.initialName, QStringLiteral("ID 12  Name Ana.dat"));
    EXPECT_EQ(prompts.lastRequest.defaultSuffix, QStringLiteral("dat"));
    EXPECT_TRUE(QFile::exists(tempPath("good.dat")));
    PatientRecord stored;
    ASSERT_TRUE(ReadPatientInfo(11, stored));
    EXPECT_EQ(stored.nameText(), QStringLiteral("Ana"));
    EXPECT_EQ(store.patientFlags[11].infoSaved, 1);

    // A folder that does not exist: nothing written, nothing stored.
    RecordStore other;
    other.currentSamples = {reading(13, 0, 95, 70, 1)};
    ScriptedPrompts failing;
    failing.files.push_back(tempPath("no/such/folder/x.dat"));
    EXPECT_EQ(SavedData::saveCommand(other, failing, Settings().unitSetup()),
              SavedData::SaveCommandResult::CannotCreate);
    EXPECT_EQ(failing.shown, QStringList{QStringLiteral("Can't create the file")});
    EXPECT_FALSE(ReadPatientInfo(12, stored));
    EXPECT_EQ(other.patientFlags[12].infoSaved, 0);

    ScriptedPrompts cancelled;
    EXPECT_EQ(SavedData::saveCommand(other, cancelled, Settings().unitSetup()),
              SavedData::SaveCommandResult::Cancelled);
    EXPECT_TRUE(cancelled.shown.isEmpty());
}

TEST(SavedData, PatientInfoOfThePreviousFileNeverMovesToAnIdWithoutDetails)
{
    PatientRecord alice;
    alice.idNumber = 1;
    PatientRecord::setText(alice.name, QStringLiteral("Alice"));
    PatientRecord::setText(alice.physician, QStringLiteral("Dr Lin"));
    alice.age = 62;
    ASSERT_TRUE(StorePatientInfo(0, alice));
    for (auto [id, name] : {std::pair{1, "mix-id1.dat"}, std::pair{5, "mix-id5.dat"}, std::pair{0, "mix-id0.dat"}}) {
        const SampleRecord one[] = {reading(id, 0, 95, 70, 0), reading(id, 1, 94, 71, 0)};
        ASSERT_TRUE(DatFile::write(tempPath(name), DatFile::encode(id, one, 2, QString())));
    }

    RecordStore store;
    ScriptedPrompts prompts;
    ASSERT_TRUE(SavedData::open(store, tempPath("mix-id1.dat"), prompts));
    EXPECT_EQ(store.currentPatient, alice);
    EXPECT_TRUE(prompts.shown.isEmpty());

    ASSERT_TRUE(SavedData::open(store, tempPath("mix-id5.dat"), prompts));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Get patient info error!")});
    PatientRecord blank5;
    blank5.idNumber = 5;
    EXPECT_EQ(store.currentPatient, blank5);

    // Save Data stores the blank record under ID 5, nothing of Alice.
    prompts.files.push_back(tempPath("mix-saved5.dat"));
    ASSERT_EQ(SavedData::saveCommand(store, prompts, Settings().unitSetup()), SavedData::SaveCommandResult::Written);
    PatientRecord stored;
    ASSERT_TRUE(ReadPatientInfo(4, stored));
    EXPECT_EQ(stored, blank5);
    ASSERT_TRUE(ReadPatientInfo(0, stored));
    EXPECT_EQ(stored, alice);

    // A file of ID 5 whose readings carry ID 1: saving it leaves Alice's details alone.
    const SampleRecord ofId1[] = {reading(1, 0, 95, 70, 0)};
    ASSERT_TRUE(DatFile::write(tempPath("mix-header5-readings1.dat"), DatFile::encode(5, ofId1, 1, QString())));
    ASSERT_TRUE(SavedData::open(store, tempPath("mix-header5-readings1.dat"), prompts));
    PatientRecord::setText(store.currentPatient.name, QStringLiteral("Bob"));
    prompts.files.push_back(tempPath("mix-saved1.dat"));
    ASSERT_EQ(SavedData::saveCommand(store, prompts, Settings().unitSetup()), SavedData::SaveCommandResult::Written);
    ASSERT_TRUE(ReadPatientInfo(0, stored));
    EXPECT_EQ(stored, alice);
    EXPECT_EQ(store.patientFlags[0].infoSaved, 0);

    // A file of ID 0 loads nothing and says nothing, but shows no one's details either.
    ASSERT_TRUE(SavedData::open(store, tempPath("mix-id1.dat"), prompts));
    prompts.shown.clear();
    ASSERT_TRUE(SavedData::open(store, tempPath("mix-id0.dat"), prompts));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(store.currentPatient, PatientRecord{});
}

TEST(SavedData, FirstReadingWithoutIdIsWrittenButNotStored)
{
    RecordStore store;
    store.currentSamples = {reading(0, 0, 95, 70, 1)};
    ScriptedPrompts prompts;
    prompts.files.push_back(tempPath("id0.dat"));
    EXPECT_EQ(SavedData::saveCommand(store, prompts, Settings().unitSetup()),
              SavedData::SaveCommandResult::WrittenBadId);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Patient ID invalidate")});
    EXPECT_EQ(fileBytes(tempPath("id0.dat")).size(), 5 + 11 + 4);
    for (const auto &f : store.patientFlags)
        EXPECT_EQ(f.infoSaved, 0);
}

} // namespace

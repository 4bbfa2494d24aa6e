// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "export/ProgressSink.h"
#include "model/DatFile.h"
#include "model/PatientStore.h"
#include "model/RecordStore.h"
#include "model/SavedData.h"
#include "model/SurplusParts.h"
#include "test_env.h"
#include "test_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QUrl>

#include "test_samples.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace
{

using namespace testfiles;

// A recording of count readings of id, one second apart, every field varied.
std::vector<SampleRecord> recording(int id, int count)
{
    std::vector<SampleRecord> v(std::size_t(count), testdata::Reading(id, 0));
    for (int i = 0; i < count; ++i) {
        SampleRecord &s = v[std::size_t(i)];
        s.day = std::uint8_t(1 + i / 86400 % 28);
        s.hour = std::uint8_t(i / 3600 % 24);
        s.minute = std::uint8_t(i / 60 % 60);
        s.second = std::uint8_t(i % 60);
        s.spo2 = std::uint8_t(i % 101);
        s.pulseRate = std::uint8_t(30 + i % 220);
        s.auxValue = std::uint16_t(i % 512);
    }
    return v;
}

RecordStore storeWith(int id, int count)
{
    RecordStore store;
    store.currentSamples = recording(id, count);
    store.currentPatient.idNumber = id;
    PatientRecord::setText(store.currentPatient.name, QStringLiteral("Ana"));
    return store;
}

// ---- Save Data and Open Saved Data through the commands ----

TEST(SaveCommands, SavedRecordingReopensIdenticalThroughTheCommands)
{
    RecordStore store = storeWith(9, 500);
    store.reportTitle = QString::fromUtf8("Nuit du 14 \u2013 \u7761\u7720");
    ScriptedPrompts prompts;
    prompts.files.push_back(tempPath(QStringLiteral("night.dat")));
    ASSERT_EQ(SavedData::saveCommand(store, prompts, Settings().unitSetup()), SavedData::SaveCommandResult::Written);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(prompts.lastRequest.filter, QStringLiteral("(*.dat);;(*.txt);;(*.xls);;(*.csv);;(*.edf)"));

    RecordStore back;
    ScriptedPrompts opening;
    opening.files.push_back(tempPath(QStringLiteral("night.dat")));
    ASSERT_TRUE(SavedData::openCommand(back, opening));
    EXPECT_EQ(opening.lastRequest.defaultSuffix, QStringLiteral("dat"));
    EXPECT_TRUE(opening.lastRequest.initialName.isEmpty());
    EXPECT_EQ(back.currentSamples, store.currentSamples) << "auxValue included";
    EXPECT_EQ(back.reportTitle, store.reportTitle);
    EXPECT_EQ(back.currentPatient.nameText(), QStringLiteral("Ana")) << "stored by the save, loaded by the open";
    EXPECT_TRUE(opening.shown.isEmpty());
}

TEST(SaveCommands, ExtensionChoosesTheWriterInAnyLetterCase)
{
    RecordStore store = storeWith(3, 4);
    struct Case {
        const char *name;
        QByteArray start;
    };
    const Case cases[] = {
        {"A.DAT", QByteArray("\x03\x04\x00\x00\x00", 5)},
        {"b.Txt", QByteArray("PatId\t")},
        {"c.XLS", QByteArray("\xD0\xCF\x11\xE0", 4)},
        {"d.dat", QByteArray("\x03\x04\x00\x00\x00", 5)},
        {"e.txt", QByteArray("PatId\t")},
        {"f.xls", QByteArray("\xD0\xCF\x11\xE0", 4)},
        {"g.CSV", QByteArray("time,spo2,pulse_rate\r\n")},
        {"h.Edf", QByteArray("0       ")},
    };
    for (const Case &c : cases) {
        const QString path = tempPath(QLatin1String(c.name));
        ScriptedPrompts prompts;
        prompts.files.push_back(path);
        EXPECT_EQ(SavedData::saveCommand(store, prompts, Settings().unitSetup()), SavedData::SaveCommandResult::Written)
            << c.name;
        EXPECT_TRUE(prompts.shown.isEmpty()) << c.name;
        EXPECT_TRUE(fileBytes(path).startsWith(c.start)) << c.name;
    }
    EXPECT_EQ(SavedData::formatOf(QStringLiteral("x.tXt")), SavedData::SaveFormat::Text);
    EXPECT_EQ(SavedData::formatOf(QStringLiteral("x. Smith")), SavedData::SaveFormat::Unknown);

    // Any other extension writes nothing, says so, and still stores the details.
    ScriptedPrompts odd;
    odd.files.push_back(tempPath(QStringLiteral("night.xlsx")));
    EXPECT_EQ(SavedData::saveCommand(store, odd, Settings().unitSetup()),
              SavedData::SaveCommandResult::UnknownExtension);
    EXPECT_FALSE(QFile::exists(tempPath(QStringLiteral("night.xlsx"))));
    ASSERT_EQ(odd.shown.size(), 1);
    EXPECT_EQ(odd.shown[0],
              QStringLiteral("Nothing was written: choose a file name ending in .dat, .txt, .xls, .csv or .edf."))
        << "every format the dialog offers is named";
    PatientRecord stored;
    EXPECT_TRUE(ReadPatientInfo(2, stored));
}

TEST(SaveCommands, EmptyRecordingIsNotWrittenAsEdf)
{
    RecordStore store = storeWith(3, 0);
    const QString path = tempPath(QStringLiteral("empty.edf"));
    ScriptedPrompts prompts;
    prompts.files.push_back(path);
    EXPECT_EQ(SavedData::saveCommand(store, prompts, Settings().unitSetup()),
              SavedData::SaveCommandResult::CannotCreate);
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].contains(QLatin1String("EDF+")));
}

TEST(SaveCommands, ExportsUseTheStoredUnitSettingAndStoreThePatient)
{
    RecordStore store = storeWith(21, 2);
    store.currentPatient.height = 70;
    store.currentPatient.weight = 154;
    store.currentPatient.unitSystem = 0;
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("UnitSetup"), QStringLiteral("1")));
    ScriptedPrompts prompts;
    prompts.files.push_back(tempPath(QStringLiteral("units.txt")));
    ASSERT_EQ(SavedData::saveCommand(store, prompts, Settings().unitSetup()), SavedData::SaveCommandResult::Written);
    EXPECT_TRUE(fileBytes(tempPath(QStringLiteral("units.txt"))).contains("\t178 cm\t70 kg\r\n"));
    PatientRecord stored;
    ASSERT_TRUE(ReadPatientInfo(20, stored));
    EXPECT_EQ(stored.nameText(), QStringLiteral("Ana"));
    EXPECT_EQ(store.patientFlags[20].infoSaved, 1);
    EXPECT_EQ(store.patientFlags[20].dataSaved, 0) << "only a .dat file counts as saved data";
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("UnitSetup"), QStringLiteral("0")));
}

class StopAtOnce : public ProgressSink
{
public:
    void begin(int) override {}
    bool advance(int) override { return false; }
    void end() override {}
};

TEST(SaveCommands, StoppedSpreadsheetWritesNothingAndStoresNothing)
{
    RecordStore store = storeWith(22, 20000);
    ScriptedPrompts prompts;
    prompts.files.push_back(tempPath(QStringLiteral("stopped.xls")));
    StopAtOnce stop;
    EXPECT_EQ(SavedData::saveCommand(store, prompts, Settings().unitSetup(), &stop),
              SavedData::SaveCommandResult::Cancelled);
    EXPECT_FALSE(QFile::exists(tempPath(QStringLiteral("stopped.xls"))));
    EXPECT_TRUE(prompts.shown.isEmpty());
    PatientRecord stored;
    EXPECT_FALSE(ReadPatientInfo(21, stored));
}

TEST(SaveCommands, UnwritableFolderFailsAndKeepsTheOldFile)
{
    RecordStore store = storeWith(23, 3);
    // /proc takes no new files, even from root.
    for (const char *name : {"/proc/quellix.dat", "/proc/quellix.txt", "/proc/quellix.xls"}) {
        ScriptedPrompts prompts;
        prompts.files.push_back(QLatin1String(name));
        EXPECT_EQ(SavedData::saveCommand(store, prompts, Settings().unitSetup()),
                  SavedData::SaveCommandResult::CannotCreate)
            << name;
        EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Can't create the file")}) << name;
    }
    PatientRecord stored;
    EXPECT_FALSE(ReadPatientInfo(22, stored)) << "a failed save stores no details";

    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const QString folder = tempPath(QStringLiteral("readonly"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const char *name : {"/old.dat", "/old.txt", "/old.xls"}) {
        const QString path = folder + QLatin1String(name);
        writeBytes(path, "previous");
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
        ScriptedPrompts prompts;
        prompts.files.push_back(path);
        EXPECT_EQ(SavedData::saveCommand(store, prompts, Settings().unitSetup()),
                  SavedData::SaveCommandResult::CannotCreate)
            << name;
        EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Can't create the file")});
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        EXPECT_EQ(fileBytes(path), QByteArray("previous")) << name;
    }
}

// ---- the files that could not be reopened ----

TEST(SaveFaults, LongRecordingIsSavedInPartsThatAllReopen)
{
    RecordStore store = storeWith(1, RecordStore::kCapacity); // the most a device keeps for one ID
    store.reportTitle = QStringLiteral("Long night");
    ASSERT_EQ(store.currentSampleCount(), RecordStore::kCapacity);
    ScriptedPrompts prompts;
    const QString path = tempPath(QStringLiteral("long/id1.dat"));
    ASSERT_TRUE(QDir().mkpath(tempPath(QStringLiteral("long"))));
    prompts.files.push_back(path);
    ASSERT_EQ(SavedData::saveCommand(store, prompts, Settings().unitSetup()), SavedData::SaveCommandResult::Written);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].contains(QLatin1String("518400 readings")));
    EXPECT_TRUE(prompts.shown[0].contains(QLatin1String("2 files")));
    EXPECT_TRUE(prompts.shown[0].contains(QLatin1String("id1-2.dat")));

    std::vector<SampleRecord> joined;
    for (const QString &part : {path, tempPath(QStringLiteral("long/id1-2.dat"))}) {
        const DatFile::ReadResult r = DatFile::read(part);
        ASSERT_TRUE(r.ok) << part.toStdString() << ": " << r.failedCheck.toStdString();
        EXPECT_EQ(r.contents.headerId, 1);
        EXPECT_EQ(r.contents.title, QStringLiteral("Long night"));
        EXPECT_EQ(int(r.contents.samples.size()), RecordStore::kFileCapacity);
        joined.insert(joined.end(), r.contents.samples.begin(), r.contents.samples.end());
    }
    EXPECT_EQ(joined, store.currentSamples) << "nothing lost, nothing repeated";
    EXPECT_EQ(QDir(tempPath(QStringLiteral("long"))).entryList(QDir::Files).size(), 2);
}

TEST(SaveFaults, ExistingPartFilesAreReplacedOnlyWhenTheUserAgrees)
{
    RecordStore store = storeWith(2, RecordStore::kFileCapacity + 10);
    ASSERT_TRUE(QDir().mkpath(tempPath(QStringLiteral("parts"))));
    const QString path = tempPath(QStringLiteral("parts/night.dat"));
    const QString second = tempPath(QStringLiteral("parts/night-2.dat"));
    writeBytes(second, "someone else's");

    ScriptedPrompts declined; // answers Cancel
    declined.files.push_back(path);
    EXPECT_EQ(SavedData::saveCommand(store, declined, Settings().unitSetup()), SavedData::SaveCommandResult::Cancelled);
    ASSERT_EQ(declined.shown.size(), 1);
    EXPECT_TRUE(declined.shown[0].contains(QLatin1String("night-2.dat")));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(fileBytes(second), QByteArray("someone else's"));
    PatientRecord stored;
    EXPECT_FALSE(ReadPatientInfo(1, stored));

    ScriptedPrompts agreed;
    agreed.answers.push_back(Prompts::Answer::Ok);
    agreed.files.push_back(path);
    EXPECT_EQ(SavedData::saveCommand(store, agreed, Settings().unitSetup()), SavedData::SaveCommandResult::Written);
    EXPECT_EQ(agreed.shown.size(), 2) << "the question, then how many files were written";
    EXPECT_EQ(DatFile::read(second).contents.samples.size(), 10u);
}

// Parts an earlier, longer save left behind: only files that go on with the
// recording the names hold count, never an unrelated file of a matching name.
TEST(SaveFaults, SurplusPartsAreOnlyTheRestOfTheEarlierRecording)
{
    ASSERT_TRUE(QDir().mkpath(tempPath(QStringLiteral("surplus"))));
    const auto at = [](const char *name) { return tempPath(QStringLiteral("surplus/") + QLatin1String(name)); };
    const std::vector<SampleRecord> three = recording(4, 2 * RecordStore::kFileCapacity + 10);
    const auto save = [&](const QString &path, int id, int first, int count, const QString &title) {
        std::vector<SampleRecord> v(three.begin() + first, three.begin() + first + count);
        for (SampleRecord &s : v)
            s.id = std::uint8_t(id);
        ASSERT_TRUE(DatFile::writeRecording(path, id, v.data(), count, title).ok);
    };
    const int full = RecordStore::kFileCapacity;
    save(at("night.dat"), 4, 0, int(three.size()), QStringLiteral("Ward"));
    // Next to it: a one-part recording with an unrelated "-2", and parts that
    // break the chain by ID, title, time, size or contents.
    save(at("short.dat"), 4, 0, 100, QStringLiteral("Ward"));
    save(at("short-2.dat"), 4, 100, 100, QStringLiteral("Ward"));
    save(at("id.dat"), 4, 0, full, QStringLiteral("Ward"));
    save(at("id-2.dat"), 5, full, 10, QStringLiteral("Ward"));
    save(at("title.dat"), 4, 0, full, QStringLiteral("Ward"));
    save(at("title-2.dat"), 4, full, 10, QStringLiteral("Other"));
    save(at("gap.dat"), 4, 0, full, QStringLiteral("Ward"));
    save(at("gap-2.dat"), 4, full + 1, 10, QStringLiteral("Ward"));
    save(at("junk.dat"), 4, 0, full, QStringLiteral("Ward"));
    writeBytes(at("junk-2.dat"), "not a recording");

    struct Case {
        const char *name;
        int parts;
        QStringList surplus;
    };
    const Case cases[] = {
        {"night.dat", 1, {at("night-2.dat"), at("night-3.dat")}},
        {"night.dat", 2, {at("night-3.dat")}},
        {"night.dat", 3, {}},
        {"short.dat", 1, {}},
        {"id.dat", 1, {}},
        {"title.dat", 1, {}},
        {"gap.dat", 1, {}},
        {"junk.dat", 1, {}},
        {"none.dat", 1, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SurplusParts::find(at(c.name), c.parts), c.surplus) << c.name << " " << c.parts;
}

TEST(SaveFaults, SavingAShorterRecordingOffersToRemoveTheEarlierSurplusPart)
{
    ASSERT_TRUE(QDir().mkpath(tempPath(QStringLiteral("shorter"))));
    const QString path = tempPath(QStringLiteral("shorter/night.dat"));
    const QString second = tempPath(QStringLiteral("shorter/night-2.dat"));
    for (const Prompts::Answer answer : {Prompts::Answer::Cancel, Prompts::Answer::Ok}) {
        RecordStore longer = storeWith(6, RecordStore::kFileCapacity + 30);
        ScriptedPrompts first;
        first.answers = {Prompts::Answer::Ok}; // replace the "-2" of the round before
        ASSERT_EQ(SavedData::writeDat(longer, path, first), SavedData::SaveOutcome::Written);
        ASSERT_TRUE(QFile::exists(second));

        RecordStore shorter = storeWith(6, 500);
        ScriptedPrompts prompts;
        prompts.answers = {answer};
        EXPECT_EQ(SavedData::writeDat(shorter, path, prompts), SavedData::SaveOutcome::Written);
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_TRUE(prompts.shown[0].contains(QDir::toNativeSeparators(second))) << prompts.shown[0].toStdString();
        EXPECT_EQ(QFile::exists(second), answer != Prompts::Answer::Ok);
        EXPECT_EQ(DatFile::read(path).contents.samples, shorter.currentSamples);
    }
}

TEST(SaveFaults, PartNamesAndCounts)
{
    EXPECT_EQ(DatFile::partPath(QStringLiteral("/a/b/id1.dat"), 1), QStringLiteral("/a/b/id1.dat"));
    EXPECT_EQ(DatFile::partPath(QStringLiteral("/a/b/id1.dat"), 2), QStringLiteral("/a/b/id1-2.dat"));
    EXPECT_EQ(DatFile::partPath(QStringLiteral("id1.DAT"), 3), QStringLiteral("id1-3.DAT"));
    EXPECT_EQ(DatFile::partPath(QStringLiteral("/a.b/night.x.dat"), 2), QStringLiteral("/a.b/night.x-2.dat"));
    EXPECT_EQ(DatFile::partCount(0), 1);
    EXPECT_EQ(DatFile::partCount(RecordStore::kFileCapacity), 1);
    EXPECT_EQ(DatFile::partCount(RecordStore::kFileCapacity + 1), 2);
    EXPECT_EQ(DatFile::partCount(300000), 2);
}

TEST(SaveFaults, LongTitleIsCutToSixtyAndTheFileReopens)
{
    // An 8-bit title of 100 characters is accepted by the reader...
    SampleRecord s = testdata::Reading(5, 1);
    QByteArray bytes = DatFile::encode(5, &s, 1, QString()).left(16);
    const QByteArray title(100, 'T');
    bytes += char(100) + title;
    const QString opened = tempPath(QStringLiteral("long-title.dat"));
    writeBytes(opened, bytes);
    RecordStore store;
    ScriptedPrompts prompts;
    ASSERT_TRUE(SavedData::open(store, opened, prompts));
    EXPECT_EQ(store.reportTitle.size(), 100);

    // ... and saving it again must give a file the reader accepts.
    const QString saved = tempPath(QStringLiteral("long-title-again.dat"));
    ASSERT_EQ(SavedData::writeDat(store, saved, prompts), SavedData::SaveOutcome::Written);
    const DatFile::ReadResult r = DatFile::read(saved);
    ASSERT_TRUE(r.ok) << r.failedCheck.toStdString();
    EXPECT_EQ(r.contents.title, QString(60, QLatin1Char('T')));
    EXPECT_EQ(fileBytes(saved).size(), 11 + 129) << "the largest size the reader accepts";

    // A cut never splits a character made of two UTF-16 units.
    const QString wide = QString(59, QLatin1Char('a')) + QString::fromUtf8("\U0001F600") + QStringLiteral("b");
    const auto back = DatFile::parse(DatFile::encode(5, &s, 1, wide));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.contents.title, QString(59, QLatin1Char('a')));
}

TEST(SaveFaults, DevicesAndPipesAreReadWithinBounds)
{
    // /dev/zero reports size 0 and never ends.
    const DatFile::ReadResult zero = DatFile::read(QStringLiteral("/dev/zero"));
    EXPECT_FALSE(zero.ok);
    EXPECT_TRUE(zero.failedCheck.contains(QLatin1String("largest possible"))) << zero.failedCheck.toStdString();

    // A FIFO without a writer must not hang the reader.
    const QString fifo = tempPath(QStringLiteral("fifo.dat"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QElapsedTimer timer;
    timer.start();
    const DatFile::ReadResult silent = DatFile::read(fifo);
    EXPECT_FALSE(silent.ok);
    EXPECT_LT(timer.elapsed(), 5000);

    // A FIFO with a writer is read like a file.
    SampleRecord s = testdata::Reading(6, 2, 97, 64, 300);
    const QByteArray good = DatFile::encode(6, &s, 1, QStringLiteral("piped"));
    // The write end is open before the reader comes: a writer still opening
    // would let the reader see an empty pipe, and then block for ever itself.
    // O_RDWR opens a FIFO without waiting for a reader.
    const int writeEnd = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writeEnd, 0);
    std::thread writer([&] {
        const auto put = [writeEnd](const QByteArray &bytes) {
            return ::write(writeEnd, bytes.constData(), std::size_t(bytes.size())) == bytes.size();
        };
        EXPECT_TRUE(put(good.left(10)));
        ::usleep(50000);
        EXPECT_TRUE(put(good.mid(10)));
        ::close(writeEnd);
    });
    const DatFile::ReadResult piped = DatFile::read(fifo);
    writer.join();
    ASSERT_TRUE(piped.ok) << piped.failedCheck.toStdString();
    EXPECT_EQ(piped.contents.title, QStringLiteral("piped"));
    EXPECT_EQ(piped.contents.samples.front(), s);

    // The same bound holds for an ordinary file too big.
    const QString big = tempPath(QStringLiteral("big.dat"));
    writeBytes(big, QByteArray(int(DatFile::maxFileSize() + 1), '\0'));
    EXPECT_FALSE(DatFile::read(big).ok);
}

TEST(SaveFaults, ProposedNameIsASafeDatFileName)
{
    RecordStore store;
    store.currentPatient.idNumber = 4;
    PatientRecord::setText(store.currentPatient.name, QStringLiteral("J. Smith"));
    EXPECT_EQ(SavedData::saveInitialName(store), QStringLiteral("ID 4  Name J. Smith.dat"));
    EXPECT_EQ(SavedData::formatOf(SavedData::saveInitialName(store)), SavedData::SaveFormat::Dat);

    PatientRecord::setText(store.currentPatient.name, QStringLiteral("a/b\\c:d*e?f\"g<h>i|j\tk"));
    EXPECT_EQ(SavedData::saveInitialName(store), QStringLiteral("ID 4  Name a_b_c_d_e_f_g_h_i_j_k.dat"));

    PatientRecord::setText(store.currentPatient.name, QString::fromUtf8("\u5f20\u4f1f"));
    EXPECT_EQ(SavedData::saveInitialName(store), QString::fromUtf8("ID 4  Name \u5f20\u4f1f.dat"));

    // Accepting the proposal as it stands writes the file next to nothing else.
    store.currentSamples = recording(4, 2);
    PatientRecord::setText(store.currentPatient.name, QStringLiteral("J. Smith/Jr"));
    ScriptedPrompts prompts;
    const QString proposed = tempPath(SavedData::saveInitialName(store));
    prompts.files.push_back(proposed);
    ASSERT_EQ(SavedData::saveCommand(store, prompts, Settings().unitSetup()), SavedData::SaveCommandResult::Written);
    EXPECT_TRUE(DatFile::read(proposed).ok) << proposed.toStdString();
}

TEST(SaveFaults, CalendarCheckCountsLeapYearsOfEveryCentury)
{
    const auto opens = [](int year, int month, int day) {
        SampleRecord s = testdata::Reading(2, 0);
        s.year = std::uint8_t(year - 2000);
        s.month = std::uint8_t(month);
        s.day = std::uint8_t(day);
        return DatFile::parse(DatFile::encode(2, &s, 1, QString())).ok;
    };
    EXPECT_TRUE(opens(2000, 2, 29)) << "divisible by 400";
    EXPECT_TRUE(opens(2024, 2, 29));
    EXPECT_FALSE(opens(2023, 2, 29));
    EXPECT_FALSE(opens(2100, 2, 29)) << "a century, not a leap year";
    EXPECT_TRUE(opens(2100, 2, 28));
    EXPECT_TRUE(opens(2026, 12, 31));
    EXPECT_FALSE(opens(2026, 4, 31));
    EXPECT_FALSE(opens(2026, 13, 1));
    EXPECT_FALSE(opens(2026, 1, 0));
    EXPECT_FALSE(opens(2026, 0, 1));
}

TEST(SaveCommands, DroppedDatFileIsFoundInAnyLetterCase)
{
    using SavedData::droppedDatFile;
    EXPECT_EQ(droppedDatFile({QUrl(QStringLiteral("https://x/a.dat")), QUrl::fromLocalFile(QStringLiteral("/t/b.txt")),
                              QUrl::fromLocalFile(QStringLiteral("/t/c.DAT"))}),
              QStringLiteral("/t/c.DAT"));
    EXPECT_TRUE(droppedDatFile({QUrl::fromLocalFile(QStringLiteral("/t/b.xls"))}).isEmpty());
    EXPECT_TRUE(droppedDatFile({}).isEmpty());
}

} // namespace

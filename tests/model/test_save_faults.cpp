// SPDX-License-Identifier: GPL-3.0-or-later
// Saving where the disk says no: a full file system and a read-only file. The
// user gets the message and the file that was there before stays as it was.
#include "analysis/EventTimeFile.h"
#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "app/Texts.h"
#include "device/RawDump.h"
#include "model/RecordStore.h"
#include "model/SavedData.h"
#include "small_fs.h"
#include "test_env.h"
#include "test_samples.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include <sys/mount.h>
#include <unistd.h>

namespace
{

using testfs::SmallFileSystem;

void fill(RecordStore &store, int count)
{
    store.currentSamples.clear();
    for (int i = 0; i < count; ++i)
        store.currentSamples.push_back(testdata::Reading(3, i % 60, 90 + i % 10, 60 + i % 50, i));
    store.reportTitle = QStringLiteral("Night of the fault test");
}

} // namespace

TEST(SaveFaults, FullFileSystemKeepsThePreviousFileAndSaysSo)
{
    SmallFileSystem disk(QStringLiteral("full"), "size=64k");
    if (!disk.mounted())
        GTEST_SKIP() << "this machine does not let the test mount a small file system";
    RecordStore store;
    ScriptedPrompts prompts;
    const QString path = disk.file("night.dat");
    fill(store, 100);
    ASSERT_EQ(SavedData::writeDat(store, path, prompts), SavedData::SaveOutcome::Written);
    const QByteArray before = testfs::bytesOf(path);
    ASSERT_EQ(before.size(), 100 * 11 + 9 + 2 * store.reportTitle.size());

    fill(store, 20000); // 220 kB onto 64 kB
    store.patientFlags[2] = {};
    EXPECT_EQ(SavedData::writeDat(store, path, prompts), SavedData::SaveOutcome::CannotCreate);
    EXPECT_EQ(prompts.shown, QStringList{Text(TextNo::CantCreateFile)});
    EXPECT_EQ(testfs::bytesOf(path), before) << "the previous recording must survive a failed save";
    EXPECT_EQ(disk.entries(), QStringList{QStringLiteral("night.dat")}) << "no half-written file is left behind";
    EXPECT_EQ(store.patientFlags[2].dataSaved, 0);

    // Nothing stays half-done: the same recording saves once there is room.
    fill(store, 1000);
    prompts.shown.clear();
    EXPECT_EQ(SavedData::writeDat(store, path, prompts), SavedData::SaveOutcome::Written);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST(SaveFaults, ReadOnlyFileIsLeftAloneAndTheSaveCommandStoresNoPatient)
{
    SmallFileSystem disk(QStringLiteral("readonly"), "size=256k");
    RecordStore store;
    ScriptedPrompts prompts;
    fill(store, 50);
    QString path;
    if (disk.mounted()) {
        path = disk.file("kept.dat");
        ASSERT_EQ(SavedData::writeDat(store, path, prompts), SavedData::SaveOutcome::Written);
        ASSERT_TRUE(disk.makeReadOnly());
    } else if (::geteuid() != 0) {
        // Without a mount a read-only file will do, unless root ignores its mode.
        path = testenv::root() + QStringLiteral("/kept.dat");
        ASSERT_EQ(SavedData::writeDat(store, path, prompts), SavedData::SaveOutcome::Written);
        QFile::setPermissions(path, QFileDevice::ReadOwner);
    } else {
        GTEST_SKIP() << "root without the right to mount cannot make a read-only file";
    }
    const QByteArray before = testfs::bytesOf(path);

    fill(store, 70);
    store.currentPatient.idNumber = 3;
    prompts.files.push_back(path);
    EXPECT_EQ(SavedData::saveCommand(store, prompts, Settings().unitSetup()),
              SavedData::SaveCommandResult::CannotCreate);
    EXPECT_EQ(prompts.shown, QStringList{Text(TextNo::CantCreateFile)});
    EXPECT_EQ(testfs::bytesOf(path), before);
    EXPECT_EQ(store.patientFlags[2].infoSaved, 0) << "no patient details are stored after a failed save";
}

// Every writer on a disk with a few kB left: a short write is a failure, the
// earlier file stays, and the system's reason reaches the user beside the
// described text.
TEST(SaveFaults, EveryWriterFailsWholeOnAFullDiskAndKeepsTheEarlierFile)
{
    SmallFileSystem disk(QStringLiteral("writers"), "size=256k");
    if (!disk.mounted())
        GTEST_SKIP() << "this machine does not let the test mount a small file system";
    RecordStore store;
    fill(store, 8000); // every format takes far more than the room left
    store.currentPatient.idNumber = 3;
    AnalysisResults results;
    for (int i = 0; i < 400; ++i)
        results.spo2Events.push_back(EventRecord{i * 19, 12, 93, 85, 4});
    RawDump dump;
    dump.read(QByteArray(20000, '\x5a'));

    struct Row {
        const char *name;
        const char *file;
        std::function<QString(const QString &path)> write; // the reason the user is given
    };
    const auto saved = [&](const QString &path) {
        ScriptedPrompts prompts;
        EXPECT_EQ(SavedData::saveTo(store, path, prompts, 1), SavedData::SaveCommandResult::CannotCreate)
            << path.toStdString();
        EXPECT_EQ(prompts.shown, QStringList{Text(TextNo::CantCreateFile)}) << path.toStdString();
        return prompts.details.value(0);
    };
    const Row rows[] = {
        {"data file", "night.dat", saved},
        {"text export", "night.txt", saved},
        {"spreadsheet", "night.xls", saved},
        {"CSV", "night.csv", saved},
        {"EDF+", "night.edf", saved},
        {"event-time file", "events.txt",
         [&](const QString &path) {
             ScriptedPrompts prompts;
             prompts.files.push_back(path);
             EXPECT_EQ(EventTimeFile::exportCommand(store, results, prompts, Settings().unitSetup()),
                       EventTimeFile::Outcome::CannotCreate);
             EXPECT_EQ(prompts.shown, QStringList{Text(TextNo::CantCreateFile)});
             return prompts.details.value(0);
         }},
        {"raw dump", "download.dump",
         [&](const QString &path) {
             const DumpResult<> saved = dump.save(path);
             EXPECT_FALSE(saved.ok());
             return saved.ok() ? QString() : saved.detail();
         }},
    };
    QStringList files;
    for (const Row &row : rows) {
        ASSERT_TRUE(testfs::putFile(disk.file(row.file), QByteArray("earlier ") + row.file)) << row.name;
        files.append(QLatin1String(row.file));
    }
    ASSERT_TRUE(disk.leaveFree(6000));
    files.append(QStringLiteral("filler"));
    files.sort();
    const QString noSpace = QString::fromLocal8Bit(std::strerror(ENOSPC));
    for (const Row &row : rows) {
        EXPECT_EQ(row.write(disk.file(row.file)), noSpace) << row.name;
        EXPECT_EQ(testfs::bytesOf(disk.file(row.file)), QByteArray("earlier ") + row.file) << row.name;
        EXPECT_EQ(disk.entries(), files) << row.name << ": no partial file is left";
    }
    EXPECT_EQ(store.patientFlags[2].infoSaved, 0) << "no patient details are stored after a failed save";
}

// A recording in parts whose last part does not fit. QSaveFile keeps a small
// part in its buffer until commit() and does not check that flush; the parts
// must all be on the disk before the first replaces its file.
TEST(SaveFaults, PartsAreAllWrittenOrTheEarlierPartsStay)
{
    SmallFileSystem disk(QStringLiteral("parts"), "size=8m");
    if (!disk.mounted())
        GTEST_SKIP() << "this machine does not let the test mount a small file system";
    const QString path = disk.file("night.dat");
    const QString second = disk.file("night-2.dat");
    ASSERT_TRUE(testfs::putFile(path, "earlier part one"));
    ASSERT_TRUE(testfs::putFile(second, "earlier part two"));
    RecordStore store;
    fill(store, RecordStore::kFileCapacity + 1000);
    // Room for the whole first part and one page more; the second needs three.
    const qint64 firstPart = qint64(RecordStore::kFileCapacity) * 11 + 9 + 2 * store.reportTitle.size();
    ASSERT_TRUE(disk.leaveFree((firstPart + 4095) / 4096 * 4096 + 4096));
    ScriptedPrompts prompts;
    prompts.answers = {Prompts::Answer::Ok}; // replace the existing second part
    EXPECT_EQ(SavedData::writeDat(store, path, prompts), SavedData::SaveOutcome::CannotCreate);
    EXPECT_EQ(prompts.details, QStringList{QString::fromLocal8Bit(std::strerror(ENOSPC))});
    EXPECT_EQ(testfs::bytesOf(path), QByteArray("earlier part one")) << "the first part must not be replaced alone";
    EXPECT_EQ(testfs::bytesOf(second), QByteArray("earlier part two"));
    EXPECT_EQ(disk.entries(),
              (QStringList{QStringLiteral("filler"), QStringLiteral("night-2.dat"), QStringLiteral("night.dat")}));
}

// A part whose file cannot be replaced (a mount point: rename() says EBUSY)
// after the earlier parts are in place: they go back, a new one goes again.
TEST(SaveFaults, PartThatCannotTakeItsPlacePutsTheOthersBack)
{
    const QString folder = testenv::root() + QStringLiteral("/busy");
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/night.dat");
    const QString third = folder + QStringLiteral("/night-3.dat");
    const QString pinned = testenv::root() + QStringLiteral("/pinned");
    ASSERT_TRUE(testfs::putFile(path, "earlier part one"));
    ASSERT_TRUE(testfs::putFile(third, "earlier part three"));
    ASSERT_TRUE(testfs::putFile(pinned, "pinned"));
    if (::mount(QFile::encodeName(pinned).constData(), QFile::encodeName(third).constData(), nullptr, MS_BIND,
                nullptr) != 0)
        GTEST_SKIP() << "this machine does not let the test bind a file";
    RecordStore store;
    fill(store, 2 * RecordStore::kFileCapacity + 5);
    ScriptedPrompts prompts;
    prompts.answers = {Prompts::Answer::Ok};
    const SavedData::SaveOutcome outcome = SavedData::writeDat(store, path, prompts);
    ::umount2(QFile::encodeName(third).constData(), MNT_DETACH);
    EXPECT_EQ(outcome, SavedData::SaveOutcome::CannotCreate);
    EXPECT_EQ(prompts.details.size(), 1);
    EXPECT_EQ(testfs::bytesOf(path), QByteArray("earlier part one"));
    EXPECT_EQ(testfs::bytesOf(third), QByteArray("earlier part three"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("night-3.dat"), QStringLiteral("night.dat")}))
        << "the new second part and the kept copies are gone";
}

// Saving where the disk says no: a full file system and a read-only file. The
// user gets the message and the file that was there before stays as it was.
#include "app/ScriptedPrompts.h"
#include "app/Texts.h"
#include "model/RecordStore.h"
#include "model/SavedData.h"
#include "test_env.h"
#include "test_samples.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

namespace
{

// A small tmpfs of its own where the machine lets the test mount one (root, or a
// container with the rights), unmounted again at the end.
class SmallFileSystem
{
public:
    explicit SmallFileSystem(const QString &name, const char *options)
        : path_(testenv::root() + QLatin1Char('/') + name)
    {
        QDir().mkpath(path_);
        mounted_ = ::mount("tmpfs", path_.toLocal8Bit().constData(), "tmpfs", MS_NOSUID | MS_NODEV, options) == 0;
    }
    ~SmallFileSystem()
    {
        if (mounted_)
            ::umount2(path_.toLocal8Bit().constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    bool mounted() const { return mounted_; }
    QString file(const char *name) const { return path_ + QLatin1Char('/') + QLatin1String(name); }
    bool makeReadOnly()
    {
        return ::mount(nullptr, path_.toLocal8Bit().constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    QStringList entries() const { return QDir(path_).entryList(QDir::Files | QDir::Hidden); }

private:
    QString path_;
    bool mounted_ = false;
};

void fill(RecordStore &store, int count)
{
    store.currentSamples.clear();
    for (int i = 0; i < count; ++i)
        store.currentSamples.push_back(testdata::Reading(3, i % 60, 90 + i % 10, 60 + i % 50, i));
    store.reportTitle = QStringLiteral("Night of the fault test");
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
    const QByteArray before = bytesOf(path);
    ASSERT_EQ(before.size(), 100 * 11 + 9 + 2 * store.reportTitle.size());

    fill(store, 20000); // 220 kB onto 64 kB
    store.patientFlags[2] = {};
    EXPECT_EQ(SavedData::writeDat(store, path, prompts), SavedData::SaveOutcome::CannotCreate);
    EXPECT_EQ(prompts.shown, QStringList{Text(TextNo::CantCreateFile)});
    EXPECT_EQ(bytesOf(path), before) << "the previous recording must survive a failed save";
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
    const QByteArray before = bytesOf(path);

    fill(store, 70);
    store.currentPatient.idNumber = 3;
    prompts.files.push_back(path);
    EXPECT_EQ(SavedData::saveCommand(store, prompts), SavedData::SaveCommandResult::CannotCreate);
    EXPECT_EQ(prompts.shown, QStringList{Text(TextNo::CantCreateFile)});
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(store.patientFlags[2].infoSaved, 0) << "no patient details are stored after a failed save";
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Downloads from the simulated device kept in a real archive file, and what
// the user is told when the archive cannot take them.
#include "DeviceHarness.h"

#include "archive/SqliteArchive.h"
#include "device/DownloadController.h"
#include "model/PatientStore.h"
#include "small_fs.h"
#include "test_env.h"

#include <QTest>

using namespace std::chrono_literals;

namespace
{

// The long waits in virtual time; the receiver's short poll gaps in real time,
// so the requester keeps its pace against them.
class PacedClock : public VirtualClock
{
protected:
    void waitUntil(TimePoint t) override
    {
        const auto left = t - now();
        if (left > 0ms && left <= 20ms)
            std::this_thread::sleep_for(left);
        VirtualClock::waitUntil(t);
    }
};

struct Downloader {
    std::shared_ptr<PacedClock> clock = std::make_shared<PacedClock>();
    RecordStore store;
    std::shared_ptr<SimulatedLink> link;
    DownloadController controller{store, clock};
    DeviceNotices notices;
    std::optional<DownloadResult> result;

    Downloader(SimulatedOximeter &sim, const QString &archivePath) : link(std::make_shared<SimulatedLink>(sim, clock))
    {
        controller.session().useTransport(link);
        controller.setArchivePath(archivePath);
        QObject::connect(&controller, &DownloadController::notice,
                         [this](const DeviceNotice &n) { notices.push_back(n); });
        QObject::connect(&controller, &DownloadController::finished, [this](const DownloadResult &r) { result = r; });
    }
    bool download()
    {
        result.reset();
        notices.clear();
        return controller.start() &&
               QTest::qWaitFor([this] { return controller.phase() == DownloadPhase::Idle; }, 30000) &&
               result.has_value();
    }
};

std::vector<NightInfo> nightsIn(const QString &path)
{
    ArchiveResult<SqliteArchive::Opened> o = SqliteArchive::open(path);
    if (!o)
        return {};
    const ArchiveResult<NightList> listed = o.value().archive->list({});
    return listed ? std::vector<NightInfo>(listed.value().begin(), listed.value().end()) : std::vector<NightInfo>{};
}

bool hasNotice(const DeviceNotices &notices, DeviceNotice::Kind kind)
{
    return std::any_of(notices.begin(), notices.end(), [kind](const DeviceNotice &n) { return n.kind == kind; });
}

TEST(DownloadArchiving, EachIdIsArchivedOnceInRecordingOrderWithItsStoredDetails)
{
    // Model 2 sends oldest first, model 1 newest first: the archive keeps recording order.
    for (const int model : {2, 1}) {
        SCOPED_TRACE(model);
        const QString path = testenv::root() + QStringLiteral("/model%1.sqlite").arg(model);
        SimulatedOximeter sim(harness::config(model, 512));
        sim.addNight(3, 700, 3);
        sim.addNight(12, 300, 12);
        PatientRecord ann;
        ann.idNumber = 12;
        PatientRecord::setText(ann.name, QStringLiteral("Ann"));
        ASSERT_TRUE(StorePatientInfo(11, ann));
        Downloader run(sim, path);

        ASSERT_TRUE(run.download());
        const DownloadArchived &first = run.result->archived;
        EXPECT_TRUE(first.ok) << first.failure.detail.toStdString();
        EXPECT_EQ(first.added, 2);
        EXPECT_EQ(first.present, 0);
        EXPECT_EQ(DeviceTexts::checkLines(*run.result).last(),
                  QStringLiteral("2 nights archived, 0 already in the archive."));
        EXPECT_FALSE(hasUnkeptDownload(run.store));
        const std::vector<NightInfo> nights = nightsIn(path);
        ASSERT_EQ(nights.size(), 2u);
        ArchiveResult<SqliteArchive::Opened> o = SqliteArchive::open(path);
        ASSERT_TRUE(o);
        for (const NightInfo &n : nights) {
            const int id = n.deviceId;
            EXPECT_EQ(run.store.archivedNights[std::size_t(id - 1)], std::vector<qint64>{n.night});
            EXPECT_EQ(n.source, NightSource::Download);
            EXPECT_FALSE(n.partial);
            EXPECT_EQ(n.patientName, id == 12 ? QStringLiteral("Ann") : QString());
            run.store.SelectDeviceId(id, RecordStore::SelectSource::Download);
            EXPECT_EQ(run.store.currentNights, std::vector<qint64>{n.night});
            EXPECT_EQ(o.value().archive->night(n.night).value().readings, run.store.currentSamples) << "ID " << id;
        }
        o.value().archive.reset();

        // The same device again: nothing new, and each ID knows its night.
        ASSERT_TRUE(run.download());
        EXPECT_EQ(run.result->archived.added, 0);
        EXPECT_EQ(run.result->archived.present, 2);
        EXPECT_EQ(nightsIn(path).size(), 2u);
        EXPECT_EQ(run.store.archivedNights[2],
                  std::vector<qint64>{nights[0].deviceId == 3 ? nights[0].night : nights[1].night});

        // Archiving turned off: the archive is not touched and the download is unkept.
        run.controller.setArchivePath({});
        sim.addNight(5, 100, 5);
        ASSERT_TRUE(run.download());
        EXPECT_FALSE(run.result->archived.ran);
        EXPECT_EQ(nightsIn(path).size(), 2u);
        EXPECT_TRUE(run.store.archivedNights[4].empty());
        EXPECT_TRUE(hasUnkeptDownload(run.store));
        ASSERT_TRUE(StorePatientInfo(11, PatientRecord{}));
    }
}

TEST(DownloadArchiving, AFullOrReadOnlyArchiveKeepsTheReadingsAndSaysSo)
{
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "full");
        testfs::SmallFileSystem disk(QStringLiteral("archive-disk"), "size=256k");
        if (!disk.mounted())
            GTEST_SKIP() << "this machine does not let the test mount a small file system";
        const QString path = disk.file("archive.sqlite");
        ASSERT_TRUE(SqliteArchive::open(path));
        ASSERT_TRUE(readOnly ? disk.makeReadOnly() : disk.leaveFree(0));

        SimulatedOximeter sim(harness::config());
        sim.addNight(3, 4000, 3);
        Downloader run(sim, path);
        ASSERT_TRUE(run.download());
        const DownloadArchived &a = run.result->archived;
        EXPECT_TRUE(a.ran);
        EXPECT_FALSE(a.ok);
        EXPECT_FALSE(a.failure.detail.isEmpty()) << "the reason is told";
        EXPECT_TRUE(a.damagedKeptAs.isEmpty());
        EXPECT_TRUE(hasNotice(run.notices, DeviceNotice::Kind::ArchiveFailed));
        EXPECT_EQ(run.store.deviceSamples[2], sim.readings(3)) << "the readings stay in memory";
        EXPECT_TRUE(run.store.archivedNights[2].empty());
        EXPECT_TRUE(hasUnkeptDownload(run.store));
        EXPECT_FALSE(DeviceTexts::checkLines(*run.result).last().contains(QStringLiteral("archived")));
        if (!readOnly) {
            // With room again the archive opens whole, without any of the download.
            ASSERT_TRUE(QFile::remove(disk.file("filler")));
            ArchiveResult<SqliteArchive::Opened> o = SqliteArchive::open(path);
            ASSERT_TRUE(o) << o.detail().toStdString();
            EXPECT_TRUE(o.value().archive->list({}).value().isEmpty());
            EXPECT_TRUE(o.value().archive->check().isEmpty());
        }
    }
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// A desk's archive with a real PostgreSQL server the test starts, stops and
// starts again, and quellix-cli as another program working beside it.
#include "archive/ClinicArchive.h"
#include "archive/DownloadArchiving.h"
#include "archive/ServerArchive.h"
#include "archive_samples.h"
#include "forwarding_archive.h"
#include "model/DatFile.h"
#include "model/RecordStore.h"
#include "pg_server.h"
#include "test_files.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

namespace
{

using archivetest::night;

NightInput input(int id, int shift)
{
    NightInput n;
    n.readings = night(id, 0, 300, shift);
    n.patient.idNumber = std::uint8_t(id);
    n.source = NightSource::Download;
    return n;
}

std::unique_ptr<SqliteArchive> localAt(const QString &path)
{
    ArchiveResult<SqliteArchive::Opened> o = SqliteArchive::open(path);
    EXPECT_TRUE(o) << o.detail().toStdString();
    return o ? std::move(o.value().archive) : nullptr;
}

// The nights on the server, read through a connection of its own.
NightList serverNights(const QString &connection)
{
    ArchiveResult<std::unique_ptr<ServerArchive>> o = ServerArchive::open(connection);
    EXPECT_TRUE(o) << o.detail().toStdString();
    if (!o)
        return {};
    EXPECT_EQ(o.value()->check(), QStringList());
    const ArchiveResult<NightList> nights = o.value()->list({});
    EXPECT_TRUE(nights) << nights.detail().toStdString();
    return nights ? nights.value() : NightList{};
}

} // namespace

TEST(ClinicServer, AServerStoppedWhileSendingKeepsWholeNightsAndGetsTheRestLater)
{
    pgtest::PgServer &pg = pgtest::server();
    ASSERT_TRUE(pg.ok()) << pg.error().toStdString();
    const QString connection = pg.connection(pg.createDatabase());
    QTemporaryDir dir(testenv::root() + QStringLiteral("/desk-XXXXXX"));
    const QString localPath = dir.filePath(QStringLiteral("archive.sqlite"));

    // The server stops as the eighth night goes out.
    constexpr int kNights = 20;
    constexpr int kSent = 7;
    std::unique_ptr<ServerArchive> server;
    int stores = 0;
    bool stopped = false;
    ClinicArchive desk(localAt(localPath), [&]() -> ArchiveResult<std::unique_ptr<Archive>> {
        ArchiveResult<std::unique_ptr<ServerArchive>> o = ServerArchive::open(connection);
        if (!o)
            return o.failure();
        server = std::move(o.value());
        return std::unique_ptr<Archive>(std::make_unique<archivetest::ForwardingArchive>(
            *server, [] { return true; },
            [&] {
                if (++stores == kSent + 1)
                    stopped = pg.stop();
            }));
    });
    std::vector<NightInput> nights;
    for (int i = 0; i < kNights; ++i)
        nights.push_back(input(1 + i % 4, i));
    ASSERT_TRUE(desk.local().store(nights)); // kept here only, as while away
    ASSERT_EQ(desk.pendingNights().value(), kNights);

    const ArchiveResult<ClinicArchive::SyncCounts> cut = desk.sync();
    ASSERT_TRUE(stopped) << pg.error().toStdString();
    ASSERT_FALSE(cut);
    EXPECT_FALSE(desk.onServer());
    EXPECT_EQ(desk.pendingNights().value(), kNights - kSent);

    const testfiles::CliRun away =
        testfiles::cli({QStringLiteral("--archive-server"), connection, QStringLiteral("archive"),
                        QStringLiteral("--archive"), localPath, QStringLiteral("sync")});
    EXPECT_EQ(away.code, 1);
    EXPECT_TRUE(away.err.contains(QStringLiteral("cannot be reached"))) << away.err.toStdString();
    EXPECT_TRUE(away.err.contains(QStringLiteral("%1 nights not yet on the server").arg(kNights - kSent)))
        << away.err.toStdString();

    // A number from the server's list would name another night here.
    const testfiles::CliRun removed =
        testfiles::cli({QStringLiteral("--archive-server"), connection, QStringLiteral("archive"),
                        QStringLiteral("--archive"), localPath, QStringLiteral("remove"), QStringLiteral("1")});
    EXPECT_EQ(removed.code, 1);
    EXPECT_EQ(localAt(localPath)->list({}).value().size(), kNights);

    ASSERT_TRUE(pg.start()) << pg.error().toStdString();
    EXPECT_EQ(serverNights(connection).size(), kSent) << "the nights sent are whole, the one cut is not there";
    const testfiles::CliRun back =
        testfiles::cli({QStringLiteral("archive"), QStringLiteral("--archive"), localPath,
                        QStringLiteral("--archive-server"), connection, QStringLiteral("sync")});
    EXPECT_EQ(back.code, 0) << back.err.toStdString();
    EXPECT_TRUE(back.out.startsWith(QStringLiteral("%1 nights sent").arg(kNights - kSent))) << back.out.toStdString();
    EXPECT_EQ(serverNights(connection).size(), kNights);
    EXPECT_EQ(localAt(localPath)->pendingNights().value(), 0);
}

TEST(ClinicServer, ANightAddedAtAnotherDeskShowsInARunningList)
{
    pgtest::PgServer &pg = pgtest::server();
    ASSERT_TRUE(pg.ok()) << pg.error().toStdString();
    const QString connection = pg.connection(pg.createDatabase());
    QTemporaryDir dir(testenv::root() + QStringLiteral("/desks-XXXXXX"));
    ArchiveResult<ClinicArchive::Opened> opened =
        ClinicArchive::open(dir.filePath(QStringLiteral("here.sqlite")), connection);
    ASSERT_TRUE(opened) << opened.detail().toStdString();
    ClinicArchive &desk = *opened.value().archive;
    ASSERT_TRUE(desk.list({}));
    ASSERT_TRUE(desk.serverArchive());
    QSignalSpy heard(desk.serverArchive()->changes(), &ArchiveChanges::changedElsewhere);

    const std::vector<SampleRecord> readings = night(2, 0, 300);
    const QString dat = dir.filePath(QStringLiteral("id2.dat"));
    ASSERT_TRUE(DatFile::write(dat, DatFile::encode(2, readings.data(), int(readings.size()), QString())));
    const testfiles::CliRun other = testfiles::cli(
        {QStringLiteral("--archive-server"), connection, QStringLiteral("archive"), QStringLiteral("--archive"),
         dir.filePath(QStringLiteral("there.sqlite")), QStringLiteral("import"), dat});
    ASSERT_EQ(other.code, 0) << other.err.toStdString();
    EXPECT_FALSE(other.err.contains(QStringLiteral("not yet on the server"))) << other.err.toStdString();

    ASSERT_TRUE(heard.wait(10000));
    const ArchiveResult<NightList> listed = desk.list({});
    ASSERT_TRUE(listed);
    ASSERT_EQ(listed.value().size(), 1);
    EXPECT_EQ(listed.value().front().readingsHash, ReadingCodec::readingsHash(readings.data(), int(readings.size())));
    EXPECT_EQ(desk.source(), ClinicArchive::Source::Server);
}

TEST(ClinicServer, ADownloadIsSentAtOnceOrQueuedForTheNextSync)
{
    pgtest::PgServer &pg = pgtest::server();
    ASSERT_TRUE(pg.ok()) << pg.error().toStdString();
    for (const bool atOnce : {true, false}) {
        SCOPED_TRACE(atOnce ? "at once" : "queued");
        const QString connection = pg.connection(pg.createDatabase());
        QTemporaryDir dir(testenv::root() + QStringLiteral("/download-XXXXXX"));
        const QString localPath = dir.filePath(QStringLiteral("archive.sqlite"));
        RecordStore store;
        store.deviceModel = 0;
        store.deviceSamples[2] = night(3, 0, 600);
        if (RecordStore::isNewestFirstModel(store.deviceModel))
            std::reverse(store.deviceSamples[2].begin(), store.deviceSamples[2].end());

        const DownloadArchived kept =
            archiveDownload(store, localPath, connection, QStringLiteral("demo"), false, atOnce);
        ASSERT_TRUE(kept.ok) << kept.failure.detail.toStdString();
        EXPECT_EQ(kept.pending, atOnce ? 0 : 1);
        EXPECT_EQ(serverNights(connection).size(), atOnce ? 1u : 0u);
        ASSERT_EQ(store.archivedNights[2].size(), 1u);
        // The number names the night wherever it is: the server's, or this computer's below zero.
        EXPECT_EQ(store.archivedNights[2].front() > 0, atOnce);

        ArchiveResult<ClinicArchive::Opened> desk = ClinicArchive::open(localPath, connection);
        ASSERT_TRUE(desk);
        const ArchiveResult<StoredNight> opened = desk.value().archive->night(store.archivedNights[2].front());
        ASSERT_TRUE(opened) << opened.detail().toStdString();
        EXPECT_EQ(opened.value().readings, night(3, 0, 600));
        ASSERT_TRUE(desk.value().archive->sync());
        EXPECT_EQ(serverNights(connection).size(), 1u);
    }
}

TEST(ClinicServer, SaveInfoWithTheServerStoppedIsQueuedAndSentAtTheNextSync)
{
    pgtest::PgServer &pg = pgtest::server();
    ASSERT_TRUE(pg.ok()) << pg.error().toStdString();
    // Sent at once, the recording's night carries the server's number; queued, this computer's.
    for (const bool atOnce : {true, false}) {
        SCOPED_TRACE(atOnce ? "server's number" : "this computer's number");
        const QString connection = pg.connection(pg.createDatabase());
        QTemporaryDir dir(testenv::root() + QStringLiteral("/saveinfo-XXXXXX"));
        const QString localPath = dir.filePath(QStringLiteral("archive.sqlite"));
        RecordStore store;
        store.deviceSamples[2] = night(3, 0, 600);
        if (RecordStore::isNewestFirstModel(store.deviceModel))
            std::reverse(store.deviceSamples[2].begin(), store.deviceSamples[2].end());
        ASSERT_TRUE(archiveDownload(store, localPath, connection, QStringLiteral("demo"), false, atOnce).ok);
        store.SelectDeviceId(3, RecordStore::SelectSource::Download);
        ASSERT_EQ(store.currentNights.size(), 1u);
        ASSERT_EQ(store.currentNights.front() > 0, atOnce);
        PatientRecord::setText(store.currentPatient.name, QStringLiteral("Ann Lee"));

        ASSERT_TRUE(pg.stop()) << pg.error().toStdString();
        const ArchiveResult<> saved = updateArchivedPatient(store, localPath, connection);
        const bool restarted = pg.start();
        ASSERT_TRUE(saved) << saved.detail().toStdString();
        ASSERT_TRUE(restarted) << pg.error().toStdString();
        const ArchiveResult<std::vector<SqlArchive::PendingChange>> queued = localAt(localPath)->pendingChanges();
        ASSERT_TRUE(queued);
        EXPECT_TRUE(std::any_of(queued.value().begin(), queued.value().end(), [](const SqlArchive::PendingChange &c) {
            return c.kind == SqlArchive::PendingKind::Patient;
        })) << "the edit waits for the server";

        ArchiveResult<ClinicArchive::Opened> desk = ClinicArchive::open(localPath, connection);
        ASSERT_TRUE(desk);
        ASSERT_TRUE(desk.value().archive->sync());
        const NightList there = serverNights(connection);
        ASSERT_EQ(there.size(), 1u);
        EXPECT_EQ(there.front().patientName, QStringLiteral("Ann Lee"));
    }
}

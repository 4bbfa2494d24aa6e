// SPDX-License-Identifier: GPL-3.0-or-later
// Desks' archives kept in step with a clinic server. A second SQLite archive
// stands in for the server, behind a link that can be cut.
#include "archive/ClinicArchive.h"
#include "archive/SqliteArchive.h"
#include "archive_samples.h"
#include "forwarding_archive.h"
#include "test_env.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

using archivetest::night;

// The server as the desks reach it: every call fails while the link is cut.
struct Link {
    bool away = false;
    int storesLeft = -1; // the link is cut at the store after this many; -1: never
};

std::unique_ptr<Archive> reached(Archive &server, Link &link)
{
    return std::make_unique<archivetest::ForwardingArchive>(
        server, [&link] { return !link.away; },
        [&link] {
            if (link.storesLeft == 0)
                link.away = true;
            else if (link.storesLeft > 0)
                --link.storesLeft;
        });
}

std::unique_ptr<SqliteArchive> openFile(const QString &path)
{
    ArchiveResult<SqliteArchive::Opened> o = SqliteArchive::open(path);
    EXPECT_TRUE(o) << o.detail().toStdString();
    return o ? std::move(o.value().archive) : nullptr;
}

// One server and the desks that reach it, each over its own link.
struct Clinic {
    QTemporaryDir dir{testenv::root() + QStringLiteral("/clinic-XXXXXX")};
    std::unique_ptr<SqliteArchive> server = openFile(dir.filePath(QStringLiteral("server.sqlite")));
    Link links[2];

    std::unique_ptr<ClinicArchive> desk(int i, ClinicArchive::Clock clock = {})
    {
        Link &link = links[i];
        SqliteArchive &to = *server;
        return std::make_unique<ClinicArchive>(
            openFile(dir.filePath(QStringLiteral("desk%1.sqlite").arg(i))),
            [&link, &to]() -> ArchiveResult<std::unique_ptr<Archive>> {
                if (link.away)
                    return archivetest::ForwardingArchive::cut();
                return reached(to, link);
            },
            std::move(clock));
    }
};

NightInput input(int id, int shift = 0)
{
    NightInput n;
    n.readings = night(id, 0, 600, shift);
    n.patient.idNumber = std::uint8_t(id);
    n.source = NightSource::Download;
    return n;
}

QByteArray hashOf(const NightInput &n)
{
    return ReadingCodec::readingsHash(n.readings.data(), int(n.readings.size()));
}

NightList listed(Archive &a)
{
    const ArchiveResult<NightList> r = a.list({});
    EXPECT_TRUE(r) << r.detail().toStdString();
    return r ? r.value() : NightList{};
}

int pending(ClinicArchive &desk)
{
    const ArchiveResult<int> n = desk.pendingNights();
    EXPECT_TRUE(n) << n.detail().toStdString();
    return n ? n.value() : -1;
}

ClinicArchive::SyncCounts synced(ClinicArchive &desk)
{
    const ArchiveResult<ClinicArchive::SyncCounts> r = desk.sync();
    EXPECT_TRUE(r) << r.detail().toStdString();
    return r ? r.value() : ClinicArchive::SyncCounts{};
}

qint64 numberOn(Archive &a, const NightInput &n)
{
    const ArchiveResult<qint64> found = a.find(hashOf(n));
    EXPECT_TRUE(found) << found.detail().toStdString();
    return found ? found.value() : 0;
}

} // namespace

TEST(ClinicArchive, NightsStoredWhileAwayAreSentOnceWhenTheServerIsBack)
{
    Clinic clinic;
    clinic.links[0].away = true;
    auto desk = clinic.desk(0);
    ASSERT_TRUE(desk->store({input(1), input(2)}));
    EXPECT_FALSE(desk->onServer());
    EXPECT_EQ(pending(*desk), 2);
    EXPECT_EQ(listed(*desk).size(), 2);
    EXPECT_EQ(desk->source(), ClinicArchive::Source::ThisComputer);

    const ArchiveResult<ClinicArchive::SyncCounts> away = desk->sync();
    ASSERT_FALSE(away);
    EXPECT_EQ(away.error(), ArchiveError::Unavailable);
    EXPECT_EQ(pending(*desk), 2);
    EXPECT_TRUE(listed(*clinic.server).isEmpty());

    clinic.links[0].away = false;
    EXPECT_EQ(synced(*desk).nights, 2);
    EXPECT_EQ(pending(*desk), 0);
    EXPECT_EQ(synced(*desk).nights, 0);
    // The other desk downloads the same night: still one on the server.
    auto other = clinic.desk(1);
    const ArchiveResult<StoreCounts> again = other->store({input(1)});
    ASSERT_TRUE(again);
    EXPECT_EQ(pending(*other), 0);
    EXPECT_EQ(listed(*clinic.server).size(), 2);
    EXPECT_EQ(listed(*other).size(), 2);
    EXPECT_EQ(other->source(), ClinicArchive::Source::Server);
    EXPECT_EQ(again.value().nights, std::vector<qint64>{numberOn(*clinic.server, input(1))});
}

TEST(ClinicArchive, ASendCutHalfWayLeavesTheRestQueuedAndSendsThemLater)
{
    Clinic clinic;
    clinic.links[0].away = true;
    auto desk = clinic.desk(0);
    std::vector<NightInput> nights;
    for (int id = 1; id <= 5; ++id)
        nights.push_back(input(id));
    ASSERT_TRUE(desk->store(nights));
    clinic.links[0] = {false, 2};
    ASSERT_FALSE(desk->sync());
    EXPECT_FALSE(desk->onServer());
    EXPECT_EQ(listed(*clinic.server).size(), 2);
    EXPECT_EQ(pending(*desk), 3);
    EXPECT_TRUE(clinic.server->check().isEmpty());

    clinic.links[0] = {};
    EXPECT_EQ(synced(*desk).nights, 3);
    EXPECT_EQ(listed(*clinic.server).size(), 5);
    EXPECT_EQ(pending(*desk), 0);
}

TEST(ClinicArchive, ARemovedNightIsNeverSentBack)
{
    Clinic clinic;
    auto a = clinic.desk(0);
    auto b = clinic.desk(1);
    const NightInput kept = input(1);
    const NightInput removedWhileAway = input(2);
    const NightInput removedAtTheOtherDesk = input(3);
    ASSERT_TRUE(a->store({kept, removedWhileAway, removedAtTheOtherDesk}));
    // Desk b stored the third night while away from the server.
    clinic.links[1].away = true;
    ASSERT_TRUE(b->store({removedAtTheOtherDesk}));
    EXPECT_EQ(pending(*b), 1);
    listed(*a);
    ASSERT_TRUE(a->remove(numberOn(*clinic.server, removedAtTheOtherDesk)));

    // Desk a removes the second while away: queued, and its own night there stays until sync.
    clinic.links[0].away = true;
    ASSERT_FALSE(a->sync());
    listed(*a);
    ASSERT_EQ(a->source(), ClinicArchive::Source::ThisComputer);
    ASSERT_TRUE(a->remove(-numberOn(a->local(), removedWhileAway)));
    EXPECT_EQ(listed(*clinic.server).size(), 2);

    clinic.links[0].away = false;
    clinic.links[1].away = false;
    const ClinicArchive::SyncCounts fromA = synced(*a);
    EXPECT_EQ(fromA.removals, 1);
    const ClinicArchive::SyncCounts fromB = synced(*b);
    EXPECT_EQ(fromB.nights, 0);
    EXPECT_EQ(fromB.dropped, 1);
    EXPECT_EQ(pending(*b), 0);
    EXPECT_EQ(b->local().find(hashOf(removedAtTheOtherDesk)).error(), ArchiveError::NotFound);

    const NightList left = listed(*clinic.server);
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left.front().readingsHash, hashOf(kept));
    EXPECT_FALSE(clinic.server->removedAt(hashOf(removedWhileAway)).value().isEmpty());

    // Downloaded again after its removal: stored again, everywhere.
    ASSERT_TRUE(b->store({removedWhileAway}));
    EXPECT_EQ(listed(*clinic.server).size(), 2);
    EXPECT_TRUE(clinic.server->removedAt(hashOf(removedWhileAway)).value().isEmpty());
}

TEST(ClinicArchive, TheLaterOfTwoEditsWinsWhicheverDeskSendsLast)
{
    struct Case {
        const char *name;
        bool marks;           // artefact marks rather than the patient's details
        bool awayDeskIsLater; // the desk that was away made the later edit
    };
    const Case cases[] = {
        {"details, later edit sent last", false, true},
        {"details, earlier edit sent last", false, false},
        {"marks, later edit sent last", true, true},
        {"marks, earlier edit sent last", true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Clinic clinic;
        int tick = 0;
        auto ticks = [&tick] { return QDateTime(QDate(2030, 1, 1), QTime(8, 0), Qt::UTC).addSecs(++tick); };
        auto away = clinic.desk(0, ticks);
        auto near = clinic.desk(1, ticks);
        const NightInput n = input(1);
        ASSERT_TRUE(near->store({n}));
        ASSERT_TRUE(away->store({n}));
        listed(*near);
        clinic.links[0].away = true;
        listed(*away);

        const auto edit = [&](ClinicArchive &desk, const QString &name, int firstMark) {
            const qint64 number = desk.source() == ClinicArchive::Source::Server ? numberOn(*clinic.server, n)
                                                                                 : -numberOn(desk.local(), n);
            PatientRecord p = n.patient;
            PatientRecord::setText(p.name, name);
            const ArchiveResult<> done =
                c.marks ? desk.setMarks(number, {{firstMark, firstMark + 9}}) : desk.setPatient(number, p);
            EXPECT_TRUE(done) << done.detail().toStdString();
        };
        if (c.awayDeskIsLater) {
            edit(*near, QStringLiteral("Earlier"), 10);
            edit(*away, QStringLiteral("Later"), 200);
        } else {
            edit(*away, QStringLiteral("Earlier"), 10);
            edit(*near, QStringLiteral("Later"), 200);
        }
        clinic.links[0].away = false;
        const ClinicArchive::SyncCounts sent = synced(*away);
        EXPECT_EQ(sent.changes, 1);
        EXPECT_EQ(sent.refused, 0);

        const ArchiveResult<StoredNight> there = clinic.server->night(numberOn(*clinic.server, n));
        ASSERT_TRUE(there);
        if (c.marks)
            EXPECT_EQ(there.value().marks, (std::vector<ReadingSpan>{{200, 209}}));
        else
            EXPECT_EQ(there.value().info.patientName, QStringLiteral("Later"));
    }
}

TEST(ClinicArchive, ServerNumbersNeverReachAnotherNightOnceTheServerIsGone)
{
    Clinic clinic;
    auto other = clinic.desk(1);
    ASSERT_TRUE(other->store({input(1), input(3)}));
    auto desk = clinic.desk(0);
    ASSERT_TRUE(desk->store({input(2), input(1)}));
    // The same number means another night on each side.
    const qint64 shared = numberOn(*clinic.server, input(1));
    ASSERT_EQ(numberOn(desk->local(), input(2)), shared);
    ASSERT_EQ(listed(*desk).size(), 3);
    ASSERT_EQ(desk->source(), ClinicArchive::Source::Server);

    clinic.links[0].away = true;
    const ArchiveResult<StoredNight> read = desk->night(shared);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error(), ArchiveError::Unavailable);
    PatientRecord renamed = input(1).patient;
    PatientRecord::setText(renamed.name, QStringLiteral("Renamed"));
    ASSERT_TRUE(desk->setPatient(shared, renamed));
    EXPECT_EQ(desk->setPatient(numberOn(*clinic.server, input(3)), renamed).error(), ArchiveError::Unavailable);
    for (const NightInfo &n : listed(desk->local()))
        EXPECT_EQ(n.patientName, n.readingsHash == hashOf(input(1)) ? QStringLiteral("Renamed") : QString());

    // This computer's nights now, under numbers no server night has.
    const NightList here = listed(*desk);
    EXPECT_EQ(here.size(), 2);
    EXPECT_EQ(desk->source(), ClinicArchive::Source::ThisComputer);
    for (const NightInfo &n : here)
        EXPECT_EQ(n.night, -numberOn(desk->local(), n.readingsHash == hashOf(input(1)) ? input(1) : input(2)));
    const ArchiveResult<StoredNight> mine = desk->night(-numberOn(desk->local(), input(1)));
    ASSERT_TRUE(mine);
    EXPECT_EQ(mine.value().info.patientName, QStringLiteral("Renamed"));

    clinic.links[0].away = false;
    EXPECT_EQ(synced(*desk).changes, 1);
    EXPECT_EQ(clinic.server->night(shared).value().info.patientName, QStringLiteral("Renamed"));
}

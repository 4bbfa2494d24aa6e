// SPDX-License-Identifier: GPL-3.0-or-later
// The archive on a real PostgreSQL server that the test starts itself.
#include "archive/ServerArchive.h"
#include "archive_samples.h"
#include "child_process.h"
#include "pg_server.h"

#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace
{

using archivetest::night;

NightInput input(std::vector<SampleRecord> readings)
{
    NightInput n;
    n.readings = std::move(readings);
    n.patient.idNumber = n.readings.front().id;
    n.title = QStringLiteral("Ward 3");
    return n;
}

// A fresh database on the process's server.
QString freshDatabase()
{
    pgtest::PgServer &pg = pgtest::server();
    if (!pg.ok())
        return {};
    return pg.createDatabase();
}

std::unique_ptr<ServerArchive> opened(const QString &connection)
{
    ArchiveResult<std::unique_ptr<ServerArchive>> o = ServerArchive::open(connection);
    EXPECT_TRUE(o) << o.detail().toStdString();
    return o ? std::move(o.value()) : nullptr;
}

// One row per statement's first column, rows joined: what a query sees.
QString rows(const QString &database, const QString &sql)
{
    const QString name = QStringLiteral("rows");
    QStringList out;
    {
        pgtest::PgServer &pg = pgtest::server();
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"));
        d.setConnectOptions(pg.connection(database));
        if (!d.open())
            return d.lastError().text();
        QSqlQuery q(d);
        if (!q.exec(sql))
            return q.lastError().text();
        while (q.next())
            out << q.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    return out.join(QLatin1Char(';'));
}

TEST(TestServer, StopsAndStartsWithItsDatabases)
{
    pgtest::PgServer &pg = pgtest::server();
    ASSERT_TRUE(pg.ok()) << pg.error().toStdString();
    const QString db = pg.createDatabase();
    ASSERT_FALSE(db.isEmpty()) << pg.error().toStdString();
    EXPECT_EQ(pg.exec(db, {QStringLiteral("CREATE TABLE t (x INTEGER)"), QStringLiteral("INSERT INTO t VALUES (7)")}),
              QString());
    ASSERT_TRUE(pg.stop()) << pg.error().toStdString();
    EXPECT_NE(pg.exec(db, {QStringLiteral("SELECT 1")}), QString()) << "a stopped server answers nothing";
    ASSERT_TRUE(pg.start()) << pg.error().toStdString();
    EXPECT_EQ(rows(db, QStringLiteral("SELECT x FROM t")), QStringLiteral("7")) << "the data outlives the restart";
}

TEST(ServerArchive, ConnectionStringsGoToLibpqWithTimeoutsAndNoPassword)
{
    struct Case {
        const char *connection;
        std::optional<ArchiveError> refused;
        QStringList has;    // options the driver is given
        QStringList hasNot; // options it is not
    };
    const QStringList defaults = {QStringLiteral("connect_timeout='10'"), QStringLiteral("keepalives_idle='30'"),
                                  QStringLiteral("keepalives_interval='10'"), QStringLiteral("keepalives_count='3'")};
    const std::vector<Case> cases = {
        {"postgresql://desk3@oxi-db.clinic.lan/quellix?sslmode=verify-full",
         {},
         QStringList{"host='oxi-db.clinic.lan'", "user='desk3'", "dbname='quellix'", "sslmode='verify-full'"} +
             defaults,
         {}},
        {"service=quellix", {}, QStringList{"service='quellix'"} + defaults, {}},
        {"host=db connect_timeout=3 keepalives_idle=5",
         {},
         {"connect_timeout='3'", "keepalives_idle='5'", "keepalives_count='3'"},
         {"connect_timeout='10'", "keepalives_idle='30'"}},
        {"host=db dbname='o\\'brien ward'", {}, {"dbname='o\\'brien ward'"}, {}},
        {"host=db password=secret", ArchiveError::PasswordInConnection, {}, {}},
        {"postgresql://desk3:secret@db/quellix", ArchiveError::PasswordInConnection, {}, {}},
        {"postgresql://desk3@db/quellix?password=secret", ArchiveError::PasswordInConnection, {}, {}},
        {"host=db application_name='a;b'", ArchiveError::Unavailable, {}, {}},
        {"oxi-db", ArchiveError::Unavailable, {}, {}},
    };
    for (const Case &c : cases) {
        const ArchiveResult<QString> options = ServerArchive::connectOptions(QString::fromUtf8(c.connection));
        if (c.refused) {
            EXPECT_EQ(options.maybeError(), c.refused) << c.connection;
            continue;
        }
        ASSERT_TRUE(options) << c.connection << ": " << options.detail().toStdString();
        const QStringList given = options.value().split(QLatin1Char(' '));
        for (const QString &o : c.has)
            EXPECT_TRUE(options.value().contains(o)) << c.connection << " lacks " << o.toStdString();
        for (const QString &o : c.hasNot)
            EXPECT_FALSE(options.value().contains(o)) << c.connection << " has " << o.toStdString();
        // Read again by libpq, the options are the same: the quoting holds.
        QStringList again = ServerArchive::connectOptions(options.value()).value().split(QLatin1Char(' '));
        QStringList first = given;
        again.sort();
        first.sort();
        EXPECT_EQ(again.join(QLatin1Char(' ')).toStdString(), first.join(QLatin1Char(' ')).toStdString())
            << c.connection;
    }
    // Refused before any connection is tried.
    const auto refused = ServerArchive::open(QStringLiteral("host=/nowhere password=x"));
    EXPECT_EQ(refused.maybeError(), ArchiveError::PasswordInConnection);
}

TEST(ServerArchive, CreatesTheSchemaOnceWhenTwoDesksStartTogether)
{
    const QString db = freshDatabase();
    ASSERT_FALSE(db.isEmpty()) << pgtest::server().error().toStdString();
    const QString connection = pgtest::server().connection(db);
    std::vector<pid_t> desks;
    for (int i = 0; i < 3; ++i)
        desks.push_back(testchild::Start([&] {
            const auto a = ServerArchive::open(connection);
            return a && a.value()->schemaVersion().value() == SqlArchive::kSchemaVersion ? 0 : 1;
        }));
    for (pid_t desk : desks)
        EXPECT_EQ(testchild::Wait(desk, std::chrono::seconds(30)), 0);
    EXPECT_EQ(rows(db, QStringLiteral("SELECT version FROM schema_version")),
              QString::number(SqlArchive::kSchemaVersion));
    // Eight-byte numbers and bytes, as the local archive keeps them.
    EXPECT_EQ(rows(db, QStringLiteral("SELECT column_name || ' ' || data_type FROM information_schema.columns"
                                      " WHERE table_name = 'night' AND column_name IN"
                                      " ('night', 'odi3', 'readings_sha256') ORDER BY column_name")),
              QStringLiteral("night bigint;odi3 double precision;readings_sha256 bytea"));

    auto a = opened(connection);
    ASSERT_TRUE(a);
    EXPECT_FALSE(a->readOnly());
    const StoreCounts c = a->store({input(night(1, 0, 600)), input(night(2, 0, 300))}).value();
    EXPECT_EQ(c.added, 2);
    ASSERT_EQ(a->list({}).value().size(), 2);
    const StoredNight back = a->night(c.nights[0]).value();
    EXPECT_EQ(back.readings, night(1, 0, 600));
    EXPECT_EQ(back.info.summary, summarizeNight(back.readings.data(), 600)) << "figures kept to the last bit";
    EXPECT_TRUE(a->check().isEmpty());
    EXPECT_EQ(a->backupTo(QStringLiteral("/tmp/never")).maybeError(), ArchiveError::BackupOnServer);
}

TEST(ServerArchive, NewerSchemaIsRefusedAndLeftAlone)
{
    const QString db = freshDatabase();
    ASSERT_FALSE(db.isEmpty());
    const QString connection = pgtest::server().connection(db);
    ASSERT_TRUE(opened(connection));
    const int newer = SqlArchive::kSchemaVersion + 1;
    ASSERT_EQ(pgtest::server().exec(db, {QStringLiteral("UPDATE schema_version SET version = %1").arg(newer),
                                         QStringLiteral("ALTER TABLE night DROP COLUMN coverage")}),
              QString());
    const QString schema = QStringLiteral("SELECT table_name || '.' || column_name FROM information_schema.columns"
                                          " WHERE table_schema = 'public' ORDER BY 1");
    const QString before = rows(db, schema);
    const auto refused = ServerArchive::open(connection);
    EXPECT_EQ(refused.maybeError(), ArchiveError::Newer);
    EXPECT_EQ(refused ? QString() : refused.detail(), QString::number(newer));
    EXPECT_EQ(rows(db, schema), before);
    EXPECT_EQ(rows(db, QStringLiteral("SELECT version FROM schema_version")), QString::number(newer));
}

TEST(ServerArchive, TwoDesksStoringTheSameNightsStoreThemOnce)
{
    const QString db = freshDatabase();
    ASSERT_FALSE(db.isEmpty());
    const QString connection = pgtest::server().connection(db);
    ASSERT_TRUE(opened(connection));
    // Each desk sends the same 50 nights one by one; its exit code is how
    // many it added, 100 and more when a store failed.
    std::vector<pid_t> desks;
    for (int i = 0; i < 2; ++i)
        desks.push_back(testchild::Start([&] {
            const auto a = ServerArchive::open(connection);
            if (!a)
                return 100;
            int added = 0;
            for (int id = 1; id <= 50; ++id) {
                const auto c = a.value()->store({input(night(id, 0, 200))});
                if (!c || c.value().added + c.value().present != 1)
                    return 101;
                added += c.value().added;
            }
            return added;
        }));
    int added = 0;
    for (pid_t desk : desks) {
        const int code = testchild::Wait(desk, std::chrono::seconds(60));
        EXPECT_LT(code, 100) << "a desk failed to store";
        added += code;
    }
    EXPECT_EQ(added, 50);
    EXPECT_EQ(rows(db, QStringLiteral("SELECT COUNT(*) FROM night")), QStringLiteral("50"));
}

TEST(ServerArchive, ReadOnlyRoleListsAndOpensButChangesNothing)
{
    pgtest::PgServer &pg = pgtest::server();
    const QString db = freshDatabase();
    ASSERT_FALSE(db.isEmpty());
    auto writer = opened(pg.connection(db));
    ASSERT_TRUE(writer);
    const qint64 number = writer->store({input(night(1, 0, 100))}).value().nights.at(0);
    ASSERT_TRUE(pg.createReadOnlyRole(db, QStringLiteral("physician"))) << pg.error().toStdString();

    auto reader = opened(pg.connection(db, QStringLiteral("physician")));
    ASSERT_TRUE(reader);
    EXPECT_TRUE(reader->readOnly());
    EXPECT_EQ(reader->list({}).value().size(), 1);
    EXPECT_EQ(reader->night(number).value().readings, night(1, 0, 100));
    EXPECT_EQ(reader->store({input(night(2, 0, 100))}).maybeError(), ArchiveError::ReadOnly);
    EXPECT_EQ(reader->remove(number).maybeError(), ArchiveError::ReadOnly);
    EXPECT_EQ(reader->setPatient(number, PatientRecord{}).maybeError(), ArchiveError::ReadOnly);
    EXPECT_EQ(reader->setMarks(number, {{0, 9}}).maybeError(), ArchiveError::ReadOnly);
    // What the server itself refuses is named the same.
    EXPECT_EQ(reader->refreshSummaries(0, 10).maybeError(), std::nullopt) << "nothing older to compute";
    EXPECT_EQ(pg.exec(db, {QStringLiteral("UPDATE night SET summary_version = 0")}), QString());
    EXPECT_EQ(reader->refreshSummaries(0, 10).maybeError(), ArchiveError::ReadOnly);
    EXPECT_EQ(rows(db, QStringLiteral("SELECT COUNT(*) FROM night_marks")), QStringLiteral("0"));
    EXPECT_EQ(writer->list({}).value().size(), 1);
}

TEST(ServerArchive, AnotherDeskHearsOfEveryChange)
{
    const QString db = freshDatabase();
    ASSERT_FALSE(db.isEmpty());
    auto desk = opened(pgtest::server().connection(db));
    auto other = opened(pgtest::server().connection(db));
    ASSERT_TRUE(desk && other);
    QSignalSpy heard(other->changes(), &ArchiveChanges::changedElsewhere);
    QSignalSpy self(desk->changes(), &ArchiveChanges::changedElsewhere);
    const qint64 number = desk->store({input(night(1, 0, 100))}).value().nights.at(0);
    ASSERT_TRUE(heard.wait(10000)) << "a night stored";
    ASSERT_TRUE(desk->setMarks(number, {{0, 4}}));
    ASSERT_TRUE(heard.wait(10000)) << "marks set";
    ASSERT_TRUE(desk->remove(number));
    ASSERT_TRUE(heard.wait(10000)) << "a night removed";
    EXPECT_EQ(self.count(), 0) << "a desk is not told of its own changes";
}

} // namespace

namespace
{

TEST(ServerArchive, AsksForAPasswordOnlyWhenTheServerDoes)
{
    pgtest::PgServer &pg = pgtest::server();
    const QString db = freshDatabase();
    ASSERT_FALSE(db.isEmpty());
    ASSERT_TRUE(pg.createPasswordRole(QStringLiteral("nurse"), QStringLiteral("n1ght-shift")))
        << pg.error().toStdString();
    const QString connection = pg.connection(db, QStringLiteral("nurse"));
    EXPECT_EQ(ServerArchive::open(connection).maybeError(), ArchiveError::PasswordNeeded);
    const auto wrong = ServerArchive::open(connection, QStringLiteral("day-shift"));
    EXPECT_EQ(wrong.maybeError(), ArchiveError::Unavailable) << "a wrong password is the server's refusal";
    const auto right = ServerArchive::open(connection, QStringLiteral("n1ght-shift"));
    EXPECT_TRUE(right) << right.detail().toStdString();
}

} // namespace

namespace
{

TEST(ServerArchive, CarriesOnAfterTheServerRestarts)
{
    pgtest::PgServer &pg = pgtest::server();
    const QString db = freshDatabase();
    ASSERT_FALSE(db.isEmpty());
    auto a = opened(pg.connection(db));
    ASSERT_TRUE(a);
    const qint64 first = a->store({input(night(1, 0, 100))}).value().nights.at(0);
    QSignalSpy told(a->changes(), &ArchiveChanges::changedElsewhere);

    ASSERT_TRUE(pg.stop()) << pg.error().toStdString();
    EXPECT_FALSE(a->store({input(night(2, 0, 100))})) << "nothing to store on";
    EXPECT_FALSE(a->list({}));
    ASSERT_TRUE(pg.start()) << pg.error().toStdString();

    // The same archive, without opening it again.
    const ArchiveResult<NightList> listed = a->list({});
    ASSERT_TRUE(listed) << listed.detail().toStdString();
    EXPECT_EQ(listed.value().size(), 1);
    EXPECT_EQ(told.count(), 1) << "changes made while away may have gone unheard";
    EXPECT_EQ(a->night(first).value().readings, night(1, 0, 100));
    EXPECT_EQ(a->store({input(night(2, 0, 100))}).value().added, 1);

    // A restart between two calls costs the caller nothing when it reads.
    ASSERT_TRUE(pg.stop() && pg.start());
    const auto again = a->list({});
    EXPECT_TRUE(again) << "read again on a new connection: " << (again ? "" : again.detail().toStdString());
}

} // namespace

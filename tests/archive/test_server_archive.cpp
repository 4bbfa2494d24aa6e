// SPDX-License-Identifier: GPL-3.0-or-later
// The archive on a real PostgreSQL server that the test starts itself.
#include "pg_server.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace
{

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
    EXPECT_EQ(pg.exec(db, {QStringLiteral("SELECT x FROM t")}), QString()) << "the data outlives the restart";
    EXPECT_TRUE(pg.connection(db).contains(QStringLiteral("host=") + pg.folder()));
}

} // namespace

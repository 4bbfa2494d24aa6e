// SPDX-License-Identifier: GPL-3.0-or-later
// Figures an older program computed, on a real archive file: listed as they
// are, then computed again off the caller's thread.
#include "archive/SqliteArchive.h"
#include "archive/SummaryRefresh.h"
#include "archive_samples.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace
{

using archivetest::night;

void rawSql(const QString &path, const QString &statement)
{
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        d.setDatabaseName(path);
        ASSERT_TRUE(d.open());
        QSqlQuery q(d);
        ASSERT_TRUE(q.exec(statement)) << statement.toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

TEST(SummaryRefresh, ComputesOlderFiguresAgainWhileTheListShowsThemMarked)
{
    const QString path = SqliteArchive::defaultPath();
    QFile::remove(path);
    ArchiveResult<SqliteArchive::Opened> o = SqliteArchive::open(path);
    ASSERT_TRUE(o) << o.detail().toStdString();
    SqliteArchive &archive = *o.value().archive;
    // More nights than one batch takes; the seventh will not decode.
    constexpr int kNights = 120;
    std::vector<NightInput> inputs(kNights);
    for (int i = 0; i < kNights; ++i)
        inputs[std::size_t(i)].readings = night(1 + i % 100, i * 3600, 60 + i, i);
    ASSERT_EQ(archive.store(inputs).value().added, kNights);
    rawSql(path, QStringLiteral("UPDATE night SET summary_version = 0, odi4 = -1, nadir = -1"));
    rawSql(path, QStringLiteral("UPDATE night_readings SET readings = X'00000010789C' WHERE night = 7"));

    // Opening computes nothing: the older figures are listed, marked.
    const ArchiveResult<SqliteArchive::Opened> again = SqliteArchive::open(path);
    ASSERT_TRUE(again);
    const ArchiveResult<NightList> listed = again.value().archive->list({});
    ASSERT_TRUE(listed);
    for (const NightInfo &n : listed.value()) {
        EXPECT_FALSE(n.summaryIsCurrent()) << n.night;
        EXPECT_EQ(n.summary.odi4, -1) << n.night;
    }

    SummaryRefresh refresh;
    QSignalSpy progress(&refresh, &SummaryRefresh::progress);
    QSignalSpy finished(&refresh, &SummaryRefresh::finished);
    refresh.start(path);
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_TRUE(finished.front().front().toBool());
    ASSERT_GE(progress.size(), 3) << "one report a batch";
    EXPECT_EQ(progress.front(), (QVariantList{0, kNights}));
    EXPECT_EQ(progress.back(), (QVariantList{kNights, kNights}));
    for (qsizetype i = 1; i < progress.size(); ++i)
        EXPECT_LE(progress[i - 1][0].toInt(), progress[i][0].toInt());

    // This connection kept its listing: it sees the other's figures all the same.
    const NightList nights = archive.list({}).value();
    ASSERT_EQ(nights.size(), kNights);
    for (const NightInfo &n : nights) {
        if (n.night == 7) {
            EXPECT_FALSE(n.summaryIsCurrent()) << "a night that does not decode keeps its figures";
            continue;
        }
        const std::vector<SampleRecord> &readings = inputs[std::size_t(n.night - 1)].readings;
        EXPECT_EQ(n.summary, summarizeNight(readings.data(), int(readings.size()))) << n.night;
    }
    // The undecodable night does not keep a second run going.
    refresh.start(path);
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_TRUE(finished.back().front().toBool());
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The archive on a real SQLite file in this test's own data folder and, for
// what both kinds share, on a real PostgreSQL server the test starts.
#include "archive/NightInputs.h"
#include "archive/ServerArchive.h"
#include "archive/SqliteArchive.h"
#include "archive_samples.h"
#include "pg_server.h"
#include "small_fs.h"
#include "test_env.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <functional>

namespace
{

using archivetest::night;

NightInput input(std::vector<SampleRecord> readings, bool partial = false, const QString &name = QString())
{
    NightInput n;
    n.readings = std::move(readings);
    n.patient.idNumber = n.readings.empty() ? 0 : n.readings.front().id;
    PatientRecord::setText(n.patient.name, name);
    n.title = QStringLiteral("Ward 3");
    n.source = partial ? NightSource::Download : NightSource::Import;
    n.partial = partial;
    return n;
}

std::vector<SampleRecord> prefix(const std::vector<SampleRecord> &v, int count)
{
    return {v.begin(), v.begin() + count};
}

StoreCounts store(Archive &a, std::vector<NightInput> nights)
{
    const ArchiveResult<StoreCounts> c = a.store(nights);
    EXPECT_TRUE(c) << c.detail().toStdString();
    return c ? c.value() : StoreCounts{};
}

NightList all(Archive &a, const ArchiveFilter &filter = {})
{
    const ArchiveResult<NightList> nights = a.list(filter);
    EXPECT_TRUE(nights) << nights.detail().toStdString();
    return nights ? nights.value() : NightList{};
}

std::vector<int> readingCounts(Archive &a)
{
    std::vector<int> out;
    for (const NightInfo &n : all(a))
        out.push_back(n.summary.readings);
    return out;
}

// Opens the archive at path, failing the test when it cannot.
SqliteArchive::Opened opened(const QString &path, int targetVersion = SqlArchive::kSchemaVersion)
{
    ArchiveResult<SqliteArchive::Opened> o = SqliteArchive::open(path, targetVersion);
    EXPECT_TRUE(o) << o.detail().toStdString();
    return o ? std::move(o.value()) : SqliteArchive::Opened{};
}

// Runs statements on the archive file behind the program's back.
void rawSql(const QString &path, const QStringList &statements)
{
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        d.setDatabaseName(path);
        ASSERT_TRUE(d.open());
        QSqlQuery q(d);
        for (const QString &s : statements)
            ASSERT_TRUE(q.exec(s)) << s.toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

// Each test starts without an archive, also when the tests share one process.
QString freshPath()
{
    const QString path = SqliteArchive::defaultPath();
    const QDir folder = QFileInfo(path).dir();
    for (const QString &f : folder.entryList({QStringLiteral("archive.sqlite*")}, QDir::Files))
        QFile::remove(folder.filePath(f));
    return path;
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

enum class Backend { Sqlite, Server };

const char *nameOf(Backend backend)
{
    return backend == Backend::Sqlite ? "Sqlite" : "Server";
}

void PrintTo(Backend backend, std::ostream *os)
{
    *os << nameOf(backend);
}

// What holds for either kind of archive: each test has an archive of its own
// (a fresh file, a fresh database) and opens as many connections to it as it needs.
class ArchiveOn : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        if (GetParam() == Backend::Sqlite) {
            path_ = freshPath();
            return;
        }
        pgtest::PgServer &pg = pgtest::server();
        ASSERT_TRUE(pg.ok()) << pg.error().toStdString();
        database_ = pg.createDatabase();
        ASSERT_FALSE(database_.isEmpty()) << pg.error().toStdString();
    }

    // A new connection to the test's archive, as the program opens one.
    std::unique_ptr<SqlArchive> open()
    {
        if (GetParam() == Backend::Sqlite)
            return std::move(opened(path_).archive);
        ArchiveResult<std::unique_ptr<ServerArchive>> o = ServerArchive::open(pgtest::server().connection(database_));
        EXPECT_TRUE(o) << o.detail().toStdString();
        return o ? std::move(o.value()) : nullptr;
    }

private:
    QString path_;
    QString database_;
};

INSTANTIATE_TEST_SUITE_P(, ArchiveOn, testing::Values(Backend::Sqlite, Backend::Server),
                         [](const testing::TestParamInfo<Backend> &info) { return std::string(nameOf(info.param)); });

TEST(Archive, CreatesAPrivateFileInTheDataFolder)
{
    const QString path = freshPath();
    EXPECT_EQ(path, qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/quellix/archive.sqlite"));
    SqliteArchive::Opened o = opened(path);
    ASSERT_TRUE(o.archive);
    EXPECT_EQ(QFile::permissions(path) & 0x7777, 0x6600) << "read and write for the owner only";
    store(*o.archive, {input(night(1, 0, 10))});
    EXPECT_TRUE(QFile::exists(path + QStringLiteral("-wal"))) << "WAL journal";
    EXPECT_EQ(QFile::permissions(path + QStringLiteral("-wal")) & 0x7777, 0x6600);
}

TEST_P(ArchiveOn, KeepsEachNightOnceAndReplacesOnlyPartialPrefixes)
{
    const std::unique_ptr<SqlArchive> archive = open();
    ASSERT_TRUE(archive);
    Archive &a = *archive;
    const std::vector<SampleRecord> full = night(4, 0, 300);

    StoreCounts c = store(a, {input(prefix(full, 100), true)});
    EXPECT_EQ(c.added, 1);
    ASSERT_EQ(c.nights.size(), 1U);
    const qint64 partialNight = c.nights[0];
    c = store(a, {input(prefix(full, 100), true)});
    EXPECT_EQ(c.added, 0);
    EXPECT_EQ(c.present, 1) << "a second download of the same readings";
    EXPECT_EQ(c.nights, std::vector<qint64>{partialNight}) << "the night it is already in";

    c = store(a, {input(full)});
    EXPECT_EQ(c.added, 1);
    EXPECT_EQ(c.replaced, 1) << "the complete download after a partial one";
    EXPECT_EQ(readingCounts(a), std::vector<int>{300});
    const qint64 wholeNight = all(a).front().night;
    EXPECT_EQ(c.nights, std::vector<qint64>{wholeNight});
    c = store(a, {input(prefix(full, 100), true)});
    EXPECT_EQ(c.present, 1) << "a partial download of a night kept whole";
    EXPECT_EQ(c.nights, std::vector<qint64>{wholeNight});
    EXPECT_EQ(readingCounts(a), std::vector<int>{300});

    // Same start, other readings: kept beside it, never merged.
    c = store(a, {input(night(4, 0, 300, 1))});
    EXPECT_EQ(c.added, 1);
    // A complete night starting like a longer one stays: only partial ones are replaced.
    c = store(a, {input(night(6, 0, 50)), input(night(6, 0, 80))});
    EXPECT_EQ(c.added, 2);
    EXPECT_EQ(c.replaced, 0);
    // A partial night that differs from the stored one within its span is a night of its own.
    std::vector<SampleRecord> differs = prefix(full, 100);
    differs[50].auxValue ^= 1;
    c = store(a, {input(differs, true)});
    EXPECT_EQ(c.added, 1);
    EXPECT_EQ(readingCounts(a), (std::vector<int>{300, 300, 50, 80, 100}));
    EXPECT_TRUE(archive->check().isEmpty());
}

TEST_P(ArchiveOn, KeepsNightsWholeAndFindsThemByPatientAndDate)
{
    const std::unique_ptr<SqlArchive> archive = open();
    ASSERT_TRUE(archive);
    Archive &a = *archive;
    // One recording: ID 2 with an hour's gap (two nights), then ID 3.
    std::vector<SampleRecord> recording = night(2, 0, 200);
    const std::vector<SampleRecord> afterGap = night(2, 200 + 3600, 50);
    const std::vector<SampleRecord> other = night(3, 86400 * 2, 20);
    recording.insert(recording.end(), afterGap.begin(), afterGap.end());
    recording.insert(recording.end(), other.begin(), other.end());
    PatientRecord lea;
    PatientRecord::setText(lea.name, QStringLiteral("Léa Martin"));
    lea.age = 54;
    const auto patientOf = [&](int id) {
        PatientRecord p = id == 2 ? lea : PatientRecord{};
        p.idNumber = id;
        return p;
    };
    const auto inputs = nightInputs(recording.data(), int(recording.size()), QStringLiteral("Ward 3"),
                                    NightSource::File, QStringLiteral("in.dat"), false, patientOf);
    EXPECT_EQ(store(a, inputs).added, 3);

    const NightList nights = all(a);
    ASSERT_EQ(nights.size(), 3u);
    EXPECT_EQ(nights[1].summary.start, QStringLiteral("2026-03-14 23:03:20"));
    EXPECT_EQ(nights[1].summary.end, QStringLiteral("2026-03-14 23:04:09"));
    EXPECT_EQ(nights[0].patientName, QStringLiteral("Léa Martin"));
    EXPECT_EQ(nights[0].source, NightSource::File);
    EXPECT_EQ(nights[0].summary, summarizeNight(recording.data(), 200));
    EXPECT_EQ(nights[0].summary.readings, 200);
    EXPECT_GT(nights[0].summary.meanSpo2, 88);

    const ArchiveResult<StoredNight> second = a.night(nights[1].night);
    ASSERT_TRUE(second);
    EXPECT_EQ(second.value().readings, afterGap);
    EXPECT_EQ(second.value().patient.toBytes(), patientOf(2).toBytes());
    EXPECT_EQ(second.value().info.title, QStringLiteral("Ward 3"));

    const auto count = [&](const ArchiveFilter &f) { return all(a, f).size(); };
    EXPECT_EQ(count({QStringLiteral("léa"), {}, {}}), 2u) << "any letter case";
    EXPECT_EQ(count({QStringLiteral("3"), {}, {}}), 1u) << "an ID";
    EXPECT_EQ(count({QStringLiteral("%"), {}, {}}), 0u) << "no wildcards";
    EXPECT_EQ(count({{}, QDate(2026, 3, 15), {}}), 1u);
    EXPECT_EQ(count({{}, {}, QDate(2026, 3, 14)}), 2u) << "the last day included";

    PatientRecord renamed = lea;
    PatientRecord::setText(renamed.name, QStringLiteral("Léa Roux"));
    ASSERT_TRUE(a.setPatient(nights[0].night, renamed));
    EXPECT_EQ(count({QStringLiteral("roux"), {}, {}}), 1u);

    ASSERT_TRUE(a.remove(nights[0].night));
    // Every operation on a night that is gone says so.
    const ArchiveResult<> removedAgain = a.remove(nights[0].night);
    const ArchiveResult<StoredNight> read = a.night(nights[0].night);
    const ArchiveResult<> renamedAgain = a.setPatient(nights[0].night, renamed);
    ASSERT_FALSE(removedAgain || read || renamedAgain);
    for (ArchiveError e : {removedAgain.error(), read.error(), renamedAgain.error()})
        EXPECT_EQ(e, ArchiveError::NotFound);
    EXPECT_EQ(count({}), 2u);
    EXPECT_TRUE(archive->check().isEmpty());
}

TEST_P(ArchiveOn, ListingFollowsEveryChangeOfEitherProgram)
{
    const std::unique_ptr<SqlArchive> one = open();
    const std::unique_ptr<SqlArchive> two = open();
    ASSERT_TRUE(one && two);
    Archive &a = *one;
    Archive &b = *two;
    // What the database holds, read past any kept listing (a bound is a filter).
    const auto truth = [&] {
        QStringList rows;
        for (const NightInfo &n : all(a, {{}, QDate(2000, 1, 1), {}}))
            rows << QStringLiteral("%1 %2 %3").arg(n.night).arg(n.patientName).arg(n.summary.readings);
        return rows.join(QStringLiteral("; ")).toStdString();
    };
    const auto listed = [&](Archive &x) {
        QStringList rows;
        for (const NightInfo &n : all(x))
            rows << QStringLiteral("%1 %2 %3").arg(n.night).arg(n.patientName).arg(n.summary.readings);
        return rows.join(QStringLiteral("; ")).toStdString();
    };
    const auto firstNight = [&](Archive &x) { return all(x).front().night; };
    PatientRecord renamed;
    PatientRecord::setText(renamed.name, QStringLiteral("Ines"));
    const std::vector<std::pair<const char *, std::function<void()>>> changes = {
        {"the other stores", [&] { store(b, {input(night(2, 0, 30))}); }},
        {"this one stores", [&] { store(a, {input(night(3, 0, 40))}); }},
        {"the other renames", [&] { ASSERT_TRUE(b.setPatient(firstNight(b), renamed)); }},
        {"this one renames", [&] { ASSERT_TRUE(a.setPatient(firstNight(a), PatientRecord{})); }},
        {"the other removes", [&] { ASSERT_TRUE(b.remove(firstNight(b))); }},
        {"this one removes", [&] { ASSERT_TRUE(a.remove(firstNight(a))); }},
    };
    store(a, {input(night(1, 0, 20))});
    for (const auto &[what, change] : changes) {
        // Both list first, so that each keeps a listing the change makes stale.
        listed(a);
        listed(b);
        change();
        const std::string now = truth();
        EXPECT_EQ(listed(a), now) << what;
        EXPECT_EQ(listed(b), now) << what;
    }
    EXPECT_EQ(all(a).size(), 1);
}

TEST(Archive, MigratesOlderArchivesAndRefusesNewerOnes)
{
    const QString path = freshPath();
    {
        SqliteArchive::Opened v1 = opened(path, 1);
        ASSERT_TRUE(v1.archive);
    }
    // A night as the first schema held it, with figures of the first summary
    // version: they are computed again after opening.
    const std::vector<SampleRecord> readings = night(1, 0, 600);
    const auto blob = [](const QByteArray &bytes) {
        return QStringLiteral("X'%1'").arg(QString::fromLatin1(bytes.toHex()));
    };
    rawSql(path, {QStringLiteral("INSERT INTO night (night, device_id, patient_name, patient, title, source,"
                                 " source_name, archived_at, partial, readings_sha256, start_time, end_time,"
                                 " reading_count, valid_seconds, odi3, odi4, t90, t88, nadir, mean_spo2, pulse_min,"
                                 " pulse_mean, pulse_max, summary_version) VALUES (1, 1, '', %1, '', 'import', '',"
                                 " '2026-03-15T08:00:00Z', 0, %2, '', '', 600, 600, 0, -1, 0, 0, -1, 0, 0, 0, 0, 1)")
                      .arg(blob(PatientRecord{}.toBytes()), blob(ReadingCodec::readingsHash(readings.data(), 600))),
                  QStringLiteral("INSERT INTO night_readings (night, readings) VALUES (1, %1)")
                      .arg(blob(ReadingCodec::encode(readings)))});
    {
        SqliteArchive::Opened o = opened(path);
        ASSERT_TRUE(o.archive);
        EXPECT_EQ(o.archive->schemaVersion().value(), SqlArchive::kSchemaVersion);
        EXPECT_FALSE(all(*o.archive).at(0).summaryIsCurrent());
        ASSERT_EQ(o.archive->refreshSummaries(0, 10).value().looked, 1);
        const auto nights = all(*o.archive);
        ASSERT_EQ(nights.size(), 1u);
        EXPECT_EQ(nights[0].summary, summarizeNight(readings.data(), 600));
        EXPECT_TRUE(o.archive->setMarks(1, {{0, 9}}));
        EXPECT_TRUE(o.archive->check().isEmpty());
    }

    rawSql(path, {QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"),
                  QStringLiteral("UPDATE schema_version SET version = %1").arg(SqlArchive::kSchemaVersion + 1),
                  QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")});
    const QByteArray before = bytesOf(path);
    const ArchiveResult<SqliteArchive::Opened> newer = SqliteArchive::open(path);
    ASSERT_FALSE(newer);
    EXPECT_EQ(newer.error(), ArchiveError::Newer);
    EXPECT_EQ(newer.detail(), QString::number(SqlArchive::kSchemaVersion + 1));
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList({QStringLiteral("*.damaged-*")}), QStringList{});
}

TEST_P(ArchiveOn, NumbersOfRemovedNightsAreNeverGivenAgain)
{
    const std::unique_ptr<SqlArchive> archive = open();
    ASSERT_TRUE(archive);
    const qint64 first = store(*archive, {input(night(1, 0, 100))}).nights.at(0);
    const qint64 last = store(*archive, {input(night(2, 0, 100))}).nights.at(0);
    ASSERT_TRUE(archive->remove(last));
    // The open recording may still point at the removed night.
    const qint64 next = store(*archive, {input(night(3, 0, 100))}).nights.at(0);
    EXPECT_GT(last, first);
    EXPECT_GT(next, last);
}

TEST_P(ArchiveOn, HandMarksChangeTheSummaryAndSurviveReopening)
{
    const std::vector<SampleRecord> readings = night(4, 0, 900);
    qint64 number = 0;
    {
        const std::unique_ptr<SqlArchive> archive = open();
        ASSERT_TRUE(archive);
        store(*archive, {input(readings)});
        number = all(*archive).at(0).night;
        // Overlapping and touching spans are joined; the order does not matter.
        const ArchiveResult<> set = archive->setMarks(number, {{300, 399}, {10, 19}, {350, 420}, {421, 430}});
        ASSERT_TRUE(set) << set.detail().toStdString();
        // A span past the last reading, or reversed, changes nothing.
        for (const ReadingSpan bad : {ReadingSpan{850, 900}, ReadingSpan{-1, 3}, ReadingSpan{5, 4}})
            EXPECT_EQ(archive->setMarks(number, {{0, 1}, bad}).maybeError(), ArchiveError::NotFound);
        EXPECT_EQ(archive->setMarks(number + 1, {}).maybeError(), ArchiveError::NotFound);
    }
    const std::vector<ReadingSpan> kept = {{10, 19}, {300, 430}};
    const std::unique_ptr<SqlArchive> archive = open();
    ASSERT_TRUE(archive);
    const ArchiveResult<StoredNight> stored = archive->night(number);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored.value().marks, kept);
    const NightSummary marked = summarizeNight(readings.data(), 900, kept);
    EXPECT_EQ(stored.value().info.summary, marked);
    EXPECT_NE(marked, summarizeNight(readings.data(), 900));
    EXPECT_LE(marked.validSeconds, 900 - 141);

    EXPECT_EQ(archive->marks(number).value(), kept);
    ASSERT_TRUE(archive->setMarks(number, {}));
    EXPECT_EQ(all(*archive).at(0).summary, summarizeNight(readings.data(), 900));
    EXPECT_TRUE(archive->night(number).value().marks.empty());
}

TEST(Archive, PutsDamagedFilesAsideAndStartsAnew)
{
    const QString path = freshPath();
    QByteArray wholeArchive;
    {
        SqliteArchive::Opened o = opened(path);
        ASSERT_TRUE(o.archive);
        store(*o.archive, {input(night(1, 0, 20000)), input(night(2, 0, 20000))});
    }
    rawSql(path, {QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")});
    wholeArchive = bytesOf(path);
    ASSERT_GT(wholeArchive.size(), 4 * 4096);
    QByteArray broken = wholeArchive;
    for (int i = 4096; i < broken.size() - 4096; ++i)
        broken[i] = char(0xA5 ^ i);

    const std::vector<std::pair<const char *, QByteArray>> cases = {
        {"not a database", QByteArray("these are not the nights you are looking for\n").repeated(100)},
        {"pages overwritten", broken},
    };
    for (const auto &[what, bytes] : cases) {
        for (const QString &f : QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files))
            QFile::remove(QFileInfo(path).absolutePath() + QLatin1Char('/') + f);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();

        SqliteArchive::Opened o = opened(path);
        ASSERT_TRUE(o.archive);
        EXPECT_TRUE(all(*o.archive).empty()) << what;
        EXPECT_TRUE(o.damagedKeptAs.startsWith(path + QStringLiteral(".damaged-"))) << what;
        EXPECT_EQ(bytesOf(o.damagedKeptAs), bytes) << what << ": kept as it was";
        o.archive.reset();
        EXPECT_TRUE(opened(path).damagedKeptAs.isEmpty()) << what << ": told once";
    }
}

TEST(Archive, BackupAndRestoreThroughTheOpenArchive)
{
    SqliteArchive::Opened o = opened(freshPath());
    ASSERT_TRUE(o.archive);
    store(*o.archive, {input(night(1, 0, 100))});
    const QString copy = testenv::root() + QStringLiteral("/copy.sqlite");
    const ArchiveResult<> copied = o.archive->backupTo(copy);
    ASSERT_TRUE(copied) << copied.detail().toStdString();
    const ArchiveResult<> again = o.archive->backupTo(copy);
    ASSERT_FALSE(again) << "never over an existing file";
    EXPECT_EQ(again.error(), ArchiveError::Exists);

    // A second program sees the restored nights through its own connection.
    SqliteArchive::Opened other = opened(SqliteArchive::defaultPath());
    ASSERT_TRUE(other.archive);
    store(*other.archive, {input(night(2, 0, 100))});
    EXPECT_EQ(all(*o.archive).size(), 2u);
    EXPECT_EQ(all(*other.archive).size(), 2u) << "a listing the other keeps";
    const ArchiveResult<> restored = o.archive->restoreFrom(copy);
    ASSERT_TRUE(restored) << restored.detail().toStdString();
    EXPECT_EQ(readingCounts(*other.archive), std::vector<int>{100});
    EXPECT_EQ(all(*other.archive).front().deviceId, 1);
    EXPECT_TRUE(QFile::exists(SqliteArchive::defaultPath() + QStringLiteral(".before-restore")));

    const QString junk = testenv::root() + QStringLiteral("/junk.sqlite");
    QFile j(junk);
    ASSERT_TRUE(j.open(QIODevice::WriteOnly));
    j.write(QByteArray(5000, 'x'));
    j.close();
    const ArchiveResult<> refused = o.archive->restoreFrom(junk);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error(), ArchiveError::NotAnArchive);
    EXPECT_EQ(readingCounts(*other.archive), std::vector<int>{100});
}

} // namespace

namespace
{

std::vector<NightInput> tenNights(int firstId)
{
    std::vector<NightInput> out;
    for (int id = firstId; id < firstId + 10; ++id)
        out.push_back(input(night(id, 0, 28800, id)));
    return out;
}

TEST(ArchiveFaults, FullOrReadOnlyDiskChangesNothing)
{
    testfs::SmallFileSystem disk(QStringLiteral("small"), "size=512k");
    if (!disk.mounted())
        GTEST_SKIP() << "this machine does not let the test mount a small file system";
    const QString path = disk.file("archive.sqlite");
    {
        SqliteArchive::Opened o = opened(path);
        ASSERT_TRUE(o.archive);
        store(*o.archive, {input(night(1, 0, 100))});
        // Far more than 512 KiB: the batch fails as a whole.
        std::optional<ArchiveError> failed;
        for (int round = 0; round < 10 && !failed; ++round)
            if (const ArchiveResult<StoreCounts> c = o.archive->store(tenNights(2 + round * 10)); !c)
                failed = c.error();
        ASSERT_TRUE(failed) << "the small disk never filled";
        EXPECT_EQ(*failed, ArchiveError::WriteFailed);
        EXPECT_TRUE(o.archive->check().isEmpty());
    }
    SqliteArchive::Opened o = opened(path);
    ASSERT_TRUE(o.archive);
    const size_t kept = all(*o.archive).size();
    EXPECT_EQ((kept - 1) % 10, 0u) << "only whole batches";
    o.archive.reset();

    const QByteArray before = bytesOf(path);
    ASSERT_TRUE(disk.makeReadOnly());
    {
        ArchiveResult<SqliteArchive::Opened> ro = SqliteArchive::open(path);
        if (ro) {
            const ArchiveResult<StoreCounts> c = ro.value().archive->store({input(night(120, 0, 100))});
            ASSERT_FALSE(c);
            EXPECT_EQ(c.error(), ArchiveError::WriteFailed);
            EXPECT_TRUE(ro.value().damagedKeptAs.isEmpty()) << "a read-only archive is not damaged";
        } else {
            EXPECT_NE(ro.error(), ArchiveError::Damaged);
        }
    }
    EXPECT_EQ(bytesOf(path), before);
}

} // namespace

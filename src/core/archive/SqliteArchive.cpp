// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/SqliteArchive.h"

#include "archive/NightRow.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <sqlite3.h>

#include <array>
#include <atomic>

namespace
{

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// How long a program waits for another one's write lock.
constexpr int kBusyTimeoutMs = 10000;

// SQLite's result codes for "not a database" and "database disk image is malformed".
bool isDamage(const QSqlError &e)
{
    const QString code = e.nativeErrorCode();
    return code == QLatin1String("26") || code == QLatin1String("11");
}

// SQLITE_BUSY and SQLITE_LOCKED: another connection held on past the busy timeout.
bool isBusy(const QSqlError &e)
{
    const QString code = e.nativeErrorCode();
    return code == QLatin1String("5") || code == QLatin1String("6");
}

// The file holds patient details: it is created for its owner only, before
// SQLite creates it with the process's umask.
ArchiveResult<> createPrivateFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly) || !f.setPermissions(kOwnerOnly))
        return ArchiveFailure{ArchiveError::CannotCreate, f.errorString()};
    return {};
}

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("quellix-archive-%1").arg(++counter);
}

// Moves the file and its WAL companions aside under one name.
bool putAside(const QString &path, const QString &kept)
{
    if (!QFile::rename(path, kept))
        return false;
    for (const char *suffix : {"-wal", "-shm"})
        if (QFile::exists(path + QLatin1String(suffix)))
            QFile::rename(path + QLatin1String(suffix), kept + QLatin1String(suffix));
    return true;
}

} // namespace

SqliteArchive::SqliteArchive(QString connectionName, QString path)
    : SqlArchive(std::move(connectionName)), path_(std::move(path))
{
}

QString SqliteArchive::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/quellix/archive.sqlite");
}

ArchiveResult<SqliteArchive::Opened> SqliteArchive::open(const QString &path, int targetVersion)
{
    Opened r;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return ArchiveFailure{ArchiveError::CannotCreate, {}};
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!QFile::exists(path))
            if (auto created = createPrivateFile(path); !created)
                return created.failure();
        const QString name = nextConnectionName();
        {
            QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            d.setDatabaseName(path);
            // The program and quellix-cli may write at the same time; wait for
            // the other rather than fail.
            d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
            d.open();
        }
        std::unique_ptr<SqliteArchive> a(new SqliteArchive(name, path));
        const ArchiveResult<bool> sound = a->sound();
        if (!sound)
            return sound.failure();
        if (!sound.value()) {
            a.reset();
            // A new archive damaged at once, or one that cannot be moved: the
            // disk or the folder needs the user.
            if (attempt > 0)
                return ArchiveFailure{ArchiveError::Damaged, {}};
            const QString kept = path + QStringLiteral(".damaged-") +
                                 QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
            if (!putAside(path, kept))
                return ArchiveFailure{ArchiveError::Damaged, {}};
            r.damagedKeptAs = kept;
            continue;
        }

        const ArchiveResult<int> version = a->schemaVersion();
        if (!version)
            return version.failure();
        if (version.value() > kSchemaVersion)
            return ArchiveFailure{ArchiveError::Newer, QString::number(version.value())};
        // WAL lets readers go on while one program writes; a read-only file
        // keeps its journal mode and refuses writes later, with their message.
        {
            QSqlQuery q(a->db());
            q.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
            q.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
            // Ten years of listed nights in the page cache (16 MiB at most, taken
            // as used). Not mmap: a failing disk would crash us through SIGBUS.
            q.exec(QStringLiteral("PRAGMA cache_size = -16384"));
        }
        if (auto migrated = a->migrate(targetVersion); !migrated)
            return migrated.failure();
        r.archive = std::move(a);
        return r;
    }
    return ArchiveFailure{ArchiveError::Damaged, {}};
}

ArchiveResult<bool> SqliteArchive::sound()
{
    QSqlDatabase d = db();
    if (!d.isOpen())
        return failure(ArchiveError::Unavailable, d.lastError());
    QSqlQuery q(d);
    if (!q.exec(QStringLiteral("PRAGMA quick_check"))) {
        if (isDamage(q.lastError()))
            return false;
        // Busy or unreadable is not damage: the file is left alone.
        return failure(ArchiveError::Unavailable, q.lastError());
    }
    return q.next() && q.value(0).toString() == QLatin1String("ok");
}

ArchiveFailure SqliteArchive::failure(ArchiveError fallback, const QSqlError &error) const
{
    if (isBusy(error))
        return {ArchiveError::Busy, error.text()};
    return {fallback, error.text()};
}

QStringList SqliteArchive::check()
{
    QStringList faults;
    QSqlQuery q(db());
    if (!q.exec(QStringLiteral("PRAGMA integrity_check"))) {
        faults << QStringLiteral("integrity check failed: %1").arg(q.lastError().text());
        return faults;
    }
    while (q.next())
        if (q.value(0).toString() != QLatin1String("ok"))
            faults << QStringLiteral("integrity: %1").arg(q.value(0).toString());
    if (q.exec(QStringLiteral("PRAGMA foreign_key_check")))
        while (q.next())
            faults << QStringLiteral("%1 row %2 refers to a missing %3")
                          .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
    q.finish();
    faults << SqlArchive::check();
    return faults;
}

std::optional<qint64> SqliteArchive::dataVersion()
{
    // Changes with every commit of another connection, ours excepted.
    QSqlQuery q(db());
    if (!q.exec(QStringLiteral("PRAGMA data_version")) || !q.next())
        return std::nullopt;
    return q.value(0).toLongLong();
}

namespace
{

// The columns of a row straight from SQLite. Texts that repeat from the row
// before (patient, title, source) share its string.
class RawRow
{
public:
    static constexpr int kSharedTexts = 9; // the columns before the summary's

    explicit RawRow(sqlite3_stmt *statement) : st_(statement) {}
    qint64 integer(int i) const { return sqlite3_column_int64(st_, i); }
    double real(int i) const { return sqlite3_column_double(st_, i); }
    QString text(int i) const
    {
        const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(st_, i));
        const int size = sqlite3_column_bytes(st_, i);
        if (i >= kSharedTexts)
            return QString::fromUtf8(bytes, size);
        Kept &kept = kept_[std::size_t(i)];
        if (!kept.valid || kept.bytes != QByteArrayView(bytes, size)) {
            kept.bytes = QByteArray(bytes, size);
            kept.text = QString::fromUtf8(kept.bytes);
            kept.valid = true;
        }
        return kept.text;
    }
    QByteArray bytes(int i) const
    {
        // The blob first, then its size, as SQLite asks.
        const auto *data = static_cast<const char *>(sqlite3_column_blob(st_, i));
        return QByteArray(data, sqlite3_column_bytes(st_, i));
    }

private:
    struct Kept {
        bool valid = false;
        QByteArray bytes;
        QString text;
    };
    sqlite3_stmt *st_;
    mutable std::array<Kept, kSharedTexts> kept_;
};

} // namespace

std::optional<NightList> SqliteArchive::readListing(const QString &sql, const QVariantList &values)
{
    // Qt SQL makes a QVariant of every value of every row, which costs about
    // ten times what SQLite takes to read a listing of years of nights.
    const QVariant handle = db().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return std::nullopt;
    sqlite3 *connection = *static_cast<sqlite3 *const *>(handle.constData());
    if (!connection)
        return std::nullopt;
    sqlite3_stmt *st = nullptr;
    const QByteArray text = sql.toUtf8();
    const auto finalize = qScopeGuard([&st] { sqlite3_finalize(st); });
    if (sqlite3_prepare_v2(connection, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
        return std::nullopt;
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &v = values[i];
        int bound = SQLITE_ERROR;
        if (v.typeId() == QMetaType::QString) {
            const QByteArray utf8 = v.toString().toUtf8();
            bound = sqlite3_bind_text(st, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        } else if (v.canConvert<qlonglong>()) {
            bound = sqlite3_bind_int64(st, i + 1, v.toLongLong());
        }
        if (bound != SQLITE_OK)
            return std::nullopt;
    }
    NightList out;
    const RawRow row(st);
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(st)) == SQLITE_ROW)
        out.push_back(nightInfoFromRow(row));
    // Busy, damaged: Qt SQL runs the query again and says what went wrong.
    if (step != SQLITE_DONE)
        return std::nullopt;
    return out;
}

ArchiveResult<> SqliteArchive::beginWrite()
{
    // BEGIN IMMEDIATE waits (busy timeout) for the write lock up front.
    QSqlQuery q(db());
    if (q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return {};
    return failure(ArchiveError::WriteFailed, q.lastError());
}

bool SqliteArchive::checkpoint()
{
    QSqlQuery q(db());
    return q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

ArchiveResult<> SqliteArchive::backupTo(const QString &path)
{
    if (QFileInfo::exists(path))
        return ArchiveFailure{ArchiveError::Exists, {}};
    // VACUUM INTO writes a consistent copy even while others write, into an
    // empty file that already has the owner-only mode.
    if (auto created = createPrivateFile(path); !created)
        return created;
    QSqlQuery q(db());
    q.prepare(QStringLiteral("VACUUM INTO ?"));
    q.addBindValue(path);
    if (!q.exec()) {
        const ArchiveFailure f = failure(ArchiveError::CannotCreate, q.lastError());
        QFile::remove(path);
        return f;
    }
    return {};
}

ArchiveResult<> SqliteArchive::restoreFrom(const QString &in)
{
    if (!QFileInfo(in).isFile() || QFileInfo(in).size() == 0)
        return ArchiveFailure{ArchiveError::NotAnArchive, {}};

    // Everything is checked on a copy, so that neither in nor the archive
    // changes before the copy has proved sound.
    const QString copy = path_ + QStringLiteral(".restoring");
    const auto dropCopy = [&copy] {
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(copy + QLatin1String(suffix));
    };
    dropCopy();
    if (QFile c(in); !c.copy(copy) || !QFile::setPermissions(copy, kOwnerOnly)) {
        const QString why = c.errorString();
        dropCopy();
        return ArchiveFailure{ArchiveError::WriteFailed, why};
    }
    {
        ArchiveResult<Opened> probe = open(copy, 0);
        bool isArchive = false;
        std::optional<ArchiveFailure> refused;
        if (probe) {
            const ArchiveResult<int> version = probe.value().archive->schemaVersion();
            isArchive = probe.value().damagedKeptAs.isEmpty() && version && version.value() >= 1;
            probe.value().archive.reset();
        } else {
            refused = probe.failure();
        }
        if (!isArchive) {
            dropCopy();
            for (const QString &f : QDir(QFileInfo(copy).absolutePath())
                                        .entryList({QFileInfo(copy).fileName() + QStringLiteral(".damaged-*")}))
                QFile::remove(QFileInfo(copy).absolutePath() + QLatin1Char('/') + f);
            // A newer program's archive is named as such; anything else is not an archive.
            if (refused && refused->error == ArchiveError::Newer)
                return *refused;
            return ArchiveFailure{ArchiveError::NotAnArchive, refused ? refused->detail : QString()};
        }
        ArchiveResult<Opened> checked = open(copy);
        const QStringList faults = checked ? checked.value().archive->check() : QStringList{checked.detail()};
        if (checked)
            checked.value().archive.reset();
        if (!faults.isEmpty()) {
            dropCopy();
            return ArchiveFailure{ArchiveError::CheckFailed, faults.first()};
        }
    }

    const QString before = path_ + QStringLiteral(".before-restore");
    QFile::remove(before);
    if (auto kept = backupTo(before); !kept) {
        dropCopy();
        return kept;
    }

    forgetListing();
    forgetStatements();
    ArchiveResult<> done = copyPagesFrom(copy);
    dropCopy();
    return done;
}

// SQLite's online backup, from the file at source into this connection's
// database: every page replaced in one write transaction, which the other
// programs with the archive open see as any other commit.
ArchiveResult<> SqliteArchive::copyPagesFrom(const QString &source)
{
    const QVariant handle = db().driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0 || !handle.isValid())
        return ArchiveFailure{ArchiveError::Unavailable, QStringLiteral("no SQLite connection")};
    sqlite3 *target = *static_cast<sqlite3 *const *>(handle.constData());
    sqlite3 *from = nullptr;
    const auto closeFrom = qScopeGuard([&from] { sqlite3_close(from); });
    if (sqlite3_open_v2(QFile::encodeName(source).constData(), &from, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return ArchiveFailure{ArchiveError::NotAnArchive, QString::fromUtf8(sqlite3_errmsg(from))};
    // A WAL database keeps its page size: the copy takes the archive's first.
    const auto pageSize = [](sqlite3 *db) {
        sqlite3_stmt *st = nullptr;
        int size = 0;
        if (sqlite3_prepare_v2(db, "PRAGMA page_size", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            size = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
        return size;
    };
    const int size = pageSize(target);
    if (size != pageSize(from)) {
        const QByteArray resize =
            "PRAGMA journal_mode = DELETE; PRAGMA page_size = " + QByteArray::number(size) + "; VACUUM;";
        if (sqlite3_exec(from, resize.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            return ArchiveFailure{ArchiveError::WriteFailed, QString::fromUtf8(sqlite3_errmsg(from))};
    }
    sqlite3_backup *backup = sqlite3_backup_init(target, "main", from, "main");
    if (!backup) {
        const int code = sqlite3_errcode(target);
        return ArchiveFailure{code == SQLITE_BUSY || code == SQLITE_LOCKED ? ArchiveError::Busy
                                                                           : ArchiveError::WriteFailed,
                              QString::fromUtf8(sqlite3_errmsg(target))};
    }
    // Another program writing holds the lock for a moment: wait as long as
    // the busy timeout would.
    int rc = SQLITE_OK;
    for (int waited = 0; waited < kBusyTimeoutMs; waited += 50) {
        rc = sqlite3_backup_step(backup, -1);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
        sqlite3_sleep(50);
    }
    sqlite3_backup_finish(backup);
    if (rc == SQLITE_DONE)
        return {};
    const QString why = QString::fromUtf8(sqlite3_errstr(rc));
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        return ArchiveFailure{ArchiveError::Busy, why};
    return ArchiveFailure{ArchiveError::WriteFailed, why};
}

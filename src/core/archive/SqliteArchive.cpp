// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/SqliteArchive.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <atomic>

namespace
{

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

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
            d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
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
    QSqlDatabase d = db();
    QSqlQuery q(d);
    q.prepare(QStringLiteral("ATTACH DATABASE ? AS restored"));
    q.addBindValue(copy);
    if (!q.exec()) {
        const ArchiveFailure f = failure(ArchiveError::Unavailable, q.lastError());
        dropCopy();
        return f;
    }
    ArchiveResult<> done = beginWrite();
    for (const char *statement :
         {"DELETE FROM night_readings", "DELETE FROM night", "INSERT INTO night SELECT * FROM restored.night",
          "INSERT INTO night_readings SELECT * FROM restored.night_readings"}) {
        if (done && !q.exec(QString::fromLatin1(statement)))
            done = failure(ArchiveError::WriteFailed, q.lastError());
    }
    if (done && !d.commit())
        done = failure(ArchiveError::WriteFailed, d.lastError());
    if (!done)
        d.rollback();
    q.exec(QStringLiteral("DETACH DATABASE restored"));
    q.finish();
    dropCopy();
    return done;
}

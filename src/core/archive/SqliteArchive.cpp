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

// The file holds patient details: it is created for its owner only, before
// SQLite creates it with the process's umask.
bool createPrivateFile(const QString &path, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly) || !f.setPermissions(kOwnerOnly)) {
        if (error)
            *error = QStringLiteral("cannot create %1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
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

SqliteArchive::Opened SqliteArchive::open(const QString &path, int targetVersion)
{
    Opened r;
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        r.error = QStringLiteral("cannot create the folder of %1").arg(path);
        return r;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!QFile::exists(path) && !createPrivateFile(path, &r.error))
            return r;
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
        const Health health = a->health(&r.error);
        if (health == Health::Unreadable)
            return r;
        if (health == Health::Damaged) {
            a.reset();
            if (attempt > 0) {
                r.error = QStringLiteral("the new archive %1 is damaged at once; is the disk failing?").arg(path);
                return r;
            }
            const QString kept = path + QStringLiteral(".damaged-") +
                                 QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
            if (!putAside(path, kept)) {
                r.error = QStringLiteral("the archive %1 is damaged and cannot be moved aside; move it away "
                                         "and start again")
                              .arg(path);
                return r;
            }
            r.damagedKeptAs = kept;
            continue;
        }

        QString error;
        const int version = a->schemaVersion(&error);
        if (version < 0) {
            r.error = QStringLiteral("cannot read the archive %1: %2").arg(path, error);
            return r;
        }
        if (version > kSchemaVersion) {
            r.error = QStringLiteral("the archive %1 was made by a newer Quellix (archive version %2; this one "
                                     "reads up to %3). It was left unchanged: use the newer Quellix, or "
                                     "--archive FILE for another archive.")
                          .arg(path)
                          .arg(version)
                          .arg(kSchemaVersion);
            return r;
        }
        // WAL lets readers go on while one program writes; a read-only file
        // keeps its journal mode and refuses writes later, with their message.
        {
            QSqlQuery q(a->db());
            q.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
            q.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
        }
        if (!a->migrate(targetVersion, &error)) {
            r.error = QStringLiteral("cannot bring the archive %1 up to date: %2").arg(path, error);
            return r;
        }
        if (targetVersion == kSchemaVersion && a->refreshSummaries(&error) < 0) {
            r.error = QStringLiteral("cannot update the summaries of %1: %2").arg(path, error);
            return r;
        }
        r.archive = std::move(a);
        return r;
    }
    return r;
}

SqliteArchive::Health SqliteArchive::health(QString *error)
{
    QSqlDatabase d = db();
    if (!d.isOpen()) {
        *error = QStringLiteral("cannot open the archive %1: %2").arg(path_, d.lastError().text());
        return Health::Unreadable;
    }
    QSqlQuery q(d);
    if (!q.exec(QStringLiteral("PRAGMA quick_check"))) {
        if (isDamage(q.lastError()))
            return Health::Damaged;
        // Busy or unreadable is not damage: the file is left alone.
        *error = QStringLiteral("cannot read the archive %1: %2").arg(path_, q.lastError().text());
        return Health::Unreadable;
    }
    return q.next() && q.value(0).toString() == QLatin1String("ok") ? Health::Sound : Health::Damaged;
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

bool SqliteArchive::beginWrite(QString *error)
{
    // BEGIN IMMEDIATE waits (busy timeout) for the write lock up front.
    QSqlQuery q(db());
    if (q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

bool SqliteArchive::checkpoint()
{
    QSqlQuery q(db());
    return q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

bool SqliteArchive::backupTo(const QString &path, QString *error)
{
    if (QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("%1 exists already; name a new file").arg(path);
        return false;
    }
    // VACUUM INTO writes a consistent copy even while others write, into an
    // empty file that already has the owner-only mode.
    if (!createPrivateFile(path, error))
        return false;
    QSqlQuery q(db());
    q.prepare(QStringLiteral("VACUUM INTO ?"));
    q.addBindValue(path);
    if (!q.exec()) {
        if (error)
            *error = QStringLiteral("cannot copy the archive to %1: %2").arg(path, q.lastError().text());
        QFile::remove(path);
        return false;
    }
    return true;
}

bool SqliteArchive::restoreFrom(const QString &in, QString *error)
{
    const auto refuse = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!QFileInfo(in).isFile() || QFileInfo(in).size() == 0)
        return refuse(QStringLiteral("%1 is not an archive; nothing was changed").arg(in));

    // Everything is checked on a copy, so that neither in nor the archive
    // changes before the copy has proved sound.
    const QString copy = path_ + QStringLiteral(".restoring");
    const auto dropCopy = [&copy] {
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(copy + QLatin1String(suffix));
    };
    dropCopy();
    if (!QFile::copy(in, copy) || !QFile::setPermissions(copy, kOwnerOnly)) {
        dropCopy();
        return refuse(QStringLiteral("cannot copy %1 beside the archive; nothing was changed").arg(in));
    }
    {
        Opened probe = open(copy, 0);
        const bool isArchive = probe.archive && probe.damagedKeptAs.isEmpty() && probe.archive->schemaVersion() >= 1;
        probe.archive.reset();
        if (!isArchive) {
            dropCopy();
            for (const QString &f : QDir(QFileInfo(copy).absolutePath())
                                        .entryList({QFileInfo(copy).fileName() + QStringLiteral(".damaged-*")}))
                QFile::remove(QFileInfo(copy).absolutePath() + QLatin1Char('/') + f);
            return refuse(probe.error.isEmpty()
                              ? QStringLiteral("%1 is not a sound Quellix archive; nothing was changed").arg(in)
                              : probe.error + QStringLiteral("; nothing was changed"));
        }
        Opened checked = open(copy);
        const QStringList faults = checked.archive ? checked.archive->check() : QStringList{checked.error};
        checked.archive.reset();
        if (!faults.isEmpty()) {
            dropCopy();
            return refuse(QStringLiteral("%1 fails the check (%2); nothing was changed").arg(in, faults.first()));
        }
    }

    const QString before = path_ + QStringLiteral(".before-restore");
    QFile::remove(before);
    QString why;
    if (!backupTo(before, &why)) {
        dropCopy();
        return refuse(why + QStringLiteral("; nothing was changed"));
    }

    QSqlDatabase d = db();
    QSqlQuery q(d);
    q.prepare(QStringLiteral("ATTACH DATABASE ? AS restored"));
    q.addBindValue(copy);
    if (!q.exec()) {
        dropCopy();
        return refuse(QStringLiteral("cannot read the copy of %1: %2").arg(in, q.lastError().text()));
    }
    bool ok = beginWrite(&why);
    for (const char *statement :
         {"DELETE FROM night_readings", "DELETE FROM night", "INSERT INTO night SELECT * FROM restored.night",
          "INSERT INTO night_readings SELECT * FROM restored.night_readings"})
        ok = ok && q.exec(QString::fromLatin1(statement));
    if (ok)
        ok = d.commit();
    if (!ok) {
        if (q.lastError().isValid())
            why = q.lastError().text();
        d.rollback();
    }
    q.exec(QStringLiteral("DETACH DATABASE restored"));
    q.finish();
    dropCopy();
    if (!ok)
        return refuse(QStringLiteral("cannot restore from %1: %2; the archive is unchanged").arg(in, why));
    return true;
}

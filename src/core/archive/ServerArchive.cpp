// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/ServerArchive.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <libpq-fe.h>

#include <atomic>

namespace
{

// The channel every desk listens on.
const QString kChannel = QStringLiteral("quellix_archive");

// Held by the desk that migrates, for the length of each step's transaction.
constexpr qint64 kMigrationLock = 0x517565'6c6c6978; // "Quellix"

// Added where the connection string says nothing of them: a server that is
// away is noticed within seconds, never as a hang.
const std::vector<std::pair<const char *, const char *>> kDefaults = {
    {"connect_timeout", "10"},
    {"keepalives_idle", "30"},
    {"keepalives_interval", "10"},
    {"keepalives_count", "3"},
};
const QString kStatementTimeout = QStringLiteral("60s");

// SQLSTATEs of a write that collided with another connection's: the same
// night stored at once, a deadlock, a serialization failure. Storing again
// finds the other's night.
bool isRace(const QString &state)
{
    return state == QLatin1String("23505") || state == QLatin1String("40P01") || state == QLatin1String("40001");
}

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("quellix-server-%1").arg(++counter);
}

// A value as a key=value connection string takes it.
QString quoted(const QString &value)
{
    QString v = value;
    v.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QStringLiteral("'%1'").arg(v);
}

} // namespace

ServerArchive::ServerArchive(QString connectionName)
    : SqlArchive(std::move(connectionName)), changes_(std::make_unique<ArchiveChanges>())
{
}

ArchiveResult<QString> ServerArchive::connectOptions(const QString &connection)
{
    // libpq itself reads the string (key=value or URI), so that what is
    // checked here is what it will connect with.
    char *why = nullptr;
    PQconninfoOption *parsed = PQconninfoParse(connection.toUtf8().constData(), &why);
    if (!parsed) {
        const QString detail = why ? QString::fromUtf8(why).trimmed() : QStringLiteral("out of memory");
        PQfreemem(why);
        return ArchiveFailure{ArchiveError::Unavailable, detail};
    }
    QStringList options;
    QStringList given;
    bool password = false;
    bool semicolon = false;
    for (const PQconninfoOption *o = parsed; o->keyword; ++o) {
        if (!o->val)
            continue;
        const QString key = QString::fromUtf8(o->keyword);
        const QString value = QString::fromUtf8(o->val);
        password = password || (key == QLatin1String("password") && !value.isEmpty());
        // The driver turns every ';' of its options into a space.
        semicolon = semicolon || value.contains(QLatin1Char(';'));
        given << key;
        options << key + QLatin1Char('=') + quoted(value);
    }
    PQconninfoFree(parsed);
    if (password)
        return ArchiveFailure{ArchiveError::PasswordInConnection, {}};
    if (semicolon)
        return ArchiveFailure{ArchiveError::Unavailable, QStringLiteral("';' in the connection string")};
    for (const auto &[key, value] : kDefaults)
        if (!given.contains(QLatin1String(key)))
            options << QLatin1String(key) + QLatin1Char('=') + quoted(QLatin1String(value));
    return options.join(QLatin1Char(' '));
}

ArchiveResult<std::unique_ptr<ServerArchive>> ServerArchive::open(const QString &connection, const QString &password)
{
    const ArchiveResult<QString> options = connectOptions(connection);
    if (!options)
        return options.failure();
    const QString name = nextConnectionName();
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        // No host, port or database name of the driver's own: the options
        // alone make the string libpq gets.
        d.setConnectOptions(options.value());
        d.setPassword(password);
        d.open();
    }
    std::unique_ptr<ServerArchive> a(new ServerArchive(name));
    if (auto prepared = a->prepare(); !prepared)
        return prepared.failure();
    return a;
}

ArchiveResult<> ServerArchive::prepare()
{
    QSqlDatabase d = db();
    if (!d.isOpen())
        return ArchiveFailure{ArchiveError::Unavailable, d.lastError().text().trimmed()};
    QSqlQuery q(d);
    // Where neither the string, the role nor the database set one.
    if (!q.exec(QStringLiteral("SHOW statement_timeout")) || !q.next())
        return failure(ArchiveError::Unavailable, q.lastError());
    if (q.value(0).toString() == QLatin1String("0") &&
        !q.exec(QStringLiteral("SET statement_timeout = '%1'").arg(kStatementTimeout)))
        return failure(ArchiveError::Unavailable, q.lastError());

    const auto newer = [this]() -> std::optional<ArchiveFailure> {
        const ArchiveResult<int> version = schemaVersion();
        if (!version)
            return version.failure();
        if (version.value() > kSchemaVersion)
            return ArchiveFailure{ArchiveError::Newer, QString::number(version.value())};
        return std::nullopt;
    };
    if (auto refused = newer())
        return *refused;
    migrating_ = true;
    ArchiveResult<> migrated = migrate(kSchemaVersion);
    migrating_ = false;
    if (!migrated)
        return migrated;
    // Another desk may have gone further while we waited for the lock.
    if (auto refused = newer())
        return *refused;

    if (!q.exec(QStringLiteral("SELECT has_table_privilege(current_user, 'night', 'INSERT')"
                               " AND has_table_privilege(current_user, 'night', 'DELETE')"
                               " AND has_table_privilege(current_user, 'night_number', 'UPDATE')")) ||
        !q.next())
        return failure(ArchiveError::Unavailable, q.lastError());
    readOnly_ = !q.value(0).toBool();
    q.finish();

    QSqlDriver *driver = d.driver();
    if (driver->hasFeature(QSqlDriver::EventNotifications) && driver->subscribeToNotification(kChannel)) {
        QObject::connect(driver, &QSqlDriver::notification, changes_.get(),
                         [changes = changes_.get()](const QString &channel, QSqlDriver::NotificationSource source,
                                                    const QVariant &) {
                             if (channel == kChannel && source != QSqlDriver::SelfSource)
                                 Q_EMIT changes->changedElsewhere();
                         });
    }
    return {};
}

void ServerArchive::announce()
{
    // After the commit, so that a desk that hears it finds the change. A
    // notification lost with the connection costs only a late refresh.
    QSqlQuery q(db());
    q.exec(QStringLiteral("NOTIFY %1").arg(kChannel));
}

ArchiveResult<StoreCounts> ServerArchive::store(const std::vector<NightInput> &nights)
{
    if (readOnly_)
        return ArchiveFailure{ArchiveError::ReadOnly, {}};
    // A batch that collided with another desk's write was rolled back as a
    // whole; stored again it finds the other's nights and counts them present.
    for (int attempt = 0;; ++attempt) {
        raced_ = false;
        ArchiveResult<StoreCounts> stored = SqlArchive::store(nights);
        if (stored) {
            if (stored.value().added > 0)
                announce();
            return stored;
        }
        if (!raced_ || attempt == 4)
            return stored;
    }
}

ArchiveResult<> ServerArchive::remove(qint64 number)
{
    if (readOnly_)
        return ArchiveFailure{ArchiveError::ReadOnly, {}};
    ArchiveResult<> done = SqlArchive::remove(number);
    if (done)
        announce();
    return done;
}

ArchiveResult<> ServerArchive::setPatient(qint64 number, const PatientRecord &patient, const QString &changedAt)
{
    if (readOnly_)
        return ArchiveFailure{ArchiveError::ReadOnly, {}};
    ArchiveResult<> done = SqlArchive::setPatient(number, patient, changedAt);
    if (done)
        announce();
    return done;
}

ArchiveResult<> ServerArchive::setMarks(qint64 number, const std::vector<ReadingSpan> &spans, const QString &changedAt)
{
    if (readOnly_)
        return ArchiveFailure{ArchiveError::ReadOnly, {}};
    ArchiveResult<> done = SqlArchive::setMarks(number, spans, changedAt);
    if (done)
        announce();
    return done;
}

ArchiveResult<> ServerArchive::forget(const QByteArray &readingsHash, const QString &at)
{
    if (readOnly_)
        return ArchiveFailure{ArchiveError::ReadOnly, {}};
    ArchiveResult<> done = SqlArchive::forget(readingsHash, at);
    if (done)
        announce();
    return done;
}

ArchiveResult<> ServerArchive::backupTo(const QString & /*path*/)
{
    return ArchiveFailure{ArchiveError::BackupOnServer, {}};
}

ArchiveResult<> ServerArchive::beginWrite()
{
    if (auto begun = SqlArchive::beginWrite(); !begun)
        return begun;
    if (!migrating_)
        return {};
    // Two desks starting at once: the second waits here, then reads the
    // version the first left and finds nothing to do.
    QSqlQuery q(db());
    q.prepare(QStringLiteral("SELECT pg_advisory_xact_lock(?)"));
    q.addBindValue(kMigrationLock);
    if (!q.exec()) {
        const ArchiveFailure f = failure(ArchiveError::WriteFailed, q.lastError());
        db().rollback();
        return f;
    }
    return {};
}

ArchiveFailure ServerArchive::failure(ArchiveError fallback, const QSqlError &error) const
{
    const QString state = error.nativeErrorCode();
    raced_ = raced_ || isRace(state);
    if (state == QLatin1String("42501")) // insufficient_privilege
        return {ArchiveError::ReadOnly, error.text().trimmed()};
    return {fallback, error.text().trimmed()};
}

QString ServerArchive::spelt(const QString &statement) const
{
    // SQLite's INTEGER and REAL are eight bytes wide; its BLOB is BYTEA here.
    static const QRegularExpression integer(QStringLiteral("\\bINTEGER\\b"));
    static const QRegularExpression real(QStringLiteral("\\bREAL\\b"));
    static const QRegularExpression blob(QStringLiteral("\\bBLOB\\b"));
    QString s = statement;
    return s.replace(integer, QStringLiteral("BIGINT"))
        .replace(real, QStringLiteral("DOUBLE PRECISION"))
        .replace(blob, QStringLiteral("BYTEA"));
}

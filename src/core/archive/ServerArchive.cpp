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
// away is noticed within about a minute, never as a hang.
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
    if (!a->db().isOpen() && needsPassword(options.value(), password))
        return ArchiveFailure{ArchiveError::PasswordNeeded, a->db().lastError().text().trimmed()};
    if (auto prepared = a->prepare(); !prepared)
        return prepared.failure();
    return a;
}

bool ServerArchive::needsPassword(const QString &options, const QString &password)
{
    // The driver drops a connection that failed; libpq's own tells whether
    // it failed for want of a password, in any language.
    QString conninfo = options;
    if (!password.isEmpty())
        conninfo += QStringLiteral(" password=") + quoted(password);
    PGconn *probe = PQconnectdb(conninfo.toUtf8().constData());
    const bool needs = PQstatus(probe) != CONNECTION_OK && PQconnectionNeedsPassword(probe) != 0;
    PQfinish(probe);
    return needs;
}

ArchiveResult<> ServerArchive::startSession()
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
    QSqlDriver *driver = d.driver();
    if (driver->hasFeature(QSqlDriver::EventNotifications))
        driver->subscribeToNotification(kChannel);
    return {};
}

std::optional<ArchiveFailure> ServerArchive::newerSchema()
{
    const ArchiveResult<int> version = schemaVersion();
    if (!version)
        return version.failure();
    if (version.value() > kSchemaVersion)
        return ArchiveFailure{ArchiveError::Newer, QString::number(version.value())};
    return std::nullopt;
}

bool ServerArchive::connectionLost() const
{
    const QSqlDatabase d = db();
    if (lost_ || !d.isOpen())
        return true;
    const QVariant handle = d.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "PGconn*") != 0)
        return false;
    const PGconn *connection = *static_cast<PGconn *const *>(handle.constData());
    return !connection || PQstatus(connection) != CONNECTION_OK;
}

ArchiveResult<> ServerArchive::reconnectIfLost()
{
    if (!connectionLost())
        return {};
    lost_ = false;
    forgetListing();
    QSqlDatabase d = db();
    d.close();
    // The kept statements were prepared on the old connection: let go once
    // it is closed, they touch nothing on the new one.
    forgetStatements();
    d.open();
    if (auto started = startSession(); !started)
        return started;
    // Another desk may have brought a newer Quellix meanwhile.
    if (auto refused = newerSchema())
        return *refused;
    // What other desks did meanwhile went unheard.
    Q_EMIT changes_->changedElsewhere();
    return {};
}

template <typename Read> auto ServerArchive::reading(const Read &read) -> decltype(read())
{
    if (auto up = reconnectIfLost(); !up)
        return up.failure();
    auto done = read();
    // A read is safe to repeat once on a new connection: the server may have
    // restarted since the last call.
    if (!done && connectionLost())
        if (auto up = reconnectIfLost(); up)
            done = read();
    return done;
}

ArchiveResult<NightList> ServerArchive::list(const ArchiveFilter &filter)
{
    return reading([&] { return SqlArchive::list(filter); });
}

ArchiveResult<StoredNight> ServerArchive::night(qint64 number)
{
    return reading([&] { return SqlArchive::night(number); });
}

ArchiveResult<std::vector<ReadingSpan>> ServerArchive::marks(qint64 number)
{
    return reading([&] { return SqlArchive::marks(number); });
}

QStringList ServerArchive::check()
{
    if (auto up = reconnectIfLost(); !up)
        return {QStringLiteral("cannot reach the server: %1").arg(up.detail())};
    return SqlArchive::check();
}

ArchiveResult<> ServerArchive::prepare()
{
    if (auto started = startSession(); !started)
        return started;
    QSqlDatabase d = db();
    QSqlQuery q(d);
    if (auto refused = newerSchema())
        return *refused;
    migrating_ = true;
    ArchiveResult<> migrated = migrate(kSchemaVersion);
    migrating_ = false;
    if (!migrated)
        return migrated;
    // Another desk may have gone further while we waited for the lock.
    if (auto refused = newerSchema())
        return *refused;

    if (!q.exec(QStringLiteral("SELECT has_table_privilege(current_user, 'night', 'INSERT')"
                               " AND has_table_privilege(current_user, 'night', 'DELETE')"
                               " AND has_table_privilege(current_user, 'night_number', 'UPDATE')")) ||
        !q.next())
        return failure(ArchiveError::Unavailable, q.lastError());
    readOnly_ = !q.value(0).toBool();
    q.finish();

    QObject::connect(
        d.driver(), &QSqlDriver::notification, changes_.get(),
        [changes = changes_.get()](const QString &channel, QSqlDriver::NotificationSource source, const QVariant &) {
            if (channel == kChannel && source != QSqlDriver::SelfSource)
                Q_EMIT changes->changedElsewhere();
        });
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
    if (auto up = reconnectIfLost(); !up)
        return up.failure();
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
    if (auto up = reconnectIfLost(); !up)
        return up.failure();
    ArchiveResult<> done = SqlArchive::remove(number);
    if (done)
        announce();
    return done;
}

ArchiveResult<> ServerArchive::setPatient(qint64 number, const PatientRecord &patient, const QString &changedAt)
{
    if (readOnly_)
        return ArchiveFailure{ArchiveError::ReadOnly, {}};
    if (auto up = reconnectIfLost(); !up)
        return up.failure();
    ArchiveResult<> done = SqlArchive::setPatient(number, patient, changedAt);
    if (done)
        announce();
    return done;
}

ArchiveResult<> ServerArchive::setMarks(qint64 number, const std::vector<ReadingSpan> &spans, const QString &changedAt)
{
    if (readOnly_)
        return ArchiveFailure{ArchiveError::ReadOnly, {}};
    if (auto up = reconnectIfLost(); !up)
        return up.failure();
    ArchiveResult<> done = SqlArchive::setMarks(number, spans, changedAt);
    if (done)
        announce();
    return done;
}

ArchiveResult<> ServerArchive::forget(const QByteArray &readingsHash, const QString &at)
{
    if (readOnly_)
        return ArchiveFailure{ArchiveError::ReadOnly, {}};
    if (auto up = reconnectIfLost(); !up)
        return up.failure();
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
    // Connection exceptions, and the server shutting down: libpq may not
    // have noticed yet that the connection is gone.
    lost_ = lost_ || state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P"));
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

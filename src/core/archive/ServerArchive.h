// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/SqlArchive.h"

#include <QObject>

#include <memory>

// Tells that another connection (another desk) stored, removed or changed
// nights in the server's archive. Delivered by the event loop of the thread
// that opened the archive, which is the thread that must use it.
class ArchiveChanges : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
Q_SIGNALS:
    void changedElsewhere();
};

// The clinic's shared archive on a PostgreSQL server, reached through Qt's
// QPSQL driver. The schema and its migrations are the local archive's; what
// differs is the server's: the connection, the column types, the advisory
// lock that lets one desk migrate at a time, the roles that may only read,
// two desks storing the same night at once, and notifications.
class ServerArchive : public SqlArchive
{
public:
    // Connects with a libpq connection string ("host=... dbname=...", a
    // "postgresql://" URI or "service=..."), given to libpq as it is, with a
    // connect timeout, TCP keepalives and a statement timeout added where it
    // sets none. A string holding a password is refused
    // (PasswordInConnection): it would end up in the settings; libpq reads
    // ~/.pgpass, or the caller asks and passes password for this session only
    // (PasswordNeeded: the server asked for one and none was given).
    // Brings the schema up to date unless the server's is newer (Newer, left
    // as it is).
    static ArchiveResult<std::unique_ptr<ServerArchive>> open(const QString &connection,
                                                              const QString &password = QString());

    // The options the driver hands libpq for connection, or why it is refused.
    static ArchiveResult<QString> connectOptions(const QString &connection);

    // True when the role may read the nights but not store them; every
    // change is then refused with ReadOnly without asking the server.
    bool readOnly() const { return readOnly_; }
    // Signals changes made elsewhere; lives as long as the archive.
    ArchiveChanges *changes() const { return changes_.get(); }

    // A call after the connection was lost (a server restarted, a network
    // away) connects again first, and tells changes() since nothing was
    // heard meanwhile; a read that fails on a connection just lost is tried
    // once more. A write is never repeated.
    ArchiveResult<NightList> list(const ArchiveFilter &filter) override;
    ArchiveResult<StoredNight> night(qint64 number) override;
    ArchiveResult<std::vector<ReadingSpan>> marks(qint64 number) override;
    QStringList check() override;
    // Two desks storing the same night at once store it once: the one that
    // loses the race counts it as present.
    ArchiveResult<StoreCounts> store(const std::vector<NightInput> &nights) override;
    ArchiveResult<> remove(qint64 number) override;
    ArchiveResult<> setPatient(qint64 number, const PatientRecord &patient, const QString &changedAt = {}) override;
    ArchiveResult<> setMarks(qint64 number, const std::vector<ReadingSpan> &spans,
                             const QString &changedAt = {}) override;
    ArchiveResult<> forget(const QByteArray &readingsHash, const QString &at) override;
    // Refused with BackupOnServer: the server's own tools copy it consistently.
    ArchiveResult<> backupTo(const QString &path) override;

protected:
    ArchiveResult<> beginWrite() override;
    ArchiveFailure failure(ArchiveError fallback, const QSqlError &error) const override;
    QString spelt(const QString &statement) const override;

private:
    explicit ServerArchive(QString connectionName);
    // True when a failed connection failed because the server asked for a password none gave.
    static bool needsPassword(const QString &options, const QString &password);
    ArchiveResult<> prepare();
    // The connection's own settings and subscription, again after each reconnection.
    ArchiveResult<> startSession();
    std::optional<ArchiveFailure> newerSchema();
    bool connectionLost() const;
    ArchiveResult<> reconnectIfLost();
    template <typename Read> auto reading(const Read &read) -> decltype(read());
    // Tells the other connections after a change of ours.
    void announce();

    bool readOnly_ = false;
    bool migrating_ = false;     // writes take the migration lock
    mutable bool raced_ = false; // the last failure was another connection's conflicting write
    mutable bool lost_ = false;  // a failure said the connection is gone
    std::unique_ptr<ArchiveChanges> changes_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/SqliteArchive.h"

#include <QDateTime>
#include <QHash>

#include <functional>
#include <memory>
#include <optional>

class ServerArchive;

// This computer's archive and, when there is one, the clinic's server, as one
// archive. Every change is written here first and queued in the same
// transaction, then sent; when the server cannot be reached or refuses, it
// stays queued until sync(). Nights are matched across the two by their
// readings' hash, since each archive numbers its own.
//
// Listing and reading come from the server while it is connected (every
// desk's nights) and from this computer otherwise. The numbers never name
// two nights: the server's are positive, and this computer's are shown
// negated while a server is in use (as they are without one). A night the
// server listed is still edited by its number once the server is gone: the
// edit reaches this computer's copy by its hash and waits there.
//
// Plain and blocking: every call may wait on the server, so callers keep the
// object on a worker thread (see BackgroundJob) and the server's connection
// carries its own timeouts.
class ClinicArchive : public Archive
{
public:
    // Opens the server's archive; called again after a failure by sync().
    using Connect = std::function<ArchiveResult<std::unique_ptr<Archive>>()>;
    using Clock = std::function<QDateTime()>;

    enum class Source { ThisComputer, Server };

    struct SyncCounts {
        int nights = 0;                        // nights sent
        int changes = 0;                       // details and marks sent
        int removals = 0;                      // removals sent
        int dropped = 0;                       // nights not sent: removed at another desk since they were stored here
        int refused = 0;                       // changes the server refused; they stay queued
        std::optional<ArchiveFailure> refusal; // the last refusal's reason
    };

    struct Opened {
        std::unique_ptr<ClinicArchive> archive;
        QString damagedKeptAs; // see SqliteArchive::open()
    };
    // This computer's archive at localPath and, unless server is empty, the
    // clinic's server through that connection string (password: for this
    // session only). The server is reached at the first use, not here; never
    // when reach is false, and then every change waits for another's sync.
    static ArchiveResult<Opened> open(const QString &localPath, const QString &server,
                                      const QString &password = QString(), bool reach = true);

    // connect empty: this computer only, and nothing is queued.
    ClinicArchive(std::unique_ptr<SqliteArchive> local, Connect connect, Clock clock = {});
    ~ClinicArchive() override;
    ClinicArchive(const ClinicArchive &) = delete;
    ClinicArchive &operator=(const ClinicArchive &) = delete;

    bool usesServer() const { return bool(connect_); }
    // The server is connected (it was reached and has not failed since).
    bool onServer() const { return server_ != nullptr; }
    // Where the last listing came from.
    Source source() const { return source_; }
    // Why the server was last found away, when it was.
    const std::optional<ArchiveFailure> &serverFailure() const { return serverFailure_; }

    // Connects when not connected. False when the server cannot be reached.
    bool connectServer();
    // Sends what is queued (nights, then edits by their time, then removals),
    // connecting first. Unavailable when the server is away; refusals are
    // counted and stay queued.
    ArchiveResult<SyncCounts> sync();
    ArchiveResult<int> pendingNights();

    SqliteArchive &local() { return *local_; }
    // The server's archive while connected through open(); null otherwise.
    ServerArchive *serverArchive() const;

    // Numbers in counts.nights are the server's where it has the night.
    ArchiveResult<StoreCounts> store(const std::vector<NightInput> &nights) override;
    ArchiveResult<NightList> list(const ArchiveFilter &filter) override;
    ArchiveResult<StoredNight> night(qint64 number) override;
    ArchiveResult<> remove(qint64 number) override;
    ArchiveResult<> setPatient(qint64 number, const PatientRecord &patient, const QString &changedAt = {}) override;
    ArchiveResult<> setMarks(qint64 number, const std::vector<ReadingSpan> &spans,
                             const QString &changedAt = {}) override;
    ArchiveResult<std::vector<ReadingSpan>> marks(qint64 number) override;
    ArchiveResult<qint64> find(const QByteArray &readingsHash) override;
    ArchiveResult<> forget(const QByteArray &readingsHash, const QString &at) override;
    ArchiveResult<QString> removedAt(const QByteArray &readingsHash) override;
    // This computer's archive.
    QStringList check() override;
    ArchiveResult<> backupTo(const QString &path) override;

private:
    // Connects on the first call.
    void firstUse();
    // A local number as handed out.
    qint64 shown(qint64 localNumber) const;
    struct Numbered {
        Archive *archive = nullptr;
        qint64 number = 0; // in that archive
        bool server = false;
    };
    // The archive a number handed out names; a failure for the server's while it is gone.
    ArchiveResult<Numbered> numbered(qint64 number);
    // Where the night of number (in source()'s numbers) is here, if it is.
    ArchiveResult<QByteArray> hashOf(qint64 number);
    std::optional<qint64> localNumber(const QByteArray &hash);
    // Notes a failure of the server: drops the connection when it went away.
    ArchiveFailure serverFailed(const ArchiveFailure &failure);
    QString now() const;
    // Sends one queued change, leaving the queue as it is.
    ArchiveResult<> send(const SqlArchive::PendingChange &change, SyncCounts &counts);
    ArchiveResult<> sendNight(qint64 localNumber, const QByteArray &hash);
    // Takes a sent change off the queue.
    void settled(const SqlArchive::PendingChange &change);
    // Tries to send the queued change at once, leaving it queued on failure.
    // A refusal is told; the server gone away is not (the change waits).
    ArchiveResult<> sendNow(const QByteArray &hash, SqlArchive::PendingKind kind, const QString &at);
    // An edit of night number: here first, by its hash, then sent; on the
    // server alone for a night this computer lacks.
    ArchiveResult<> edit(qint64 number, SqlArchive::PendingKind kind, const QString &changedAt,
                         const std::function<ArchiveResult<>(Archive &, qint64, const QString &)> &write);

    std::unique_ptr<SqliteArchive> local_;
    Connect connect_;
    Clock clock_;
    std::unique_ptr<Archive> server_;
    std::optional<ArchiveFailure> serverFailure_;
    bool triedServer_ = false;
    Source source_ = Source::ThisComputer;
    // Numbers handed out by listings, and their nights' hashes.
    QHash<qint64, QByteArray> listed_;
};

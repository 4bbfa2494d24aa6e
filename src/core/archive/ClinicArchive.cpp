// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/ClinicArchive.h"

#include "archive/ReadingCodec.h"
#include "archive/ServerArchive.h"

#include <algorithm>

namespace
{

using Kind = SqlArchive::PendingKind;

// Before any edit: a night sent without an edit of its own loses to every edit.
const QString &neverChanged()
{
    static const QString t = QStringLiteral("1970-01-01T00:00:00.000Z");
    return t;
}

QDateTime timeOf(const QString &text)
{
    return QDateTime::fromString(text, Qt::ISODateWithMs);
}

NightInput inputOf(const StoredNight &n)
{
    NightInput in;
    in.readings = n.readings;
    in.patient = n.patient;
    in.title = n.info.title;
    in.source = n.info.source;
    in.sourceName = n.info.sourceName;
    in.partial = n.info.partial;
    in.intervalSeconds = n.info.intervalSeconds;
    return in;
}

} // namespace

ArchiveResult<ClinicArchive::Opened> ClinicArchive::open(const QString &localPath, const QString &server,
                                                         const QString &password, bool reach)
{
    ArchiveResult<SqliteArchive::Opened> here = SqliteArchive::open(localPath);
    if (!here)
        return here.failure();
    Connect connect;
    if (!server.isEmpty() && !reach)
        connect = []() -> ArchiveResult<std::unique_ptr<Archive>> {
            return ArchiveFailure{ArchiveError::Unavailable, QStringLiteral("sent at the next sync")};
        };
    else if (!server.isEmpty())
        connect = [server, password]() -> ArchiveResult<std::unique_ptr<Archive>> {
            ArchiveResult<std::unique_ptr<ServerArchive>> there = ServerArchive::open(server, password);
            if (!there)
                return there.failure();
            return std::unique_ptr<Archive>(std::move(there.value()));
        };
    return Opened{std::make_unique<ClinicArchive>(std::move(here.value().archive), std::move(connect)),
                  here.value().damagedKeptAs};
}

ServerArchive *ClinicArchive::serverArchive() const
{
    return dynamic_cast<ServerArchive *>(server_.get());
}

ClinicArchive::ClinicArchive(std::unique_ptr<SqliteArchive> local, Connect connect, Clock clock)
    : local_(std::move(local)), connect_(std::move(connect)), clock_(std::move(clock))
{
    local_->keepPendingChanges(usesServer());
}

ClinicArchive::~ClinicArchive() = default;

QString ClinicArchive::now() const
{
    const QDateTime t = clock_ ? clock_() : QDateTime::currentDateTimeUtc();
    return t.toUTC().toString(Qt::ISODateWithMs);
}

bool ClinicArchive::connectServer()
{
    if (server_)
        return true;
    if (!connect_)
        return false;
    triedServer_ = true;
    ArchiveResult<std::unique_ptr<Archive>> opened = connect_();
    if (!opened) {
        serverFailure_ = opened.failure();
        return false;
    }
    server_ = std::move(opened.value());
    serverFailure_.reset();
    return true;
}

ArchiveFailure ClinicArchive::serverFailed(const ArchiveFailure &failure)
{
    // A refusal leaves the server answering; a server gone away does not.
    if (failure.error == ArchiveError::NotFound || !server_ || server_->removedAt(QByteArray()))
        return failure;
    server_.reset();
    serverFailure_ = failure;
    return failure;
}

void ClinicArchive::firstUse()
{
    if (!triedServer_)
        connectServer();
}

qint64 ClinicArchive::shown(qint64 localNumber) const
{
    return usesServer() ? -localNumber : localNumber;
}

ArchiveResult<ClinicArchive::Numbered> ClinicArchive::numbered(qint64 number)
{
    if (!usesServer() || number < 0)
        return Numbered{local_.get(), usesServer() ? -number : number, false};
    firstUse();
    if (!server_)
        return ArchiveFailure{ArchiveError::Unavailable,
                              serverFailure_ ? serverFailure_->detail : QStringLiteral("the server went away")};
    return Numbered{server_.get(), number, true};
}

ArchiveResult<QByteArray> ClinicArchive::hashOf(qint64 number)
{
    if (const auto it = listed_.constFind(number); it != listed_.constEnd())
        return *it;
    const ArchiveResult<Numbered> where = numbered(number);
    if (!where)
        return where.failure();
    const ArchiveResult<NightList> all = where.value().archive->list({});
    if (!all)
        return where.value().server ? serverFailed(all.failure()) : all.failure();
    for (const NightInfo &n : all.value())
        listed_.insert(where.value().server ? n.night : shown(n.night), n.readingsHash);
    if (const auto it = listed_.constFind(number); it != listed_.constEnd())
        return *it;
    return ArchiveFailure{ArchiveError::NotFound, {}};
}

std::optional<qint64> ClinicArchive::localNumber(const QByteArray &hash)
{
    const ArchiveResult<qint64> n = local_->find(hash);
    return n ? std::optional<qint64>(n.value()) : std::nullopt;
}

void ClinicArchive::settled(const SqlArchive::PendingChange &change)
{
    // Left queued when this fails: sent again, it changes nothing there.
    static_cast<void>(local_->donePending(change));
}

ArchiveResult<int> ClinicArchive::pendingNights()
{
    return local_->pendingNights();
}

ArchiveResult<NightList> ClinicArchive::list(const ArchiveFilter &filter)
{
    firstUse();
    if (server_) {
        ArchiveResult<NightList> r = server_->list(filter);
        if (r) {
            source_ = Source::Server;
            for (const NightInfo &n : r.value())
                listed_.insert(n.night, n.readingsHash);
            return r;
        }
        const ArchiveFailure f = serverFailed(r.failure());
        if (server_)
            return f;
    }
    ArchiveResult<NightList> r = local_->list(filter);
    if (!r)
        return r;
    source_ = Source::ThisComputer;
    if (!usesServer())
        return r;
    NightList nights = r.value();
    for (NightInfo &n : nights) {
        n.night = shown(n.night);
        listed_.insert(n.night, n.readingsHash);
    }
    return nights;
}

ArchiveResult<StoredNight> ClinicArchive::night(qint64 number)
{
    const ArchiveResult<Numbered> where = numbered(number);
    if (!where)
        return where.failure();
    ArchiveResult<StoredNight> r = where.value().archive->night(where.value().number);
    if (!r && where.value().server)
        return serverFailed(r.failure());
    if (r)
        r.value().info.night = number;
    return r;
}

ArchiveResult<std::vector<ReadingSpan>> ClinicArchive::marks(qint64 number)
{
    const ArchiveResult<Numbered> where = numbered(number);
    if (!where)
        return where.failure();
    ArchiveResult<std::vector<ReadingSpan>> r = where.value().archive->marks(where.value().number);
    if (!r && where.value().server)
        return serverFailed(r.failure());
    return r;
}

ArchiveResult<StoreCounts> ClinicArchive::store(const std::vector<NightInput> &nights)
{
    firstUse();
    ArchiveResult<StoreCounts> stored = local_->store(nights);
    if (!stored || !usesServer())
        return stored;
    StoreCounts &counts = stored.value();
    std::vector<QByteArray> hashes;
    for (const NightInput &in : nights)
        if (!in.readings.empty())
            hashes.push_back(ReadingCodec::readingsHash(in.readings.data(), int(in.readings.size())));
    const ArchiveResult<std::vector<SqlArchive::PendingChange>> queued = local_->pendingChanges();
    for (const SqlArchive::PendingChange &c : queued ? queued.value() : std::vector<SqlArchive::PendingChange>{}) {
        if (!server_)
            break;
        if (c.kind != Kind::Night || std::find(hashes.begin(), hashes.end(), c.readingsHash) == hashes.end())
            continue;
        if (const std::optional<qint64> n = localNumber(c.readingsHash); n && sendNight(*n, c.readingsHash))
            settled(c);
    }
    // The server's number where it has the night; this computer's otherwise.
    for (std::size_t i = 0; i < counts.nights.size() && i < hashes.size(); ++i) {
        const ArchiveResult<qint64> there = server_ ? server_->find(hashes[i]) : ArchiveResult<qint64>{0};
        counts.nights[i] = there && there.value() > 0 ? there.value() : shown(counts.nights[i]);
    }
    return stored;
}

ArchiveResult<> ClinicArchive::sendNight(qint64 localNumber, const QByteArray &hash)
{
    ArchiveResult<StoredNight> n = local_->night(localNumber);
    if (!n)
        return n.failure();
    const StoredNight &night = n.value();
    const ArchiveResult<StoreCounts> sent = server_->store({inputOf(night)});
    if (!sent)
        return serverFailed(sent.failure());
    const ArchiveResult<qint64> there = server_->find(hash);
    if (!there) // kept as part of a longer night there: nothing more to send
        return there.error() == ArchiveError::NotFound ? ArchiveResult<>{} : serverFailed(there.failure());
    if (!night.info.patientChangedAt.isEmpty())
        if (auto done = server_->setPatient(there.value(), night.patient, night.info.patientChangedAt); !done)
            return serverFailed(done.failure());
    if (!night.marks.empty())
        if (auto done =
                server_->setMarks(there.value(), night.marks,
                                  night.info.marksChangedAt.isEmpty() ? neverChanged() : night.info.marksChangedAt);
            !done)
            return serverFailed(done.failure());
    return {};
}

ArchiveResult<> ClinicArchive::sendNow(const QByteArray &hash, SqlArchive::PendingKind kind, const QString &at)
{
    if (!server_)
        return {};
    SyncCounts ignored;
    const ArchiveResult<> sent = send({hash, kind, at}, ignored);
    if (sent)
        settled({hash, kind, at});
    // Kept and queued here either way; a refusal is told, a server gone away is not.
    return server_ ? sent : ArchiveResult<>{};
}

ArchiveResult<> ClinicArchive::send(const SqlArchive::PendingChange &change, SyncCounts &counts)
{
    const QByteArray &hash = change.readingsHash;
    if (change.kind == Kind::Removal) {
        if (auto done = server_->forget(hash, change.at); !done)
            return serverFailed(done.failure());
        ++counts.removals;
        return {};
    }
    const std::optional<qint64> here = localNumber(hash);
    if (!here) // removed here since: its removal follows
        return {};
    const ArchiveResult<QString> removed = server_->removedAt(hash);
    if (!removed)
        return serverFailed(removed.failure());

    if (change.kind == Kind::Night) {
        const ArchiveResult<StoredNight> n = local_->night(*here);
        if (!n)
            return n.failure();
        // Removed at another desk after it was stored here: the removal stands.
        if (!removed.value().isEmpty() &&
            QDateTime::fromString(n.value().info.archivedAt, Qt::ISODate) <= timeOf(removed.value())) {
            local_->keepPendingChanges(false);
            ArchiveResult<> gone = local_->forget(hash, removed.value());
            local_->keepPendingChanges(true);
            if (!gone)
                return gone;
            ++counts.dropped;
            return {};
        }
        if (auto sent = sendNight(*here, hash); !sent)
            return sent;
        ++counts.nights;
        return {};
    }

    ArchiveResult<qint64> there = server_->find(hash);
    if (!there && there.error() == ArchiveError::NotFound) {
        if (!removed.value().isEmpty())
            return {}; // removed at another desk: nothing to edit there
        // Never sent (kept here before the server was used): the night goes whole.
        if (auto sent = sendNight(*here, hash); !sent)
            return sent;
        ++counts.nights;
        there = server_->find(hash);
    }
    if (!there)
        return there.error() == ArchiveError::NotFound ? ArchiveResult<>{} : serverFailed(there.failure());
    if (change.kind == Kind::Patient) {
        const ArchiveResult<StoredNight> n = local_->night(*here);
        if (!n)
            return n.failure();
        if (auto done = server_->setPatient(there.value(), n.value().patient, change.at); !done)
            return serverFailed(done.failure());
    } else {
        const ArchiveResult<std::vector<ReadingSpan>> spans = local_->marks(*here);
        if (!spans)
            return spans.failure();
        if (auto done = server_->setMarks(there.value(), spans.value(), change.at); !done)
            return serverFailed(done.failure());
    }
    ++counts.changes;
    return {};
}

ArchiveResult<ClinicArchive::SyncCounts> ClinicArchive::sync()
{
    if (!connect_)
        return ArchiveFailure{ArchiveError::Unavailable, QStringLiteral("no clinic server is set")};
    // A connection lost since its last use is found here, not half-way.
    if (server_)
        if (const ArchiveResult<QString> alive = server_->removedAt(QByteArray()); !alive)
            serverFailed(alive.failure());
    if (!connectServer())
        return *serverFailure_;
    const ArchiveResult<std::vector<SqlArchive::PendingChange>> queued = local_->pendingChanges();
    if (!queued)
        return queued.failure();
    SyncCounts counts;
    for (const SqlArchive::PendingChange &c : queued.value()) {
        if (const ArchiveResult<> sent = send(c, counts); !sent) {
            if (!server_)
                return sent.failure();
            ++counts.refused;
            counts.refusal = sent.failure();
            continue;
        }
        if (auto done = local_->donePending(c); !done)
            return done.failure();
    }
    return counts;
}

ArchiveResult<> ClinicArchive::remove(qint64 number)
{
    const ArchiveResult<QByteArray> hash = hashOf(number);
    if (!hash)
        return hash.failure();
    return forget(hash.value(), now());
}

ArchiveResult<> ClinicArchive::forget(const QByteArray &readingsHash, const QString &at)
{
    // Recorded and queued here whether or not this computer has the night.
    if (auto done = local_->forget(readingsHash, at); !done)
        return done;
    return sendNow(readingsHash, Kind::Removal, at);
}

ArchiveResult<> ClinicArchive::setPatient(qint64 number, const PatientRecord &patient, const QString &changedAt)
{
    return edit(number, Kind::Patient, changedAt,
                [&](Archive &a, qint64 n, const QString &at) { return a.setPatient(n, patient, at); });
}

ArchiveResult<> ClinicArchive::setMarks(qint64 number, const std::vector<ReadingSpan> &spans, const QString &changedAt)
{
    return edit(number, Kind::Marks, changedAt,
                [&](Archive &a, qint64 n, const QString &at) { return a.setMarks(n, spans, at); });
}

ArchiveResult<> ClinicArchive::edit(qint64 number, SqlArchive::PendingKind kind, const QString &changedAt,
                                    const std::function<ArchiveResult<>(Archive &, qint64, const QString &)> &write)
{
    const ArchiveResult<QByteArray> hash = hashOf(number);
    if (!hash)
        return hash.failure();
    const QString at = changedAt.isEmpty() ? now() : changedAt;
    const std::optional<qint64> here = localNumber(hash.value());
    if (!here) { // on the server only
        const ArchiveResult<Numbered> where = numbered(number);
        if (!where)
            return where.failure();
        if (!where.value().server)
            return ArchiveFailure{ArchiveError::NotFound, {}};
        if (auto done = write(*server_, number, at); !done)
            return serverFailed(done.failure());
        return {};
    }
    if (auto done = write(*local_, *here, at); !done)
        return done;
    return sendNow(hash.value(), kind, at);
}

ArchiveResult<qint64> ClinicArchive::find(const QByteArray &readingsHash)
{
    firstUse();
    if (server_) {
        ArchiveResult<qint64> there = server_->find(readingsHash);
        if (there || there.error() != ArchiveError::NotFound)
            return there ? there : ArchiveResult<qint64>{serverFailed(there.failure())};
    }
    ArchiveResult<qint64> here = local_->find(readingsHash);
    if (!here)
        return here;
    return shown(here.value());
}

ArchiveResult<QString> ClinicArchive::removedAt(const QByteArray &readingsHash)
{
    if (server_) {
        ArchiveResult<QString> r = server_->removedAt(readingsHash);
        if (r)
            return r;
        serverFailed(r.failure());
    }
    return local_->removedAt(readingsHash);
}

QStringList ClinicArchive::check()
{
    return local_->check();
}

ArchiveResult<> ClinicArchive::backupTo(const QString &path)
{
    return local_->backupTo(path);
}

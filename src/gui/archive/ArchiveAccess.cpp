// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/ArchiveAccess.h"

#include "archive/ArchiveThread.h"
#include "archive/ServerArchive.h"
#include "texts/ArchiveTexts.h"

#include <QCoreApplication>

#include <algorithm>

ArchiveAccess::ArchiveAccess(QString path, const QString &server)
    : path_(std::move(path)), listener_(std::make_unique<QObject>())
{
    setServer(server);
}

ArchiveAccess::~ArchiveAccess()
{
    // The connections go on the thread that made them.
    if (thread_)
        thread_->run([this] { archive_.reset(); });
}

void ArchiveAccess::setServer(const QString &server)
{
    if (server == server_ && (thread_ != nullptr) == !server.isEmpty())
        return;
    if (thread_)
        thread_->run([this] { archive_.reset(); });
    archive_.reset();
    thread_.reset();
    heard_ = nullptr;
    server_ = server;
    password_.clear();
    wantsPassword_ = false;
    if (!server_.isEmpty())
        thread_ = std::make_unique<ArchiveThread>();
}

bool ArchiveAccess::busy() const
{
    return thread_ && thread_->busy();
}

void ArchiveAccess::call(const std::function<void()> &work)
{
    if (!thread_) {
        work();
        return;
    }
    thread_->run(work);
    if (wantsPassword_ && askPassword_) {
        wantsPassword_ = false;
        const std::optional<QString> given = askPassword_();
        if (given) {
            password_ = *given;
            // Opened again with it; the work done on this computer alone is done again, with the server.
            thread_->run([this] { archive_.reset(); });
            thread_->run(work);
        }
    }
    listen();
}

void ArchiveAccess::listen()
{
    ServerArchive *server = archive_ ? archive_->serverArchive() : nullptr;
    if (!server || server == heard_)
        return;
    heard_ = server;
    QObject::connect(server->changes(), &ArchiveChanges::changedElsewhere, listener_.get(), [this] {
        if (changedElsewhere_)
            changedElsewhere_();
    });
}

ClinicArchive *ArchiveAccess::archive(QString *error)
{
    if (archive_)
        return archive_.get();
    const QString path = this->path();
    ArchiveResult<ClinicArchive::Opened> o = ClinicArchive::open(path, server_, password_);
    if (!o) {
        if (error)
            *error = ArchiveTexts::text(o, {path, {}, 0});
        return nullptr;
    }
    damagedKeptAs_ = o.value().damagedKeptAs;
    archive_ = std::move(o.value().archive);
    if (archive_->usesServer() && !archive_->connectServer() && archive_->serverFailure())
        wantsPassword_ = archive_->serverFailure()->error == ArchiveError::PasswordNeeded || passwordRefused();
    return archive_.get();
}

bool ArchiveAccess::passwordRefused()
{
    // The server's refusal of a password reads as any other; tried without
    // it, a server that wants one says so.
    if (password_.isEmpty() || ServerArchive::open(server_).maybeError() != ArchiveError::PasswordNeeded)
        return false;
    password_.clear();
    return true;
}

QString ArchiveAccess::path() const
{
    return path_.isEmpty() ? SqliteArchive::defaultPath() : path_;
}

QString ArchiveAccess::takeDamagedNotice()
{
    if (damagedKeptAs_.isEmpty())
        return {};
    QString text =
        QCoreApplication::translate("ArchiveAccess", "The archive of recordings was damaged. It is kept as %1 and a "
                                                     "new, empty archive was started.")
            .arg(damagedKeptAs_);
    damagedKeptAs_.clear();
    return text;
}

template <typename T> bool ArchiveAccess::told(const ArchiveResult<T> &r, qint64 night, QString *error) const
{
    if (r)
        return true;
    if (error)
        *error = ArchiveTexts::text(r, {path(), {}, night});
    return false;
}

std::optional<std::vector<NightInfo>> ArchiveAccess::list(QString *error)
{
    std::optional<std::vector<NightInfo>> out;
    call([&] {
        Archive *a = archive(error);
        if (!a)
            return;
        const ArchiveResult<NightList> r = a->list({});
        if (told(r, 0, error))
            out.emplace(r.value().begin(), r.value().end());
    });
    return out;
}

std::vector<NightInfo> ArchiveAccess::recent(int count)
{
    QString error;
    std::optional<std::vector<NightInfo>> all = list(&error);
    if (!all)
        return {};
    std::stable_sort(all->begin(), all->end(),
                     [](const NightInfo &a, const NightInfo &b) { return a.summary.start > b.summary.start; });
    if (int(all->size()) > count)
        all->resize(std::size_t(count));
    return *all;
}

std::optional<StoredNight> ArchiveAccess::night(qint64 number, QString *error)
{
    std::optional<StoredNight> out;
    call([&] {
        Archive *a = archive(error);
        if (!a)
            return;
        ArchiveResult<StoredNight> r = a->night(number);
        if (told(r, number, error))
            out = std::move(r.value());
    });
    return out;
}

bool ArchiveAccess::setPatient(qint64 number, const PatientRecord &patient, QString *error)
{
    bool done = false;
    call([&] {
        Archive *a = archive(error);
        done = a && told(a->setPatient(number, patient), number, error);
    });
    return done;
}

std::optional<std::vector<ReadingSpan>> ArchiveAccess::setMarks(qint64 number, const std::vector<ReadingSpan> &spans,
                                                                QString *error)
{
    std::optional<std::vector<ReadingSpan>> out;
    call([&] {
        Archive *a = archive(error);
        if (!a || !told(a->setMarks(number, spans), number, error))
            return;
        ArchiveResult<std::vector<ReadingSpan>> r = a->marks(number);
        if (told(r, number, error))
            out = std::move(r.value());
    });
    return out;
}

std::optional<StoreCounts> ArchiveAccess::store(const std::vector<NightInput> &nights, QString *error)
{
    std::optional<StoreCounts> out;
    call([&] {
        Archive *a = archive(error);
        if (!a)
            return;
        ArchiveResult<StoreCounts> r = a->store(nights);
        if (told(r, 0, error))
            out = std::move(r.value());
    });
    return out;
}

bool ArchiveAccess::remove(qint64 number, QString *error)
{
    bool done = false;
    call([&] {
        Archive *a = archive(error);
        if (!a)
            return;
        // Read whole first: what cannot be restored is not removed.
        ArchiveResult<StoredNight> kept = a->night(number);
        if (!told(kept, number, error) || !told(a->remove(number), number, error))
            return;
        removed_.push_back(std::move(kept.value()));
        done = true;
    });
    return done;
}

bool ArchiveAccess::restoreLastRemoved(QString *error)
{
    if (removed_.empty())
        return false;
    bool done = false;
    call([&] {
        Archive *a = archive(error);
        if (!a)
            return;
        const StoredNight &n = removed_.back();
        NightInput input{n.readings,        n.patient,      n.info.title,          n.info.source,
                         n.info.sourceName, n.info.partial, n.info.intervalSeconds};
        const ArchiveResult<StoreCounts> stored = a->store({input});
        if (!told(stored, 0, error))
            return;
        // Its hand marks come back with it.
        if (!n.marks.empty() && !stored.value().nights.empty() &&
            !told(a->setMarks(stored.value().nights.front(), n.marks), 0, error))
            return;
        done = true;
    });
    if (done)
        removed_.pop_back();
    return done;
}

ArchiveAccess::ServerState ArchiveAccess::serverState()
{
    ServerState state;
    if (server_.isEmpty())
        return state;
    call([&] {
        ClinicArchive *a = archive(nullptr);
        if (!a)
            return;
        state.used = true;
        state.connected = a->onServer();
        const ServerArchive *server = a->serverArchive();
        state.readOnly = server && server->readOnly();
        const ArchiveResult<int> pending = a->pendingNights();
        state.pending = pending ? pending.value() : 0;
        if (!state.connected && a->serverFailure())
            state.away = a->serverFailure()->detail;
    });
    return state;
}

std::optional<ClinicArchive::SyncCounts> ArchiveAccess::sync(QString *error)
{
    std::optional<ClinicArchive::SyncCounts> out;
    call([&] {
        ClinicArchive *a = archive(error);
        if (!a)
            return;
        ArchiveResult<ClinicArchive::SyncCounts> r = a->sync();
        if (told(r, 0, error))
            out = r.value();
    });
    return out;
}

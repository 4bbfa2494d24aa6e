// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DownloadController.h"

#include "app/Settings.h"
#include "device/DeviceSession.h"
#include "device/DownloadEngine.h"
#include "device/RawDump.h"
#include "model/RecordStore.h"

DownloadController::DownloadController(RecordStore &store, std::shared_ptr<WaitClock> clock, QObject *parent)
    : QObject(parent), store_(store), session_(std::make_unique<DeviceSession>(std::move(clock))),
      engine_(std::make_unique<DownloadEngine>(*session_))
{
}

DownloadController::~DownloadController()
{
    // A search, transfer or procedure ends early, its reports are dropped, and
    // its thread is joined before the session goes.
    engine_->stop();
    job_.drop();
    job_.join();
}

std::shared_ptr<const RawDump> DownloadController::rawDump() const
{
    return dumpReady_ ? dump_ : nullptr;
}

QString DownloadController::rememberedPort()
{
    return Settings().defaultCom();
}

void DownloadController::rememberPort(const QString &port)
{
    if (!port.isEmpty())
        Settings().setDefaultCom(port);
}

void DownloadController::setPhase(DownloadPhase phase)
{
    if (phase_ == phase)
        return;
    phase_ = phase;
    Q_EMIT phaseChanged(phase);
}

bool DownloadController::start()
{
    if (phase_ != DownloadPhase::Idle)
        return false;
    // No view may show old data, and nothing of an earlier download may remain.
    store_.ClearAllData();
    Q_EMIT storeCleared();
    dump_ = keepDump_ ? std::make_shared<RawDump>() : nullptr;
    dumpReady_ = false;
    session_->setDump(dump_);
    interrupted_ = false;
    engine_->rearm();
    setPhase(DownloadPhase::Searching);

    DownloadEngine *engine = engine_.get();
    job_.run<DownloadResult>(
        [this, engine](const BackgroundJob::Post &post) {
            // Called on the engine's threads; each report is queued to ours.
            DownloadEngine::Events events;
            events.connected = [this, post](int total, int frames) {
                post([this, total, frames] { transferBegins(total, frames); });
            };
            events.progress = [this, post](int frames) {
                post([this, frames] {
                    if (phase_ == DownloadPhase::Transferring)
                        Q_EMIT progress(frames);
                });
            };
            events.ending = [this, post] {
                post([this] {
                    if (phase_ == DownloadPhase::Searching || phase_ == DownloadPhase::Transferring)
                        setPhase(DownloadPhase::Ending);
                });
            };
            return engine->run(events);
        },
        [this](DownloadResult &result) { downloadEnded(result); });
    return true;
}

void DownloadController::transferBegins(int totalCount, int frameCount)
{
    // After a Stop the transfer's start is stale.
    if (phase_ != DownloadPhase::Searching)
        return;
    setPhase(DownloadPhase::Transferring);
    Q_EMIT transferStarted(totalCount, frameCount);
    DeviceNotice n;
    n.kind = DeviceNotice::Kind::ConnectSucceeded;
    n.count = totalCount;
    Q_EMIT notice(n);
}

void DownloadController::stop()
{
    if (phase_ != DownloadPhase::Searching && phase_ != DownloadPhase::Transferring)
        return;
    setPhase(DownloadPhase::Ending);
    engine_->stop(); // the end arrives as a stopped download
}

void DownloadController::interrupt()
{
    if (phase_ != DownloadPhase::Searching && phase_ != DownloadPhase::Transferring)
        return;
    interrupted_ = true;
    stop();
}

void DownloadController::downloadEnded(DownloadResult &result)
{
    // The exchange is over; maintenance commands after it are not part of it.
    session_->setDump(nullptr);
    dumpReady_ = dump_ != nullptr;
    if (interrupted_ && result.status == DownloadStatus::Stopped)
        result.status = DownloadStatus::Interrupted;
    rememberPort(result.portToRemember);
    // Archived before anyone picks an ID or types details: nothing depends on the user.
    if (ApplyDownload(store_, result) && !archivePath_.isEmpty())
        result.archived =
            archiveDownload(store_, archivePath_, archiveServer_, session_->port(), !result.complete(), sendAtOnce_);
    setPhase(DownloadPhase::Idle);
    Q_EMIT finished(result);
    for (const DeviceNotice &n : NoticesOf(result))
        Q_EMIT notice(n);
}

bool DownloadController::setClock(std::optional<std::uint32_t> word)
{
    if (phase_ != DownloadPhase::Idle)
        return false;
    runMaintenance([word](DeviceSession &session, const BackgroundJob::Post &) {
        const bool ok = word && session.SetClockProcedure(*word).ok();
        session.TransferEnd();
        return ok;
    });
    return true;
}

bool DownloadController::deleteData(int id, Protocol::DeleteDataType type)
{
    if (phase_ != DownloadPhase::Idle)
        return false;
    runMaintenance([this, id, type](DeviceSession &session, const BackgroundJob::Post &post) {
        const bool ok =
            session
                .DeleteProcedure(id, type,
                                 [this, post](bool waiting) { post([this, waiting] { Q_EMIT deleting(waiting); }); })
                .ok();
        session.TransferEnd();
        return ok;
    });
    return true;
}

void DownloadController::runMaintenance(std::function<bool(DeviceSession &, const BackgroundJob::Post &)> procedure)
{
    setPhase(DownloadPhase::Maintenance);
    DeviceSession *session = session_.get();
    session->resume();
    job_.run<bool>([session, procedure = std::move(procedure)](
                       const BackgroundJob::Post &post) { return procedure(*session, post); },
                   [this](bool &ok) { maintenanceEnded(ok); });
}

void DownloadController::maintenanceEnded(bool ok)
{
    Q_EMIT deleting(false);
    rememberPort(session_->portToRemember());
    setPhase(DownloadPhase::Idle);
    Q_EMIT maintenanceFinished(ok);
    for (const DeviceNotice &n : NoticesOf(session_->takeMessages(), session_->permissionDenied()))
        Q_EMIT notice(n);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/BackgroundJob.h"
#include "device/DeviceMessage.h"
#include "device/DownloadPhase.h"
#include "device/DownloadResult.h"
#include "device/Protocol.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <optional>

class DeviceSession;
class DownloadEngine;
class RawDump;
class RecordStore;
class WaitClock;

// One download (or maintenance command) at a time, run off the owner's thread:
// owns the session, the engine and the job, moves the phase on, puts what
// arrived into the record store (ApplyDownload) and the archive, remembers the
// port that answered, and reports everything on its own thread by signals. The download
// window and quellix-cli are its front ends; neither decides how a download
// ended.
class DownloadController : public QObject
{
    Q_OBJECT
public:
    // clock: the fixed waits (null: real time).
    explicit DownloadController(RecordStore &store, std::shared_ptr<WaitClock> clock = nullptr,
                                QObject *parent = nullptr);
    ~DownloadController() override; // stops what runs and waits for it

    // To set up the link and the log while idle.
    DeviceSession &session() { return *session_; }
    DownloadPhase phase() const { return phase_; }

    // Every download keeps its exchange for a raw dump (off: none is kept).
    void setKeepRawDump(bool keep) { keepDump_ = keep; }
    // Downloads that bring readings are kept in the archive at path (empty: not archived).
    void setArchivePath(const QString &path) { archivePath_ = path; }
    // ... and sent to the clinic server of that connection string (empty:
    // none), at once or, where the caller's thread must not wait on the
    // server, left queued for the caller's next sync.
    void setArchiveServer(const QString &connection, bool sendAtOnce = true)
    {
        archiveServer_ = connection;
        sendAtOnce_ = sendAtOnce;
    }

    // The last download's raw dump, once it has ended (null before).
    std::shared_ptr<const RawDump> rawDump() const;

    // Starts a download: empties the record store (storeCleared), then searches.
    // False unless idle.
    bool start();
    // Cuts a search or transfer short; it ends with the status Stopped and
    // leaves the store without its readings.
    void stop();
    // The same, but what arrived is kept (status Interrupted).
    void interrupt();
    // Sets the device clock (nullopt: only the transfer end, as after a
    // cancelled clock dialog). False unless idle.
    bool setClock(std::optional<std::uint32_t> word);
    // Erases data on the device. False unless idle.
    bool deleteData(int id, Protocol::DeleteDataType type);

    // "DefaultCOM": the port a download or maintenance command found the device on.
    static QString rememberedPort();
    static void rememberPort(const QString &port);

Q_SIGNALS:
    void phaseChanged(DownloadPhase phase);
    // A download starts: the record store was emptied.
    void storeCleared();
    // The device answered with data; the transfer of frameCount frames begins.
    void transferStarted(int totalCount, int frameCount);
    void progress(int framesReceived);
    // The download has ended (phase Idle); its readings are in the store unless
    // it was stopped, and result.archived says what the archive kept. Its
    // notices follow.
    void finished(const DownloadResult &result);
    // A maintenance command has ended (phase Idle); its notices follow.
    void maintenanceFinished(bool ok);
    // Something to tell the user, in order.
    void notice(const DeviceNotice &notice);
    // Brackets the wait for the delete acknowledgement.
    void deleting(bool waiting);

private:
    void setPhase(DownloadPhase phase);
    void transferBegins(int totalCount, int frameCount);
    void downloadEnded(DownloadResult &result);
    void maintenanceEnded(bool ok);
    void runMaintenance(std::function<bool(DeviceSession &, const BackgroundJob::Post &)> procedure);

    RecordStore &store_;
    std::unique_ptr<DeviceSession> session_;
    std::unique_ptr<DownloadEngine> engine_;
    DownloadPhase phase_ = DownloadPhase::Idle;
    bool keepDump_ = false;
    QString archivePath_;
    QString archiveServer_;
    bool sendAtOnce_ = true;
    bool interrupted_ = false;
    std::shared_ptr<RawDump> dump_;
    bool dumpReady_ = false;
    BackgroundJob job_{this}; // last member: its work ends before the session goes
};

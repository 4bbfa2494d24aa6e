#pragma once

#include "device/DeviceMessage.h"
#include "device/DeviceReadings.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class DeviceSession;

// How a download ended; judged in one place, DownloadEngine.
enum class DownloadStatus {
    Ok,               // every announced frame arrived, or the device ended early with its end tag
    Partial,          // the transfer ended without an error, yet frames are missing
    DeviceNotFound,   // no port answered
    PermissionDenied, // no port answered, and at least one refused us
    NoData,           // the device holds no readings
    ReplyRejected,    // the count reply failed its checks
    Timeout,          // the transfer's fourth idle period
    LinkLost,         // the line hung up or the Bluetooth link went down
    WriteFailed,      // a request could not be written
    Overflow,         // more than a receive buffer arrived in one read
    Stopped,          // Stop or Cancel
};

struct DownloadResult {
    DownloadStatus status = DownloadStatus::Stopped;
    int framesAnnounced = 0;
    int framesReceived = 0;
    int totalCount = 0;  // of the count reply
    int deviceModel = 0; // of the handshake
    bool endTag = false;
    bool transferRan = false; // the workers ran (whatever ended them)
    long droppedRecords = 0;
    DeviceMessages messages;      // what to tell the user, in order
    QStringList permissionDenied; // ports that refused us
    QString portToRemember;       // for "DefaultCOM"; empty: nothing to write
    DeviceReadings readings;      // per ID (index ID - 1)

    // The transfer ran and ended short of the announced frames without the
    // device's end tag (the one place "partial" is judged).
    bool missingFrames() const { return transferRan && !endTag && framesReceived < framesAnnounced; }
    int readingCount(int id) const;
    bool hasReadings() const;
};

// One download from start to end: the port search, the two-worker transfer and
// the transfer end, reporting progress and one result. The readings travel in
// the result; whoever owns the record store puts them there.
class DownloadEngine
{
public:
    // Each may be called on a thread of the engine's.
    struct Events {
        std::function<void(int totalCount, int frameCount)> connected; // the transfer starts
        std::function<void(int framesReceived)> progress;
        std::function<void()> ending;                         // the transfer is over; the end sequence runs
        std::function<void(DownloadResult &result)> finished; // last, once
    };

    explicit DownloadEngine(DeviceSession &session);
    ~DownloadEngine(); // stops and waits
    DownloadEngine(const DownloadEngine &) = delete;
    DownloadEngine &operator=(const DownloadEngine &) = delete;

    // The whole download on a thread of its own.
    void start(Events events);
    // The whole download on the calling thread.
    DownloadResult run(const Events &events);
    // Cuts a search or transfer short, from any thread; returns at once. The
    // download then ends with the transfer end and the status Stopped.
    void stop();
    void wait();
    bool running() const { return thread_.joinable(); }

private:
    DeviceSession &session_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

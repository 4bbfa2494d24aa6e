// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DeviceError.h"
#include "device/DownloadResult.h"
#include "device/Transfer.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class DeviceSession;
struct FoundDevice;

// One download from start to end: the port search, the two-worker transfer
// (the engine's own) and the transfer end, reporting progress and one result.
// The readings travel in the result; ApplyDownload puts them in the record
// store.
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
    // The whole download on the calling thread (after rearm()).
    DownloadResult run(const Events &events);
    // Forgets an earlier stop; call before a run, on the thread that stops.
    void rearm();
    // Cuts a search or transfer short, from any thread; returns at once. The
    // download then ends with the transfer end and the status Stopped.
    void stop();
    void wait();
    bool running() const { return thread_.joinable(); }

private:
    // Starts the transfer's workers on the line the search found.
    DeviceResult<> startTransfer(const FoundDevice &found, Transfer::Callbacks callbacks);
    // Ends the workers (returns after both have ended) and forgets them.
    void endTransfer();

    DeviceSession &session_;
    std::atomic<bool> stop_{false};
    std::mutex transferMutex_; // guards transfer_ against a stop from another thread
    std::unique_ptr<Transfer> transfer_;
    std::thread thread_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DownloadResult.h"

#include <atomic>
#include <functional>
#include <thread>

class DeviceSession;

// One download from start to end: the port search, the two-worker transfer and
// the transfer end, reporting progress and one result. The readings travel in
// the result; ApplyDownload puts them in the record store.
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
    DeviceSession &session_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

// The fixed waits of the device exchanges go through here, so a Cancel can cut
// them short and tests can run them in virtual time. One clock per session;
// any thread may cancel it.
class WaitClock
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    WaitClock() = default;
    virtual ~WaitClock() = default;
    WaitClock(const WaitClock &) = delete;
    WaitClock &operator=(const WaitClock &) = delete;

    // Waits ms milliseconds; returns false (at once) when cancelled.
    bool pause(int ms);
    // Waits until t; false when cancelled.
    bool pauseUntil(TimePoint t);
    virtual TimePoint now() const { return std::chrono::steady_clock::now(); }

    // Cuts every running and later pause short until reset().
    void cancel();
    void reset();
    bool cancelled() const { return cancelled_.load(); }

protected:
    // Waits until t or a cancel; the virtual clock jumps instead.
    virtual void waitUntil(TimePoint t);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<bool> cancelled_{false};
};

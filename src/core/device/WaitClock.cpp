// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/WaitClock.h"

bool WaitClock::pause(int ms)
{
    return pauseUntil(now() + std::chrono::milliseconds(ms));
}

bool WaitClock::pauseUntil(TimePoint t)
{
    if (cancelled_.load())
        return false;
    waitUntil(t);
    return !cancelled_.load();
}

void WaitClock::waitUntil(TimePoint t)
{
    std::unique_lock lock(mutex_);
    wake_.wait_until(lock, t, [this] { return cancelled_.load(); });
}

void WaitClock::cancel()
{
    {
        std::lock_guard lock(mutex_);
        cancelled_.store(true);
    }
    wake_.notify_all();
}

void WaitClock::reset()
{
    std::lock_guard lock(mutex_);
    cancelled_.store(false);
}

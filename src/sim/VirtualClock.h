// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/WaitClock.h"

// A clock whose waits take no real time: a pause moves the clock on at once.
// For exchanges run by one thread at a time (handshakes, counts, maintenance
// commands, stop sequences), where no other thread races the jump.
class VirtualClock : public WaitClock
{
public:
    TimePoint now() const override;
    // Virtual time gone by since the clock was made.
    std::chrono::milliseconds elapsed() const;

protected:
    void waitUntil(TimePoint t) override;

private:
    mutable std::mutex timeMutex_;
    const TimePoint start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration offset_{0};
};

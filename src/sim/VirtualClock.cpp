// SPDX-License-Identifier: GPL-3.0-or-later
#include "VirtualClock.h"

WaitClock::TimePoint VirtualClock::now() const
{
    std::lock_guard lock(timeMutex_);
    return start_ + offset_;
}

std::chrono::milliseconds VirtualClock::elapsed() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(now() - start_);
}

void VirtualClock::waitUntil(TimePoint t)
{
    std::lock_guard lock(timeMutex_);
    if (t > start_ + offset_)
        offset_ = t - start_;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SampleRecord.h"

#include <cstdint>

// Seconds from 2000-01-01 00:00:00 to the reading's time, by the calendar
// (the device clock has no time zone). Defined for any field values, so a
// reading with a damaged date still gives a number to compare.
std::int64_t readingSeconds(const SampleRecord &s);

// True when b was taken exactly one second after a.
inline bool followsByOneSecond(const SampleRecord &a, const SampleRecord &b)
{
    return readingSeconds(b) == readingSeconds(a) + 1;
}

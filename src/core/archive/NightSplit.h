// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SampleRecord.h"

#include <cstdint>
#include <vector>

// Cuts readings into nights: a night is a maximal run of one ID's readings in
// recording order in which each reading follows the previous one by 0 to 30
// minutes. A longer gap, a time that goes backwards or another ID starts a new
// night.
namespace NightSplit
{

inline constexpr int kMaxGapSeconds = 30 * 60;

struct Span {
    int first = 0; // index of the night's first reading
    int count = 0;
};

// Seconds on a proleptic calendar; any field values give a number, so readings
// with impossible dates still split and sort consistently.
std::int64_t secondsOf(const SampleRecord &s);

std::vector<Span> split(const SampleRecord *samples, int count);

} // namespace NightSplit

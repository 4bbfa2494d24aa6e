// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Whole-recording figures of one analysis run. Every sample counts, 0 included.
struct RecordingStatistics {
    std::int32_t spo2Max = 0;
    std::int32_t spo2Min = 0;
    std::int32_t spo2Mean = 0;
    std::int32_t spo2AboveHighCount = 0;
    std::int32_t spo2BelowLowCount = 0;
    std::int32_t pulseMax = 0;
    std::int32_t pulseMin = 0;
    std::int32_t pulseMean = 0;
    std::int32_t pulseAboveHighCount = 0;
    std::int32_t pulseBelowLowCount = 0;
};

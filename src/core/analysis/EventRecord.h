// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// One detected event of one channel (SpO2 or pulse rate). Indexes are positions
// in the current recording; one sample is one second.
struct EventRecord {
    std::int32_t start = 0;    // first sample of the event
    std::int32_t length = 0;   // samples in the event
    std::int32_t maxValue = 0; // highest value over the event's samples
    std::int32_t minValue = 0; // lowest value over the event's samples
    std::int32_t stepDrop = 0; // value before start minus value at start

    friend bool operator==(const EventRecord &, const EventRecord &) = default;
};

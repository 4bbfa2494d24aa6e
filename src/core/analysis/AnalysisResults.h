// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/EventRecord.h"

#include <cstdint>
#include <vector>

// The event figures of one analysis run, and the thresholds it counted with.
// Each event list is in start order.
struct AnalysisResults {
    std::int32_t spo2EventCount = 0;
    std::int32_t pulseEventCount = 0;
    std::vector<EventRecord> spo2Events;
    std::vector<EventRecord> pulseEvents;
    std::int32_t spo2AvgEventDuration = 0;
    std::int32_t pulseAvgEventDuration = 0;
    float spo2EventIndex = 0; // events per hour of recording
    float pulseEventIndex = 0;
    std::int32_t spo2TimeInEvents = 0;
    std::int32_t spo2AvgEventMax = 0;
    std::int32_t spo2AvgEventMin = 0;
    std::int32_t spo2MaxEventOffset = 0;
    std::int32_t spo2MaxEventDuration = 0;
    std::int32_t pulseTimeInEvents = 0;
    std::int32_t pulseAvgEventMax = 0;
    std::int32_t pulseAvgEventMin = 0;
    std::int32_t pulseMaxEventOffset = 0;
    std::int32_t pulseMaxEventDuration = 0;
    std::int32_t saturationsHigh = 0;
    std::int32_t saturationsLow = 0;
    std::int32_t prHigh = 0;
    std::int32_t prLow = 0;
};

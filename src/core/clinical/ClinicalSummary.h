// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SampleRecord.h"

#include <array>

// Figures clinics quote for an oximetry night, computed over the valid readings
// only; the analysis of events beside it keeps using every reading as stored.
struct ClinicalSummary {
    int validSeconds = 0;                 // readings that pass isValidReading()
    int nadir = 0;                        // lowest SpO2; 0 without valid readings
    int t90Seconds = 0;                   // SpO2 below 90
    double t90Percent = 0;                // share of validSeconds
    int t88Seconds = 0;                   // SpO2 below 88
    double t88Percent = 0;                // share of validSeconds
    std::array<int, 101> spo2Histogram{}; // index = SpO2 %
    int pulseMin = 0;
    double pulseMean = 0;
    int pulseMax = 0;
    double odi3 = 0; // desaturations of >= 3 points per hour of valid readings
    double odi4 = 0; // the same with >= 4 points

    friend bool operator==(const ClinicalSummary &, const ClinicalSummary &) = default;
};

// SpO2 1..100 and pulse rate 30..250; 0 is the device's "no signal".
inline bool isValidReading(const SampleRecord &s)
{
    return s.spo2 >= 1 && s.spo2 <= 100 && s.pulseRate >= 30 && s.pulseRate <= 250;
}

namespace ClinicalRules
{
inline constexpr int kBaselineSeconds = 120; // baseline: mean of the valid SpO2 of this many seconds before
inline constexpr int kMinFallSeconds = 10;   // a desaturation lasts at least this long
inline constexpr int kMergeSeconds = 10;     // falls starting sooner after the last one ended count once
} // namespace ClinicalRules

// One pass over the readings, no allocation. Every reading is one second.
ClinicalSummary computeClinicalSummary(const SampleRecord *samples, int count);

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clinical/SignalQuality.h"
#include "model/SampleRecord.h"

#include <array>
#include <vector>

// Figures clinics quote for an oximetry night, computed over the valid readings
// (see SignalQuality) only; the analysis of events beside it keeps using every
// reading as stored. "Per hour" is per hour of valid readings.
struct ClinicalSummary {
    int validSeconds = 0;       // readings that are no artefact
    int artefactSeconds = 0;    // the rest
    double coverage = 0;        // valid share of all readings, in percent
    bool shortRecording = true; // fewer than four hours of valid readings
    int nadir = 0;              // lowest SpO2; 0 without valid readings
    double meanSpo2 = 0;
    int t90Seconds = 0;                   // SpO2 below 90
    double t90Percent = 0;                // share of validSeconds
    int t88Seconds = 0;                   // SpO2 below 88
    double t88Percent = 0;                // share of validSeconds
    std::array<int, 101> spo2Histogram{}; // index = SpO2 %
    int pulseMin = 0;
    double pulseMean = 0;
    int pulseMax = 0;
    double odi3 = 0;                    // desaturations of >= 3 points per hour of valid readings
    double odi4 = 0;                    // the same with >= 4 points
    double hypoxicBurden = 0;           // %·min below the baseline per hour
    double deltaIndex = 0;              // mean change between successive 12-s means
    double desaturationMeanSeconds = 0; // means over the 3-point desaturations
    double desaturationMeanDepth = 0;   // held baseline minus lowest SpO2
    double pulseRiseMean = 0;           // highest pulse after the nadir minus the pulse before

    friend bool operator==(const ClinicalSummary &, const ClinicalSummary &) = default;
};

namespace ClinicalRules
{
inline constexpr int kBaselineSeconds = 120;       // baseline: mean of the valid SpO2 of this many seconds before
inline constexpr int kMinFallSeconds = 10;         // a desaturation lasts at least this long
inline constexpr int kMergeSeconds = 10;           // falls starting sooner after the last one ended count once
inline constexpr int kBurdenBaselineSeconds = 100; // burden baseline: highest valid SpO2 of this many seconds before
inline constexpr int kBurdenTailSeconds = 90;      // a desaturation's area ends at most this long after its nadir
inline constexpr int kDeltaWindowSeconds = 12;
inline constexpr int kPulseBeforeSeconds = 10; // pulse rise: mean of this many seconds before the fall
inline constexpr int kPulseAfterSeconds = 30;  // to the highest pulse this long after the nadir
} // namespace ClinicalRules

// Every reading is one second; marked spans are artefacts the user marked.
ClinicalSummary computeClinicalSummary(const SampleRecord *samples, int count,
                                       const std::vector<ReadingSpan> &marked = {});

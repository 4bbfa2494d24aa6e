// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/AnalysisResults.h"
#include "analysis/AnalysisSettings.h"
#include "analysis/RecordingStatistics.h"

#include "model/SampleRecord.h"

// Minimum event lengths in samples (seconds); the analysis page's rule lines
// state the same numbers.
inline constexpr int kSpo2EventMinLength = 10;
inline constexpr int kPulseEventMinLength = 8;

// Replaces results and statistics with those of samples[0 .. count - 1]: one
// pass for the statistics, then DetectEvents. Every sample is one second.
void RunAnalysis(const SampleRecord *samples, int count, const AnalysisSettings &settings, AnalysisResults &results,
                 RecordingStatistics &statistics);

// Builds both event lists and the event figures of results, in one pass over
// the samples for both kinds. Leaves the threshold members as they are.
void DetectEvents(const SampleRecord *samples, int count, int desaturationDrop, int pulseDrop,
                  AnalysisResults &results);

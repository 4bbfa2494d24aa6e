// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The six values an analysis run reads from the settings store (Settings::analysis).
struct AnalysisSettings {
    int saturationsHigh = 94;
    int saturationsLow = 88;
    int prHigh = 150;
    int prLow = 60;
    int desaturationsEvent = 4; // fall of SpO2 that starts an event
    int pulseEvent = 6;         // fall of pulse rate that starts an event

    friend bool operator==(const AnalysisSettings &, const AnalysisSettings &) = default;
};

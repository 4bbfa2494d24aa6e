#pragma once

// The six values an analysis run reads from the settings store.
struct AnalysisSettings {
    int saturationsHigh = 94;
    int saturationsLow = 88;
    int prHigh = 150;
    int prLow = 60;
    int desaturationsEvent = 4; // fall of SpO2 that starts an event
    int pulseEvent = 6;         // fall of pulse rate that starts an event

    // The stored values, each with its default when missing.
    static AnalysisSettings stored();
    // Writes all six, in the order the dialog has always written them.
    void store() const;

    friend bool operator==(const AnalysisSettings &, const AnalysisSettings &) = default;
};

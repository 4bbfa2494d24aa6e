// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SampleRecord.h"

#include <cstdint>
#include <vector>

// Readings first..last (indices, both included).
struct ReadingSpan {
    int first = 0;
    int last = 0;

    friend bool operator==(const ReadingSpan &, const ReadingSpan &) = default;
};

enum class ReadingQuality : std::uint8_t {
    Valid,
    OutOfRange, // SpO2 outside 50..100 or pulse outside 30..250 (no signal included)
    Spike,      // a brief jump that comes straight back
    Marked,     // in a span the user marked as artefact
};

namespace SignalRules
{
inline constexpr int kSpo2Min = 50;
inline constexpr int kSpo2Max = 100;
inline constexpr int kPulseMin = 30;
inline constexpr int kPulseMax = 250;
inline constexpr int kSpikeMaxReadings = 3; // longer runs are taken as real
inline constexpr int kSpikeJump = 4;        // a spike differs by more than this
inline constexpr int kShortRecordingSeconds = 4 * 3600;
} // namespace SignalRules

inline bool inClinicalRange(const SampleRecord &s)
{
    return s.spo2 >= SignalRules::kSpo2Min && s.spo2 <= SignalRules::kSpo2Max &&
           s.pulseRate >= SignalRules::kPulseMin && s.pulseRate <= SignalRules::kPulseMax;
}

// Which readings the clinical figures may use. Every reading is one second.
struct SignalQuality {
    std::vector<ReadingQuality> readings; // one per reading
    int validSeconds = 0;
    int artefactSeconds = 0;
    double coverage = 0;        // valid share of all readings, in percent
    bool shortRecording = true; // fewer than four hours of valid readings

    bool valid(int index) const { return readings[std::size_t(index)] == ReadingQuality::Valid; }
};

// Spans outside the readings are clipped; reversed spans are ignored.
SignalQuality assessSignal(const SampleRecord *samples, int count, const std::vector<ReadingSpan> &marked = {});

// The runs of readings of one kind, in order (for shading them).
std::vector<ReadingSpan> qualitySpans(const SignalQuality &quality, ReadingQuality kind);

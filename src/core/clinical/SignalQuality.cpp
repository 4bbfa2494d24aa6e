// SPDX-License-Identifier: GPL-3.0-or-later
#include "clinical/SignalQuality.h"

#include <algorithm>
#include <cstdlib>

namespace
{

bool near(int spo2, int reference)
{
    return std::abs(spo2 - reference) <= SignalRules::kSpikeJump;
}

} // namespace

SignalQuality assessSignal(const SampleRecord *samples, int count, const std::vector<ReadingSpan> &marked)
{
    SignalQuality q;
    if (!samples || count <= 0)
        return q;
    q.readings.assign(std::size_t(count), ReadingQuality::Valid);
    for (const ReadingSpan &span : marked) {
        const int first = std::max(span.first, 0);
        const int last = std::min(span.last, count - 1);
        for (int i = first; i <= last; ++i)
            q.readings[std::size_t(i)] = ReadingQuality::Marked;
    }
    for (int i = 0; i < count; ++i)
        if (q.readings[std::size_t(i)] == ReadingQuality::Valid && !inClinicalRange(samples[i]))
            q.readings[std::size_t(i)] = ReadingQuality::OutOfRange;

    // A spike is measured against the last valid reading before it and must
    // come back near it within kSpikeMaxReadings; an artefact of another kind
    // inside the run ends it. Anything longer is taken as a real change.
    int reference = -1;
    for (int i = 0; i < count; ++i) {
        if (!q.valid(i))
            continue;
        if (reference >= 0 && !near(samples[i].spo2, reference)) {
            int back = -1;
            for (int j = i + 1; j <= i + SignalRules::kSpikeMaxReadings && j < count && q.valid(j); ++j) {
                if (near(samples[j].spo2, reference)) {
                    back = j;
                    break;
                }
            }
            if (back > 0) {
                std::fill(q.readings.begin() + i, q.readings.begin() + back, ReadingQuality::Spike);
                i = back;
            }
        }
        reference = samples[i].spo2;
    }

    q.validSeconds = int(std::count(q.readings.begin(), q.readings.end(), ReadingQuality::Valid));
    q.artefactSeconds = count - q.validSeconds;
    q.coverage = 100.0 * q.validSeconds / count;
    q.shortRecording = q.validSeconds < SignalRules::kShortRecordingSeconds;
    return q;
}

std::vector<ReadingSpan> qualitySpans(const SignalQuality &quality, ReadingQuality kind)
{
    std::vector<ReadingSpan> spans;
    const int count = int(quality.readings.size());
    for (int i = 0; i < count; ++i) {
        if (quality.readings[std::size_t(i)] != kind)
            continue;
        if (!spans.empty() && spans.back().last == i - 1)
            spans.back().last = i;
        else
            spans.push_back({i, i});
    }
    return spans;
}

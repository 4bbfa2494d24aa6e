// SPDX-License-Identifier: GPL-3.0-or-later
#include "clinical/ClinicalSummary.h"

#include <algorithm>
#include <cstdint>

namespace
{

// Counts desaturations of at least `drop` points for one criterion. A fall is
// measured against the baseline of the two minutes before it began, held while
// it lasts; otherwise a baseline sinking with the fall would cut every shallow
// fall short. Readings without signal neither lengthen nor end a fall, but the
// gap between two falls is wall-clock time: half an hour without signal must
// not merge the desaturations on either side of it.
class DesaturationCounter
{
public:
    explicit DesaturationCounter(int drop) : drop_(drop) {}

    // index numbers every reading (one a second); windowSum / windowCount is
    // the mean of the valid SpO2 before this reading.
    void add(std::int64_t index, int spo2, std::int64_t windowSum, int windowCount)
    {
        if (inFall_) {
            if (low(spo2, baselineSum_, baselineCount_)) {
                extend(index);
                return;
            }
            if (qualified_) {
                lastEnd_ = lastLow_;
                haveLast_ = true;
            }
            inFall_ = false;
            // The reading that ended the fall may itself start the next one
            // against its own, lower, baseline.
        }
        if (!low(spo2, windowSum, windowCount))
            return;
        inFall_ = true;
        qualified_ = false;
        start_ = index;
        length_ = 0;
        baselineSum_ = windowSum;
        baselineCount_ = windowCount;
        extend(index);
    }

    int count() const { return count_; }

private:
    void extend(std::int64_t index)
    {
        lastLow_ = index;
        ++length_;
        if (length_ == ClinicalRules::kMinFallSeconds) {
            qualified_ = true;
            if (!haveLast_ || start_ - lastEnd_ >= ClinicalRules::kMergeSeconds)
                ++count_;
        }
    }

    // At least drop_ below the mean sum / count, in whole numbers.
    bool low(int spo2, std::int64_t sum, int count) const
    {
        return count > 0 && std::int64_t(spo2 + drop_) * count <= sum;
    }

    int drop_;
    int count_ = 0;
    bool inFall_ = false;
    bool qualified_ = false;
    bool haveLast_ = false;
    std::int64_t start_ = 0;
    std::int64_t lastLow_ = 0; // last low valid reading of the current fall
    std::int64_t lastEnd_ = 0; // last low reading of the last fall long enough to count
    int length_ = 0;
    std::int64_t baselineSum_ = 0;
    int baselineCount_ = 0;
};

} // namespace

ClinicalSummary computeClinicalSummary(const SampleRecord *samples, int count)
{
    ClinicalSummary s;
    if (!samples || count <= 0)
        return s;

    DesaturationCounter odi3(3);
    DesaturationCounter odi4(4);
    std::int64_t windowSum = 0; // valid SpO2 of the readings in the last kBaselineSeconds
    int windowCount = 0;
    std::int64_t pulseSum = 0;
    int nadir = 101;
    int pulseMin = 256;
    int pulseMax = 0;

    for (int i = 0; i < count; ++i) {
        // Slide the baseline window to cover readings i - 120 .. i - 1.
        if (i > 0 && isValidReading(samples[i - 1])) {
            windowSum += samples[i - 1].spo2;
            ++windowCount;
        }
        const int leaving = i - 1 - ClinicalRules::kBaselineSeconds;
        if (leaving >= 0 && isValidReading(samples[leaving])) {
            windowSum -= samples[leaving].spo2;
            --windowCount;
        }

        const SampleRecord &r = samples[i];
        if (!isValidReading(r))
            continue;
        const int spo2 = r.spo2;
        const int pulse = r.pulseRate;
        ++s.spo2Histogram[std::size_t(spo2)];
        if (spo2 < 90)
            ++s.t90Seconds;
        if (spo2 < 88)
            ++s.t88Seconds;
        nadir = std::min(nadir, spo2);
        pulseMin = std::min(pulseMin, pulse);
        pulseMax = std::max(pulseMax, pulse);
        pulseSum += pulse;

        odi3.add(i, spo2, windowSum, windowCount);
        odi4.add(i, spo2, windowSum, windowCount);
        ++s.validSeconds;
    }

    if (s.validSeconds == 0)
        return s;
    const double valid = s.validSeconds;
    const double hours = valid / 3600.0;
    s.nadir = nadir;
    s.t90Percent = 100.0 * s.t90Seconds / valid;
    s.t88Percent = 100.0 * s.t88Seconds / valid;
    s.pulseMin = pulseMin;
    s.pulseMax = pulseMax;
    s.pulseMean = double(pulseSum) / valid;
    s.odi3 = odi3.count() / hours;
    s.odi4 = odi4.count() / hours;
    return s;
}

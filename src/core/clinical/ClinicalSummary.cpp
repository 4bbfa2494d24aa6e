#include "clinical/ClinicalSummary.h"

#include <algorithm>
#include <cstdint>

namespace
{

// Counts desaturations of at least `drop` points for one criterion. A fall is
// measured against the baseline of the two minutes before it began, held while
// it lasts; otherwise a baseline sinking with the fall would cut every shallow
// fall short. Time is counted in valid readings, so stretches without signal
// neither lengthen nor split a fall.
class DesaturationCounter
{
public:
    explicit DesaturationCounter(int drop) : drop_(drop) {}

    // validIndex numbers the valid readings; windowSum / windowCount is the mean
    // of the valid SpO2 before this reading.
    void add(std::int64_t validIndex, int spo2, std::int64_t windowSum, int windowCount)
    {
        if (!inFall_) {
            baselineSum_ = windowSum;
            baselineCount_ = windowCount;
        }
        if (!lowAgainstBaseline(spo2)) {
            if (inFall_ && qualified_) {
                lastEnd_ = validIndex - 1;
                haveLast_ = true;
            }
            inFall_ = false;
            return;
        }
        if (!inFall_) {
            inFall_ = true;
            qualified_ = false;
            start_ = validIndex;
            length_ = 0;
        }
        ++length_;
        if (length_ == ClinicalRules::kMinFallSeconds) {
            qualified_ = true;
            if (!haveLast_ || start_ - lastEnd_ >= ClinicalRules::kMergeSeconds)
                ++count_;
        }
    }

    int count() const { return count_; }

private:
    // At least drop_ below the baseline mean, in whole numbers.
    bool lowAgainstBaseline(int spo2) const
    {
        return baselineCount_ > 0 && std::int64_t(spo2 + drop_) * baselineCount_ <= baselineSum_;
    }

    int drop_;
    int count_ = 0;
    bool inFall_ = false;
    bool qualified_ = false;
    bool haveLast_ = false;
    std::int64_t start_ = 0;
    std::int64_t lastEnd_ = 0;
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

        odi3.add(s.validSeconds, spo2, windowSum, windowCount);
        odi4.add(s.validSeconds, spo2, windowSum, windowCount);
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

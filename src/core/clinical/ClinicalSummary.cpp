// SPDX-License-Identifier: GPL-3.0-or-later
#include "clinical/ClinicalSummary.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace
{

// A fall long enough to count; merged: it began too soon after the last one
// to count on its own.
struct Fall {
    int start = 0;
    int lastLow = 0;
    double baseline = 0;
    bool merged = false;
};

// Counts desaturations of at least `drop` points for one criterion. A fall is
// measured against the baseline of the two minutes before it began, held while
// it lasts; otherwise a baseline sinking with the fall would cut every shallow
// fall short. Readings without signal neither lengthen nor end a fall, but the
// gap between two falls is wall-clock time: half an hour without signal must
// not merge the desaturations on either side of it.
class DesaturationCounter
{
public:
    // With falls, every fall that counts is also kept there.
    explicit DesaturationCounter(int drop, std::vector<Fall> *falls = nullptr) : drop_(drop), falls_(falls) {}

    // index numbers every reading (one a second); windowSum / windowCount is
    // the mean of the valid SpO2 before this reading.
    void add(std::int64_t index, int spo2, std::int64_t windowSum, int windowCount)
    {
        if (inFall_) {
            if (low(spo2, baselineSum_, baselineCount_)) {
                extend(index);
                return;
            }
            finish();
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

    // Ends the fall in progress, if any.
    void finish()
    {
        if (inFall_ && qualified_) {
            lastEnd_ = lastLow_;
            haveLast_ = true;
            if (falls_)
                falls_->push_back({int(start_), int(lastLow_), double(baselineSum_) / baselineCount_, merged_});
        }
        inFall_ = false;
    }

    int count() const { return count_; }

private:
    void extend(std::int64_t index)
    {
        lastLow_ = index;
        ++length_;
        if (length_ == ClinicalRules::kMinFallSeconds) {
            qualified_ = true;
            merged_ = haveLast_ && start_ - lastEnd_ < ClinicalRules::kMergeSeconds;
            if (!merged_)
                ++count_;
        }
    }

    // At least drop_ below the mean sum / count, in whole numbers.
    bool low(int spo2, std::int64_t sum, int count) const
    {
        return count > 0 && std::int64_t(spo2 + drop_) * count <= sum;
    }

    int drop_;
    std::vector<Fall> *falls_;
    int count_ = 0;
    bool inFall_ = false;
    bool qualified_ = false;
    bool merged_ = false;
    bool haveLast_ = false;
    std::int64_t start_ = 0;
    std::int64_t lastLow_ = 0; // last low valid reading of the current fall
    std::int64_t lastEnd_ = 0; // last low reading of the last fall long enough to count
    int length_ = 0;
    std::int64_t baselineSum_ = 0;
    int baselineCount_ = 0;
};

// A desaturation of the index with the figures measured on it.
struct Desaturation {
    int start = 0;
    int end = 0;         // last low reading
    double baseline = 0; // held mean baseline of the index
};

// Falls merged into the one before them make one desaturation with it.
std::vector<Desaturation> desaturations(const std::vector<Fall> &falls)
{
    std::vector<Desaturation> out;
    for (const Fall &f : falls) {
        if (f.merged && !out.empty())
            out.back().end = f.lastLow;
        else
            out.push_back({f.start, f.lastLow, f.baseline});
    }
    return out;
}

class DesaturationFigures
{
public:
    DesaturationFigures(const SampleRecord *samples, int count, const SignalQuality &quality)
        : samples_(samples), count_(count), quality_(quality)
    {
    }

    void add(const Desaturation &d)
    {
        // The lowest reading; of several, the last, so that a plateau's area
        // is measured to its end.
        int nadir = -1;
        int seconds = 0; // as for the index, readings without signal do not lengthen it
        for (int i = d.start; i <= d.end; ++i) {
            if (!valid(i))
                continue;
            ++seconds;
            if (nadir < 0 || samples_[i].spo2 <= samples_[nadir].spo2)
                nadir = i;
        }
        if (nadir < 0)
            return;
        const int lowest = samples_[nadir].spo2;
        ++counted_;
        seconds_ += seconds;
        depth_ += d.baseline - lowest;
        addArea(d, nadir);
        addPulseRise(d, nadir);
    }

    double totalArea() const { return area_; } // %·s
    double meanSeconds() const { return mean(seconds_, counted_); }
    double meanDepth() const { return mean(depth_, counted_); }
    double meanPulseRise() const { return mean(pulseRise_, pulseRises_); }

private:
    bool valid(int i) const { return i >= 0 && i < count_ && quality_.valid(i); }
    static double mean(double sum, int n) { return n > 0 ? sum / n : 0; }

    void addArea(const Desaturation &d, int nadir)
    {
        int baseline = -1;
        for (int i = d.start - ClinicalRules::kBurdenBaselineSeconds; i < d.start; ++i)
            if (valid(i))
                baseline = std::max(baseline, int(samples_[i].spo2));
        if (baseline < 0)
            return;
        int end = std::min(nadir + ClinicalRules::kBurdenTailSeconds, count_ - 1);
        for (int i = nadir + 1; i <= end; ++i) {
            if (valid(i) && samples_[i].spo2 >= baseline - 1) {
                end = i;
                break;
            }
        }
        // No second counts for two desaturations.
        for (int i = std::max(d.start, covered_ + 1); i <= end; ++i)
            if (valid(i))
                area_ += std::max(baseline - samples_[i].spo2, 0);
        covered_ = std::max(covered_, end);
    }

    void addPulseRise(const Desaturation &d, int nadir)
    {
        std::int64_t before = 0;
        int beforeCount = 0;
        for (int i = d.start - ClinicalRules::kPulseBeforeSeconds; i < d.start; ++i) {
            if (valid(i)) {
                before += samples_[i].pulseRate;
                ++beforeCount;
            }
        }
        int highest = -1;
        for (int i = nadir + 1; i <= nadir + ClinicalRules::kPulseAfterSeconds; ++i)
            if (valid(i))
                highest = std::max(highest, int(samples_[i].pulseRate));
        if (beforeCount == 0 || highest < 0)
            return;
        pulseRise_ += highest - double(before) / beforeCount;
        ++pulseRises_;
    }

    const SampleRecord *samples_;
    int count_;
    const SignalQuality &quality_;
    int counted_ = 0;
    double seconds_ = 0;
    double depth_ = 0;
    double area_ = 0;
    int covered_ = -1; // last reading whose area is counted
    double pulseRise_ = 0;
    int pulseRises_ = 0;
};

// Mean absolute change between successive whole 12-s windows that both hold
// valid readings.
double deltaIndex(const SampleRecord *samples, int count, const SignalQuality &quality)
{
    constexpr int w = ClinicalRules::kDeltaWindowSeconds;
    double sum = 0;
    int pairs = 0;
    bool havePrevious = false;
    double previous = 0;
    for (int start = 0; start + w <= count; start += w) {
        int total = 0;
        int n = 0;
        for (int i = start; i < start + w; ++i) {
            if (quality.valid(i)) {
                total += samples[i].spo2;
                ++n;
            }
        }
        if (n == 0) {
            havePrevious = false;
            continue;
        }
        const double m = double(total) / n;
        if (havePrevious) {
            sum += std::abs(m - previous);
            ++pairs;
        }
        previous = m;
        havePrevious = true;
    }
    return pairs > 0 ? sum / pairs : 0;
}

} // namespace

ClinicalSummary computeClinicalSummary(const SampleRecord *samples, int count, const std::vector<ReadingSpan> &marked)
{
    ClinicalSummary s;
    if (!samples || count <= 0)
        return s;

    const SignalQuality quality = assessSignal(samples, count, marked);
    s.validSeconds = quality.validSeconds;
    s.artefactSeconds = quality.artefactSeconds;
    s.coverage = quality.coverage;
    s.shortRecording = quality.shortRecording;
    if (s.validSeconds == 0)
        return s;

    std::vector<Fall> falls;
    DesaturationCounter odi3(3, &falls);
    DesaturationCounter odi4(4);
    std::int64_t windowSum = 0; // valid SpO2 of the readings in the last kBaselineSeconds
    int windowCount = 0;
    std::int64_t spo2Sum = 0;
    std::int64_t pulseSum = 0;
    int nadir = 101;
    int pulseMin = 256;
    int pulseMax = 0;

    for (int i = 0; i < count; ++i) {
        // Slide the baseline window to cover readings i - 120 .. i - 1.
        if (i > 0 && quality.valid(i - 1)) {
            windowSum += samples[i - 1].spo2;
            ++windowCount;
        }
        const int leaving = i - 1 - ClinicalRules::kBaselineSeconds;
        if (leaving >= 0 && quality.valid(leaving)) {
            windowSum -= samples[leaving].spo2;
            --windowCount;
        }

        if (!quality.valid(i))
            continue;
        const int spo2 = samples[i].spo2;
        const int pulse = samples[i].pulseRate;
        ++s.spo2Histogram[std::size_t(spo2)];
        if (spo2 < 90)
            ++s.t90Seconds;
        if (spo2 < 88)
            ++s.t88Seconds;
        nadir = std::min(nadir, spo2);
        pulseMin = std::min(pulseMin, pulse);
        pulseMax = std::max(pulseMax, pulse);
        spo2Sum += spo2;
        pulseSum += pulse;

        odi3.add(i, spo2, windowSum, windowCount);
        odi4.add(i, spo2, windowSum, windowCount);
    }
    odi3.finish();

    const double valid = s.validSeconds;
    const double hours = valid / 3600.0;
    s.nadir = nadir;
    s.meanSpo2 = double(spo2Sum) / valid;
    s.t90Percent = 100.0 * s.t90Seconds / valid;
    s.t88Percent = 100.0 * s.t88Seconds / valid;
    s.pulseMin = pulseMin;
    s.pulseMax = pulseMax;
    s.pulseMean = double(pulseSum) / valid;
    s.odi3 = odi3.count() / hours;
    s.odi4 = odi4.count() / hours;

    DesaturationFigures figures(samples, count, quality);
    for (const Desaturation &d : desaturations(falls))
        figures.add(d);
    s.hypoxicBurden = figures.totalArea() / 60.0 / hours;
    s.desaturationMeanSeconds = figures.meanSeconds();
    s.desaturationMeanDepth = figures.meanDepth();
    s.pulseRiseMean = figures.meanPulseRise();
    s.deltaIndex = deltaIndex(samples, count, quality);
    return s;
}

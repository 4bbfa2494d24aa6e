// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/RunAnalysis.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace
{

// The state of the event rule for one channel. Kept as a plain local struct
// so the compiler can hold it in registers through the pass.
struct EventState {
    bool inEvent = false;
    int reference = 0; // the last peak, or inside an event the event level
    int run = 0;
    int eventStart = 0;
    int stepDrop = 0; // the one-sample fall at the event's start
};

// The event that the state's run makes.
inline EventRecord Event(const EventState &st)
{
    return {st.eventStart, st.run, 0, 0, st.stepDrop};
}

// The event rule, one sample j at a time: an event starts at the first
// sample that lies drop or more below the last peak and lasts while the value
// stays at or below (peak - drop).
//
// The last peak is the value before the first non-rising step after a rise
// (or after an event, or from the start). Taking the value of every rising
// step as the candidate gives the same peak without an anchoring flag, and
// leaves the direction test free of branches, which noisy readings would make
// unpredictable.

// Outside an event: follows the peak; true when an event starts at j.
inline bool Waiting(EventState &st, int prev, int cur, int drop)
{
    const bool rising = prev < cur;
    // reference = rising ? cur : reference, as arithmetic so that the
    // compiler cannot turn it back into a jump.
    st.reference += (cur - st.reference) & -int(rising);
    return !rising & (st.reference - cur >= drop);
}

inline void Start(EventState &st, int prev, int cur, int j, int drop)
{
    st.reference -= drop; // from here on, the event level
    st.inEvent = true;
    st.run = 1;
    st.eventStart = j;
    st.stepDrop = prev - cur;
}

// Inside an event: true when an event of at least minLength samples has just
// ended; a shorter run is dropped without trace.
inline bool Continue(EventState &st, int cur, int minLength)
{
    if (cur > st.reference) {
        // Climbed above the event level: this sample is not part of the
        // event, and it is the first candidate for the next peak.
        st.inEvent = false;
        st.reference = cur;
        return st.run >= minLength;
    }
    ++st.run;
    return false;
}

inline bool Step(EventState &st, int prev, int cur, int j, int drop, int minLength)
{
    if (st.inEvent)
        return Continue(st, cur, minLength);
    if (Waiting(st, prev, cur, drop))
        Start(st, prev, cur, j, drop);
    return false;
}

template <typename Channel>
void WidenEvents(std::vector<EventRecord> &events, const SampleRecord *samples, Channel value)
{
    for (EventRecord &e : events) {
        int hi = value(samples[e.start]);
        int lo = hi;
        for (int i = e.start + 1; i < e.start + e.length; ++i) {
            const int v = value(samples[i]);
            hi = std::max(hi, v);
            lo = std::min(lo, v);
        }
        e.maxValue = hi;
        e.minValue = lo;
    }
}

struct KindFigures {
    std::int32_t &timeInEvents;
    std::int32_t &avgEventMax;
    std::int32_t &avgEventMin;
    std::int32_t &maxEventOffset;
    std::int32_t &maxEventDuration;
    std::int32_t &avgEventDuration;
};

void Summarise(const std::vector<EventRecord> &events, KindFigures f)
{
    if (events.empty())
        return;
    std::int32_t sumMax = 0;
    std::int32_t sumMin = 0;
    for (const EventRecord &e : events) {
        f.timeInEvents += e.length;
        sumMax += e.maxValue;
        sumMin += e.minValue;
        f.maxEventOffset = std::max(f.maxEventOffset, e.stepDrop);
        f.maxEventDuration = std::max(f.maxEventDuration, e.length);
    }
    const auto count = std::int32_t(events.size());
    f.avgEventMax = sumMax / count;
    f.avgEventMin = sumMin / count;
    f.avgEventDuration = f.timeInEvents / count;
}

struct ChannelFigures {
    int max = 0;
    int min = 0;
    int mean = 0;
    int aboveHigh = 0;
    int belowLow = 0;
};

// The figures of one channel from how often each value occurs. Both threshold
// tests are strict: a value equal to a threshold counts in neither direction.
template <std::size_t Lanes>
ChannelFigures Figures(const std::array<std::array<std::uint32_t, 256>, Lanes> &counts, int total, int high, int low)
{
    ChannelFigures f;
    bool seen = false;
    std::int64_t sum = 0; // exact; the mean divides it as floating point
    for (int v = 0; v < 256; ++v) {
        std::int64_t n = 0;
        for (const auto &lane : counts)
            n += lane[std::size_t(v)];
        if (n == 0)
            continue;
        if (!seen)
            f.min = v;
        seen = true;
        f.max = v;
        sum += n * v;
        if (v > high)
            f.aboveHigh += int(n);
        if (v < low)
            f.belowLow += int(n);
    }
    f.mean = std::int32_t(double(sum) / total);
    return f;
}

// Both event rules over the samples in order, a block at a time, so that
// RunAnalysis can count values over a block while it is still in cache.
class EventScan
{
public:
    EventScan(const SampleRecord *samples, int count, int spo2Drop, int pulseDrop, AnalysisResults &results)
        : samples_(samples), count_(count), spo2Drop_(spo2Drop), pulseDrop_(pulseDrop), results_(results)
    {
        if (count <= 0)
            return;
        // Until the first rise, the peak is the first sample.
        spo2_.reference = prevSpo2_ = samples[0].spo2;
        pulse_.reference = prevPulse_ = samples[0].pulseRate;
    }

    // Takes samples up to end - 1.
    void scanTo(int end)
    {
        end = std::min(end, count_);
        while (j_ < end) {
            if (!(spo2_.inEvent | pulse_.inEvent) && fastWait_) {
                waitForStart(end);
                continue;
            }
            const int curSpo2 = samples_[j_].spo2;
            const int curPulse = samples_[j_].pulseRate;
            if (Step(spo2_, prevSpo2_, curSpo2, j_, spo2Drop_, kSpo2EventMinLength))
                results_.spo2Events.push_back(Event(spo2_));
            if (Step(pulse_, prevPulse_, curPulse, j_, pulseDrop_, kPulseEventMinLength))
                results_.pulseEvents.push_back(Event(pulse_));
            prevSpo2_ = curSpo2;
            prevPulse_ = curPulse;
            ++j_;
        }
    }

    // An event still running at the last sample ends there.
    void finish()
    {
        if (spo2_.inEvent && spo2_.run >= kSpo2EventMinLength)
            results_.spo2Events.push_back(Event(spo2_));
        if (pulse_.inEvent && pulse_.run >= kPulseEventMinLength)
            results_.pulseEvents.push_back(Event(pulse_));
    }

private:
    // Both kinds waiting for a fall, by far the most common case: a tight loop
    // on locals (readings are bytes, which may alias any member) up to the
    // first sample where either starts, which it takes.
    //
    // The loop follows the fall below the peak instead of the peak. Between
    // the last rise and j the readings never rise, so the fall is the sum of
    // the steps down since then, and a rising step sets it to 0. With a drop
    // of at least 1, "not rising" then needs no test of its own. Both are
    // kept as arithmetic: compilers turn a choice of values into a jump,
    // which noisy readings would make unpredictable.
    void waitForStart(int end)
    {
        const SampleRecord *samples = samples_;
        const int spo2Drop = spo2Drop_;
        const int pulseDrop = pulseDrop_;
        int j = j_;
        int prevSpo2 = prevSpo2_;
        int prevPulse = prevPulse_;
        int spo2Fall = spo2_.reference - prevSpo2;
        int pulseFall = pulse_.reference - prevPulse;
        for (; j < end; ++j) {
            const int curSpo2 = samples[j].spo2;
            const int curPulse = samples[j].pulseRate;
            const int spo2Step = prevSpo2 - curSpo2;
            const int pulseStep = prevPulse - curPulse;
            // A negative step is a rise: its sign bits clear the fall.
            spo2Fall = (spo2Fall + spo2Step) & ~(spo2Step >> 31);
            pulseFall = (pulseFall + pulseStep) & ~(pulseStep >> 31);
            // Both differences negative (sign bit set in both) means neither
            // kind starts: one test for the two of them.
            if (((spo2Fall - spo2Drop) & (pulseFall - pulseDrop)) >= 0) {
                spo2_.reference = curSpo2 + spo2Fall;
                pulse_.reference = curPulse + pulseFall;
                if (spo2Fall >= spo2Drop)
                    Start(spo2_, prevSpo2, curSpo2, j, spo2Drop);
                if (pulseFall >= pulseDrop)
                    Start(pulse_, prevPulse, curPulse, j, pulseDrop);
                prevSpo2_ = curSpo2;
                prevPulse_ = curPulse;
                j_ = j + 1;
                return;
            }
            prevSpo2 = curSpo2;
            prevPulse = curPulse;
        }
        spo2_.reference = prevSpo2 + spo2Fall;
        pulse_.reference = prevPulse + pulseFall;
        prevSpo2_ = prevSpo2;
        prevPulse_ = prevPulse;
        j_ = j;
    }

    const SampleRecord *samples_;
    int count_;
    int spo2Drop_;
    int pulseDrop_;
    AnalysisResults &results_;
    EventState spo2_;
    EventState pulse_;
    int prevSpo2_ = 0;
    int prevPulse_ = 0;
    int j_ = 1;
    // A drop of 0 or less starts an event at every step that does not rise;
    // only the general step handles that.
    bool fastWait_ = spo2Drop_ > 0 && pulseDrop_ > 0;
};

// Every event figure is replaced; the thresholds belong to RunAnalysis.
void ClearEvents(AnalysisResults &results)
{
    AnalysisResults fresh;
    fresh.saturationsHigh = results.saturationsHigh;
    fresh.saturationsLow = results.saturationsLow;
    fresh.prHigh = results.prHigh;
    fresh.prLow = results.prLow;
    results = std::move(fresh);
}

// The figures that follow from the finished event lists.
void SummariseEvents(const SampleRecord *samples, int count, AnalysisResults &results)
{
    WidenEvents(results.spo2Events, samples, [](const SampleRecord &s) { return int(s.spo2); });
    WidenEvents(results.pulseEvents, samples, [](const SampleRecord &s) { return int(s.pulseRate); });
    results.spo2EventCount = std::int32_t(results.spo2Events.size());
    results.pulseEventCount = std::int32_t(results.pulseEvents.size());

    const auto hours = float(count / 3600.0);
    if (hours != 0) {
        results.spo2EventIndex = float(results.spo2EventCount) / hours;
        results.pulseEventIndex = float(results.pulseEventCount) / hours;
    }
    Summarise(results.spo2Events,
              {results.spo2TimeInEvents, results.spo2AvgEventMax, results.spo2AvgEventMin, results.spo2MaxEventOffset,
               results.spo2MaxEventDuration, results.spo2AvgEventDuration});
    Summarise(results.pulseEvents,
              {results.pulseTimeInEvents, results.pulseAvgEventMax, results.pulseAvgEventMin,
               results.pulseMaxEventOffset, results.pulseMaxEventDuration, results.pulseAvgEventDuration});
}

} // namespace

void DetectEvents(const SampleRecord *samples, int count, int desaturationDrop, int pulseDrop, AnalysisResults &results)
{
    ClearEvents(results);
    EventScan scan(samples, count, desaturationDrop, pulseDrop, results);
    scan.scanTo(count);
    scan.finish();
    SummariseEvents(samples, count, results);
}

void RunAnalysis(const SampleRecord *samples, int count, const AnalysisSettings &settings, AnalysisResults &results,
                 RecordingStatistics &statistics)
{
    results = AnalysisResults{};
    statistics = RecordingStatistics{};
    results.saturationsHigh = settings.saturationsHigh;
    results.saturationsLow = settings.saturationsLow;
    results.prHigh = settings.prHigh;
    results.prLow = settings.prLow;
    if (count <= 0 || samples == nullptr)
        return;

    // One pass over the samples, a block at a time: the value counts of a
    // block, then both event rules over it while it is still in cache.
    // Extremes, sums and the strict threshold counts then come from the 256
    // counts of each channel. Four interleaved tables keep runs of equal
    // readings from waiting on each other's increments.
    constexpr int kLanes = 4; // written out in the loop below
    constexpr int kBlock = 4096;
    std::array<std::array<std::uint32_t, 256>, kLanes> spo2Counts{};
    std::array<std::array<std::uint32_t, 256>, kLanes> pulseCounts{};
    ClearEvents(results);
    EventScan scan(samples, count, settings.desaturationsEvent, settings.pulseEvent, results);
    for (int blockStart = 0; blockStart < count; blockStart += kBlock) {
        const int blockEnd = std::min(count, blockStart + kBlock);
        int i = blockStart;
        for (; i + kLanes <= blockEnd; i += kLanes) {
            const SampleRecord *r = samples + i;
            ++spo2Counts[0][r[0].spo2];
            ++pulseCounts[0][r[0].pulseRate];
            ++spo2Counts[1][r[1].spo2];
            ++pulseCounts[1][r[1].pulseRate];
            ++spo2Counts[2][r[2].spo2];
            ++pulseCounts[2][r[2].pulseRate];
            ++spo2Counts[3][r[3].spo2];
            ++pulseCounts[3][r[3].pulseRate];
        }
        for (; i < blockEnd; ++i) {
            ++spo2Counts[0][samples[i].spo2];
            ++pulseCounts[0][samples[i].pulseRate];
        }
        scan.scanTo(blockEnd);
    }
    scan.finish();
    SummariseEvents(samples, count, results);

    const ChannelFigures spo2 = Figures(spo2Counts, count, settings.saturationsHigh, settings.saturationsLow);
    const ChannelFigures pulse = Figures(pulseCounts, count, settings.prHigh, settings.prLow);
    statistics.spo2Max = spo2.max;
    statistics.spo2Min = spo2.min;
    statistics.spo2Mean = spo2.mean;
    statistics.spo2AboveHighCount = spo2.aboveHigh;
    statistics.spo2BelowLowCount = spo2.belowLow;
    statistics.pulseMax = pulse.max;
    statistics.pulseMin = pulse.min;
    statistics.pulseMean = pulse.mean;
    statistics.pulseAboveHighCount = pulse.aboveHigh;
    statistics.pulseBelowLowCount = pulse.belowLow;
}

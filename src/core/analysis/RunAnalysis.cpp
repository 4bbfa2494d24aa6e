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

} // namespace

void DetectEvents(const SampleRecord *samples, int count, int desaturationDrop, int pulseDrop, AnalysisResults &results)
{
    // Every event figure is replaced; the thresholds belong to RunAnalysis.
    AnalysisResults fresh;
    fresh.saturationsHigh = results.saturationsHigh;
    fresh.saturationsLow = results.saturationsLow;
    fresh.prHigh = results.prHigh;
    fresh.prLow = results.prLow;
    results = std::move(fresh);
    {
        EventState spo2;
        EventState pulse;
        // Until the first rise, the peak is the first sample.
        spo2.reference = count > 0 ? samples[0].spo2 : 0;
        pulse.reference = count > 0 ? samples[0].pulseRate : 0;
        auto &spo2Events = results.spo2Events;
        auto &pulseEvents = results.pulseEvents;
        int prevSpo2 = count > 0 ? samples[0].spo2 : 0;
        int prevPulse = count > 0 ? samples[0].pulseRate : 0;
        for (int j = 1; j < count; ++j) {
            const int curSpo2 = samples[j].spo2;
            const int curPulse = samples[j].pulseRate;
            if (!(spo2.inEvent | pulse.inEvent)) {
                // Both kinds waiting for a fall, by far the most common case:
                // one branch for the two of them.
                const bool spo2Starts = Waiting(spo2, prevSpo2, curSpo2, desaturationDrop);
                const bool pulseStarts = Waiting(pulse, prevPulse, curPulse, pulseDrop);
                if (spo2Starts | pulseStarts) {
                    if (spo2Starts)
                        Start(spo2, prevSpo2, curSpo2, j, desaturationDrop);
                    if (pulseStarts)
                        Start(pulse, prevPulse, curPulse, j, pulseDrop);
                }
                prevSpo2 = curSpo2;
                prevPulse = curPulse;
                continue;
            }
            if (Step(spo2, prevSpo2, curSpo2, j, desaturationDrop, kSpo2EventMinLength))
                spo2Events.push_back(Event(spo2));
            if (Step(pulse, prevPulse, curPulse, j, pulseDrop, kPulseEventMinLength))
                pulseEvents.push_back(Event(pulse));
            prevSpo2 = curSpo2;
            prevPulse = curPulse;
        }
        // An event still running at the last sample ends there.
        if (spo2.inEvent && spo2.run >= kSpo2EventMinLength)
            spo2Events.push_back(Event(spo2));
        if (pulse.inEvent && pulse.run >= kPulseEventMinLength)
            pulseEvents.push_back(Event(pulse));
    }
    WidenEvents(results.spo2Events, samples, [](const SampleRecord &s) { return int(s.spo2); });
    WidenEvents(results.pulseEvents, samples, [](const SampleRecord &s) { return int(s.pulseRate); });
    results.spo2EventCount = std::int32_t(results.spo2Events.size());
    results.pulseEventCount = std::int32_t(results.pulseEvents.size());

    const float hours = float(count / 3600.0);
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

    // One pass counts how often each value occurs; extremes, sums and the
    // strict threshold counts then come from the 256 counts of each channel.
    // Four interleaved tables keep runs of equal readings from waiting on each
    // other's increments.
    constexpr int kLanes = 4;
    std::array<std::array<std::uint32_t, 256>, kLanes> spo2Counts{};
    std::array<std::array<std::uint32_t, 256>, kLanes> pulseCounts{};
    int i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        for (int lane = 0; lane < kLanes; ++lane) {
            ++spo2Counts[lane][samples[i + lane].spo2];
            ++pulseCounts[lane][samples[i + lane].pulseRate];
        }
    }
    for (; i < count; ++i) {
        ++spo2Counts[0][samples[i].spo2];
        ++pulseCounts[0][samples[i].pulseRate];
    }
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

    DetectEvents(samples, count, settings.desaturationsEvent, settings.pulseEvent, results);
}

#include "analysis/RunAnalysis.h"

#include <algorithm>
#include <utility>

namespace
{

// The event rule of one channel: an event starts at the first sample that lies
// drop or more below the last peak and lasts while the value stays at or below
// (peak - drop).
class EventTracker
{
public:
    EventTracker(int drop, int minLength, std::vector<EventRecord> &events)
        : drop_(drop), minLength_(minLength), events_(events)
    {
    }

    void step(int prev, int cur, int j, bool last)
    {
        if (!inEvent_) {
            if (prev < cur) {
                // A rise: the next non-rising step sets a new peak.
                anchored_ = false;
                closeRun();
                return;
            }
            run_ = 0;
            lastStepDrop_ = prev - cur;
            if (!anchored_) {
                reference_ = prev;
                anchored_ = true;
            }
            if (reference_ - cur >= drop_) {
                reference_ -= drop_; // from here on, the event level
                inEvent_ = true;
                run_ = 1;
                eventStart_ = j;
                if (last)
                    closeRun();
            }
            return;
        }
        if (cur > reference_) {
            // Climbed above the event level: this sample is not part of the event.
            inEvent_ = false;
            anchored_ = false;
            closeRun();
            return;
        }
        ++run_;
        if (last)
            closeRun();
    }

private:
    void closeRun()
    {
        if (run_ < minLength_)
            return; // too short: dropped without trace
        events_.push_back({eventStart_, run_, 0, 0, lastStepDrop_});
        run_ = 0;
    }

    const int drop_;
    const int minLength_;
    std::vector<EventRecord> &events_;
    bool inEvent_ = false;
    bool anchored_ = false;
    int reference_ = 0;
    int run_ = 0;
    int eventStart_ = 0;
    int lastStepDrop_ = 0;
};

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
        EventTracker spo2(desaturationDrop, kSpo2EventMinLength, results.spo2Events);
        EventTracker pulse(pulseDrop, kPulseEventMinLength, results.pulseEvents);
        for (int j = 1; j < count; ++j) {
            const bool last = j == count - 1;
            spo2.step(samples[j - 1].spo2, samples[j].spo2, j, last);
            pulse.step(samples[j - 1].pulseRate, samples[j].pulseRate, j, last);
        }
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

    RecordingStatistics &st = statistics;
    st.spo2Max = st.spo2Min = samples[0].spo2;
    st.pulseMax = st.pulseMin = samples[0].pulseRate;
    double spo2Sum = 0;
    double pulseSum = 0;
    for (int i = 0; i < count; ++i) {
        const int s = samples[i].spo2;
        const int p = samples[i].pulseRate;
        st.spo2AboveHighCount += s > settings.saturationsHigh;
        st.spo2BelowLowCount += s < settings.saturationsLow;
        st.pulseAboveHighCount += p > settings.prHigh;
        st.pulseBelowLowCount += p < settings.prLow;
        spo2Sum += s;
        pulseSum += p;
        st.spo2Max = std::max(st.spo2Max, s);
        st.spo2Min = std::min(st.spo2Min, s);
        st.pulseMax = std::max(st.pulseMax, p);
        st.pulseMin = std::min(st.pulseMin, p);
    }
    st.spo2Mean = std::int32_t(spo2Sum / count);
    st.pulseMean = std::int32_t(pulseSum / count);

    DetectEvents(samples, count, settings.desaturationsEvent, settings.pulseEvent, results);
}

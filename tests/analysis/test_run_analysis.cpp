// SPDX-License-Identifier: GPL-3.0-or-later
// The event rule and the whole-recording figures, on the worked examples.
#include "analysis/RunAnalysis.h"
#include "app/Settings.h"

#include "AnalysisTestData.h"

#include <QSettings>

#include <gtest/gtest.h>

using namespace analysistest;

namespace
{

struct Outcome {
    AnalysisResults results;
    RecordingStatistics statistics;
};

Outcome Analyse(const std::vector<SampleRecord> &samples, AnalysisSettings settings = {})
{
    Outcome r;
    // Stale figures must never survive a run.
    r.results.spo2EventCount = 99;
    r.results.spo2Events.push_back({1, 2, 3, 4, 5});
    r.statistics.spo2Max = 99;
    RunAnalysis(samples.data(), int(samples.size()), settings, r.results, r.statistics);
    return r;
}

} // namespace

TEST(EventRule, FallOfExactlyDropStartsAnEventAtTheLastPeakMinusDrop)
{
    // Reference 97 from sample 0; 93 at index 5 is 4 below it. The level is then
    // 93, so 93, 92, 93, 90 extend the event and the first 94 ends it.
    auto s = Spo2Series({97, 97, 96, 95, 94, 93, 93, 92, 93, 90, 93, 92, 93, 93, 93, 94, 97, 97});
    const Outcome r = Analyse(s);
    ASSERT_EQ(r.results.spo2EventCount, 1);
    const EventRecord &e = r.results.spo2Events.front();
    EXPECT_EQ(e.start, 5);
    EXPECT_EQ(e.length, 10); // 5 .. 14; the 94 at index 15 is not counted
    EXPECT_EQ(e.stepDrop, 1);
    EXPECT_EQ(e.maxValue, 93);
    EXPECT_EQ(e.minValue, 90);
    EXPECT_EQ(r.results.spo2MaxEventOffset, 1);

    // One point less: the same stretch holds 9 samples and leaves no trace.
    s[14].spo2 = 94;
    EXPECT_EQ(Analyse(s).results.spo2EventCount, 0);
    EXPECT_TRUE(Analyse(s).results.spo2Events.empty());
}

TEST(EventRule, RiseReanchorsTheReference)
{
    // 96 -> 97 moves the reference from 98 to 97, and 97 - 94 = 3 is not enough.
    std::vector<SampleRecord> s = Spo2Series({98, 96, 97, 95, 94});
    for (int i = 0; i < 20; ++i)
        s.push_back(At(int(s.size()), 94, 70));
    EXPECT_EQ(Analyse(s).results.spo2EventCount, 0);
    // Without the rise the reference stays at 98 and the same tail is an event.
    s[2].spo2 = 96;
    const Outcome r = Analyse(s);
    ASSERT_EQ(r.results.spo2EventCount, 1);
    EXPECT_EQ(r.results.spo2Events[0].start, 4);
    EXPECT_EQ(r.results.spo2Events[0].length, int(s.size()) - 4);
}

TEST(EventRule, SlowFallKeepsThePeakAsReference)
{
    auto s = Spo2Series({97, 96, 95, 94, 93, 93, 93, 93, 93, 93, 93, 93, 93, 93, 97});
    const Outcome r = Analyse(s);
    ASSERT_EQ(r.results.spo2EventCount, 1);
    EXPECT_EQ(r.results.spo2Events[0].start, 4);
    EXPECT_EQ(r.results.spo2Events[0].length, 10);
    EXPECT_EQ(r.results.spo2Events[0].stepDrop, 1);
}

TEST(EventRule, MinimumLengthsAreTenForSpo2AndEightForPulse)
{
    for (int length : {9, 10, 11}) {
        auto s = Steady(40);
        Desaturate(s, 10, length);
        const Outcome r = Analyse(s);
        EXPECT_EQ(r.results.spo2EventCount, length >= 10 ? 1 : 0) << length;
        if (length >= 10) {
            EXPECT_EQ(r.results.spo2Events[0].length, length);
            EXPECT_EQ(r.results.spo2Events[0].stepDrop, 7);
        }
    }
    for (int length : {7, 8}) {
        auto s = Steady(40);
        for (int i = 10; i < 10 + length; ++i)
            s[std::size_t(i)].pulseRate = 60;
        const Outcome r = Analyse(s);
        EXPECT_EQ(r.results.spo2EventCount, 0);
        ASSERT_EQ(r.results.pulseEventCount, length == 8 ? 1 : 0) << length;
        if (length == 8) {
            EXPECT_EQ(r.results.pulseEvents[0], (EventRecord{10, 8, 60, 60, 10}));
        }
    }
}

TEST(EventRule, EventRunningAtTheLastSampleIsClosedThere)
{
    auto s = Steady(30);
    Desaturate(s, 20, 10); // 20 .. 29, the last sample included
    Outcome r = Analyse(s);
    ASSERT_EQ(r.results.spo2EventCount, 1);
    EXPECT_EQ(r.results.spo2Events[0].start, 20);
    EXPECT_EQ(r.results.spo2Events[0].length, 10);

    s.pop_back(); // nine samples left at the end: too short
    r = Analyse(s);
    EXPECT_EQ(r.results.spo2EventCount, 0);
}

TEST(EventRule, StretchesSplitByOneSampleAreTwoEventsAndNeedANewPeak)
{
    auto s = Steady(60);
    Desaturate(s, 5, 10);
    s[15].spo2 = 97; // one sample back above the level
    Desaturate(s, 16, 12);
    Outcome r = Analyse(s);
    ASSERT_EQ(r.results.spo2EventCount, 2);
    EXPECT_EQ(r.results.spo2Events[0].start, 5);
    EXPECT_EQ(r.results.spo2Events[1].start, 16);
    EXPECT_EQ(r.results.spo2Events[1].length, 12);
    EXPECT_EQ(r.results.spo2MaxEventDuration, 12);
    EXPECT_EQ(r.results.spo2TimeInEvents, 22);
    EXPECT_EQ(r.results.spo2AvgEventDuration, 11);

    // Ending above the level but below the old peak: the reference re-anchors
    // there (94), and 91 is only 3 below it.
    s = Steady(60);
    Desaturate(s, 5, 10);
    s[15].spo2 = 94;
    Desaturate(s, 16, 12, 91);
    r = Analyse(s);
    EXPECT_EQ(r.results.spo2EventCount, 1);
}

TEST(EventRule, PulseEventsAreFallsOnly)
{
    auto s = Steady(60);
    for (int i = 10; i < 60; ++i)
        s[std::size_t(i)].pulseRate = 100; // up 30 bpm and staying
    EXPECT_EQ(Analyse(s).results.pulseEventCount, 0);
}

TEST(EventRule, TimeStampsAreNotConsulted)
{
    auto s = Steady(40);
    Desaturate(s, 10, 12);
    const Outcome plain = Analyse(s);
    for (int i = 15; i < 40; ++i)
        s[std::size_t(i)].hour = 23; // a jump of hours inside the event
    const Outcome jumped = Analyse(s);
    ASSERT_EQ(jumped.results.spo2EventCount, 1);
    EXPECT_EQ(jumped.results.spo2Events, plain.results.spo2Events);
}

TEST(EventRule, DropSettingsAreHonoured)
{
    auto s = Steady(40);
    Desaturate(s, 10, 12, 94); // a fall of 3
    EXPECT_EQ(Analyse(s).results.spo2EventCount, 0);
    AnalysisSettings three;
    three.desaturationsEvent = 3;
    EXPECT_EQ(Analyse(s, three).results.spo2EventCount, 1);
}

TEST(EventFigures, MeansTruncateAndTheIndexIsEventsPerHour)
{
    auto s = Steady(1800);
    Desaturate(s, 100, 10, 90);
    Desaturate(s, 500, 11, 92);
    Desaturate(s, 900, 14, 89);
    s[905].spo2 = 80;
    const Outcome r = Analyse(s);
    ASSERT_EQ(r.results.spo2EventCount, 3);
    EXPECT_FLOAT_EQ(r.results.spo2EventIndex, 6.0F);
    EXPECT_EQ(r.results.pulseEventIndex, 0.0F);
    EXPECT_EQ(r.results.spo2TimeInEvents, 35);
    EXPECT_EQ(r.results.spo2AvgEventDuration, 11); // 35 / 3
    EXPECT_EQ(r.results.spo2AvgEventMax, 90);      // 271 / 3
    EXPECT_EQ(r.results.spo2AvgEventMin, 87);      // 262 / 3
    EXPECT_EQ(r.results.spo2MaxEventOffset, 8);
    EXPECT_EQ(r.results.spo2MaxEventDuration, 14);

    auto two = Steady(7200);
    for (int k = 0; k < 5; ++k)
        Desaturate(two, 100 + 1000 * k, 10);
    EXPECT_FLOAT_EQ(Analyse(two).results.spo2EventIndex, 2.5F);
}

TEST(Statistics, ExtremesMeansAndStrictThresholds)
{
    std::vector<SampleRecord> s;
    // Values equal to a threshold count in neither direction.
    s.push_back(At(0, 95, 70));
    s.push_back(At(1, 96, 151));
    s.push_back(At(2, 94, 150));
    s.push_back(At(3, 88, 60));
    s.push_back(At(4, 87, 59));
    s.push_back(At(5, 0, 0)); // zeros count like any other value
    const Outcome r = Analyse(s);
    const RecordingStatistics &st = r.statistics;
    EXPECT_EQ(st.spo2Max, 96);
    EXPECT_EQ(st.spo2Min, 0);
    EXPECT_EQ(st.spo2Mean, (95 + 96 + 94 + 88 + 87) / 6); // 76.67 -> 76
    EXPECT_EQ(st.spo2AboveHighCount, 2);
    EXPECT_EQ(st.spo2BelowLowCount, 2);
    EXPECT_EQ(st.pulseMax, 151);
    EXPECT_EQ(st.pulseMin, 0);
    EXPECT_EQ(st.pulseMean, (70 + 151 + 150 + 60 + 59) / 6);
    EXPECT_EQ(st.pulseAboveHighCount, 1);
    EXPECT_EQ(st.pulseBelowLowCount, 2);
    EXPECT_EQ(r.results.saturationsHigh, 94);
    EXPECT_EQ(r.results.prLow, 60);

    EXPECT_EQ(Analyse(Spo2Series({95, 96})).statistics.spo2Mean, 95);
}

TEST(Statistics, EmptyAndSingleSampleRecordings)
{
    Outcome r = Analyse({});
    EXPECT_EQ(r.statistics.spo2Max, 0);
    EXPECT_EQ(r.statistics.pulseMean, 0);
    EXPECT_EQ(r.results.spo2EventCount, 0);
    EXPECT_TRUE(r.results.spo2Events.empty());
    EXPECT_TRUE(r.results.pulseEvents.empty());
    EXPECT_EQ(r.results.spo2EventIndex, 0.0F);
    EXPECT_EQ(r.results.saturationsLow, 88); // the thresholds used are still shown

    r = Analyse({At(0, 87, 151)});
    EXPECT_EQ(r.statistics.spo2Max, 87);
    EXPECT_EQ(r.statistics.spo2Min, 87);
    EXPECT_EQ(r.statistics.spo2Mean, 87);
    EXPECT_EQ(r.statistics.spo2BelowLowCount, 1);
    EXPECT_EQ(r.statistics.pulseAboveHighCount, 1);
    EXPECT_EQ(r.results.spo2EventCount + r.results.pulseEventCount, 0);
}

TEST(Statistics, StoredSettingsAreReadWithDefaults)
{
    QSettings("quellix", "setup").clear();
    EXPECT_EQ(Settings().analysis(), AnalysisSettings{});
    AnalysisSettings changed;
    changed.saturationsHigh = 97;
    changed.prLow = 40;
    changed.pulseEvent = 9;
    Settings().setAnalysis(changed);
    EXPECT_EQ(Settings().analysis(), changed);
    QSettings("quellix", "setup").clear();
}

namespace
{

// The event rule exactly as it is worded: anchored flag, reference, run and
// closing test, one kind at a time. Slow and plain, to check the real one.
std::vector<EventRecord> LiteralEvents(const std::vector<int> &v, int drop, int minLength)
{
    std::vector<EventRecord> events;
    bool inEvent = false;
    bool anchored = false;
    int reference = 0;
    int run = 0;
    int eventStart = 0;
    int lastStepDrop = 0;
    const int n = int(v.size());
    auto close = [&] {
        if (run >= minLength) {
            events.push_back({eventStart, run, 0, 0, lastStepDrop});
            run = 0;
        }
    };
    for (int j = 1; j < n; ++j) {
        const int cur = v[std::size_t(j)];
        const int prev = v[std::size_t(j - 1)];
        if (!inEvent && prev < cur) {
            anchored = false;
            close();
        } else if (!inEvent) {
            run = 0;
            lastStepDrop = prev - cur;
            if (!anchored) {
                reference = prev;
                anchored = true;
            }
            if (reference - cur >= drop) {
                reference -= drop;
                inEvent = true;
                run = 1;
                eventStart = j;
                if (j == n - 1)
                    close();
            }
        } else if (cur > reference) {
            inEvent = false;
            anchored = false;
            close();
        } else {
            ++run;
            if (j == n - 1)
                close();
        }
    }
    for (EventRecord &e : events) {
        const auto first = v.begin() + e.start;
        e.maxValue = *std::max_element(first, first + e.length);
        e.minValue = *std::min_element(first, first + e.length);
    }
    return events;
}

} // namespace

TEST(EventRule, SameEventsAsTheWordedRuleOnRandomNights)
{
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525U + 1013904223U;
        return int(seed >> 8);
    };
    int events = 0;
    for (int night = 0; night < 60; ++night) {
        // Random walks with falls and rises of a few points, and some deep dips.
        const int n = 200 + next() % 3000;
        std::vector<SampleRecord> s;
        std::vector<int> spo2;
        std::vector<int> pulse;
        int a = 95;
        int b = 70;
        for (int i = 0; i < n; ++i) {
            a = std::clamp(a + next() % 5 - 2 - (next() % 60 == 0 ? 6 : 0), 0, 100);
            b = std::clamp(b + next() % 7 - 3 - (next() % 50 == 0 ? 9 : 0), 0, 255);
            spo2.push_back(a);
            pulse.push_back(b);
            s.push_back(At(i, a, b));
        }
        // Besides the dialog's 1..20, hand-edited settings can hold 0, a
        // negative drop (a stored number past 2^31) or one no fall reaches.
        constexpr int kDrops[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, -3, 300};
        AnalysisSettings settings;
        settings.desaturationsEvent = kDrops[night % 6 + (night % 5 == 4 ? 6 : 0)];
        settings.pulseEvent = kDrops[night % 12];
        const Outcome r = Analyse(s, settings);
        const auto wantSpo2 = LiteralEvents(spo2, settings.desaturationsEvent, 10);
        const auto wantPulse = LiteralEvents(pulse, settings.pulseEvent, 8);
        ASSERT_EQ(r.results.spo2Events, wantSpo2) << night;
        ASSERT_EQ(r.results.pulseEvents, wantPulse) << night;
        EXPECT_EQ(r.results.spo2EventCount, int(wantSpo2.size()));
        events += int(wantSpo2.size() + wantPulse.size());
    }
    EXPECT_GT(events, 100);
}

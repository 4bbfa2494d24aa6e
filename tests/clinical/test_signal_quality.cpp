// SPDX-License-Identifier: GPL-3.0-or-later
// Which readings the clinical figures may use (range, spikes, marked spans)
// and the figures measured on the desaturations: hypoxic burden, their mean
// length, depth and pulse rise, and the delta index.
#include "clinical/ClinicalSummary.h"
#include "clinical/SignalQuality.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

using Night = std::vector<SampleRecord>;

Night MakeNight(int seconds, const std::function<int(int)> &spo2, const std::function<int(int)> &pulse = {})
{
    Night night(static_cast<std::size_t>(seconds));
    for (int i = 0; i < seconds; ++i) {
        night[std::size_t(i)].spo2 = std::uint8_t(spo2(i));
        night[std::size_t(i)].pulseRate = std::uint8_t(pulse ? pulse(i) : 64);
    }
    return night;
}

// One hour at 96 % with ten 30-s steps down to 92 %, one every 6 minutes
// from minute 3.
Night WorkedHour()
{
    return MakeNight(3600, [](int i) { return i >= 180 && (i - 180) % 360 < 30 ? 92 : 96; });
}

ClinicalSummary Summary(const Night &night, const std::vector<ReadingSpan> &marked = {})
{
    return computeClinicalSummary(night.data(), int(night.size()), marked);
}

// One letter per reading: v valid, r out of range, s spike, m marked.
std::string Letters(const Night &night, const std::vector<ReadingSpan> &marked = {})
{
    const SignalQuality q = assessSignal(night.data(), int(night.size()), marked);
    std::string out;
    for (ReadingQuality r : q.readings)
        out += "vrsm"[int(r)];
    return out;
}

Night Readings(std::initializer_list<int> spo2)
{
    Night night;
    for (int v : spo2) {
        SampleRecord s;
        s.spo2 = std::uint8_t(v);
        s.pulseRate = 64;
        night.push_back(s);
    }
    return night;
}

} // namespace

TEST(SignalQuality, MarksSpikesRangeAndMarkedSpans)
{
    struct Case {
        const char *what;
        Night night;
        std::vector<ReadingSpan> marked;
        std::string expected;
    };
    const Case cases[] = {
        {"one reading far off and back", Readings({96, 96, 60, 96}), {}, "vvsv"},
        {"three readings off and back", Readings({96, 60, 61, 62, 95}), {}, "vsssv"},
        {"four readings off are real", Readings({96, 60, 61, 62, 63, 96}), {}, "vvvvvv"},
        {"a jump of 4 is no spike", Readings({96, 92, 96}), {}, "vvv"},
        {"a jump of 5 is one", Readings({96, 91, 96}), {}, "vsv"},
        {"upwards too", Readings({88, 99, 88}), {}, "vsv"},
        {"coming back only 5 off is not back", Readings({96, 60, 91, 96}), {}, "vssv"},
        {"no return before the end", Readings({96, 96, 60}), {}, "vvv"},
        {"no reading before it to compare", Readings({60, 96, 96}), {}, "vvv"},
        {"compared with the last valid reading over a gap", Readings({96, 0, 60, 96}), {}, "vrsv"},
        {"no signal inside the run ends it", Readings({96, 60, 0, 96}), {}, "vvrv"},
        {"limits of the range", Readings({50, 49, 100, 101}), {}, "vrvr"},
        {"marked spans, clipped and reversed ones", Readings({96, 96, 96, 96, 96}), {{1, 2}, {4, 9}, {3, 0}}, "vmmvm"},
        {"a marked reading is no reference", Readings({96, 60, 96, 96}), {{0, 0}}, "mvvv"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Letters(c.night, c.marked), c.expected) << c.what;

    const Night night = Readings({96, 0, 0, 96, 60, 96, 96, 0});
    const SignalQuality q = assessSignal(night.data(), int(night.size()));
    EXPECT_EQ(q.validSeconds, 4);
    EXPECT_EQ(q.artefactSeconds, 4);
    EXPECT_DOUBLE_EQ(q.coverage, 50.0);
    EXPECT_EQ(qualitySpans(q, ReadingQuality::OutOfRange), (std::vector<ReadingSpan>{{1, 2}, {7, 7}}));
    EXPECT_EQ(qualitySpans(q, ReadingQuality::Spike), (std::vector<ReadingSpan>{{4, 4}}));
}

TEST(SignalQuality, WorkedHourAndItsLastMinuteWithoutSignal)
{
    const ClinicalSummary s = Summary(WorkedHour());
    EXPECT_NEAR(s.hypoxicBurden, 20.0, 0.1);
    EXPECT_DOUBLE_EQ(s.odi3, 10.0);
    EXPECT_DOUBLE_EQ(s.odi4, 10.0);
    EXPECT_EQ(s.t90Seconds, 0);
    EXPECT_EQ(s.nadir, 92);
    EXPECT_EQ(s.validSeconds, 3600);
    EXPECT_EQ(s.artefactSeconds, 0);
    EXPECT_DOUBLE_EQ(s.coverage, 100.0);
    EXPECT_DOUBLE_EQ(s.meanSpo2, (3300 * 96 + 300 * 92) / 3600.0);
    EXPECT_DOUBLE_EQ(s.desaturationMeanSeconds, 30.0);
    EXPECT_DOUBLE_EQ(s.desaturationMeanDepth, 4.0);
    EXPECT_DOUBLE_EQ(s.pulseRiseMean, 0.0);

    Night cut = WorkedHour();
    for (int i = 3540; i < 3600; ++i)
        cut[std::size_t(i)].spo2 = 0;
    const ClinicalSummary c = Summary(cut);
    EXPECT_EQ(c.validSeconds, s.validSeconds - 60);
    EXPECT_EQ(c.artefactSeconds, 60);
    EXPECT_NEAR(c.odi3, 10.17, 0.005);
    EXPECT_DOUBLE_EQ(c.odi3, 10.0 / (3540.0 / 3600.0));
    EXPECT_DOUBLE_EQ(c.hypoxicBurden, 1200.0 / 60.0 / (3540.0 / 3600.0));
    EXPECT_DOUBLE_EQ(c.coverage, 100.0 * 3540 / 3600);
}

TEST(SignalQuality, ASpikeIsNoNadirAndHandMarksChangeTheFigures)
{
    Night spiked = WorkedHour();
    spiked[2000].spo2 = 60;
    const ClinicalSummary s = Summary(spiked);
    EXPECT_EQ(s.nadir, 92);
    EXPECT_EQ(s.artefactSeconds, 1);
    EXPECT_EQ(s.spo2Histogram[60], 0);
    EXPECT_EQ(s.t90Seconds, 0);

    // Marking the first desaturation with a few seconds either side takes
    // it out of every figure.
    const ClinicalSummary marked = Summary(WorkedHour(), {{170, 219}});
    EXPECT_EQ(marked.validSeconds, 3550);
    EXPECT_EQ(marked.artefactSeconds, 50);
    const double hours = 3550.0 / 3600.0;
    EXPECT_DOUBLE_EQ(marked.odi3, 9 / hours);
    EXPECT_DOUBLE_EQ(marked.hypoxicBurden, 9 * 120 / 60.0 / hours);
    EXPECT_EQ(marked.spo2Histogram[92], 270);
    // Marking the whole night leaves nothing.
    EXPECT_EQ(Summary(WorkedHour(), {{0, 3599}}).validSeconds, 0);
}

TEST(SignalQuality, FourHoursOfValidReadingsAreNoShortRecording)
{
    for (const auto &[valid, isShort] : {std::pair{14399, true}, std::pair{14400, false}}) {
        // Readings without signal make the night longer, not less short.
        const Night night = MakeNight(valid + 10, [valid](int i) { return i < valid ? 96 : 0; });
        const ClinicalSummary s = Summary(night);
        EXPECT_EQ(s.validSeconds, valid);
        EXPECT_EQ(s.shortRecording, isShort) << valid;
    }
}

TEST(SignalQuality, HypoxicBurdenWindows)
{
    struct Case {
        const char *what;
        std::function<int(int)> spo2;
        double area; // %·s in a one-hour night
    };
    const Case cases[] = {
        {"a long plateau counts to its end", [](int i) { return i >= 1000 && i < 1200 ? 92 : 96; }, 200 * 4},
        {"a slow recovery counts 90 s past the nadir",
         [](int i) { return i >= 1000 && i < 1030   ? 92
                            : i >= 1030 && i < 1230 ? 94
                                                    : 96; }, 30 * 4 + 90 * 2},
        {"recovery to baseline - 1 ends it",
         [](int i) { return i >= 1000 && i < 1030   ? 92
                            : i >= 1030 && i < 1100 ? 95
                                                    : 96; }, 30 * 4 + 1},
        // Two desaturations 11 s apart: the first one's window holds the
        // second, which adds nothing.
        {"no second counts twice",
         [](int i) {
             return i >= 1000 && i < 1030 ? 90 : i >= 1030 && i < 1040 ? 94 : i >= 1040 && i < 1070 ? 90 : 96;
         },
         30 * 6 + 10 * 2 + 30 * 6},
    };
    for (const Case &c : cases) {
        const ClinicalSummary s = Summary(MakeNight(3600, c.spo2));
        EXPECT_NEAR(s.hypoxicBurden, c.area / 60.0, 1e-9) << c.what;
    }
    EXPECT_DOUBLE_EQ(Summary(MakeNight(3600, cases[3].spo2)).odi3, 2.0);
}

TEST(SignalQuality, DesaturationMeansAndPulseRise)
{
    // 30 s to 90 with the pulse at 62 in the 10 s before and up to 80 after
    // its nadir; 20 s to 92 with no pulse change.
    const Night night = MakeNight(
        3600, [](int i) { return i >= 1000 && i < 1030   ? 90
                                 : i >= 2000 && i < 2020 ? 92
                                                         : 96; },
        [](int i) { return i >= 990 && i < 1000 ? 62
                           : i == 1035          ? 80
                                                : 60; });
    const ClinicalSummary s = Summary(night);
    EXPECT_DOUBLE_EQ(s.odi3, 2.0);
    EXPECT_DOUBLE_EQ(s.desaturationMeanSeconds, 25.0);
    EXPECT_DOUBLE_EQ(s.desaturationMeanDepth, 5.0);
    EXPECT_DOUBLE_EQ(s.pulseRiseMean, (18.0 + 0.0) / 2);
}

TEST(SignalQuality, DeltaIndexOverTwelveSecondWindows)
{
    // Window means 96, 94, 90 (half of it without signal), none, 92, 93, and
    // an incomplete last window at 80 that is dropped.
    const int level[] = {96, 94, 90, 0, 92, 93};
    const Night night = MakeNight(6 * 12 + 11, [&level](int i) {
        if (i >= 72)
            return 80;
        if (i / 12 == 2 && i % 12 >= 6)
            return 0;
        return level[i / 12];
    });
    EXPECT_DOUBLE_EQ(Summary(night).deltaIndex, (2.0 + 4.0 + 1.0) / 3);
    EXPECT_DOUBLE_EQ(Summary(Readings({96, 96})).deltaIndex, 0.0);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The clinical figures over hand-made nights: desaturation index, time below
// 90 and 88 %, and how readings without signal are kept out of them.
#include "clinical/ClinicalSummary.h"
#include "clinical/ClinicalSummaryJson.h"

#include <QJsonArray>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numeric>
#include <vector>

namespace
{

using Night = std::vector<SampleRecord>;

SampleRecord Reading(int spo2, int pulse = 64)
{
    SampleRecord s;
    s.id = 1;
    s.year = 26;
    s.month = 3;
    s.day = 14;
    s.spo2 = std::uint8_t(spo2);
    s.pulseRate = std::uint8_t(pulse);
    return s;
}

Night MakeNight(int seconds, const std::function<int(int)> &spo2)
{
    Night night;
    for (int i = 0; i < seconds; ++i)
        night.push_back(Reading(spo2(i)));
    return night;
}

// level everywhere except dips of `length` seconds to `low` at the given starts.
Night NightWithDips(int seconds, int level, int low, int length, const std::vector<int> &starts)
{
    return MakeNight(seconds, [&](int i) {
        for (int s : starts)
            if (i >= s && i < s + length)
                return low;
        return level;
    });
}

ClinicalSummary Summary(const Night &night)
{
    return computeClinicalSummary(night.data(), int(night.size()));
}

// Desaturations counted in a one-hour night (the index is then the count).
std::pair<double, double> FallsInAnHour(const Night &night)
{
    const ClinicalSummary s = Summary(night);
    EXPECT_EQ(s.validSeconds, 3600);
    return {s.odi3, s.odi4};
}

// Desaturations counted by each criterion, whatever the valid time.
std::pair<int, int> Falls(const Night &night)
{
    const ClinicalSummary s = Summary(night);
    const double hours = s.validSeconds / 3600.0;
    return {int(std::lround(s.odi3 * hours)), int(std::lround(s.odi4 * hours))};
}

Night WithoutSignal(Night night, int from, int to)
{
    for (int i = from; i < to; ++i)
        night[std::size_t(i)].spo2 = 0;
    return night;
}

} // namespace

TEST(ClinicalSummary, TwelveCleanDipsInTwoHoursGiveSixPerHourByBothCriteria)
{
    std::vector<int> starts;
    for (int k = 0; k < 12; ++k)
        starts.push_back(600 + 300 * k);
    const ClinicalSummary s = Summary(NightWithDips(7200, 96, 91, 20, starts));
    EXPECT_EQ(s.validSeconds, 7200);
    EXPECT_DOUBLE_EQ(s.odi3, 6.0);
    EXPECT_DOUBLE_EQ(s.odi4, 6.0);
    EXPECT_EQ(s.nadir, 91);
    EXPECT_EQ(s.t90Seconds, 0);
    EXPECT_EQ(s.spo2Histogram[96], 7200 - 240);
    EXPECT_EQ(s.spo2Histogram[91], 240);
    EXPECT_EQ(std::accumulate(s.spo2Histogram.begin(), s.spo2Histogram.end(), 0), 7200);
    EXPECT_EQ(s.pulseMin, 64);
    EXPECT_EQ(s.pulseMax, 64);
    EXPECT_DOUBLE_EQ(s.pulseMean, 64.0);
}

TEST(ClinicalSummary, TimeBelowEightyEightCountsInBothT90AndT88)
{
    // 1000 s at 95, 100 s at 85, 50 s at 89, 50 s at exactly 90 and 88 (neither is "below").
    const Night night = MakeNight(1200, [](int i) {
        return i < 1000 ? 95 : i < 1100 ? 85 : i < 1150 ? 89 : i < 1175 ? 90 : 88;
    });
    const ClinicalSummary s = Summary(night);
    EXPECT_EQ(s.t88Seconds, 100);
    EXPECT_EQ(s.t90Seconds, 100 + 50 + 25);
    EXPECT_DOUBLE_EQ(s.t88Percent, 100.0 * 100 / 1200);
    EXPECT_DOUBLE_EQ(s.t90Percent, 100.0 * 175 / 1200);
    EXPECT_EQ(s.nadir, 85);
}

TEST(ClinicalSummary, InvalidReadingsChangeNothingButTheirOwnAbsence)
{
    std::vector<int> starts;
    for (int k = 0; k < 6; ++k)
        starts.push_back(400 + 500 * k);
    const Night clean = NightWithDips(3600, 96, 90, 25, starts);
    const ClinicalSummary expected = Summary(clean);
    ASSERT_EQ(expected.odi4, 6.0);

    // No signal, out-of-range values of either channel, at the start, in the
    // baseline before a dip, inside dips and at the end.
    const std::vector<SampleRecord> bad = {Reading(0, 0),  Reading(0, 70),  Reading(127, 70), Reading(101, 70),
                                           Reading(96, 0), Reading(96, 29), Reading(96, 251), Reading(96, 255)};
    Night noisy;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        if (i == 0 || i == 350 || i == 410 || i == 1912 || i == 1913)
            noisy.insert(noisy.end(), bad.begin(), bad.end());
        noisy.push_back(clean[i]);
    }
    noisy.insert(noisy.end(), bad.begin(), bad.end());
    ASSERT_EQ(noisy.size(), clean.size() + 6 * bad.size());

    ClinicalSummary s = Summary(noisy);
    EXPECT_EQ(s.artefactSeconds, 6 * int(bad.size()));
    EXPECT_DOUBLE_EQ(s.coverage, 100.0 * 3600 / double(noisy.size()));
    // The 12-s windows of the delta index run on the clock, which the
    // inserted readings shift.
    s.artefactSeconds = expected.artefactSeconds;
    s.coverage = expected.coverage;
    s.deltaIndex = expected.deltaIndex;
    EXPECT_EQ(s, expected);
    EXPECT_EQ(s.validSeconds, 3600);
    EXPECT_EQ(s.spo2Histogram[0], 0);
    EXPECT_EQ(s.pulseMin, 64);
    EXPECT_EQ(s.pulseMax, 64);
}

TEST(ClinicalSummary, NoSignalIsNeitherLowSaturationNorAnyPulse)
{
    // A finger out of the probe for ten minutes in the middle of a calm night.
    Night night = MakeNight(3600, [](int i) { return i >= 1000 && i < 1600 ? 0 : 96; });
    for (int i = 1000; i < 1600; ++i)
        night[std::size_t(i)].pulseRate = 0;
    const ClinicalSummary s = Summary(night);
    EXPECT_EQ(s.validSeconds, 3000);
    EXPECT_EQ(s.nadir, 96);
    EXPECT_EQ(s.t90Seconds, 0);
    EXPECT_EQ(s.t88Seconds, 0);
    EXPECT_EQ(s.pulseMin, 64);
    EXPECT_DOUBLE_EQ(s.odi3, 0.0);
    EXPECT_DOUBLE_EQ(s.odi4, 0.0);
}

TEST(ClinicalSummary, DesaturationRules)
{
    // Length: 9 seconds are not a desaturation, 10 are.
    EXPECT_EQ(FallsInAnHour(NightWithDips(3600, 96, 90, 9, {1000})), std::make_pair(0.0, 0.0));
    EXPECT_EQ(FallsInAnHour(NightWithDips(3600, 96, 90, 10, {1000})), std::make_pair(1.0, 1.0));
    // Depth: exactly 3 points counts for the 3 % criterion only; 4 for both.
    EXPECT_EQ(FallsInAnHour(NightWithDips(3600, 96, 93, 20, {1000})), std::make_pair(1.0, 0.0));
    EXPECT_EQ(FallsInAnHour(NightWithDips(3600, 96, 92, 20, {1000})), std::make_pair(1.0, 1.0));
    EXPECT_EQ(FallsInAnHour(NightWithDips(3600, 96, 94, 60, {1000})), std::make_pair(0.0, 0.0));
    // A long fall is held against the baseline from before it: one desaturation.
    EXPECT_EQ(FallsInAnHour(NightWithDips(3600, 96, 92, 900, {1000})), std::make_pair(1.0, 1.0));
    // Falls starting less than 10 s after the last low second count once
    // (8 normal seconds between), 10 s or more apart twice (9 between).
    EXPECT_EQ(FallsInAnHour(NightWithDips(3600, 96, 90, 15, {1000, 1023})), std::make_pair(1.0, 1.0));
    EXPECT_EQ(FallsInAnHour(NightWithDips(3600, 96, 90, 15, {1000, 1024})), std::make_pair(2.0, 2.0));
    // A chain of close falls is one desaturation.
    EXPECT_EQ(FallsInAnHour(NightWithDips(3600, 96, 90, 12, {1000, 1017, 1034, 1051})), std::make_pair(1.0, 1.0));
    // A short fall does not join the falls around it into one.
    EXPECT_EQ(FallsInAnHour(NightWithDips(3600, 96, 90, 12, {1000, 1017})).first, 1.0);
    EXPECT_EQ(FallsInAnHour(NightWithDips(3600, 96, 90, 5, {1000})).first, 0.0);
    // Nor does a short fall between two long ones: 16 s from the first one's
    // end to the second one's start, though only 6 s after the short one.
    Night bridged = NightWithDips(3600, 96, 90, 15, {1000, 1030});
    for (int i = 1020; i < 1025; ++i)
        bridged[std::size_t(i)].spo2 = 90;
    EXPECT_EQ(FallsInAnHour(bridged), std::make_pair(2.0, 2.0));
}

TEST(ClinicalSummary, ReadingsWithoutSignalNeitherLengthenNorEndAFall)
{
    // 5 low, 3 without signal, then 5 or 4 low: 10 low seconds are one
    // desaturation, 9 are none.
    EXPECT_EQ(Falls(WithoutSignal(NightWithDips(3600, 96, 90, 13, {1000}), 1005, 1008)), std::make_pair(1, 1));
    EXPECT_EQ(Falls(WithoutSignal(NightWithDips(3600, 96, 90, 12, {1000}), 1005, 1008)), std::make_pair(0, 0));
}

TEST(ClinicalSummary, BaselineFollowsTheLastTwoMinutes)
{
    // A slow decline of one point a minute never falls 3 below the mean of the
    // two minutes before, though it ends deep below 90.
    const Night decline = MakeNight(3600, [](int i) { return i < 600 ? 96 : std::max(96 - (i - 600) / 60, 80); });
    const ClinicalSummary slow = Summary(decline);
    EXPECT_EQ(slow.odi3, 0.0);
    EXPECT_GT(slow.t90Seconds, 1500);

    // A night that begins low has no higher baseline to fall from.
    EXPECT_EQ(FallsInAnHour(NightWithDips(3600, 96, 90, 30, {0})), std::make_pair(0.0, 0.0));
    // Ten seconds of baseline are enough for a deep fall.
    EXPECT_EQ(FallsInAnHour(NightWithDips(3600, 96, 80, 20, {10})), std::make_pair(1.0, 1.0));

    // After more than two minutes without signal there is no baseline: the
    // first low readings become the new baseline.
    Night gap = NightWithDips(3900, 96, 90, 30, {1300});
    for (int i = 1000; i < 1300; ++i)
        gap[std::size_t(i)].spo2 = 0;
    EXPECT_EQ(FallsInAnHour(gap), std::make_pair(0.0, 0.0));
    // A gap shorter than the window keeps the baseline from before it.
    Night shortGap = NightWithDips(3660, 96, 90, 30, {1060});
    for (int i = 1000; i < 1060; ++i)
        shortGap[std::size_t(i)].spo2 = 0;
    EXPECT_EQ(FallsInAnHour(shortGap), std::make_pair(1.0, 1.0));

    // The window is exactly two minutes: a dip whose only valid reading in
    // the window is 120 s before it still has a baseline; one 121 s before
    // does not.
    for (const auto &[gapSeconds, falls] : {std::pair{119, 1}, std::pair{120, 0}}) {
        const Night edge = WithoutSignal(NightWithDips(3600, 96, 90, 30, {1000 + gapSeconds}), 1000, 1000 + gapSeconds);
        EXPECT_EQ(Falls(edge), std::make_pair(falls, falls)) << gapSeconds << " s without signal";
    }
}

TEST(ClinicalSummary, EmptyAndTinyRecordings)
{
    EXPECT_EQ(computeClinicalSummary(nullptr, 0), ClinicalSummary{});
    const Night none = MakeNight(10, [](int) { return 0; });
    ClinicalSummary s0 = Summary(none);
    EXPECT_EQ(s0.artefactSeconds, 10);
    EXPECT_TRUE(s0.shortRecording);
    s0.artefactSeconds = 0;
    EXPECT_EQ(s0, ClinicalSummary{});

    Night one = {Reading(93, 48)};
    const ClinicalSummary s1 = Summary(one);
    EXPECT_EQ(s1.validSeconds, 1);
    EXPECT_EQ(s1.nadir, 93);
    EXPECT_EQ(s1.pulseMin, 48);
    EXPECT_EQ(s1.pulseMax, 48);
    EXPECT_DOUBLE_EQ(s1.pulseMean, 48.0);
    EXPECT_EQ(s1.spo2Histogram[93], 1);
    EXPECT_DOUBLE_EQ(s1.odi3, 0.0);

    // Limits of a valid reading: SpO2 50..100, pulse 30..250.
    const Night limits = {Reading(50, 30),  Reading(100, 250), Reading(100, 29),
                          Reading(49, 250), Reading(100, 251), Reading(101, 70)};
    const ClinicalSummary s2 = Summary(limits);
    EXPECT_EQ(s2.validSeconds, 2);
    EXPECT_EQ(s2.artefactSeconds, 4);
    EXPECT_EQ(s2.nadir, 50);
    EXPECT_EQ(s2.pulseMin, 30);
    EXPECT_EQ(s2.pulseMax, 250);
    EXPECT_DOUBLE_EQ(s2.pulseMean, 140.0);
    EXPECT_EQ(s2.spo2Histogram[100], 1);
}

TEST(ClinicalSummary, JsonCarriesExactlyTheFigureNames)
{
    const ClinicalSummary s = Summary(NightWithDips(3600, 96, 86, 20, {1000, 2000}));
    const QJsonObject json = clinicalSummaryJson(s);
    QStringList keys = json.keys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{"artefactSeconds",
                                 "coverage",
                                 "deltaIndex",
                                 "desaturationMeanDepth",
                                 "desaturationMeanSeconds",
                                 "hypoxicBurden",
                                 "meanSpo2",
                                 "nadir",
                                 "odi3",
                                 "odi4",
                                 "pulseMax",
                                 "pulseMean",
                                 "pulseMin",
                                 "pulseRiseMean",
                                 "shortRecording",
                                 "spo2Histogram",
                                 "t88Percent",
                                 "t88Seconds",
                                 "t90Percent",
                                 "t90Seconds",
                                 "validSeconds"}));
    QStringList ordered = clinicalSummaryKeys();
    ordered.sort();
    EXPECT_EQ(ordered, keys);
    EXPECT_DOUBLE_EQ(json.value("hypoxicBurden").toDouble(), s.hypoxicBurden);
    EXPECT_GT(s.hypoxicBurden, 0);
    EXPECT_DOUBLE_EQ(json.value("coverage").toDouble(), 100.0);
    EXPECT_TRUE(json.value("shortRecording").toBool());
    EXPECT_DOUBLE_EQ(json.value("desaturationMeanDepth").toDouble(), s.desaturationMeanDepth);
    EXPECT_EQ(json.value("desaturationMeanSeconds").toDouble(), 20.0);
    EXPECT_DOUBLE_EQ(json.value("meanSpo2").toDouble(), (3560 * 96 + 40 * 86) / 3600.0);
    EXPECT_DOUBLE_EQ(json.value("deltaIndex").toDouble(), s.deltaIndex);
    EXPECT_DOUBLE_EQ(json.value("pulseRiseMean").toDouble(), 0.0);
    EXPECT_EQ(json.value("validSeconds").toInt(), 3600);
    EXPECT_EQ(json.value("nadir").toInt(), 86);
    EXPECT_EQ(json.value("t90Seconds").toInt(), 40);
    EXPECT_EQ(json.value("t88Seconds").toInt(), 40);
    EXPECT_DOUBLE_EQ(json.value("t88Percent").toDouble(), 100.0 * 40 / 3600);
    EXPECT_DOUBLE_EQ(json.value("odi3").toDouble(), 2.0);
    EXPECT_DOUBLE_EQ(json.value("odi4").toDouble(), 2.0);
    EXPECT_DOUBLE_EQ(json.value("pulseMean").toDouble(), 64.0);
    const QJsonArray histogram = json.value("spo2Histogram").toArray();
    ASSERT_EQ(histogram.size(), 101);
    EXPECT_EQ(histogram.at(86).toInt(), 40);
    EXPECT_EQ(histogram.at(96).toInt(), 3560);
    EXPECT_EQ(histogram.at(0).toInt(), 0);
}

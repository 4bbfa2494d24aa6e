// SPDX-License-Identifier: GPL-3.0-or-later
// The overview's dates and statistics over a hand-made set of listing rows.
#include "archive/Overview.h"

#include <gtest/gtest.h>

namespace
{

struct Row {
    qint64 night;
    const char *start;
    double odi3;
    int nadir;
    int validSeconds = 6 * 3600;
    bool shortNight = false;
    int pulseMin = 55;
    int pulseMax = 90;
};

NightInfo info(const Row &r)
{
    NightInfo n;
    n.night = r.night;
    n.summary.start = QString::fromLatin1(r.start);
    n.summary.odi3 = r.odi3;
    n.summary.nadir = r.nadir;
    n.summary.validSeconds = r.validSeconds;
    n.summary.shortRecording = r.shortNight;
    n.summary.pulseMin = r.pulseMin;
    n.summary.pulseMax = r.pulseMax;
    return n;
}

NightList listOf(std::initializer_list<Row> rows)
{
    NightList out;
    for (const Row &r : rows)
        out.push_back(info(r));
    return out;
}

double figure(const OverviewStats &s, OverviewFigure f)
{
    return s.values[std::size_t(f)].value_or(-1);
}

TEST(Overview, DatesANightByTheEveningItBegan)
{
    const struct {
        const char *start;
        QDate date;
    } cases[] = {
        {"2026-03-14 22:00:00", {2026, 3, 14}},
        {"2026-03-15 01:30:00", {2026, 3, 14}},
        {"2026-03-15 11:59:59", {2026, 3, 14}},
        {"2026-03-15 12:00:00", {2026, 3, 15}},
        {"2026-03-01 00:10:00", {2026, 2, 28}},
        {"", {}},
        {"2026-13-01 22:00:00", {}},
        {"2026-03-14T22:00:00", {}},
        {"2026-03-14 2x:00:00", {}},
        {"2026-03-14 24:00:00", {}},
        {"2026-01-31 22:00:00", {2026, 1, 31}},
        {"2026-02-30 22:00:00", {}},
        {"2026-02-28 22:00:00", {2026, 2, 28}},
        {"2024-02-29 22:00:00", {2024, 2, 29}},
        {"2025-02-29 22:00:00", {}},
    };
    // One by one, and as the rows of one listing, where months follow each other.
    NightList rows;
    int valid = 0;
    for (const auto &c : cases) {
        NightSummary s;
        s.start = QString::fromLatin1(c.start);
        EXPECT_EQ(overviewDate(s), c.date) << c.start;
        NightInfo row;
        row.night = rows.size();
        row.summary = s;
        rows.push_back(row);
        valid += c.date.isValid() ? 1 : 0;
    }
    const OverviewData d = buildOverview(rows, {}, {}, {});
    EXPECT_EQ(int(d.nights.size()), valid);
    for (const OverviewNight &n : d.nights)
        EXPECT_EQ(n.date, cases[n.night].date) << cases[n.night].start;
}

// The most recent night is 2026-06-30; each column's first day holds a night
// and the day before it holds the next older one.
const NightList kNights = listOf({
    {9, "2025-06-30 23:00:00", 90, 77, 6 * 3600, false, 40, 120}, // day before the 365 days
    {8, "2025-07-01 20:00:00", 80, 78},                           // first of the 365 days
    {7, "2026-05-31 23:00:00", 70, 79},                           // day before the 30 days
    {6, "2026-06-01 22:00:00", 60, 80},                           // first of the 30 days
    {4, "2026-06-10 21:00:00", 40, 82},                           // two nights on one date
    {5, "2026-06-11 01:00:00", 50, 81},
    {3, "2026-06-24 02:00:00", 30, 83},                        // started before noon: 06-23, day before the 7 days
    {2, "2026-06-24 22:00:00", 20, 84},                        // first of the 7 days
    {10, "2026-06-28 22:00:00", 999, 50, 3 * 3600, true},      // short
    {1, "2026-06-30 22:00:00", 10, 85, 27000, false, 50, 100}, // most recent
});

TEST(Overview, ColumnsCountNightsUpToTheMostRecentDateAndLeaveShortNightsOut)
{
    const OverviewData d = buildOverview(kNights, {}, {}, QStringLiteral("Doe"));
    ASSERT_EQ(d.table.size(), std::size_t(kOverviewColumns));
    EXPECT_EQ(d.from, QDate(2025, 6, 30));
    EXPECT_EQ(d.to, QDate(2026, 6, 30));
    const struct {
        OverviewColumn column;
        int nights, leftOut;
        double odi3;
        int nadir;
        double pulseMin, pulseMax;
        QDate first;
    } cases[] = {
        {OverviewColumn::MostRecent, 1, 0, 10, 85, 50, 100, {2026, 6, 30}},
        {OverviewColumn::Last7, 2, 1, 15, 84, 50, 100, {2026, 6, 24}},
        {OverviewColumn::Last30, 6, 1, 35, 80, 50, 100, {2026, 6, 1}},
        {OverviewColumn::Last90, 7, 1, 40, 79, 50, 100, {2026, 5, 31}},
        {OverviewColumn::Last365, 8, 1, 45, 78, 50, 100, {2025, 7, 1}},
        {OverviewColumn::Period, 9, 1, 50, 77, 40, 120, {2025, 6, 30}},
    };
    for (const auto &c : cases) {
        const OverviewStats &s = d.table[std::size_t(c.column)];
        SCOPED_TRACE(int(c.column));
        EXPECT_EQ(s.column, c.column);
        EXPECT_EQ(s.nights, c.nights);
        EXPECT_EQ(s.leftOut, c.leftOut);
        EXPECT_DOUBLE_EQ(figure(s, OverviewFigure::Odi3), c.odi3);
        EXPECT_DOUBLE_EQ(figure(s, OverviewFigure::Nadir), c.nadir);
        EXPECT_EQ(s.pulseMin, c.pulseMin);
        EXPECT_EQ(s.pulseMax, c.pulseMax);
        EXPECT_EQ(s.first, c.first);
        EXPECT_EQ(s.last, QDate(2026, 6, 30));
    }
    EXPECT_DOUBLE_EQ(figure(d.table[0], OverviewFigure::ValidHours), 7.5);
    EXPECT_FALSE(d.table[0].shortNight);
    EXPECT_EQ(d.shortNights(), 1);
}

TEST(Overview, NightsAreDatedOrderedAndShareTheirDateSideBySide)
{
    const OverviewData d = buildOverview(kNights, {}, {}, {});
    std::vector<qint64> order;
    for (const OverviewNight &n : d.nights)
        order.push_back(n.night);
    EXPECT_EQ(order, (std::vector<qint64>{9, 8, 7, 6, 4, 5, 3, 2, 10, 1}));
    EXPECT_EQ(d.nights[4].date, QDate(2026, 6, 10));
    EXPECT_EQ(d.nights[5].date, QDate(2026, 6, 10));
    EXPECT_EQ(std::make_pair(d.nights[4].slot, d.nights[4].slots), std::make_pair(0, 2));
    EXPECT_EQ(std::make_pair(d.nights[5].slot, d.nights[5].slots), std::make_pair(1, 2));
    EXPECT_EQ(std::make_pair(d.nights[6].slot, d.nights[6].slots), std::make_pair(0, 1));
    EXPECT_EQ(d.nights[6].date, QDate(2026, 6, 23));
}

TEST(Overview, EachNightFindsItsOwnRowWhateverBecomesOfTheListing)
{
    OverviewData d;
    {
        // Out of order, so the nights are sorted away from their rows, and bounded.
        NightList rows = kNights;
        std::reverse(rows.begin(), rows.end());
        d = buildOverview(rows, QDate(2026, 6, 1), QDate(2026, 6, 29), {});
        rows.clear();
    }
    OverviewData changed = d;
    for (NightInfo &row : changed.listing)
        row.summary.odi3 = double(row.night) * 1000;
    ASSERT_EQ(d.nights.size(), std::size_t(6));
    for (std::size_t i = 0; i < d.nights.size(); ++i) {
        const OverviewNight &n = d.nights[i];
        SCOPED_TRACE(n.night);
        EXPECT_EQ(d.info(n).night, n.night);
        EXPECT_EQ(overviewDate(d.info(n).summary), n.date);
        EXPECT_NE(d.info(n).summary.odi3, double(n.night) * 1000);
        EXPECT_EQ(changed.info(changed.nights[i]).summary.odi3, double(n.night) * 1000);
    }
}

TEST(Overview, PeriodBoundsUseTheNightsDatesAndAShortLastNightIsStillShown)
{
    // 06-24 02:00 is the night of 06-23, inside; 06-28 (short) becomes the most recent.
    const OverviewData d = buildOverview(kNights, QDate(2026, 6, 10), QDate(2026, 6, 29), {});
    std::vector<qint64> order;
    for (const OverviewNight &n : d.nights)
        order.push_back(n.night);
    EXPECT_EQ(order, (std::vector<qint64>{4, 5, 3, 2, 10}));
    EXPECT_EQ(d.from, QDate(2026, 6, 10));
    EXPECT_EQ(d.to, QDate(2026, 6, 29));
    const OverviewStats &recent = d.table[std::size_t(OverviewColumn::MostRecent)];
    EXPECT_TRUE(recent.shortNight);
    EXPECT_EQ(recent.nights, 1);
    EXPECT_DOUBLE_EQ(figure(recent, OverviewFigure::Odi3), 999);
    const OverviewStats &week = d.table[std::size_t(OverviewColumn::Last7)];
    EXPECT_EQ(week.nights, 2); // 06-23 and 06-24; the short night is left out
    EXPECT_EQ(week.leftOut, 1);
    EXPECT_DOUBLE_EQ(figure(week, OverviewFigure::Odi3), 25);
}

TEST(Overview, ColumnsWithoutAnyUsableNightHaveNoValues)
{
    const struct {
        const char *name;
        NightList nights;
        int leftOut;
    } cases[] = {
        {"no night", {}, 0},
        {"only short nights", listOf({{1, "2026-06-30 22:00:00", 5, 88, 600, true}}), 1},
        {"nothing valid", listOf({{1, "2026-06-30 22:00:00", 0, 0, 0, false}}), 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const OverviewData d = buildOverview(c.nights, {}, {}, {});
        ASSERT_EQ(d.table.size(), std::size_t(kOverviewColumns));
        const OverviewStats &period = d.table.back();
        EXPECT_EQ(period.leftOut, c.leftOut);
        for (OverviewFigure f : {OverviewFigure::Odi3, OverviewFigure::Nadir, OverviewFigure::PulseMean})
            EXPECT_FALSE(period.values[std::size_t(f)].has_value()) << int(f);
        EXPECT_FALSE(period.pulseMin.has_value());
    }
}

} // namespace

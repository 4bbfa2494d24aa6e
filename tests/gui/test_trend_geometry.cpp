// SPDX-License-Identifier: GPL-3.0-or-later
// Page geometry, curve heights, picking and the keyboard cursor of the trend
// page, computed without painting.
#include "views/Paging.h"
#include "views/TrendGeometry.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TrendGeometry, ReadingsPerPageAreWholeMinutesOf89PercentOfTheWidth)
{
    struct Row {
        int width;
        int samplesPerPage;
    };
    for (const Row &r :
         std::vector<Row>{{1000, 840}, {1920, 1680}, {1280, 1080}, {1024, 900}, {68, 60}, {67, 0}, {0, 0}})
        EXPECT_EQ(TrendSamplesPerPage(r.width), r.samplesPerPage) << "width " << r.width;
}

TEST(TrendGeometry, PageCountRoundsUpAndNeverDividesByZero)
{
    EXPECT_EQ(TrendPageCount(2000, 840), 3);
    EXPECT_EQ(TrendPageCount(1680, 840), 2);
    EXPECT_EQ(TrendPageCount(1681, 840), 3);
    EXPECT_EQ(TrendPageCount(1, 840), 1);
    EXPECT_EQ(TrendPageCount(0, 840), 0);
    EXPECT_EQ(TrendPageCount(518400, 1680), 309);
    // A client too narrow for one minute: one page, nothing drawn on it.
    EXPECT_EQ(TrendPageCount(2000, 0), 1);
    EXPECT_EQ(TrendPageCount(0, 0), 0);
}

TEST(TrendGeometry, PanelsAndPlotsOfA1000By700Client)
{
    const TrendLayout l = LayoutTrend(QSize(1000, 700));
    EXPECT_EQ(l.samplesPerPage, 840);
    EXPECT_EQ(l.plotHeight, 140);
    EXPECT_EQ(l.header, (Edges{10, 5, 990, 199}));
    EXPECT_EQ(l.spo2Panel, (Edges{10, 209, 990, 454}));
    EXPECT_EQ(l.pulsePanel, (Edges{10, 464, 990, 695}));
    // SpO2 plot 27 % down its panel, pulse plot 7 % down; both 840 columns wide.
    EXPECT_EQ(l.spo2Plot, (Edges{70, 209 + 245 * 27 / 100, 910, 209 + 245 * 27 / 100 + 140}));
    EXPECT_EQ(l.pulsePlot, (Edges{70, 464 + 231 * 7 / 100, 910, 464 + 231 * 7 / 100 + 140}));
    EXPECT_EQ(TimeTickCount(l), 28);
}

TEST(TrendGeometry, CurveHeightsClampSpo2ButNotPulse)
{
    const TrendLayout l = LayoutTrend(QSize(1000, 700));
    const int b = l.spo2Plot.bottom;
    EXPECT_EQ(Spo2CurveY(l, 0), b);
    EXPECT_EQ(Spo2CurveY(l, 95), b - 140 * 95 / 100);
    EXPECT_EQ(Spo2CurveY(l, 100), l.spo2Plot.top);
    EXPECT_EQ(Spo2CurveY(l, 127), l.spo2Plot.top);
    EXPECT_EQ(PulseCurveY(l, 60), l.pulsePlot.bottom - 28);
    EXPECT_EQ(PulseCurveY(l, 300), l.pulsePlot.top);
    EXPECT_LT(PulseCurveY(l, 255), l.pulsePlot.top + 24);
}

namespace
{

std::vector<SampleRecord> Readings(int count, int spo2, int pulse)
{
    std::vector<SampleRecord> v(static_cast<std::size_t>(count));
    for (auto &s : v) {
        s.spo2 = std::uint8_t(spo2);
        s.pulseRate = std::uint8_t(pulse);
    }
    return v;
}

} // namespace

TEST(TrendGeometry, ColumnsMapToReadingsOfThePage)
{
    const TrendLayout l = LayoutTrend(QSize(1000, 700));
    const int left = l.spo2Plot.left;
    EXPECT_EQ(SampleAtColumn(l, 0, left, 2000), 0);
    EXPECT_EQ(SampleAtColumn(l, 0, left + 5, 2000), 5);
    EXPECT_EQ(SampleAtColumn(l, 1, left + 5, 2000), 845);
    EXPECT_EQ(SampleAtColumn(l, 2, left + 319, 2000), 1999);
    EXPECT_EQ(SampleAtColumn(l, 2, left + 320, 2000), std::nullopt);
    EXPECT_EQ(SampleAtColumn(l, 0, left - 1, 2000), std::nullopt);
    EXPECT_EQ(SampleAtColumn(l, 0, left, 0), std::nullopt);
}

TEST(TrendGeometry, PointerPicksOnlyExactCurvePoints)
{
    const TrendLayout l = LayoutTrend(QSize(1000, 700));
    auto v = Readings(2000, 90, 60);
    v[845].spo2 = 50;
    v[845].pulseRate = 150;
    v[846].spo2 = 120; // above 100: drawn on the 100 line
    v[847].spo2 = 0;   // on the excluded bottom edge
    v[848].pulseRate = 0;
    const int x = l.spo2Plot.left + 5;
    const int spo2Y = l.spo2Plot.bottom - 140 * 50 / 100;
    const int pulseY = l.pulsePlot.bottom - 140 * 150 / 300;

    EXPECT_EQ(PickReading(l, 1, v.data(), 2000, {x, spo2Y}), 845);
    EXPECT_EQ(PickReading(l, 1, v.data(), 2000, {x, pulseY}), 845);
    EXPECT_EQ(PickReading(l, 1, v.data(), 2000, {x, spo2Y + 1}), std::nullopt);
    EXPECT_EQ(PickReading(l, 1, v.data(), 2000, {x, spo2Y - 1}), std::nullopt);
    // The same point on another page belongs to another reading.
    EXPECT_EQ(PickReading(l, 0, v.data(), 2000, {x, spo2Y}), std::nullopt);

    // SpO2 above 100 has no exact point inside the plot, but its pulse point picks it.
    const int x846 = x + 1;
    EXPECT_EQ(PickReading(l, 1, v.data(), 2000, {x846, l.spo2Plot.top}), std::nullopt);
    EXPECT_EQ(PickReading(l, 1, v.data(), 2000, {x846, l.spo2Plot.bottom - 168}), std::nullopt);
    EXPECT_EQ(PickReading(l, 1, v.data(), 2000, {x846, l.pulsePlot.bottom - 28}), 846);

    // SpO2 0 lies on the plot's excluded bottom edge; its pulse point still picks it.
    EXPECT_EQ(PickReading(l, 1, v.data(), 2000, {x + 2, l.spo2Plot.bottom}), std::nullopt);
    EXPECT_EQ(PickReading(l, 1, v.data(), 2000, {x + 2, l.pulsePlot.bottom - 28}), 847);
    // Pulse 0 likewise cannot be picked on the pulse plot.
    EXPECT_EQ(PickReading(l, 1, v.data(), 2000, {x + 3, l.pulsePlot.bottom}), std::nullopt);

    // The hit area reaches one column past the plot's right edge, not two.
    const int lastColumn = l.spo2Plot.right;
    const int y90 = l.spo2Plot.bottom - 126;
    EXPECT_EQ(PickReading(l, 0, v.data(), 2000, {lastColumn, y90}), 840);
    EXPECT_EQ(PickReading(l, 0, v.data(), 2000, {lastColumn + 1, y90}), std::nullopt);
    // Past the last reading nothing is picked, and nothing without readings.
    EXPECT_EQ(PickReading(l, 2, v.data(), 2000, {l.spo2Plot.left + 400, y90}), std::nullopt);
    EXPECT_EQ(PickReading(l, 0, v.data(), 0, {l.spo2Plot.left + 5, y90}), std::nullopt);
}

TEST(TrendGeometry, MarkerRunsTowardsTheFarEdgeOfItsPlot)
{
    const Edges plot{70, 100, 910, 240};
    const TrendMarker low = MarkerAt(plot, 300, 200); // below the middle (170)
    EXPECT_EQ(low.direction, -1);
    EXPECT_EQ(low.length, 100);
    const TrendMarker high = MarkerAt(plot, 300, 120);
    EXPECT_EQ(high.direction, 1);
    EXPECT_EQ(high.length, 120);
    const TrendMarker middle = MarkerAt(plot, 300, 170);
    EXPECT_EQ(middle.direction, 1);
    EXPECT_EQ(middle.length, 70);
    EXPECT_FALSE(TrendMarker{}.visible());
}

TEST(TrendGeometry, KeyboardCursorCrossesPageEdges)
{
    const TrendLayout l = LayoutTrend(QSize(1000, 700));
    const int left = l.spo2Plot.left;
    const int last = left + 840;

    // From a hidden marker the cursor starts on the plot's left edge.
    auto s = StepCursor(l, 0, 2000, -100, +1);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->cursorX, left + 1);
    EXPECT_EQ(s->cursorSample, 1);
    EXPECT_EQ(s->paging, 0);
    // Nothing before the first reading.
    EXPECT_FALSE(StepCursor(l, 0, 2000, -100, -1));

    // Right on the last column: next page, column 1.
    s = StepCursor(l, 0, 2000, last, +1);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->paging, 1);
    EXPECT_EQ(s->cursorX, left + 1);
    EXPECT_EQ(s->cursorSample, 841);

    // Left on column 0: previous page, last column.
    s = StepCursor(l, 1, 2000, left, -1);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->paging, -1);
    EXPECT_EQ(s->cursorX, last);

    // Not past the last reading.
    EXPECT_FALSE(StepCursor(l, 2, 2000, left + 319, +1));
    ASSERT_TRUE(StepCursor(l, 2, 2000, left + 318, +1));
    // Nothing to move through on a page without columns.
    EXPECT_FALSE(StepCursor(LayoutTrend(QSize(60, 700)), 0, 2000, -100, +1));
}

TEST(Paging, RollStepsStopAtBothEnds)
{
    struct Row {
        int position, rollStep, pageCount, up, down;
    };
    const std::vector<Row> rows{
        {0, 1, 3, 0, 1}, {2, 1, 3, 1, 2},                  // last page stays
        {0, 3, 5, 0, 3}, {3, 3, 5, 0, 4},                  // 0 -> 3 -> 4
        {0, 5, 3, 0, 2}, {4, 5, 9, 0, 8}, {0, 1, 0, 0, 0}, // no pages: stays on page 0
        {7, 2, 3, 5, 2},                                   // a position past the end comes back to the last page
    };
    for (const Row &r : rows) {
        EXPECT_EQ(PageUpPosition(r.position, r.rollStep), r.up) << r.position << " step " << r.rollStep;
        EXPECT_EQ(PageDownPosition(r.position, r.rollStep, r.pageCount), r.down)
            << r.position << " step " << r.rollStep << " of " << r.pageCount;
    }
}

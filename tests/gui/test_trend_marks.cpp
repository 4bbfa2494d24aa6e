// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/TrendMarks.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

TEST(TrendMarks, DraggedColumnsGiveTheReadingsOfThePageShown)
{
    const TrendLayout l = LayoutTrend(QSize(1000, 700));
    const int left = l.spo2Plot.left;
    const int per = l.samplesPerPage;
    struct Case {
        int page, x0, x1, count;
        std::optional<ReadingSpan> expected;
    };
    const Case cases[] = {
        {0, left + 10, left + 20, 5000, ReadingSpan{10, 20}},
        {0, left + 20, left + 10, 5000, ReadingSpan{10, 20}},             // dragged leftwards
        {1, left + 10, left + 20, 5000, ReadingSpan{per + 10, per + 20}}, // second page
        {0, left - 50, left + 5, 5000, ReadingSpan{0, 5}},                // from beside the axis
        {0, left + 5, l.spo2Plot.right + 80, 5000, ReadingSpan{5, per}},  // beyond the plot
        {0, left + 5, left + 50, 30, ReadingSpan{5, 29}},                 // past the last reading
        {0, left + 40, left + 50, 30, std::nullopt},                      // no reading there
        {0, left - 30, left - 10, 5000, std::nullopt},                    // beside the plot only
        {0, left + 3, left + 3, 5000, ReadingSpan{3, 3}},                 // one column
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReadingsBetweenColumns(l, c.page, c.x0, c.x1, c.count), c.expected)
            << c.page << " " << c.x0 - left << ".." << c.x1 - left;
}

TEST(TrendMarks, FindsAndRemovesOneMark)
{
    const std::vector<ReadingSpan> marks{{10, 20}, {30, 30}, {50, 90}};
    const std::pair<int, std::optional<ReadingSpan>> holding[] = {
        {9, std::nullopt},         {10, ReadingSpan{10, 20}}, {20, ReadingSpan{10, 20}}, {21, std::nullopt},
        {30, ReadingSpan{30, 30}}, {90, ReadingSpan{50, 90}}, {91, std::nullopt},
    };
    for (const auto &[reading, expected] : holding)
        EXPECT_EQ(MarkHolding(marks, reading), expected) << reading;

    EXPECT_EQ(MarksWithout(marks, {30, 30}), (std::vector<ReadingSpan>{{10, 20}, {50, 90}}));
    EXPECT_EQ(MarksWithout(marks, {10, 21}), marks) << "only the exact span goes";
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/TrendMarks.h"

#include <algorithm>

std::optional<ReadingSpan> ReadingsBetweenColumns(const TrendLayout &layout, int viewPosition, int x0, int x1,
                                                  int sampleCount)
{
    // The drag may leave the plot on either side; only its columns count.
    const int left = std::max(std::min(x0, x1), layout.spo2Plot.left);
    const int right = std::min(std::max(x0, x1), layout.spo2Plot.right);
    if (left > right || sampleCount <= 0)
        return std::nullopt;
    const long long base = 1LL * viewPosition * layout.samplesPerPage - layout.spo2Plot.left;
    const long long first = std::max<long long>(base + left, 0);
    const long long last = std::min<long long>(base + right, sampleCount - 1);
    if (first > last)
        return std::nullopt;
    return ReadingSpan{int(first), int(last)};
}

std::optional<ReadingSpan> MarkHolding(const std::vector<ReadingSpan> &marks, int reading)
{
    const auto it = std::find_if(marks.begin(), marks.end(),
                                 [reading](const ReadingSpan &s) { return s.first <= reading && reading <= s.last; });
    if (it == marks.end())
        return std::nullopt;
    return *it;
}

std::vector<ReadingSpan> MarksWithout(const std::vector<ReadingSpan> &marks, ReadingSpan span)
{
    std::vector<ReadingSpan> kept;
    std::copy_if(marks.begin(), marks.end(), std::back_inserter(kept),
                 [span](const ReadingSpan &s) { return s != span; });
    return kept;
}

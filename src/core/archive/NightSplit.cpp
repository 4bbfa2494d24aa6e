// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/NightSplit.h"

namespace NightSplit
{

namespace
{

// Days since 1970-01-01 of a civil date (valid for any year, month 1..12).
std::int64_t daysFromCivil(std::int64_t y, int m, int d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

} // namespace

std::int64_t secondsOf(const SampleRecord &s)
{
    // A month outside 1..12 (only possible in a damaged reading) counts as January.
    const int month = s.month >= 1 && s.month <= 12 ? s.month : 1;
    const std::int64_t days = daysFromCivil(2000 + s.year, month, 1) + s.day - 1;
    return days * 86400 + s.hour * 3600 + s.minute * 60 + s.second;
}

std::vector<Span> split(const SampleRecord *samples, int count)
{
    std::vector<Span> spans;
    for (int i = 0; i < count; ++i) {
        bool starts = spans.empty();
        if (!starts) {
            const SampleRecord &prev = samples[i - 1];
            const std::int64_t gap = secondsOf(samples[i]) - secondsOf(prev);
            starts = samples[i].id != prev.id || gap < 0 || gap > kMaxGapSeconds;
        }
        if (starts)
            spans.push_back(Span{i, 0});
        ++spans.back().count;
    }
    return spans;
}

} // namespace NightSplit

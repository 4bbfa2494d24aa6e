// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/ReadingTime.h"

namespace
{

// Days from 1970-01-01 to the given civil date (proleptic Gregorian calendar).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + std::int64_t(doe) - 719468;
}

} // namespace

std::int64_t readingSeconds(const SampleRecord &s)
{
    static const std::int64_t epoch2000 = daysFromCivil(2000, 1, 1);
    const std::int64_t days = daysFromCivil(2000 + s.year, s.month, s.day) - epoch2000;
    return days * 86400 + s.hour * 3600 + s.minute * 60 + s.second;
}

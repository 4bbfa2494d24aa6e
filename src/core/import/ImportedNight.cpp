// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/ImportedNight.h"

#include "archive/ReadingCodec.h"

#include <array>

namespace ImportedReadings
{

namespace
{

// Civil date from days since 1970-01-01.
void civilFromDays(std::int64_t z, int &y, int &m, int &d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(std::int64_t(yoe) + era * 400 + (m <= 2));
}

} // namespace

SampleRecord recordAt(std::int64_t seconds)
{
    constexpr std::int64_t kDays1970To2000 = 10957;
    const std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    const std::int64_t inDay = seconds - days * 86400;
    int y = 0, m = 0, d = 0;
    civilFromDays(days + kDays1970To2000, y, m, d);
    SampleRecord s;
    s.year = std::uint8_t(y - 2000);
    s.month = std::uint8_t(m);
    s.day = std::uint8_t(d);
    s.hour = std::uint8_t(inDay / 3600);
    s.minute = std::uint8_t(inDay / 60 % 60);
    s.second = std::uint8_t(inDay % 60);
    return s;
}

int usualInterval(const std::vector<TimedReading> &rows)
{
    std::array<int, 61> counts{};
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const std::int64_t step = rows[i].seconds - rows[i - 1].seconds;
        if (step >= 1 && step <= 60)
            ++counts[std::size_t(step)];
    }
    int best = 1;
    for (int step = 2; step <= 60; ++step)
        if (counts[std::size_t(step)] > counts[std::size_t(best)])
            best = step;
    return best;
}

ImportedNight failed(ImportedNight r, ImportProblem error)
{
    r.ok = false;
    r.error = std::move(error);
    r.readings.clear();
    return r;
}

ImportedNight finished(ImportedNight r, const std::vector<TimedReading> &rows, int intervalSeconds)
{
    ImportResult<std::vector<SampleRecord>> expanded = expand(rows, intervalSeconds);
    if (!expanded)
        return failed(std::move(r), {expanded.error()});
    if (expanded.value().empty()) {
        const ImportError none = r.countsRecords ? ImportError::NoRecords : ImportError::NoRowsAfterHeader;
        return failed(std::move(r), {none});
    }
    r.readings = std::move(expanded.value());
    r.ok = true;
    return r;
}

ImportResult<std::vector<SampleRecord>> expand(const std::vector<TimedReading> &rows, int intervalSeconds)
{
    std::vector<SampleRecord> out;
    if (rows.empty())
        return out;
    // At one reading a second a missing second is a gap like any other: filling
    // it would change a file that Quellix itself wrote.
    const std::int64_t hold = intervalSeconds > 1 ? 3 * std::int64_t(intervalSeconds) : 1;
    std::int64_t total = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::int64_t step = i + 1 < rows.size() ? rows[i + 1].seconds - rows[i].seconds : 1;
        total += step <= hold ? step : 1;
    }
    if (total > kMaxReadings)
        return Failure<ImportError>{ImportError::TooLong, {}};
    out.resize(std::size_t(total));
    // Most readings follow the one before by a second: counting on is cheaper
    // than a calendar conversion each.
    std::size_t at = 0;
    std::int64_t last = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::int64_t step = i + 1 < rows.size() ? rows[i + 1].seconds - rows[i].seconds : 1;
        const std::int64_t n = step <= hold ? step : 1;
        for (std::int64_t k = 0; k < n; ++k, ++at) {
            const std::int64_t seconds = rows[i].seconds + k;
            SampleRecord &s = out[at];
            if (at > 0 && seconds == last + 1) {
                s = out[at - 1];
                if (s.second < 59)
                    ++s.second;
                else
                    s = ReadingCodec::nextSecond(s);
            } else {
                s = recordAt(seconds);
            }
            s.spo2 = rows[i].spo2;
            s.pulseRate = rows[i].pulse;
            last = seconds;
        }
    }
    return out;
}

QString grouped(std::int64_t n)
{
    QString digits = QString::number(n < 0 ? -n : n);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return n < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace ImportedReadings

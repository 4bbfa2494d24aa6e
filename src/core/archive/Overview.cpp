// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/Overview.h"

#include <algorithm>
#include <utility>

QDate overviewDate(const NightSummary &summary)
{
    // "YYYY-MM-DD hh:mm:ss", read by hand: QDateTime::fromString would cost
    // more than all the rest of an overview of years of nights.
    const QString &t = summary.start;
    if (t.size() != 19 || t[4] != QLatin1Char('-') || t[7] != QLatin1Char('-') || t[10] != QLatin1Char(' ') ||
        t[13] != QLatin1Char(':'))
        return {};
    const auto digits = [&t](int from, int count) {
        int v = 0;
        for (int i = from; i < from + count; ++i) {
            const int d = t[i].unicode() - '0';
            if (d < 0 || d > 9)
                return -1;
            v = v * 10 + d;
        }
        return v;
    };
    const QDate date(digits(0, 4), digits(5, 2), digits(8, 2));
    const int hour = digits(11, 2);
    if (!date.isValid() || hour < 0 || hour > 23)
        return {};
    // A night that started after midnight belongs to the evening before.
    return hour < 12 ? date.addDays(-1) : date;
}

std::optional<double> overviewValue(const NightSummary &summary, OverviewFigure figure)
{
    switch (figure) {
    case OverviewFigure::ValidHours:
        return summary.validSeconds / 3600.0;
    case OverviewFigure::Coverage:
        return summary.coverage;
    default:
        break;
    }
    if (summary.validSeconds <= 0)
        return std::nullopt;
    switch (figure) {
    case OverviewFigure::Odi3:
        return summary.odi3;
    case OverviewFigure::Odi4:
        return summary.odi4;
    case OverviewFigure::T90:
        return summary.t90Percent;
    case OverviewFigure::Nadir:
        return summary.nadir;
    case OverviewFigure::MeanSpo2:
        return summary.meanSpo2;
    case OverviewFigure::PulseMean:
        return summary.pulseMean;
    case OverviewFigure::HypoxicBurden:
        return summary.hypoxicBurden;
    case OverviewFigure::ValidHours:
    case OverviewFigure::Coverage:
        break;
    }
    return std::nullopt;
}

int OverviewData::shortNights() const
{
    return table.empty() ? 0 : table.back().leftOut;
}

namespace
{

// The statistics over the nights [first, end): short nights are counted, not used.
OverviewStats statsOf(OverviewColumn column, std::vector<OverviewNight>::const_iterator first,
                      std::vector<OverviewNight>::const_iterator end, bool includeShort)
{
    OverviewStats s;
    s.column = column;
    std::array<double, kOverviewFigures> sums{};
    std::array<int, kOverviewFigures> counts{};
    std::optional<double> nadir;
    for (auto it = first; it != end; ++it) {
        const NightSummary &n = it->info.summary;
        if (!s.first.isValid())
            s.first = it->date;
        s.last = it->date;
        if (n.shortRecording && !includeShort) {
            ++s.leftOut;
            continue;
        }
        ++s.nights;
        for (int f = 0; f < kOverviewFigures; ++f) {
            const auto figure = OverviewFigure(f);
            const std::optional<double> v = overviewValue(n, figure);
            if (!v)
                continue;
            if (figure == OverviewFigure::Nadir) {
                nadir = nadir ? std::min(*nadir, *v) : *v;
                continue;
            }
            sums[std::size_t(f)] += *v;
            ++counts[std::size_t(f)];
        }
        if (n.validSeconds > 0) {
            s.pulseMin = s.pulseMin ? std::min(*s.pulseMin, double(n.pulseMin)) : n.pulseMin;
            s.pulseMax = s.pulseMax ? std::max(*s.pulseMax, double(n.pulseMax)) : n.pulseMax;
        }
    }
    for (int f = 0; f < kOverviewFigures; ++f) {
        if (OverviewFigure(f) == OverviewFigure::Nadir)
            s.values[std::size_t(f)] = nadir;
        else if (counts[std::size_t(f)] > 0)
            s.values[std::size_t(f)] = sums[std::size_t(f)] / counts[std::size_t(f)];
    }
    return s;
}

} // namespace

OverviewData buildOverview(const NightList &nights, QDate from, QDate to, const QString &patient)
{
    OverviewData data;
    data.patient = patient;
    data.nights.reserve(std::size_t(nights.size()));
    for (const NightInfo &info : nights) {
        const QDate date = overviewDate(info.summary);
        if (!date.isValid() || (from.isValid() && date < from) || (to.isValid() && date > to))
            continue;
        data.nights.push_back({info.night, date, 0, 1, info});
    }
    const auto before = [](const OverviewNight &a, const OverviewNight &b) {
        if (a.date != b.date)
            return a.date < b.date;
        if (a.info.summary.start != b.info.summary.start)
            return a.info.summary.start < b.info.summary.start;
        return a.night < b.night;
    };
    // The archive lists nights in this order already; moving years of them costs.
    if (!std::is_sorted(data.nights.begin(), data.nights.end(), before))
        std::sort(data.nights.begin(), data.nights.end(), before);
    for (std::size_t i = 0; i < data.nights.size();) {
        std::size_t j = i;
        while (j < data.nights.size() && data.nights[j].date == data.nights[i].date)
            ++j;
        for (std::size_t k = i; k < j; ++k) {
            data.nights[k].slot = int(k - i);
            data.nights[k].slots = int(j - i);
        }
        i = j;
    }
    data.from = from.isValid() || data.nights.empty() ? from : data.nights.front().date;
    data.to = to.isValid() || data.nights.empty() ? to : data.nights.back().date;

    const auto begin = data.nights.cbegin();
    const auto end = data.nights.cend();
    data.table.reserve(kOverviewColumns);
    if (data.nights.empty()) {
        for (int c = 0; c < kOverviewColumns; ++c)
            data.table.push_back(statsOf(OverviewColumn(c), end, end, false));
        return data;
    }
    OverviewStats recent = statsOf(OverviewColumn::MostRecent, end - 1, end, true);
    recent.shortNight = data.nights.back().info.summary.shortRecording;
    data.table.push_back(recent);
    const QDate last = data.nights.back().date;
    const std::pair<OverviewColumn, int> windows[] = {{OverviewColumn::Last7, 7},
                                                      {OverviewColumn::Last30, 30},
                                                      {OverviewColumn::Last90, 90},
                                                      {OverviewColumn::Last365, 365}};
    for (const auto &[column, days] : windows) {
        const QDate first = last.addDays(1 - days);
        const auto windowStart =
            std::lower_bound(begin, end, first, [](const OverviewNight &n, const QDate &d) { return n.date < d; });
        data.table.push_back(statsOf(column, windowStart, end, false));
    }
    data.table.push_back(statsOf(OverviewColumn::Period, begin, end, false));
    return data;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/Overview.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace
{

// Reads nights' dates from their start texts. Nights come month by month, so
// the month's first day and length are kept rather than asked of QDate per night.
class NightDates
{
public:
    QDate dateOf(const NightSummary &summary)
    {
        // "YYYY-MM-DD hh:mm:ss", read by hand: QDateTime::fromString would cost
        // more than all the rest of an overview of years of nights.
        const QString &t = summary.start;
        if (t.size() != 19 || t[4] != QLatin1Char('-') || t[7] != QLatin1Char('-') || t[10] != QLatin1Char(' ') ||
            t[13] != QLatin1Char(':'))
            return {};
        const QChar *c = t.constData();
        const auto digits = [c](int from, int count) {
            int v = 0;
            for (int i = from; i < from + count; ++i) {
                const int d = c[i].unicode() - u'0';
                if (d < 0 || d > 9)
                    return -1;
                v = v * 10 + d;
            }
            return v;
        };
        const int year = digits(0, 4);
        const int month = digits(5, 2);
        const int day = digits(8, 2);
        const int hour = digits(11, 2);
        if (year != year_ || month != month_) {
            year_ = year;
            month_ = month;
            const QDate first(year, month, 1);
            firstDay_ = first.toJulianDay();
            length_ = first.isValid() ? first.daysInMonth() : 0;
        }
        if (day < 1 || day > length_ || hour < 0 || hour > 23)
            return {};
        // A night that started after midnight belongs to the evening before.
        return QDate::fromJulianDay(firstDay_ + day - 1 - (hour < 12 ? 1 : 0));
    }

private:
    int year_ = 0;
    int month_ = 0; // no month 0: nothing is kept yet
    qint64 firstDay_ = 0;
    int length_ = 0;
};

// Inline, so the statistics' calls with a known figure fold to the one field it reads.
inline std::optional<double> valueOf(const NightSummary &summary, OverviewFigure figure)
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

} // namespace

QDate overviewDate(const NightSummary &summary)
{
    return NightDates().dateOf(summary);
}

std::optional<double> overviewValue(const NightSummary &summary, OverviewFigure figure)
{
    return valueOf(summary, figure);
}

int OverviewData::shortNights() const
{
    return table.empty() ? 0 : table.back().leftOut;
}

namespace
{

// The running sums behind one column: short nights are counted, not used.
class Tally
{
public:
    void add(QDate date, const NightSummary &n, bool includeShort)
    {
        if (!last_.isValid())
            last_ = date;
        first_ = date; // nights come newest first
        if (n.shortRecording && !includeShort) {
            ++leftOut_;
            return;
        }
        ++nights_;
        addFigures(n, std::make_index_sequence<kOverviewFigures>());
        if (n.validSeconds > 0) {
            pulseMin_ = pulseMin_ ? std::min(*pulseMin_, double(n.pulseMin)) : n.pulseMin;
            pulseMax_ = pulseMax_ ? std::max(*pulseMax_, double(n.pulseMax)) : n.pulseMax;
        }
    }

    OverviewStats stats(OverviewColumn column) const
    {
        OverviewStats s;
        s.column = column;
        s.nights = nights_;
        s.leftOut = leftOut_;
        s.pulseMin = pulseMin_;
        s.pulseMax = pulseMax_;
        s.first = first_;
        s.last = last_;
        for (int f = 0; f < kOverviewFigures; ++f) {
            if (OverviewFigure(f) == OverviewFigure::Nadir)
                s.values[std::size_t(f)] = nadir_;
            else if (counts_[std::size_t(f)] > 0)
                s.values[std::size_t(f)] = sums_[std::size_t(f)] / counts_[std::size_t(f)];
        }
        return s;
    }

private:
    // Unrolled, so each valueOf() folds to the one field it reads: a loop
    // over the figures cost more than all the rest of an overview.
    template <std::size_t... F> void addFigures(const NightSummary &n, std::index_sequence<F...> /*figures*/)
    {
        (addFigure(std::size_t(F), valueOf(n, OverviewFigure(F))), ...);
    }

    void addFigure(std::size_t f, std::optional<double> v)
    {
        if (!v)
            return;
        if (OverviewFigure(f) == OverviewFigure::Nadir) {
            nadir_ = nadir_ ? std::min(*nadir_, *v) : *v;
            return;
        }
        sums_[f] += *v;
        ++counts_[f];
    }

    int nights_ = 0;
    int leftOut_ = 0;
    std::array<double, kOverviewFigures> sums_{};
    std::array<int, kOverviewFigures> counts_{};
    std::optional<double> nadir_, pulseMin_, pulseMax_;
    QDate first_, last_;
};

} // namespace

OverviewData buildOverview(const NightList &nights, QDate from, QDate to, const QString &patient)
{
    OverviewData data;
    data.patient = patient;
    data.listing = nights;
    data.nights.reserve(std::size_t(nights.size()));
    NightDates dates;
    for (qsizetype row = 0; row < nights.size(); ++row) {
        const NightInfo &info = nights.at(row);
        const QDate date = dates.dateOf(info.summary);
        if (!date.isValid() || (from.isValid() && date < from) || (to.isValid() && date > to))
            continue;
        data.nights.push_back({info.night, date, 0, 1, row});
    }
    const auto before = [&nights](const OverviewNight &a, const OverviewNight &b) {
        if (a.date != b.date)
            return a.date < b.date;
        const QString &aStart = nights.at(a.row).summary.start;
        const QString &bStart = nights.at(b.row).summary.start;
        if (aStart != bStart)
            return aStart < bStart;
        return a.night < b.night;
    };
    // The archive lists nights in this order already.
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

    data.table.reserve(kOverviewColumns);
    if (data.nights.empty()) {
        for (int c = 0; c < kOverviewColumns; ++c)
            data.table.push_back(Tally().stats(OverviewColumn(c)));
        return data;
    }
    const OverviewNight &newest = data.nights.back();
    Tally recent;
    recent.add(newest.date, data.info(newest).summary, true);
    data.table.push_back(recent.stats(OverviewColumn::MostRecent));
    data.table.back().shortNight = data.info(newest).summary.shortRecording;

    // The windows nest, so one pass from the newest night back fills them all:
    // each column is taken when the pass leaves its first day.
    const std::pair<OverviewColumn, int> windows[] = {{OverviewColumn::Last7, 7},
                                                      {OverviewColumn::Last30, 30},
                                                      {OverviewColumn::Last90, 90},
                                                      {OverviewColumn::Last365, 365}};
    std::size_t window = 0;
    const auto firstDay = [&] { return newest.date.addDays(1 - windows[window].second); };
    QDate first = firstDay();
    Tally tally;
    for (auto it = data.nights.crbegin(); it != data.nights.crend(); ++it) {
        while (first.isValid() && it->date < first) {
            data.table.push_back(tally.stats(windows[window].first));
            first = ++window < std::size(windows) ? firstDay() : QDate();
        }
        tally.add(it->date, data.info(*it).summary, false);
    }
    for (; window < std::size(windows); ++window)
        data.table.push_back(tally.stats(windows[window].first));
    data.table.push_back(tally.stats(OverviewColumn::Period));
    return data;
}

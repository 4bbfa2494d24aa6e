// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/OverviewChoice.h"

#include "archive/Overview.h"

#include <QCoreApplication>

#include <algorithm>

QString OverviewPatient::text() const
{
    if (name.isEmpty())
        return QCoreApplication::translate("OverviewView", "ID %1 (no name)").arg(deviceId);
    return QCoreApplication::translate("OverviewView", "%1 (ID %2)").arg(name).arg(deviceId);
}

bool OverviewPatient::owns(const NightInfo &night) const
{
    return night.deviceId == deviceId && night.patientName.trimmed() == name;
}

std::vector<OverviewPatient> overviewPatients(const std::vector<NightInfo> &nights)
{
    std::vector<OverviewPatient> out;
    for (const NightInfo &n : nights) {
        OverviewPatient p{n.deviceId, n.patientName.trimmed()};
        if (std::find(out.begin(), out.end(), p) == out.end())
            out.push_back(std::move(p));
    }
    // As the list shows them: by their text, without letter case first.
    std::sort(out.begin(), out.end(), [](const OverviewPatient &a, const OverviewPatient &b) {
        const QString ta = a.text();
        const QString tb = b.text();
        if (const int c = ta.compare(tb, Qt::CaseInsensitive); c != 0)
            return c < 0;
        return ta < tb;
    });
    return out;
}

NightList overviewNightsOf(const std::vector<NightInfo> &nights, const OverviewPatient &patient)
{
    NightList out;
    for (const NightInfo &n : nights)
        if (patient.owns(n))
            out.append(n);
    return out;
}

OverviewRange overviewRange(const NightList &nights, OverviewPeriod period, QDate from, QDate to)
{
    int count = 0;
    switch (period) {
    case OverviewPeriod::Last7:
        count = 7;
        break;
    case OverviewPeriod::Last30:
        count = 30;
        break;
    case OverviewPeriod::Last90:
        count = 90;
        break;
    case OverviewPeriod::Last365:
        count = 365;
        break;
    case OverviewPeriod::All:
        return {};
    case OverviewPeriod::Dates:
        return {from, to};
    }
    // The listing is ordered by start; dates are compared, so the order does not matter.
    std::vector<QDate> dates;
    dates.reserve(std::size_t(nights.size()));
    for (const NightInfo &n : nights)
        if (const QDate d = overviewDate(n.summary); d.isValid())
            dates.push_back(d);
    if (int(dates.size()) <= count)
        return {};
    std::nth_element(dates.begin(), dates.begin() + (count - 1), dates.end(), std::greater<>());
    return {dates[std::size_t(count - 1)], {}};
}

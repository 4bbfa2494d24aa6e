// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"

#include <QDate>
#include <QString>

#include <vector>

// What the Overview page shows: one patient of the archive and a period.

// A patient as the archive's nights name them: the device ID and the name.
struct OverviewPatient {
    int deviceId = 0;
    QString name; // trimmed; empty when the nights carry none

    // "Ann Smith (ID 3)", or "ID 3 (no name)".
    QString text() const;
    bool owns(const NightInfo &night) const;
    friend bool operator==(const OverviewPatient &, const OverviewPatient &) = default;
};

// Each patient of the nights once, in the order of their texts (letter case ignored).
std::vector<OverviewPatient> overviewPatients(const std::vector<NightInfo> &nights);
// The patient's nights, in the order given.
NightList overviewNightsOf(const std::vector<NightInfo> &nights, const OverviewPatient &patient);

// The stored numbers of the periods; do not renumber.
enum class OverviewPeriod { Last7 = 0, Last30, Last90, Last365, All, Dates };
inline constexpr int kOverviewPeriods = 6;

struct OverviewRange {
    QDate from, to; // null: open
};

// The dates the period covers among a patient's nights: the last N nights
// start at the date of the Nth newest (a date the newest ones share brings all
// of its nights); All is open both ways; Dates is from and to as given.
OverviewRange overviewRange(const NightList &nights, OverviewPeriod period, QDate from = {}, QDate to = {});

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"

#include <QDate>
#include <QString>

#include <array>
#include <optional>
#include <vector>

// A patient's nights side by side, from the figures the archive keeps with
// each night: building it reads no readings, so years of nights stay instant.

// The night's date: the date it started, or the day before when it started before noon.
QDate overviewDate(const NightSummary &summary);

enum class OverviewFigure { Odi3, Odi4, T90, Nadir, MeanSpo2, PulseMean, ValidHours, HypoxicBurden, Coverage };
inline constexpr int kOverviewFigures = 9;

// The night's value of a figure; nullopt when the night has no valid reading
// to give it (the valid hours and coverage are always given).
std::optional<double> overviewValue(const NightSummary &summary, OverviewFigure figure);

struct OverviewNight {
    qint64 night = 0; // the archive's number, to open it
    QDate date;       // overviewDate()
    int slot = 0;     // index among the nights on the same date (side by side)
    int slots = 1;    // how many nights share that date
    // Its row in OverviewData::listing. An index, not a pointer: a copy of the
    // data that changes its listing gets rows of its own, which pointers into
    // the list it was copied from would miss.
    qsizetype row = 0;
};

// One column of the statistics table.
enum class OverviewColumn { MostRecent, Last7, Last30, Last90, Last365, Period };
inline constexpr int kOverviewColumns = 6;

struct OverviewStats {
    OverviewColumn column = OverviewColumn::Period;
    int nights = 0;  // nights used for the means
    int leftOut = 0; // short nights (summary.shortRecording) listed but left out
    std::array<std::optional<double>, kOverviewFigures>
        values;                               // mean of nightly values; nadir: lowest; nullopt: no night
    std::optional<double> pulseMin, pulseMax; // the range shown with the pulse mean: lowest and highest of the nights
    // MostRecent only: its night is short, shown anyway with its mark.
    bool shortNight = false;
    QDate first, last; // the dates the column covers; null when there is no night
};

struct OverviewData {
    QString patient;                   // as chosen (name and ID text), for headers
    QDate from, to;                    // the period shown (from/to of the nights when open)
    NightList listing;                 // the rows it was built from, shared, not copied
    std::vector<OverviewNight> nights; // oldest first
    std::vector<OverviewStats> table;  // the six columns, in enum order
    int shortNights() const;           // nights of the period left out of the means
    // The archive's listing row of a night (summary inside).
    const NightInfo &info(const OverviewNight &night) const { return listing.at(night.row); }
};

// Builds everything the page shows from the archive's listing rows of one patient:
// no readings are read. from/to null = open bound.
OverviewData buildOverview(const NightList &nights, QDate from, QDate to, const QString &patient);

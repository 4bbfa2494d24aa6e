// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/ImportError.h"
#include "model/SampleRecord.h"

#include <QString>

#include <cstdint>
#include <vector>

// SpO2 and pulse values meaning "no signal", which a .dat file can hold.
inline constexpr std::uint8_t kNoSpo2 = 0;
inline constexpr std::uint8_t kNoPulse = 255;

// What a file of another program gave: one reading a second, ID 0 and
// auxValue 0 (the caller sets the ID), and how much of the file was refused.
struct ImportedNight {
    bool ok = false;
    ImportProblem error; // when not ok: why nothing was read
    std::vector<SampleRecord> readings;
    int intervalSeconds = 1;        // the file's own spacing of readings
    QString patientName;            // empty when the file names nobody
    QString timeFormat;             // CSV: the time pattern used
    bool offsetsConverted = false;  // CSV: times with a UTC offset were made local
    bool dayMonthUndecided = false; // CSV: the dates could be either way round
    bool layoutUnknown = false;     // CSV: no header names the time and SpO2 columns

    bool countsRecords = false; // read and refused count EDF data records, not rows
    int read = 0;               // rows (CSV) or data records (EDF) taken
    int refused = 0;            // rows or records left out
    ImportProblem firstRefusal; // the first row or record left out, and why

    // More than a tenth of the rows refused: the file may not be what it seems.
    bool mostlyRefused() const { return refused * 10 > read + refused; }
};

// One reading at a whole second.
struct TimedReading {
    std::int64_t seconds = 0; // from 2000-01-01 00:00:00
    std::uint8_t spo2 = kNoSpo2;
    std::uint8_t pulse = kNoPulse;
};

namespace ImportedReadings
{

// The largest number of readings an import yields (31 days at one a second).
inline constexpr std::int64_t kMaxReadings = 31 * 86400;

// The most common step between readings, in seconds (1 when there is none).
int usualInterval(const std::vector<TimedReading> &rows);

// One reading a second: each value holds until the next reading, unless that
// is more than three intervals later, which stays a gap (at an interval of
// one second nothing is filled). Rows go forward in time. Empty (and error set) past kMaxReadings.
ImportResult<std::vector<SampleRecord>> expand(const std::vector<TimedReading> &rows, int intervalSeconds);

SampleRecord recordAt(std::int64_t seconds);

// r refused with error: no readings.
ImportedNight failed(ImportedNight r, ImportProblem error);
// r with the rows expanded into its readings, or refused when they cannot be.
ImportedNight finished(ImportedNight r, const std::vector<TimedReading> &rows, int intervalSeconds);

// 1203 as "1,203".
QString grouped(std::int64_t n);

} // namespace ImportedReadings

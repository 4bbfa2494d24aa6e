// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"

// A listing row as a NightInfo, from any reader of the row's columns (in the
// order the archive selects them) that offers integer(i), real(i), text(i) and bytes(i).
// One mapping for Qt SQL and for faster readers of the same rows.
template <typename Row> NightInfo nightInfoFromRow(const Row &row)
{
    NightInfo n;
    n.night = row.integer(0);
    n.deviceId = int(row.integer(1));
    n.patientName = row.text(2);
    n.title = row.text(3);
    n.source = nightSourceFromName(row.text(4)).value_or(NightSource::Import);
    n.sourceName = row.text(5);
    n.archivedAt = row.text(6);
    n.partial = row.integer(7) != 0;
    n.intervalSeconds = int(row.integer(8));
    NightSummary &s = n.summary;
    int c = 9;
    s.start = row.text(c++);
    s.end = row.text(c++);
    s.readings = int(row.integer(c++));
    s.validSeconds = int(row.integer(c++));
    s.odi3 = row.real(c++);
    s.odi4 = row.real(c++);
    s.t90Percent = row.real(c++);
    s.t88Percent = row.real(c++);
    s.nadir = int(row.integer(c++));
    s.meanSpo2 = row.real(c++);
    s.pulseMin = int(row.integer(c++));
    s.pulseMean = row.real(c++);
    s.pulseMax = int(row.integer(c++));
    s.coverage = row.real(c++);
    s.shortRecording = row.integer(c++) != 0;
    s.hypoxicBurden = row.real(c++);
    s.deltaIndex = row.real(c++);
    s.desaturationMeanSeconds = row.real(c++);
    s.desaturationMeanDepth = row.real(c++);
    s.pulseRiseMean = row.real(c++);
    s.version = int(row.integer(c++));
    n.readingsHash = row.bytes(c++);
    n.patientChangedAt = row.text(c++);
    n.marksChangedAt = row.text(c++);
    return n;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clinical/SignalQuality.h"
#include "model/SampleRecord.h"

#include <QString>

#include <vector>

// The figures the archive keeps beside each night so that listing reads no
// readings. Computed by the clinical summary code; kVersion names that code's
// rules: summaries of an older version are listed as they are, marked by their
// version, until SummaryRefresh has computed them again.
struct NightSummary {
    static constexpr int kVersion = 2; // 2: artefact rules, burden and the figures after it

    QString start; // "YYYY-MM-DD hh:mm:ss" of the first reading
    QString end;   // of the last reading
    int readings = 0;
    int validSeconds = 0;
    double odi3 = 0;
    double odi4 = 0;
    double t90Percent = 0;
    double t88Percent = 0;
    int nadir = 0;
    double meanSpo2 = 0; // over valid readings
    int pulseMin = 0;
    double pulseMean = 0;
    int pulseMax = 0;
    double coverage = 0; // valid share of the readings, in percent
    bool shortRecording = true;
    double hypoxicBurden = 0;
    double deltaIndex = 0;
    double desaturationMeanSeconds = 0;
    double desaturationMeanDepth = 0;
    double pulseRiseMean = 0;
    int version = kVersion;

    friend bool operator==(const NightSummary &, const NightSummary &) = default;
};

QString readingStamp(const SampleRecord &s);
// marked: the spans the user marked as artefact in this night.
NightSummary summarizeNight(const SampleRecord *samples, int count, const std::vector<ReadingSpan> &marked = {});

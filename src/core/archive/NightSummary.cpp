// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/NightSummary.h"

#include "clinical/ClinicalSummary.h"

QString readingStamp(const SampleRecord &s)
{
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", 2000 + s.year, s.month, s.day, s.hour, s.minute,
                             s.second);
}

NightSummary summarizeNight(const SampleRecord *samples, int count, const std::vector<ReadingSpan> &marked)
{
    NightSummary n;
    if (count > 0) {
        n.start = readingStamp(samples[0]);
        n.end = readingStamp(samples[count - 1]);
    }
    n.readings = count;
    const ClinicalSummary c = computeClinicalSummary(samples, count, marked);
    n.validSeconds = c.validSeconds;
    n.odi3 = c.odi3;
    n.odi4 = c.odi4;
    n.t90Percent = c.t90Percent;
    n.t88Percent = c.t88Percent;
    n.nadir = c.nadir;
    n.meanSpo2 = c.meanSpo2;
    n.pulseMin = c.pulseMin;
    n.pulseMean = c.pulseMean;
    n.pulseMax = c.pulseMax;
    n.coverage = c.coverage;
    n.shortRecording = c.shortRecording;
    n.hypoxicBurden = c.hypoxicBurden;
    n.deltaIndex = c.deltaIndex;
    n.desaturationMeanSeconds = c.desaturationMeanSeconds;
    n.desaturationMeanDepth = c.desaturationMeanDepth;
    n.pulseRiseMean = c.pulseRiseMean;
    return n;
}

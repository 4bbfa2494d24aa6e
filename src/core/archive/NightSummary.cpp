// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/NightSummary.h"

#include "clinical/ClinicalSummary.h"

QString readingStamp(const SampleRecord &s)
{
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", 2000 + s.year, s.month, s.day, s.hour, s.minute,
                             s.second);
}

NightSummary summarizeNight(const SampleRecord *samples, int count)
{
    NightSummary n;
    if (count > 0) {
        n.start = readingStamp(samples[0]);
        n.end = readingStamp(samples[count - 1]);
    }
    n.readings = count;
    const ClinicalSummary c = computeClinicalSummary(samples, count);
    n.validSeconds = c.validSeconds;
    n.odi3 = c.odi3;
    n.odi4 = c.odi4;
    n.t90Percent = c.t90Percent;
    n.t88Percent = c.t88Percent;
    n.nadir = c.nadir;
    qint64 sum = 0;
    for (int spo2 = 0; spo2 <= 100; ++spo2)
        sum += qint64(spo2) * c.spo2Histogram[std::size_t(spo2)];
    n.meanSpo2 = c.validSeconds > 0 ? double(sum) / c.validSeconds : 0;
    n.pulseMin = c.pulseMin;
    n.pulseMean = c.pulseMean;
    n.pulseMax = c.pulseMax;
    return n;
}

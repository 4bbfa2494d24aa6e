// SPDX-License-Identifier: GPL-3.0-or-later
#include "clinical/ClinicalSummaryJson.h"

#include "clinical/ClinicalSummary.h"

#include <QJsonArray>

QJsonObject clinicalSummaryJson(const ClinicalSummary &s)
{
    QJsonArray histogram;
    for (int count : s.spo2Histogram)
        histogram.append(count);
    return QJsonObject{
        {QStringLiteral("validSeconds"), s.validSeconds},
        {QStringLiteral("nadir"), s.nadir},
        {QStringLiteral("t90Seconds"), s.t90Seconds},
        {QStringLiteral("t90Percent"), s.t90Percent},
        {QStringLiteral("t88Seconds"), s.t88Seconds},
        {QStringLiteral("t88Percent"), s.t88Percent},
        {QStringLiteral("spo2Histogram"), histogram},
        {QStringLiteral("pulseMin"), s.pulseMin},
        {QStringLiteral("pulseMean"), s.pulseMean},
        {QStringLiteral("pulseMax"), s.pulseMax},
        {QStringLiteral("odi3"), s.odi3},
        {QStringLiteral("odi4"), s.odi4},
    };
}

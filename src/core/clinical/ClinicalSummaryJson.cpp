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
        {QStringLiteral("artefactSeconds"), s.artefactSeconds},
        {QStringLiteral("coverage"), s.coverage},
        {QStringLiteral("shortRecording"), s.shortRecording},
        {QStringLiteral("nadir"), s.nadir},
        {QStringLiteral("meanSpo2"), s.meanSpo2},
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
        {QStringLiteral("hypoxicBurden"), s.hypoxicBurden},
        {QStringLiteral("deltaIndex"), s.deltaIndex},
        {QStringLiteral("desaturationMeanSeconds"), s.desaturationMeanSeconds},
        {QStringLiteral("desaturationMeanDepth"), s.desaturationMeanDepth},
        {QStringLiteral("pulseRiseMean"), s.pulseRiseMean},
    };
}

const QStringList &clinicalSummaryKeys()
{
    static const QStringList keys = {
        QStringLiteral("validSeconds"),
        QStringLiteral("artefactSeconds"),
        QStringLiteral("coverage"),
        QStringLiteral("shortRecording"),
        QStringLiteral("nadir"),
        QStringLiteral("meanSpo2"),
        QStringLiteral("t90Seconds"),
        QStringLiteral("t90Percent"),
        QStringLiteral("t88Seconds"),
        QStringLiteral("t88Percent"),
        QStringLiteral("spo2Histogram"),
        QStringLiteral("pulseMin"),
        QStringLiteral("pulseMean"),
        QStringLiteral("pulseMax"),
        QStringLiteral("odi3"),
        QStringLiteral("odi4"),
        QStringLiteral("hypoxicBurden"),
        QStringLiteral("deltaIndex"),
        QStringLiteral("desaturationMeanSeconds"),
        QStringLiteral("desaturationMeanDepth"),
        QStringLiteral("pulseRiseMean"),
    };
    return keys;
}

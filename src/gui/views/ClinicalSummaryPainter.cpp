// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ClinicalSummaryPainter.h"

#include "views/PaintHelpers.h"
#include "views/TextLayoutCache.h"
#include "views/ViewFonts.h"

#include "clinical/ClinicalSummary.h"
#include "model/FixedText.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>

namespace
{

constexpr int kLineCount = 9;
constexpr int kLargestCell = 13; // the analysis page's value font
constexpr int kSmallestCell = 7;
constexpr int kHistogramMinWidth = 120;

QString duration(int seconds)
{
    return QString::asprintf("%d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

QString decimal(double value)
{
    return FixedText(value, 1);
}

QString signedDecimal(double value)
{
    return (value >= 0 ? QStringLiteral("+") : QString()) + decimal(value);
}

// The lowest SpO2 the distribution shows: 80, or lower in steps of 10 to
// take in the nadir (never below 50, the lowest valid reading).
int histogramFloor(const ClinicalSummary &s)
{
    return std::clamp(std::min(80, s.nadir / 10 * 10), 0, 80);
}

void paintHistogram(QPainter &p, const QRect &area, const ClinicalSummary &s, int textHeight, TextLayoutCache *texts)
{
    const int lo = histogramFloor(s);
    const int bins = 101 - lo;
    const int peak = *std::max_element(s.spo2Histogram.begin() + lo, s.spo2Histogram.end());
    const QRect plot(area.left(), area.top(), area.width(), area.height() - textHeight - 2);
    if (plot.height() < 4 || plot.width() < bins || peak == 0)
        return;

    p.setPen(Qt::NoPen);
    p.setBrush(kClinicalBarColour);
    for (int v = lo; v <= 100; ++v) {
        const int count = s.spo2Histogram[std::size_t(v)];
        if (count == 0)
            continue;
        const int x0 = plot.left() + (v - lo) * plot.width() / bins;
        const int x1 = plot.left() + (v - lo + 1) * plot.width() / bins;
        // Any reading at all keeps a bar at least one pixel high.
        const int h = std::max(1, int(qint64(count) * plot.height() / peak));
        p.drawRect(QRect(x0, plot.bottom() + 1 - h, std::max(1, x1 - x0 - 1), h));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(paint::LinePen(p, Qt::black));
    paint::HLine(p, plot.left(), plot.right() + 1, plot.bottom() + 1);

    const int labelTop = plot.bottom() + 2;
    for (int v : {lo, 90, 100}) {
        const int x = plot.left() + (v - lo) * plot.width() / bins + plot.width() / bins / 2;
        const int w = 40;
        const QRect box = QRect(x - w / 2, labelTop, w, textHeight).intersected(area);
        DrawText(p, box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, QString::number(v), texts);
    }
}

} // namespace

QStringList clinicalSummaryLines(const ClinicalSummary &s)
{
    if (s.validSeconds == 0)
        return {QCoreApplication::translate("ClinicalSummary", "No valid readings")};
    return {
        QCoreApplication::translate("ClinicalSummary", "Valid time: %1").arg(duration(s.validSeconds)),
        QCoreApplication::translate("ClinicalSummary", "Nadir SpO2: %1%").arg(s.nadir),
        QCoreApplication::translate("ClinicalSummary", "T90: %1 (%2%)")
            .arg(duration(s.t90Seconds), decimal(s.t90Percent)),
        QCoreApplication::translate("ClinicalSummary", "T88: %1 (%2%)")
            .arg(duration(s.t88Seconds), decimal(s.t88Percent)),
        QCoreApplication::translate("ClinicalSummary", "ODI3: %1/h  ODI4: %2/h").arg(decimal(s.odi3), decimal(s.odi4)),
        QCoreApplication::translate("ClinicalSummary", "Pulse min/mean/max: %1/%2/%3 bpm")
            .arg(s.pulseMin)
            .arg(decimal(s.pulseMean))
            .arg(s.pulseMax),
        (s.shortRecording
             ? QCoreApplication::translate("ClinicalSummary", "Coverage: %1% (artefacts %2), short recording")
             : QCoreApplication::translate("ClinicalSummary", "Coverage: %1% (artefacts %2)"))
            .arg(decimal(s.coverage), duration(s.artefactSeconds)),
        QCoreApplication::translate("ClinicalSummary", "Mean SpO2: %1%  Hypoxic burden: %2 %·min/h")
            .arg(decimal(s.meanSpo2), decimal(s.hypoxicBurden)),
        QCoreApplication::translate("ClinicalSummary", "ΔI: %1  Desaturations: %2 s, %3%, pulse %4 bpm")
            .arg(FixedText(s.deltaIndex, 2), decimal(s.desaturationMeanSeconds), decimal(s.desaturationMeanDepth),
                 signedDecimal(s.pulseRiseMean)),
    };
}

void paintClinicalSummary(QPainter &p, QRect box, const ClinicalSummary &summary, TextLayoutCache *texts)
{
    const int cell = std::min(kLargestCell, box.height() / kLineCount);
    if (cell < kSmallestCell || box.width() < 40)
        return;
    p.save();
    p.setClipRect(box, Qt::IntersectClip);
    p.setFont(ViewFont(cell, false));
    p.setPen(Qt::black);

    const bool withHistogram = summary.validSeconds > 0 && box.width() >= 2 * kHistogramMinWidth;
    const int textWidth = withHistogram ? box.width() * 3 / 5 : box.width();
    const QStringList lines = clinicalSummaryLines(summary);
    for (int i = 0; i < lines.size(); ++i)
        paint::TextLine(p, Edges{box.left(), box.top() + i * cell, box.left() + textWidth, box.top() + (i + 1) * cell},
                        lines.at(i), 0, texts);

    if (withHistogram) {
        const QRect area(box.left() + textWidth + 10, box.top() + cell / 2, box.width() - textWidth - 10,
                         box.height() - cell / 2);
        paintHistogram(p, area, summary, cell, texts);
    }
    p.restore();
}

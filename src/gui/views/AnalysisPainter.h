// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/AnalysisGeometry.h"
#include "views/AnalysisTraces.h"
#include "views/ReportHeader.h"
#include "views/TextLayoutCache.h"
#include "views/ViewFonts.h"

#include "analysis/AnalysisResults.h"
#include "analysis/RecordingStatistics.h"
#include "clinical/ClinicalSummary.h"
#include "model/SampleRecord.h"

#include <QSize>
#include <QString>

#include <array>
#include <optional>

class QPainter;

// Everything the analysis page shows besides its geometry. Results and
// statistics are those of the last analysis run; the two drops are the stored
// settings, read again for every picture.
struct AnalysisPicture {
    const SampleRecord *samples = nullptr;
    int sampleCount = 0;
    ReportHeaderContent header; // with HeaderDates::TwoDigitYear
    AnalysisResults results;
    RecordingStatistics statistics;
    int desaturationsEvent = 4;
    int pulseEvent = 6;
    // Shown under "Diagnose:" when present; the described figures stay as they are.
    std::optional<ClinicalSummary> clinical;
    // Traces kept from an earlier paint of the same readings; without one
    // they are worked out for this paint.
    AnalysisTraceCache *traceCache = nullptr;
    // Texts shaped at an earlier paint; without one they are shaped now.
    TextLayoutCache *textCache = nullptr;
};

// The texts of the event table: label, SpO2 and pulse column of rows 1..12.
struct AnalysisTableRow {
    QString label;
    QString spo2;
    QString pulse;
};
std::array<AnalysisTableRow, AnalysisLayout::kTableRows> AnalysisTableRows(const AnalysisResults &r,
                                                                           const RecordingStatistics &s);
// The threshold texts of rows 2..5 of the right half ("SpO2  >  94         120").
std::array<QString, 4> ThresholdTexts(const AnalysisResults &r, const RecordingStatistics &s);
// The two lines under the table that state the event rules in force.
QString DesaturationRuleText(int drop);
QString PulseRuleText(int drop);

AnalysisLayout LayoutAnalysisPage(QSize size, int sampleCount, const TableFonts &fonts);

// Paints the whole page: white background, then (only with samples) header,
// event table, threshold counts, rule lines and the graphic summary.
void PaintAnalysisPage(QPainter &p, QSize size, const AnalysisPicture &picture, const TableFonts &fonts);

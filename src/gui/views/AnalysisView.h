// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/AnalysisPainter.h"
#include "views/DataView.h"
#include "views/ViewFonts.h"

#include "analysis/AnalysisResults.h"
#include "analysis/RecordingStatistics.h"

struct ClinicalSummary;

// The analysis page: event table, threshold counts, rule lines and the graphic
// summary of the current recording, on one page that neither pages nor scrolls.
class AnalysisView : public DataView
{
    Q_OBJECT
public:
    // results, statistics and clinical belong to the main window and outlive
    // the view; without clinical figures the area under "Diagnose:" stays empty.
    AnalysisView(RecordStore &store, const AnalysisResults &results, const RecordingStatistics &statistics,
                 const ClinicalSummary *clinical = nullptr, QWidget *parent = nullptr);

    // One page while there are readings.
    int pageCount() const override;
    void renderPage(QPainter &painter, const QSize &size, int pageIndex) override;

    // The picture at this moment, with the rule settings read now.
    AnalysisPicture picture() const;
    AnalysisLayout layout() const;
    const TableFonts &fonts() const { return fonts_; }

public Q_SLOTS:
    void refresh() override;

protected:
    // The page is the whole report: paging keeps it where it is.
    bool turnsPages() const override { return false; }
    void paintEvent(QPaintEvent *event) override;

private:
    const AnalysisResults &results_;
    const RecordingStatistics &statistics_;
    const ClinicalSummary *clinical_;
    TableFonts fonts_;
    // The traces read all readings; repaints of the same page reuse them.
    mutable AnalysisTraceCache traces_;
    // The page's texts, shaped once; kept by text, font and device.
    mutable TextLayoutCache texts_;
};

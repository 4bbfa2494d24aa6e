// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/AnalysisView.h"

#include "app/Settings.h"
#include "model/RecordStore.h"

#include <QPainter>

AnalysisView::AnalysisView(RecordStore &store, const AnalysisResults &results, const RecordingStatistics &statistics,
                           const ClinicalSummary *clinical, QWidget *parent)
    : DataView(store, parent), results_(results), statistics_(statistics), clinical_(clinical)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
}

int AnalysisView::pageCount() const
{
    return store().currentSampleCount() > 0 ? 1 : 0;
}

AnalysisPicture AnalysisView::picture() const
{
    const RecordStore &s = store();
    AnalysisPicture pic;
    pic.samples = s.currentSamples.data();
    pic.sampleCount = s.currentSampleCount();
    pic.header = CurrentHeaderContent(s, HeaderDates::TwoDigitYear);
    pic.results = results_;
    pic.statistics = statistics_;
    if (clinical_)
        pic.clinical = *clinical_;
    pic.desaturationsEvent = Settings().desaturationsEvent();
    pic.pulseEvent = Settings().pulseEvent();
    pic.traceCache = &traces_;
    pic.textCache = &texts_;
    return pic;
}

AnalysisLayout AnalysisView::layout() const
{
    return LayoutAnalysisPage(size(), store().currentSampleCount(), fonts_);
}

void AnalysisView::refresh()
{
    // Whatever made the main window ask may have touched the readings.
    traces_.clear();
    DataView::refresh();
}

void AnalysisView::renderPage(QPainter &painter, const QSize &size, int /*pageIndex*/)
{
    PaintAnalysisPage(painter, size, picture(), fonts_);
}

void AnalysisView::paintEvent(QPaintEvent * /*event*/)
{
    QPainter p(this);
    renderPage(p, size(), 0);
}

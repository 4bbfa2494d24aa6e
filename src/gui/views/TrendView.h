// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/DataView.h"
#include "views/TrendGeometry.h"
#include "views/ViewFonts.h"

#include "clinical/SignalQuality.h"

#include <QString>

// The current recording as two stacked graphs, SpO2 above pulse rate, one
// page at a time under the trend page header. One reading is one pixel column.
// A reading is read out by pointing exactly at a curve point or by moving the
// keyboard cursor with Left and Right.
class TrendView : public DataView
{
    Q_OBJECT
public:
    explicit TrendView(RecordStore &store, QWidget *parent = nullptr);

    int pageCount() const override;
    void renderPage(QPainter &painter, const QSize &size, int pageIndex) override;

    int samplesPerPage() const { return TrendSamplesPerPage(width()); }
    TrendLayout layout() const { return LayoutTrend(size()); }

    // The readout of the picked reading (empty when none) and the markers.
    QString cursorDateText() const { return cursorDate_; }
    QString cursorTimeText() const { return cursorTime_; }
    QString cursorSpo2Text() const { return cursorSpo2_; }
    QString cursorPulseText() const { return cursorPulse_; }
    TrendMarker spo2Marker() const { return spo2Marker_; }
    TrendMarker pulseMarker() const { return pulseMarker_; }

    // The pointer at p: picks the reading whose curve point it touches.
    void pointAt(QPoint p);

    // Shift+drag across the plot offers to mark the readings as artefact;
    // right-click or Shift+click in a marked span offers to clear it.
Q_SIGNALS:
    void markRequested(ReadingSpan span);
    void clearMarkRequested(ReadingSpan span);

protected:
    void pageTurned(bool forward) override;
    int forwardPageCount() const override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void pick(int index, int x);
    void hideMarkers();
    void moveCursor(int direction);
    // Offers to clear the mark under column x; false when none is there.
    bool offerClear(int x, QPoint globalPos);

    TrendFonts fonts_;
    QString cursorDate_;
    QString cursorTime_;
    QString cursorSpo2_;
    QString cursorPulse_;
    TrendMarker spo2Marker_;
    TrendMarker pulseMarker_;
    bool onScreen_ = false; // painting the widget itself
    int dragFrom_ = -1;     // column where a Shift+drag began; -1 none
    int dragTo_ = -1;
};

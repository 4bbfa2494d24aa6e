// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/Edges.h"

#include "model/SampleRecord.h"

#include <QPoint>
#include <QSize>

#include <optional>

// Where everything of a trend page sits for a client of a given size. All
// arithmetic is integer with truncating division, so a picture is the same on
// every machine. One reading is one pixel column.
struct TrendLayout {
    int width = 0;
    int height = 0;
    int samplesPerPage = 0; // whole minutes of one-second readings in 89 % of the width
    int plotHeight = 0;     // the same for both plots

    Edges header;
    Edges spo2Panel;
    Edges pulsePanel;
    Edges spo2Plot; // right = left + samplesPerPage
    Edges pulsePlot;

    // The rectangles the pointer is tested against: one column wider than the
    // plots, bottom edge excluded.
    Edges spo2HitArea() const { return {spo2Plot.left, spo2Plot.top, spo2Plot.right + 1, spo2Plot.bottom}; }
    Edges pulseHitArea() const { return {pulsePlot.left, pulsePlot.top, pulsePlot.right + 1, pulsePlot.bottom}; }
};

TrendLayout LayoutTrend(QSize client);

int TrendSamplesPerPage(int clientWidth);
// Pages needed for count readings; 0 without readings. A client too narrow to
// hold a minute still gives one page, so paging never divides by zero.
int TrendPageCount(int sampleCount, int samplesPerPage);

// Height of a reading's point on each curve. SpO2 above 100 sits on the 100 line.
int Spo2CurveY(const TrendLayout &layout, int spo2);
int PulseCurveY(const TrendLayout &layout, int pulseRate);

// The reading under column x of the page, if there is one.
std::optional<int> SampleAtColumn(const TrendLayout &layout, int viewPosition, int x, int sampleCount);

// The reading the pointer at p picks: p must lie exactly on a curve point of
// the reading under its column (SpO2 first, then pulse), unclamped values.
std::optional<int> PickReading(const TrendLayout &layout, int viewPosition, const SampleRecord *samples,
                               int sampleCount, QPoint p);

// An arrow marker: a vertical line of `length` from the point towards the far
// edge of its plot, with the arrowhead at the point.
struct TrendMarker {
    int x = -100;
    int y = -100;
    int length = 0;
    int direction = 0; // -1 the line runs up from the point, +1 down, 0 hidden

    bool visible() const { return direction != 0; }
    friend bool operator==(const TrendMarker &, const TrendMarker &) = default;
};

TrendMarker MarkerAt(const Edges &plot, int x, int y);

// One step of the keyboard cursor. markerX is the SpO2 marker's column (-100
// when hidden). The result says where the cursor goes and whether the view
// must page first; nothing when the cursor cannot move.
struct CursorStep {
    int cursorX = 0;
    int cursorSample = 0;
    int paging = 0; // -1 page up, +1 page down, 0 stay
};
std::optional<CursorStep> StepCursor(const TrendLayout &layout, int viewPosition, int sampleCount, int markerX,
                                     int direction);

// First time-axis label slots: label i (even) of a page names reading
// viewPosition * samplesPerPage + 30 * i and sits at column plot left + 30 * i.
int TimeTickCount(const TrendLayout &layout);

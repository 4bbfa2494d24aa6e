// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/Edges.h"

#include "analysis/EventRecord.h"

#include <QSize>

// Where everything of the analysis page goes, for a page of a given size whose
// header ends at headerBottom. Integer arithmetic, every division truncating,
// so the screen, a test image and the printed page agree to the pixel.
struct AnalysisLayout {
    static constexpr int kRowHeight = 14;
    static constexpr int kTableRows = 12;

    Edges page;
    int headerBottom = 0;
    int left = 0;     // L: left edge of the report
    int right = 0;    // R: right edge of the report and of both plots
    int bottom = 0;   // BB
    int tableTop = 0; // T
    int halfWidth = 0;
    int w1 = 0; // label column
    int w2 = 0; // SpO2 column
    int w3 = 0; // pulse column

    int summaryTop = 0; // G: the "Graphic Summary" title
    int spo2Top = 0;    // S: top of the SpO2 chart
    int pulseTop = 0;   // P: top of the pulse chart
    int pulseCaptionY = 0;
    int chartHeight = 0;
    int stripGap = 0;
    int stripHeight = 0;
    int plotLeft = 0;  // X0
    int plotWidth = 0; // W
    int step = 1;      // samples per pixel column
    int timeAxisY = 0;
    int sampleCount = 0;

    // The cell of table row r (1..12) and column k (1..5) with width parameter m;
    // empty for a negative row or column.
    Edges cell(int row, int column, int m) const;
    int dividerX() const { return left + (right - left) / 2; }
    int dividerBottom() const { return tableTop + kTableRows * kRowHeight; }
    // Room under the "Diagnose:" heading (rows 7 to 12 of the right half).
    Edges diagnoseArea() const;

    // The x of sample k of a trace (sample 0 starts at plotLeft + 1).
    int traceX(int k) const { return k == 0 ? plotLeft + 1 : plotLeft + (k - 1) / step; }
    // Values clamped to each chart's scale: SpO2 70..100, pulse rate 40..180.
    int spo2Y(int value) const;
    int pulseY(int value) const;

    Edges spo2Strip() const;
    Edges pulseStrip() const;
    // Pixel columns first..last (inclusive) an event covers in its strip:
    // at least the column of its start; never right of the plot's right edge.
    struct Span {
        int first = 0;
        int last = -1;
        bool empty() const { return last < first; }
    };
    Span eventSpan(const EventRecord &event) const;

    // x of time-axis mark j (0..9), and the sample whose time it shows; -1
    // when that sample lies past the end of the recording.
    int timeMarkX(int j) const { return plotLeft + j * plotWidth / 10; }
    int timeMarkSample(int j) const;
};

// The smallest whole number of samples per pixel column that fits count
// samples into width columns.
int TraceStep(int count, int width);

AnalysisLayout LayoutAnalysis(QSize size, int headerBottom, int sampleCount);

// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/AnalysisGeometry.h"

#include <algorithm>

int TraceStep(int count, int width)
{
    // A truncating count / width would leave the end of most recordings past
    // the right edge; rounding up always fits the whole recording.
    if (width <= 0 || count <= width)
        return 1;
    return (count + width - 1) / width;
}

AnalysisLayout LayoutAnalysis(QSize size, int headerBottom, int sampleCount)
{
    AnalysisLayout l;
    l.page = {0, 0, size.width(), size.height()};
    l.headerBottom = headerBottom;
    l.left = l.page.left + 20;
    l.right = l.page.right - 10;
    l.bottom = l.page.bottom - 10;
    l.tableTop = headerBottom + 10;
    l.halfWidth = (l.right - l.left) / 2;
    l.w1 = l.halfWidth * 51 / 100;
    l.w2 = l.halfWidth * 60 / 100;
    l.w3 = l.halfWidth * 40 / 100;

    l.summaryTop = headerBottom + 213;
    l.spo2Top = l.summaryTop + 39;
    const int h = l.bottom - l.spo2Top;
    l.chartHeight = h * 35 / 100;
    l.stripGap = h * 3 / 100;
    l.stripHeight = h * 2 / 100;
    l.pulseTop = l.spo2Top + h * 52 / 100;
    l.pulseCaptionY = l.spo2Top + h * 45 / 100;
    l.plotLeft = l.left + 20;
    l.plotWidth = l.right - l.left - 20;
    l.sampleCount = sampleCount;
    l.step = TraceStep(sampleCount, l.plotWidth);
    l.timeAxisY = l.pulseTop + l.chartHeight * 8 / 7 + l.stripGap;
    return l;
}

Edges AnalysisLayout::cell(int row, int column, int m) const
{
    if (row < 0 || column < 0)
        return {};
    Edges e;
    e.top = tableTop + kRowHeight * row - kRowHeight;
    e.bottom = e.top + kRowHeight;
    if (column <= 3) {
        e.left = left + m * (column - 1);
        e.right = e.left + m * column;
    } else if (column == 4) {
        e.left = left + (right - left) / 2 + 5;
        e.right = e.left + (right - e.left) / 2 + m;
    } else {
        const int o = (right - left) / 2;
        e.left = left + o + o * 70 / 100;
        e.right = right;
    }
    return e;
}

Edges AnalysisLayout::diagnoseArea() const
{
    return {dividerX() + 5, tableTop + 6 * kRowHeight, right, dividerBottom()};
}

int AnalysisLayout::spo2Y(int value) const
{
    const int v = std::clamp(value, 70, 100);
    return spo2Top + (100 - v) * chartHeight / 30;
}

int AnalysisLayout::pulseY(int value) const
{
    const int v = std::clamp(value, 40, 180);
    return pulseTop + (180 - v) * chartHeight / 140;
}

Edges AnalysisLayout::spo2Strip() const
{
    const int top = spo2Top + chartHeight + stripGap;
    return {plotLeft, top, right, top + stripHeight};
}

Edges AnalysisLayout::pulseStrip() const
{
    const int top = pulseTop + chartHeight + stripGap;
    return {plotLeft, top, right, top + stripHeight};
}

AnalysisLayout::Span AnalysisLayout::eventSpan(const EventRecord &event) const
{
    Span s;
    s.first = plotLeft + event.start / step;
    s.last = std::max(s.first, plotLeft + (event.start + event.length - 1) / step);
    s.last = std::min(s.last, right - 1); // inside the strip's outline
    return s;
}

int AnalysisLayout::timeMarkSample(int j) const
{
    const int i = (j * plotWidth / 10) * step;
    return i < sampleCount ? i : -1;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/TrendGeometry.h"

#include <algorithm>

int TrendSamplesPerPage(int clientWidth)
{
    return std::max(clientWidth, 0) * 89 / 6000 * 60;
}

int TrendPageCount(int sampleCount, int samplesPerPage)
{
    if (sampleCount <= 0)
        return 0;
    if (samplesPerPage <= 0)
        return 1;
    return sampleCount / samplesPerPage + (sampleCount % samplesPerPage ? 1 : 0);
}

TrendLayout LayoutTrend(QSize client)
{
    TrendLayout l;
    const int w = client.width();
    const int h = client.height();
    l.width = w;
    l.height = h;
    l.samplesPerPage = TrendSamplesPerPage(w);
    l.plotHeight = h * 20 / 100;

    l.header = {10, 5, w - 10, h * 27 / 100 + 10};
    l.spo2Panel = {l.header.left, l.header.bottom + 10, l.header.right,
                   (h - l.header.bottom) / 2 + l.header.bottom + 5};
    l.pulsePanel = {l.header.left, l.spo2Panel.bottom + 10, l.header.right, h - 5};

    const int sh = l.spo2Panel.height();
    l.spo2Plot.left = l.spo2Panel.left + 60;
    l.spo2Plot.top = l.spo2Panel.top + sh * 27 / 100;
    l.spo2Plot.bottom = l.spo2Plot.top + l.plotHeight;
    l.spo2Plot.right = l.spo2Plot.left + l.samplesPerPage;

    const int qh = l.pulsePanel.height();
    l.pulsePlot.left = l.pulsePanel.left + 60;
    l.pulsePlot.top = l.pulsePanel.top + qh * 7 / 100;
    l.pulsePlot.bottom = l.pulsePlot.top + l.plotHeight;
    l.pulsePlot.right = l.pulsePlot.left + l.samplesPerPage;
    return l;
}

int Spo2CurveY(const TrendLayout &layout, int spo2)
{
    return layout.spo2Plot.bottom - layout.plotHeight * std::min(spo2, 100) / 100;
}

int PulseCurveY(const TrendLayout &layout, int pulseRate)
{
    return layout.pulsePlot.bottom - layout.plotHeight * pulseRate / 300;
}

std::optional<int> SampleAtColumn(const TrendLayout &layout, int viewPosition, int x, int sampleCount)
{
    const long long i = 1LL * viewPosition * layout.samplesPerPage - layout.spo2Plot.left + x;
    if (i < 0 || i >= sampleCount)
        return std::nullopt;
    return int(i);
}

std::optional<int> PickReading(const TrendLayout &layout, int viewPosition, const SampleRecord *samples,
                               int sampleCount, QPoint p)
{
    const auto i = SampleAtColumn(layout, viewPosition, p.x(), sampleCount);
    if (!i)
        return std::nullopt;
    const SampleRecord &s = samples[*i];
    if (layout.spo2HitArea().contains(p.x(), p.y()) &&
        p.y() == layout.spo2Plot.bottom - layout.plotHeight * s.spo2 / 100)
        return i;
    if (layout.pulseHitArea().contains(p.x(), p.y()) && p.y() == PulseCurveY(layout, s.pulseRate))
        return i;
    return std::nullopt;
}

TrendMarker MarkerAt(const Edges &plot, int x, int y)
{
    TrendMarker m;
    m.x = x;
    m.y = y;
    if (y > plot.top + (plot.bottom - plot.top) / 2) {
        m.direction = -1;
        m.length = y - plot.top;
    } else {
        m.direction = 1;
        m.length = plot.bottom - y;
    }
    return m;
}

std::optional<CursorStep> StepCursor(const TrendLayout &layout, int viewPosition, int sampleCount, int markerX,
                                     int direction)
{
    const int left = layout.spo2Plot.left;
    const int last = left + layout.samplesPerPage;
    CursorStep step;
    step.cursorX = std::max(markerX, left);
    step.cursorSample = viewPosition * layout.samplesPerPage - left + step.cursorX;
    if (layout.samplesPerPage <= 0)
        return std::nullopt;
    if (direction < 0) {
        if (step.cursorSample <= 0)
            return std::nullopt;
        if (step.cursorX > left) {
            --step.cursorX;
            --step.cursorSample;
        } else {
            // The last column of the previous page shows the reading this
            // page starts with.
            step.cursorX = last;
            step.paging = -1;
        }
    } else {
        if (step.cursorSample + 1 >= sampleCount)
            return std::nullopt;
        if (step.cursorX < last) {
            ++step.cursorX;
            ++step.cursorSample;
        } else {
            ++step.cursorSample;
            step.cursorX = left + 1;
            step.paging = 1;
        }
    }
    return step;
}

int TimeTickCount(const TrendLayout &layout)
{
    return 2 * (layout.samplesPerPage / 60);
}

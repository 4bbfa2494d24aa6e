// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/AnalysisTraces.h"

#include <algorithm>
#include <array>

namespace
{

// One pixel column of a trace: where the line enters and leaves it, and its
// highest and lowest point.
struct TraceColumn {
    int x;
    int first;
    int last;
    int top;
    int bottom;
};

struct Columns {
    std::vector<TraceColumn> spo2;
    std::vector<TraceColumn> pulse;
};

// Both traces in one pass over the samples. Column c holds samples
// 1 + c * step .. (c + 1) * step; sample 0 starts the line one column right of
// sample 1.
Columns TraceColumns(const AnalysisLayout &l, const SampleRecord *s, int n)
{
    Columns t;
    if (n < 2)
        return t;
    std::array<int, 256> spo2Y{};
    std::array<int, 256> pulseY{};
    for (int v = 0; v < 256; ++v) {
        spo2Y[std::size_t(v)] = l.spo2Y(v);
        pulseY[std::size_t(v)] = l.pulseY(v);
    }
    const std::size_t columns = std::size_t(std::min(n, l.plotWidth + 2));
    t.spo2.reserve(columns);
    t.pulse.reserve(columns);
    const int s0 = spo2Y[s[0].spo2];
    const int p0 = pulseY[s[0].pulseRate];
    t.spo2.push_back({l.traceX(0), s0, s0, s0, s0});
    t.pulse.push_back({l.traceX(0), p0, p0, p0, p0});
    for (int k = 1, x = l.plotLeft; k < n && x <= l.right; k += l.step, ++x) {
        const int end = std::min(n, k + l.step);
        int spo2Lo = s[k].spo2;
        int spo2Hi = spo2Lo;
        int pulseLo = s[k].pulseRate;
        int pulseHi = pulseLo;
        for (int i = k + 1; i < end; ++i) {
            spo2Lo = std::min<int>(spo2Lo, s[i].spo2);
            spo2Hi = std::max<int>(spo2Hi, s[i].spo2);
            pulseLo = std::min<int>(pulseLo, s[i].pulseRate);
            pulseHi = std::max<int>(pulseHi, s[i].pulseRate);
        }
        // Higher values lie higher on the page, at smaller y.
        t.spo2.push_back(
            {x, spo2Y[s[k].spo2], spo2Y[s[end - 1].spo2], spo2Y[std::size_t(spo2Hi)], spo2Y[std::size_t(spo2Lo)]});
        t.pulse.push_back({x, pulseY[s[k].pulseRate], pulseY[s[end - 1].pulseRate], pulseY[std::size_t(pulseHi)],
                           pulseY[std::size_t(pulseLo)]});
    }
    return t;
}

// Each column is drawn as one vertical run from its highest to its lowest
// point, and neighbouring runs that do not touch are joined half-way, as a
// steep line between the two columns would be. That covers the pixels of
// joining every sample, and is far cheaper to draw than a polyline of
// thousands of points.
std::vector<QRect> Runs(const std::vector<TraceColumn> &columns)
{
    std::vector<QRect> runs;
    runs.reserve(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
        int top = columns[c].top;
        int bottom = columns[c].bottom;
        // Half of the step from the previous column's exit and half of the
        // step to the next column's entry belong to this column.
        auto reach = [&](int from, int to) {
            const int mid = from + (to - from) / 2;
            top = std::min(top, mid);
            bottom = std::max(bottom, mid);
        };
        if (c > 0)
            reach(columns[c].first, columns[c - 1].last);
        if (c + 1 < columns.size())
            reach(columns[c].last, columns[c + 1].first);
        runs.emplace_back(columns[c].x, top, 1, bottom - top + 1);
    }
    return runs;
}

} // namespace

TracePicture PaintedRuns(const std::vector<QRect> &runs, QRgb colour)
{
    QRect bounds;
    for (const QRect &r : runs)
        bounds |= r;
    TracePicture picture;
    // Past a plot of some 8000 by 1000 pixels the picture would hold more
    // memory than the runs save time; such pages fill the runs.
    constexpr qint64 kMostPixels = 8'000'000;
    if (bounds.isEmpty() || qint64(bounds.width()) * bounds.height() > kMostPixels)
        return picture;
    picture.origin = bounds.topLeft();
    picture.image = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    picture.image.fill(Qt::transparent);
    const QRgb opaque = colour | 0xff000000u;
    for (const QRect &r : runs)
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(picture.image.scanLine(y - bounds.top()));
            std::fill(line + (r.left() - bounds.left()), line + (r.right() - bounds.left() + 1), opaque);
        }
    return picture;
}

AnalysisTraces ComputeAnalysisTraces(const AnalysisLayout &l, const SampleRecord *samples, int count)
{
    const Columns columns = TraceColumns(l, samples, count);
    AnalysisTraces traces;
    traces.spo2 = Runs(columns.spo2);
    traces.pulse = Runs(columns.pulse);
    return traces;
}

const AnalysisTraces &AnalysisTraceCache::traces(const AnalysisLayout &l, const SampleRecord *samples, int count)
{
    const Key key{samples, count, l.plotLeft, l.right, l.plotWidth, l.step, l.spo2Top, l.pulseTop, l.chartHeight};
    if (key_ != key) {
        traces_ = ComputeAnalysisTraces(l, samples, count);
        traces_.spo2Picture = PaintedRuns(traces_.spo2, kSpo2TraceRgb);
        traces_.pulsePicture = PaintedRuns(traces_.pulse, kPulseTraceRgb);
        key_ = key;
    }
    return traces_;
}

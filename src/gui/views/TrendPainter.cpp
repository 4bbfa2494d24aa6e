// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/TrendPainter.h"

#include "views/PaintHelpers.h"

#include "app/Texts.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLine>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace
{

using namespace paint;

const QColor kBackground(255, 182, 147);
const QColor kSpo2Fill(250, 245, 171);
const QColor kPulseFill(193, 250, 253);
const QColor kAxis(79, 79, 79);
const QColor kMarker(128, 128, 255);

QString ClockText(const SampleRecord &s)
{
    return QString::asprintf("%02d:%02d:%02d", s.hour, s.minute, s.second);
}

void PaintPanelBackground(QPainter &p, const Edges &panel, const QColor &fill)
{
    p.fillRect(panel.rect(), fill);
    RaisedEdge(p, panel);
}

void PaintAxes(QPainter &p, const Edges &plot, const Edges &panel)
{
    p.setPen(LinePen(p, kAxis, 2));
    p.drawLine(plot.left, plot.top, plot.left, plot.bottom);
    p.drawLine(plot.left, plot.bottom, panel.right, plot.bottom);
}

// Dashes four pixels long along the row y, starting at each x in xs.
void PaintDashes(QPainter &p, const std::vector<int> &xs, int y)
{
    std::vector<QLine> lines;
    lines.reserve(xs.size());
    for (int x : xs)
        lines.emplace_back(x, y, x + 3, y);
    p.drawLines(lines.data(), int(lines.size()));
}

struct TimeAxisStyle {
    int oddTick;
    int evenTick;
    int labelTop; // below the plot bottom
    int labelBottom;
};

void PaintTimeAxis(QPainter &p, const TrendLayout &l, const Edges &plot, const TimeAxisStyle &style,
                   const TrendPicture &pic, const QFont &font)
{
    const int ticks = TimeTickCount(l);
    std::vector<QLine> lines;
    lines.reserve(std::size_t(ticks));
    for (int i = 1; i <= ticks; ++i) {
        const int x = plot.left + 30 * i;
        const int len = i % 2 ? style.oddTick : style.evenTick;
        if (len > 0)
            lines.emplace_back(x, plot.bottom, x, plot.bottom + len - 1);
    }
    p.setPen(LinePen(p, kAxis));
    p.drawLines(lines.data(), int(lines.size()));

    p.setPen(Qt::black);
    p.setFont(font);
    const long long first = 1LL * pic.viewPosition * l.samplesPerPage;
    for (int i = 2; i <= ticks; i += 2) {
        const long long index = first + 30LL * i;
        if (index >= pic.sampleCount)
            break;
        const int x = plot.left + 30 * i;
        TextLine(p, {x - 25, plot.bottom + style.labelTop, x + 25, plot.bottom + style.labelBottom},
                 ClockText(pic.samples[index]), 1);
    }
}

// A curve whose points are at most one column apart, as runs of whole
// pixels: the rows between two readings are split between their two columns,
// so each reading's pixel lands exactly on its column and height. Filled
// rectangles stay whole pixels when the picture is stretched onto paper.
void AddRun(std::vector<QRect> &runs, int x, int y1, int y2)
{
    runs.emplace_back(x, std::min(y1, y2), 1, std::abs(y2 - y1) + 1);
}

void AddStep(std::vector<QRect> &runs, QPoint a, QPoint b)
{
    if (a.x() == b.x()) {
        AddRun(runs, a.x(), a.y(), b.y());
        return;
    }
    const int n = std::abs(b.y() - a.y());
    if (n == 0) {
        AddRun(runs, b.x(), b.y(), b.y());
        return;
    }
    const int dir = b.y() > a.y() ? 1 : -1;
    const int half = n / 2;
    AddRun(runs, a.x(), a.y(), a.y() + dir * half);
    AddRun(runs, b.x(), a.y() + dir * (half + 1), b.y());
}

// Columns of the page's readings in spans; true when any was shaded.
bool PaintSpans(QPainter &p, const TrendLayout &l, const Edges &plot, const TrendPicture &pic,
                const std::vector<ReadingSpan> &spans, const QColor &shade)
{
    const long long first = 1LL * pic.viewPosition * l.samplesPerPage;
    const long long last = first + l.samplesPerPage; // the page's last column
    bool any = false;
    for (const ReadingSpan &span : spans) {
        if (span.last < first || span.first > last)
            continue;
        // Reading first + k is drawn in column plot.left + k, the first one beside the axis.
        const int x0 = plot.left + int(std::max<long long>(span.first - first, 1));
        const int x1 = plot.left + int(std::min<long long>(span.last - first, l.samplesPerPage)) + 1;
        if (x1 <= x0)
            continue;
        p.fillRect(QRect(x0, plot.top, x1 - x0, plot.height()), shade);
        any = true;
    }
    return any;
}

// Both shadings of the page, hand marks over automatic ones; which kinds were shaded.
struct Shaded {
    bool automatic = false;
    bool byHand = false;
};

Shaded PaintArtefacts(QPainter &p, const TrendLayout &l, const Edges &plot, const TrendPicture &pic)
{
    Shaded s;
    s.automatic = PaintSpans(p, l, plot, pic, pic.artefacts, kArtefactShade);
    s.byHand = PaintSpans(p, l, plot, pic, pic.marked, kMarkedShade);
    return s;
}

// Right-aligned between the heading row and the plot, clear of the curve: one
// entry per kind of shade on the page.
void PaintArtefactLegend(QPainter &p, const Edges &panel, const Edges &plot, int headingBottom, const QFont &font,
                         Shaded shaded)
{
    p.setFont(font);
    p.setPen(Qt::black);
    const QFontMetrics m(font);
    const int h = m.height();
    const int top = std::max(headingBottom + 1, plot.top - h - 2);
    int right = std::min(plot.right, panel.right - 10);
    const auto entry = [&](const QString &text, const QColor &shade) {
        const int left = right - h - 4 - m.horizontalAdvance(text);
        p.fillRect(QRect(left, top + 2, h - 4, h - 4), shade);
        TextLine(p, {left + h, top, right, top + h}, text);
        right = left - 2 * h;
    };
    if (shaded.byHand)
        entry(QCoreApplication::translate("TrendView", "Marked by hand"), kMarkedShade);
    if (shaded.automatic)
        entry(QCoreApplication::translate("TrendView", "Shaded: artefact"), kArtefactShade);
}

template <typename YOf>
void PaintCurve(QPainter &p, const TrendLayout &l, const Edges &plot, const TrendPicture &pic, const QColor &colour,
                YOf yOf)
{
    const long long s = 1LL * pic.viewPosition * l.samplesPerPage;
    if (s >= pic.sampleCount || l.samplesPerPage <= 0)
        return;
    const long long lastK = std::min<long long>(l.samplesPerPage, pic.sampleCount - 1 - s);
    if (lastK < 1)
        return;
    std::vector<QRect> runs;
    runs.reserve(std::size_t(2 * lastK + 1));
    QPoint previous(plot.left + 1, yOf(pic.samples[s]));
    AddRun(runs, previous.x(), previous.y(), previous.y());
    for (long long k = 1; k <= lastK; ++k) {
        const QPoint next(plot.left + int(k), yOf(pic.samples[s + k]));
        AddStep(runs, previous, next);
        previous = next;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRects(runs.data(), int(runs.size()));
    p.setBrush(Qt::NoBrush);
}

void PaintSpo2Panel(QPainter &p, const TrendLayout &l, const TrendPicture &pic, const TrendFonts &fonts)
{
    const Edges &s = l.spo2Panel;
    const Edges &plot = l.spo2Plot;
    const int w = l.width;
    const int h = s.height();
    PaintPanelBackground(p, s, kSpo2Fill);

    // Heading row with the readout of the picked reading.
    const int rowTop = s.top + h * 9 / 100;
    const int rowBottom = rowTop + h * 8 / 100;
    const Edges dateBox{s.left + w * 29 / 100 + 110, rowTop, s.left + w * 29 / 100 + 210, rowTop + h * 9 / 100};
    const int dateRight = dateBox.left + QFontMetrics(fonts.value).horizontalAdvance(QStringLiteral("2011/12/12"));
    const int t = std::max(dateRight - s.left - w * 53 / 100 + 90, 0);
    const int dateLabel = s.left + 10 + w * 29 / 100 - 80;
    const int timeLabel = s.left + w * 53 / 100 + t - 80;
    const int spo2Label = s.left + w * 78 / 100 + 10;

    p.setPen(Qt::black);
    p.setFont(fonts.label);
    TextLine(p, {s.left + 10, rowTop, dateLabel, rowBottom}, Text(TextNo::Spo2Percent20));
    TextLine(p, {dateLabel, rowTop, dateBox.left, rowBottom}, Text(TextNo::RecordDate));
    TextLine(p, {timeLabel, rowTop, s.left + w * 53 / 100 + 115 + t, rowBottom}, Text(TextNo::RecordTime));
    TextLine(p, {spo2Label, rowTop, s.left + w * 78 / 100 + 65, rowBottom}, QStringLiteral("SpO2 : "));

    p.setFont(fonts.value);
    TextLine(p, dateBox, pic.cursorDate);
    const int timeLeft = s.left + w * 53 / 100 + 115 + t;
    TextLine(p, {timeLeft, rowTop, timeLeft + t + 65, rowTop + h * 9 / 100}, pic.cursorTime);
    const int valueLeft = s.left + w * 78 / 100 + 65;
    TextLine(p, {valueLeft, rowTop, valueLeft + 60, rowTop + 20}, pic.cursorSpo2);

    PaintAxes(p, plot, s);

    // Scale 0..100 % in five divisions, each on the height its value is drawn at.
    std::vector<QLine> ticks;
    std::vector<int> dashes;
    for (int k = 1; 20 * k < l.samplesPerPage + 16; ++k)
        dashes.push_back(plot.left + 20 * k);
    for (int n = 0; n <= 5; ++n) {
        const int y = Spo2CurveY(l, 100 - 20 * n);
        ticks.emplace_back(s.left + 45, y, s.left + 59, y);
        p.setPen(Qt::black);
        TextLine(p, {s.left + 10, y - 10, s.left + 45, y + 10}, QString::number(100 - 20 * n), 1);
        if (n < 5) {
            p.setPen(LinePen(p, kAxis));
            PaintDashes(p, dashes, y);
        }
    }
    p.setPen(LinePen(p, kAxis));
    p.drawLines(ticks.data(), int(ticks.size()));

    PaintTimeAxis(p, l, plot, {h * 2 / 100, h * 3 / 100, h * 3 / 100, h * 7 / 100}, pic, fonts.small);
    const Shaded shaded = PaintArtefacts(p, l, plot, pic);
    PaintCurve(p, l, plot, pic, QColor(255, 0, 0), [&](const SampleRecord &r) { return Spo2CurveY(l, r.spo2); });
    if (shaded.automatic || shaded.byHand)
        PaintArtefactLegend(p, s, plot, rowBottom, fonts.small, shaded);
}

void PaintPulsePanel(QPainter &p, const TrendLayout &l, const TrendPicture &pic, const TrendFonts &fonts)
{
    const Edges &q = l.pulsePanel;
    const Edges &plot = l.pulsePlot;
    const int hq = q.height();
    const int pl = l.plotHeight;
    PaintPanelBackground(p, q, kPulseFill);

    // Heading row, laid out left to right.
    const int rowTop = q.top + hq * 6 / 100;
    const int rowBottom = rowTop + QFontMetrics(fonts.label).height() + 2;
    int x = q.left + hq * 6 / 100;
    p.setPen(Qt::black);
    auto item = [&](const QFont &font, const QString &text, int advance, int gap) {
        p.setFont(font);
        TextLine(p, {x, rowTop, x + std::max(advance, TextWidth(p, text)) + gap, rowBottom}, text);
        x += advance + gap;
    };
    auto labelItem = [&](const QString &text, int gap) {
        p.setFont(fonts.label);
        item(fonts.label, text, TextWidth(p, text), gap);
    };
    const QFontMetrics valueMetrics(fonts.value);
    labelItem(Text(TextNo::PulseRate50), 50);
    labelItem(Text(TextNo::RecordDate), 30);
    item(fonts.value, pic.cursorDate, valueMetrics.horizontalAdvance(QStringLiteral("2011/12/12")), 50);
    labelItem(Text(TextNo::RecordTime), 30);
    item(fonts.value, pic.cursorTime, valueMetrics.horizontalAdvance(QStringLiteral("23:56:00")), 50);
    labelItem(QStringLiteral("PR : "), 30);
    item(fonts.value, pic.cursorPulse, valueMetrics.horizontalAdvance(pic.cursorPulse), 0);

    PaintAxes(p, plot, q);

    // Scale 0..300 bpm in six divisions; long ticks at 300, 250, 150, 50 and 0.
    std::vector<QLine> ticks;
    std::vector<int> dashes;
    for (int k = 1; k * pl / 6 + 4 < pl / 6 + l.samplesPerPage; ++k)
        dashes.push_back(plot.left + k * pl / 6);
    p.setFont(fonts.value);
    for (int e = 0; e <= 6; ++e) {
        const int y = PulseCurveY(l, 300 - 50 * e);
        const bool shortTick = e == 2 || e == 4;
        ticks.emplace_back(q.left + (shortTick ? 55 : 45), y, q.left + 59, y);
        p.setPen(Qt::black);
        TextLine(p, {q.left + 10, y - hq * 5 / 100, q.left + 45, y + hq * 5 / 100}, QString::number(300 - 50 * e), 1);
        if (e < 6) {
            p.setPen(LinePen(p, kAxis));
            PaintDashes(p, dashes, y);
        }
    }
    p.setPen(LinePen(p, kAxis));
    p.drawLines(ticks.data(), int(ticks.size()));

    PaintTimeAxis(p, l, plot, {hq * 2 / 100, 8, hq * 4 / 100, hq * 9 / 100}, pic, fonts.small);
    PaintArtefacts(p, l, plot, pic);
    PaintCurve(p, l, plot, pic, QColor(0, 0, 0), [&](const SampleRecord &r) { return PulseCurveY(l, r.pulseRate); });
}

void PaintMarker(QPainter &p, const TrendMarker &m)
{
    if (!m.visible())
        return;
    p.setPen(LinePen(p, kMarker));
    const int d = m.direction; // -1 the line runs up, +1 down
    p.drawLine(m.x, m.y, m.x, m.y + d * m.length);
    p.drawLine(m.x - 5, m.y + d * 5, m.x, m.y);
    p.drawLine(m.x + 5, m.y + d * 5, m.x, m.y);
}

} // namespace

void PaintTrendPage(QPainter &p, QSize size, const TrendPicture &picture, const TrendFonts &fonts)
{
    const TrendLayout l = LayoutTrend(size);
    p.save();
    // Exact pixels at 1:1; smoothed when stretched, so thin lines survive a small preview.
    p.setRenderHint(QPainter::Antialiasing, p.worldTransform().type() > QTransform::TxTranslate);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setBackgroundMode(Qt::TransparentMode);
    p.fillRect(QRect(QPoint(0, 0), size), kBackground);
    PaintTrendHeader(p, l.header, l.width, picture.header, fonts);
    PaintSpo2Panel(p, l, picture, fonts);
    PaintPulsePanel(p, l, picture, fonts);
    PaintMarker(p, picture.spo2Marker);
    PaintMarker(p, picture.pulseMarker);
    p.restore();
}

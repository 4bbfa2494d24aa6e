// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/AnalysisPainter.h"

#include "views/ClinicalSummaryPainter.h"
#include "views/PaintHelpers.h"

#include "app/Texts.h"
#include "model/FixedText.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <vector>

namespace
{

using namespace paint;

const QColor kSpo2Trace(kSpo2TraceRgb);
const QColor kPulseTrace(kPulseTraceRgb);

QString Whole(int v)
{
    return QString::number(v);
}

// "%0.1f": an exact tie goes to the even digit (one event in four hours is
// 0.25, shown "0.2").
QString Index(float v)
{
    return FixedText(double(v), 1);
}

// Text with its top-left corner at (x, y), single line and unclipped.
void TextAt(QPainter &p, int x, int y, const QString &text, TextLayoutCache *cache)
{
    if (!text.isEmpty())
        DrawText(p, QPoint(x, y + p.fontMetrics().ascent()), text, cache);
}

// Single line from the top-left of the box, clipped to it.
void CellText(QPainter &p, const Edges &box, const QString &text, TextLayoutCache *cache)
{
    if (text.isEmpty() || box.width() <= 0 || box.height() <= 0)
        return;
    DrawText(p, box.rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text, cache);
}

// Unscaled onto the pixels of a raster device itself, where an image drawn
// at a whole-pixel position lands pixel for pixel.
bool RasterPixels(QPainter &p)
{
    return Unscaled(p) && p.deviceTransform().type() <= QTransform::TxTranslate && p.paintEngine() &&
           p.paintEngine()->type() == QPaintEngine::Raster;
}

// Dotted grid lines across the plot, every other pixel black. Drawn as
// points: a dashed pen costs several times more on a large page. On raster
// pixels one row of dots is made once and copied to each line, cheaper still
// than a patterned fill.
void DottedLines(QPainter &p, const AnalysisLayout &l, std::initializer_list<int> ys)
{
    p.setPen(LinePen(p, Qt::black));
    if (l.right > l.plotLeft && RasterPixels(p)) {
        QImage row(l.right - l.plotLeft, 1, QImage::Format_ARGB32_Premultiplied);
        row.fill(Qt::transparent);
        auto *dots = reinterpret_cast<QRgb *>(row.scanLine(0));
        for (int x = 0; x < row.width(); x += 2)
            dots[x] = qRgb(0, 0, 0);
        for (int y : ys)
            p.drawImage(QPoint(l.plotLeft, y), row);
        return;
    }
    if (Unscaled(p)) {
        // One fill of a checkered brush per line; with this origin its dots
        // fall on plotLeft, plotLeft + 2, ...
        p.save();
        for (int y : ys) {
            p.setBrushOrigin(l.plotLeft + 1, y);
            p.fillRect(QRect(l.plotLeft, y, l.right - l.plotLeft, 1), QBrush(Qt::black, Qt::Dense4Pattern));
        }
        p.restore();
        return;
    }
    std::vector<QPoint> dots;
    dots.reserve(ys.size() * std::size_t(l.plotWidth / 2 + 1));
    for (int y : ys)
        for (int x = l.plotLeft; x < l.right; x += 2)
            dots.emplace_back(x, y);
    p.drawPoints(dots.data(), int(dots.size()));
}

void PaintTable(QPainter &p, const AnalysisLayout &l, const AnalysisPicture &pic, const TableFonts &fonts)
{
    p.setPen(LinePen(p, Qt::black));
    VLine(p, l.dividerX(), l.tableTop, l.dividerBottom());
    Rule(p, l.left - 10, l.right, l.dividerBottom());

    p.setPen(Qt::black);
    const auto rows = AnalysisTableRows(pic.results, pic.statistics);
    for (int r = 1; r <= AnalysisLayout::kTableRows; ++r) {
        const AnalysisTableRow &row = rows[std::size_t(r - 1)];
        const bool heading = r == 1;
        p.setFont(heading ? fonts.analysisLabel : fonts.analysisValue);
        CellText(p, l.cell(r, 1, l.w1), row.label, pic.textCache);
        CellText(p, l.cell(r, 2, heading ? l.w2 : l.w2 + 5), row.spo2, pic.textCache);
        CellText(p, l.cell(r, 3, heading ? l.w3 : l.w3 + 5), row.pulse, pic.textCache);
    }

    p.setFont(fonts.analysisValue);
    const auto thresholds = ThresholdTexts(pic.results, pic.statistics);
    for (int r = 2; r <= 5; ++r) {
        CellText(p, l.cell(r, 4, l.w1), thresholds[std::size_t(r - 2)], pic.textCache);
        CellText(p, l.cell(r, 5, l.w1), Text(TextNo::Times), pic.textCache);
    }
    CellText(p, l.cell(6, 4, l.w1), Text(TextNo::Diagnose), pic.textCache);
    if (pic.clinical)
        paintClinicalSummary(p, l.diagnoseArea().rect(), *pic.clinical, pic.textCache);
}

void PaintRuleLines(QPainter &p, const AnalysisLayout &l, const AnalysisPicture &pic, const TableFonts &fonts)
{
    p.setFont(fonts.analysisValue);
    const int top = l.dividerBottom() + 1;
    CellText(p, {l.left, top, l.right, l.bottom}, DesaturationRuleText(pic.desaturationsEvent), pic.textCache);
    CellText(p, {l.left, top + AnalysisLayout::kRowHeight, l.right, l.bottom}, PulseRuleText(pic.pulseEvent),
             pic.textCache);
}

void PaintAxes(QPainter &p, const AnalysisLayout &l, int top)
{
    p.setPen(LinePen(p, Qt::black));
    VLine(p, l.plotLeft, top, top + l.chartHeight);
    Rule(p, l.plotLeft, l.right, top + l.chartHeight);
}

void PaintTrace(QPainter &p, const std::vector<QRect> &runs, const TracePicture &picture, const QColor &colour)
{
    if (!picture.image.isNull() && RasterPixels(p)) {
        p.drawImage(picture.origin, picture.image);
        return;
    }
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRects(runs.data(), int(runs.size()));
    p.restore();
}

void PaintStrip(QPainter &p, const AnalysisLayout &l, const Edges &strip, const std::vector<EventRecord> &events,
                const QColor &colour)
{
    p.setPen(LinePen(p, Qt::black));
    p.setBrush(Qt::NoBrush);
    Rule(p, strip.left, strip.right, strip.top);
    Rule(p, strip.left, strip.right, strip.bottom - 1);
    VLine(p, strip.left, strip.top, strip.bottom);
    VLine(p, strip.right - 1, strip.top, strip.bottom);
    // Marks that touch or overlap are one fill when pixels are exact; a
    // smoothed picture keeps them apart, as their edges blend differently.
    const bool merge = Unscaled(p);
    std::vector<QRect> marks;
    marks.reserve(events.size());
    for (const EventRecord &e : events) {
        const AnalysisLayout::Span s = l.eventSpan(e);
        if (s.empty())
            continue;
        if (merge && !marks.empty() && s.first <= marks.back().right() + 1 && s.first >= marks.back().left())
            marks.back().setRight(std::max(marks.back().right(), s.last));
        else
            marks.emplace_back(s.first, strip.top, s.last - s.first + 1, strip.height());
    }
    if (merge && !marks.empty() && strip.height() > 0 && RasterPixels(p)) {
        // Every mark spans the strip's full height: one row of them made once
        // and copied to each row of the strip costs far less than filling the
        // narrow marks one by one, row by row.
        int x0 = marks.front().left();
        int x1 = marks.front().right();
        for (const QRect &m : marks) {
            x0 = std::min(x0, m.left());
            x1 = std::max(x1, m.right());
        }
        QImage row(x1 + 1 - x0, 1, QImage::Format_ARGB32_Premultiplied);
        row.fill(Qt::transparent);
        auto *pixels = reinterpret_cast<QRgb *>(row.scanLine(0));
        for (const QRect &m : marks)
            std::fill(pixels + (m.left() - x0), pixels + (m.right() + 1 - x0), qPremultiply(colour.rgba()));
        for (int y = strip.top; y < strip.bottom; ++y)
            p.drawImage(QPoint(x0, y), row);
        p.setPen(Qt::NoPen);
        return;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRects(marks.data(), int(marks.size()));
    p.setBrush(Qt::NoBrush);
}

void PaintSummary(QPainter &p, const AnalysisLayout &l, const AnalysisPicture &pic, const TableFonts &fonts)
{
    p.setPen(Qt::black);
    p.setFont(fonts.analysisLabel);
    TextAt(p, l.left, l.summaryTop, Text(TextNo::GraphicSummary), pic.textCache);
    p.setFont(fonts.analysisValue);
    TextAt(p, l.left, l.summaryTop + 14, Text(TextNo::Spo2Percent10), pic.textCache);

    // SpO2 chart: 100 down to 70 in three divisions.
    const int s = l.spo2Top;
    const int ch = l.chartHeight;
    PaintAxes(p, l, s);
    const int spo2Grid[3] = {s, s + ch / 3, s + 2 * ch / 3};
    DottedLines(p, l, {spo2Grid[0], spo2Grid[1], spo2Grid[2]});
    p.setPen(Qt::black);
    const char *spo2Labels[3] = {"100", "90", "80"};
    for (int i = 0; i < 3; ++i)
        TextAt(p, l.left, spo2Grid[i] - 7, QString::fromLatin1(spo2Labels[i]), pic.textCache);
    TextAt(p, l.left, s + ch - 7, QStringLiteral("70"), pic.textCache);
    AnalysisTraces computed;
    const AnalysisTraces *traces = &computed;
    if (pic.traceCache)
        traces = &pic.traceCache->traces(l, pic.samples, pic.sampleCount);
    else
        computed = ComputeAnalysisTraces(l, pic.samples, pic.sampleCount);
    PaintTrace(p, traces->spo2, traces->spo2Picture, kSpo2Trace);
    PaintStrip(p, l, l.spo2Strip(), pic.results.spo2Events, kSpo2Trace);
    p.setPen(Qt::black);
    TextAt(p, l.left - 12, s + ch + l.stripHeight, Text(TextNo::Event), pic.textCache);

    // Pulse chart: 180 down to 40 in seven divisions.
    const int pt = l.pulseTop;
    TextAt(p, l.left, l.pulseCaptionY, Text(TextNo::PulseRate20), pic.textCache);
    PaintAxes(p, l, pt);
    DottedLines(p, l,
                {pt, pt + ch / 7, pt + ch * 2 / 7, pt + ch * 3 / 7, pt + ch * 4 / 7, pt + ch * 5 / 7, pt + ch * 6 / 7});
    p.setPen(Qt::black);
    for (int i : {0, 1, 3, 5})
        TextAt(p, l.left, pt + ch * i / 7 - 5, Whole(180 - 20 * i), pic.textCache);
    TextAt(p, l.left, pt + ch - 5, QStringLiteral("40"), pic.textCache);
    PaintTrace(p, traces->pulse, traces->pulsePicture, kPulseTrace);
    PaintStrip(p, l, l.pulseStrip(), pic.results.pulseEvents, kPulseTrace);
    p.setPen(Qt::black);
    TextAt(p, l.left - 12, pt + ch + l.stripHeight + 1, Text(TextNo::Event), pic.textCache);

    // Time axis with the time of every second mark.
    const int yt = l.timeAxisY;
    p.setPen(LinePen(p, Qt::black));
    Rule(p, l.plotLeft, l.right, yt);
    for (int j = 0; j <= 9; ++j)
        VLine(p, l.timeMarkX(j), yt, yt + (j % 2 == 0 ? 2 : 4));
    p.setPen(Qt::black);
    for (int j = 1; j <= 9; j += 2) {
        const int i = l.timeMarkSample(j);
        if (i < 0)
            continue;
        const SampleRecord &r = pic.samples[i];
        const int x = l.timeMarkX(j);
        DrawText(p, QRect(x - 25, yt + 1, 50, l.bottom - yt), Qt::AlignCenter | Qt::TextSingleLine,
                 QString::asprintf("%02d:%02d:%02d", r.hour, r.minute, r.second), pic.textCache);
    }
}

} // namespace

std::array<AnalysisTableRow, AnalysisLayout::kTableRows> AnalysisTableRows(const AnalysisResults &r,
                                                                           const RecordingStatistics &s)
{
    return {{
        {Text(TextNo::EventData), QStringLiteral("SpO2"), QStringLiteral("Pulse")},
        {Text(TextNo::TotalEvents), Whole(r.spo2EventCount), Whole(r.pulseEventCount)},
        {Text(TextNo::TimeInEvents), Whole(r.spo2TimeInEvents), Whole(r.pulseTimeInEvents)},
        {Text(TextNo::AvgEventDuration), Whole(r.spo2AvgEventDuration), Whole(r.pulseAvgEventDuration)},
        {Text(TextNo::EventIndex), Index(r.spo2EventIndex), Index(r.pulseEventIndex)},
        {Text(TextNo::AvgEventMax), Whole(r.spo2AvgEventMax), Whole(r.pulseAvgEventMax)},
        {Text(TextNo::AvgEventMin), Whole(r.spo2AvgEventMin), Whole(r.pulseAvgEventMin)},
        {Text(TextNo::MaxEventOffset), Whole(r.spo2MaxEventOffset), Whole(r.pulseMaxEventOffset)},
        {Text(TextNo::MaxEventDuration), Whole(r.spo2MaxEventDuration), Whole(r.pulseMaxEventDuration)},
        {Text(TextNo::MaxValue), Whole(s.spo2Max), Whole(s.pulseMax)},
        {Text(TextNo::MinValue), Whole(s.spo2Min), Whole(s.pulseMin)},
        {Text(TextNo::MeanValue), Whole(s.spo2Mean), Whole(s.pulseMean)},
    }};
}

std::array<QString, 4> ThresholdTexts(const AnalysisResults &r, const RecordingStatistics &s)
{
    auto row = [](const char *prefix, int threshold, int count) {
        return QString::fromLatin1(prefix) + QString::asprintf("%d", threshold) +
               QString::asprintf("         %d", count);
    };
    return {row("SpO2  >  ", r.saturationsHigh, s.spo2AboveHighCount),
            row("SpO2  <  ", r.saturationsLow, s.spo2BelowLowCount), row("Pulse  >  ", r.prHigh, s.pulseAboveHighCount),
            row("Pulse  <  ", r.prLow, s.pulseBelowLowCount)};
}

QString DesaturationRuleText(int drop)
{
    return Text(TextNo::DesatRulePrefix) + QString::asprintf(" %d", drop) + Text(TextNo::DesatRuleSuffix);
}

QString PulseRuleText(int drop)
{
    return Text(TextNo::PulseRulePrefix) + QString::asprintf(" %d ", drop) + Text(TextNo::PulseRuleSuffix);
}

AnalysisLayout LayoutAnalysisPage(QSize size, int sampleCount, const TableFonts &fonts)
{
    const Edges page{0, 0, size.width(), size.height()};
    return LayoutAnalysis(size, AnalysisHeaderBottom(page, fonts), sampleCount);
}

void PaintAnalysisPage(QPainter &p, QSize size, const AnalysisPicture &picture, const TableFonts &fonts)
{
    const Edges page{0, 0, size.width(), size.height()};
    p.save();
    // Exact pixels at 1:1; smoothed when stretched, so thin lines survive a small preview.
    p.setRenderHint(QPainter::Antialiasing, p.worldTransform().type() > QTransform::TxTranslate);
    p.setBackgroundMode(Qt::TransparentMode);
    p.fillRect(page.rect(), Qt::white);
    if (picture.sampleCount > 0 && picture.samples) {
        const int headerBottom = PaintAnalysisHeader(p, page, picture.header, fonts, picture.textCache);
        const AnalysisLayout l = LayoutAnalysis(size, headerBottom, picture.sampleCount);
        PaintTable(p, l, picture, fonts);
        PaintRuleLines(p, l, picture, fonts);
        PaintSummary(p, l, picture, fonts);
    }
    p.restore();
}

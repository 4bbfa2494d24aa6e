// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/OverviewPainter.h"

#include "views/PaintHelpers.h"
#include "views/ReportPdf.h"
#include "views/ViewPrinting.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

QString tr(const char *text, int n = -1)
{
    return QCoreApplication::translate("Overview", text, nullptr, n);
}

constexpr int kMargin = 10;
constexpr int kChartGap = 4;

std::size_t index(OverviewFigure f)
{
    return std::size_t(f);
}

QString figureUnit(OverviewFigure f)
{
    switch (f) {
    case OverviewFigure::Odi3:
    case OverviewFigure::Odi4:
        return tr("/h");
    case OverviewFigure::PulseMean:
        return tr("bpm");
    case OverviewFigure::ValidHours:
        return tr("h");
    case OverviewFigure::HypoxicBurden:
        return tr("%·min/h");
    case OverviewFigure::T90:
    case OverviewFigure::Nadir:
    case OverviewFigure::MeanSpo2:
    case OverviewFigure::Coverage:
        return QStringLiteral("%");
    }
    return {};
}

int decimals(OverviewFigure f)
{
    return f == OverviewFigure::Nadir || f == OverviewFigure::PulseMean || f == OverviewFigure::Coverage ? 0 : 1;
}

QString number(double v, OverviewFigure f)
{
    return QString::number(v, 'f', decimals(f));
}

// A round upper end: 1, 2 or 5 times a power of ten.
double niceCeiling(double v)
{
    if (v <= 1)
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(v)));
    for (double step : {1.0, 2.0, 5.0, 10.0})
        if (step * power >= v)
            return step * power;
    return 10 * power;
}

struct Scale {
    double low = 0;
    double high = 1;
};

Scale scaleOf(const OverviewData &data, OverviewFigure f)
{
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
    for (const OverviewNight &n : data.nights) {
        const std::optional<double> v = overviewValue(data.info(n).summary, f);
        if (!v)
            continue;
        double a = *v;
        double b = *v;
        if (f == OverviewFigure::PulseMean) {
            a = std::min(a, double(data.info(n).summary.pulseMin));
            b = std::max(b, double(data.info(n).summary.pulseMax));
        }
        low = std::min(low, a);
        high = std::max(high, b);
    }
    const bool any = low <= high;
    // The lowest value keeps a bar: the scale starts below it.
    switch (f) {
    case OverviewFigure::Coverage:
        return {0, 100};
    case OverviewFigure::Nadir:
    case OverviewFigure::MeanSpo2:
        return {any ? std::clamp(std::floor((low - 1) / 10) * 10, 0.0, 90.0) : 80.0, 100};
    case OverviewFigure::PulseMean: {
        if (!any)
            return {40, 120};
        const double l = std::max(0.0, std::floor((low - 1) / 10) * 10);
        return {l, std::max(l + 10, std::ceil(high / 10) * 10)};
    }
    default:
        return {0, any ? niceCeiling(high) : 1};
    }
}

int yOf(const Edges &chart, const Scale &s, double v)
{
    const double share = std::clamp((v - s.low) / (s.high - s.low), 0.0, 1.0);
    return chart.bottom - int(std::lround(share * chart.height()));
}

void paintHeader(QPainter &p, const QSizeF &size, const OverviewData &data, const OverviewPaintOptions &options,
                 const TableFonts &fonts)
{
    ReportHeaderContent c = options.header;
    if (!options.title.isEmpty())
        c.title = options.title;
    if (c.name.isEmpty())
        c.name = data.patient;
    const QString date = QStringLiteral("yyyy/MM/dd");
    if (c.startDate.isEmpty())
        c.startDate = data.from.toString(date);
    if (c.endDate.isEmpty())
        c.endDate = data.to.toString(date);
    PaintAnalysisHeader(p, {0, 0, int(size.width()), int(size.height())}, c, fonts);
}

// The bars of one chart. Bars of years of nights are columns one pixel wide,
// which a raster page fills one pixel row at a time, thousands of calls; so
// at the picture's own pixels they are written into an image of the chart
// (its white background included) drawn in one go. A scaled painter (paper)
// gets rectangles, one call per colour.
class BarCanvas
{
public:
    BarCanvas(const QPainter &p, const Edges &chart) : chart_(chart)
    {
        if (paint::Unscaled(p) && chart.width() > 0 && chart.height() > 0) {
            image_ = QImage(chart.width(), chart.height(), QImage::Format_RGB32);
            image_.fill(Qt::white);
            pixels_ = image_.bits(); // once: scanLine() checks for sharing every call
            bytesPerLine_ = image_.bytesPerLine();
        }
    }

    void add(const QRect &r, const QColor &colour)
    {
        const QRect in = r.intersected(chart_.rect());
        if (in.isEmpty())
            return;
        if (image_.isNull()) {
            for (auto &[c, rects] : batches_)
                if (c == colour) {
                    rects.push_back(in);
                    return;
                }
            batches_.push_back({colour, {in}});
            return;
        }
        const QRgb rgb = colour.rgb();
        for (int y = in.top(); y <= in.bottom(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(pixels_ + qsizetype(y - chart_.top) * bytesPerLine_);
            std::fill(line + (in.left() - chart_.left), line + (in.right() + 1 - chart_.left), rgb);
        }
    }

    void finish(QPainter &p)
    {
        if (!image_.isNull()) {
            p.drawImage(QPoint(chart_.left, chart_.top), image_);
            return;
        }
        p.save();
        p.setPen(Qt::NoPen);
        for (const auto &[colour, rects] : batches_) {
            p.setBrush(colour);
            p.drawRects(rects.data(), int(rects.size()));
        }
        p.restore();
    }

private:
    Edges chart_;
    QImage image_;
    uchar *pixels_ = nullptr;
    qsizetype bytesPerLine_ = 0;
    std::vector<std::pair<QColor, std::vector<QRect>>> batches_;
};

// Bars in one chart; nights that fall on the same pixel columns are drawn as one.
void paintBars(QPainter &p, const OverviewLayout &l, const OverviewData &data, OverviewFigure f, const Scale &s)
{
    const Edges &chart = l.charts[index(f)];
    struct Run {
        int x0 = 0, x1 = 0, top = 0;
        bool full = false;
    };
    std::optional<Run> run;
    BarCanvas bars(p, chart);
    const auto flush = [&] {
        if (run && run->top < chart.bottom)
            bars.add(QRect(run->x0, run->top, run->x1 - run->x0, chart.bottom - run->top),
                     run->full ? kOverviewBarColour : kOverviewShortColour);
    };
    for (const OverviewNight &n : data.nights) {
        const std::optional<double> v = overviewValue(data.info(n).summary, f);
        if (!v)
            continue;
        const auto [x0, x1] = l.barSpan(n);
        const int top = yOf(chart, s, *v);
        const bool full = !data.info(n).summary.shortRecording;
        if (run && run->x0 == x0) {
            run->top = std::min(run->top, top);
            run->full = run->full || full;
            run->x1 = std::max(run->x1, x1);
            continue;
        }
        flush();
        run = Run{x0, x1, top, full};
    }
    flush();
    bars.finish(p);
}

// The pulse: each night's range as a line, its mean as a short bar across it.
void paintPulse(QPainter &p, const OverviewLayout &l, const OverviewData &data, const Scale &s)
{
    const Edges &chart = l.charts[index(OverviewFigure::PulseMean)];
    struct Run {
        int x0 = 0, x1 = 0, low = 0, high = 0, mean = 0;
        bool full = false;
    };
    std::optional<Run> run;
    BarCanvas canvas(p, chart);
    const auto flush = [&] {
        if (!run)
            return;
        const QColor colour = run->full ? kOverviewBarColour : kOverviewShortColour;
        const int mid = (run->x0 + run->x1 - 1) / 2;
        canvas.add(QRect(mid, run->high, 1, std::max(1, run->low - run->high + 1)), colour.lighter(140));
        canvas.add(QRect(run->x0, run->mean - 1, run->x1 - run->x0, 3), colour);
    };
    for (const OverviewNight &n : data.nights) {
        const NightSummary &ns = data.info(n).summary;
        const std::optional<double> v = overviewValue(ns, OverviewFigure::PulseMean);
        if (!v)
            continue;
        const auto [x0, x1] = l.barSpan(n);
        const Run r{
            x0, x1, yOf(chart, s, ns.pulseMin), yOf(chart, s, ns.pulseMax), yOf(chart, s, *v), !ns.shortRecording};
        if (run && run->x0 == x0) {
            run->low = std::max(run->low, r.low);
            run->high = std::min(run->high, r.high);
            run->full = run->full || r.full;
            continue;
        }
        flush();
        run = r;
    }
    flush();
    canvas.finish(p);
}

// Date labels: days, months or years, whichever leaves room between them.
void paintAxis(QPainter &p, const OverviewLayout &l)
{
    if (l.days <= 0)
        return;
    const QFontMetrics fm = p.fontMetrics();
    const int dayWidthNeeded = fm.horizontalAdvance(QStringLiteral("00-00")) + 8;
    const int monthWidthNeeded = fm.horizontalAdvance(QStringLiteral("0000-00")) + 8;
    enum { Days, Months, Years } step = Years;
    if (l.dayWidth >= dayWidthNeeded)
        step = Days;
    else if (l.dayWidth * 28 >= monthWidthNeeded)
        step = Months;
    p.setPen(paint::LinePen(p, Qt::black));
    int lastRight = l.axis.left - 1;
    for (int d = 0; d < l.days; ++d) {
        const QDate date = l.firstDay.addDays(d);
        QString text;
        if (step == Days)
            text = date.toString(QStringLiteral("MM-dd"));
        else if (step == Months && date.day() == 1)
            text = date.toString(QStringLiteral("yyyy-MM"));
        else if (step == Years && date.dayOfYear() == 1)
            text = date.toString(QStringLiteral("yyyy"));
        if (text.isEmpty())
            continue;
        const int x = l.axis.left + int(d * l.dayWidth);
        const int w = fm.horizontalAdvance(text);
        if (x <= lastRight || x + w > l.axis.right)
            continue;
        paint::VLine(p, x, l.axis.top, l.axis.top + 3);
        paint::TextLine(p, {x + 2, l.axis.top, x + w + 4, l.axis.bottom}, text);
        lastRight = x + w + 6;
    }
}

void paintTable(QPainter &p, const OverviewLayout &l, const OverviewData &data, const TableFonts &fonts)
{
    p.setPen(paint::LinePen(p, QColor(160, 160, 160)));
    for (int r = 0; r <= OverviewLayout::kTableRows; ++r)
        paint::Rule(p, l.columnX.front(), l.columnX.back(), l.rowY[std::size_t(r)]);
    for (int c = 0; c <= OverviewLayout::kTableColumns; ++c)
        paint::VLine(p, l.columnX[std::size_t(c)], l.rowY.front(), l.rowY.back() + 1);
    p.setPen(Qt::black);
    for (int r = 0; r < OverviewLayout::kTableRows; ++r) {
        for (int c = 0; c < OverviewLayout::kTableColumns; ++c) {
            p.setFont(r == 0 || c == 0 ? fonts.analysisLabel : fonts.analysisValue);
            const Edges cell = l.cell(r, c);
            paint::TextLine(p, {cell.left + 4, cell.top, cell.right - 2, cell.bottom}, overviewCellText(data, r, c),
                            c == 0 ? 0 : 1);
        }
    }
    p.setFont(fonts.analysisValue);
    paint::TextLine(p, l.note, overviewShortNote(data));
}

const OverviewStats *column(const OverviewData &data, int c)
{
    return c >= 0 && std::size_t(c) < data.table.size() ? &data.table[std::size_t(c)] : nullptr;
}

} // namespace

Edges OverviewLayout::cell(int row, int column) const
{
    return {columnX[std::size_t(column)], rowY[std::size_t(row)], columnX[std::size_t(column) + 1],
            rowY[std::size_t(row) + 1]};
}

std::pair<int, int> OverviewLayout::barSpan(const OverviewNight &night) const
{
    const Edges &chart = charts.front();
    const double day = firstDay.daysTo(night.date);
    double a = chart.left + (day + double(night.slot) / night.slots) * dayWidth;
    double b = chart.left + (day + double(night.slot + 1) / night.slots) * dayWidth;
    // A few nights over a short period stay bars, not walls.
    const double widest = chart.width() / 24.0;
    if (b - a > widest) {
        const double middle = (a + b) / 2;
        a = middle - widest / 2;
        b = middle + widest / 2;
    }
    const int x0 = int(std::floor(a));
    int x1 = int(std::floor(b));
    if (b - a >= 4)
        --x1; // a pixel between neighbours once there is room for it
    return {x0, std::max(x0 + 1, x1)};
}

OverviewLayout layoutOverview(const QSizeF &size, const OverviewData &data, bool forPrint, const TableFonts &fonts)
{
    OverviewLayout l;
    const int w = int(size.width());
    const int h = int(size.height());
    const int rowH = QFontMetrics(fonts.analysisLabel).height() + 2;
    const int valueH = QFontMetrics(fonts.analysisValue).height();
    int top = kMargin;
    if (forPrint) {
        l.headerBottom = AnalysisHeaderBottom({0, 0, w, h}, fonts);
        top = l.headerBottom + 6;
    } else {
        l.heading = {kMargin, top, w - kMargin, top + rowH + 4};
        top = l.heading.bottom + 4;
    }

    // The table and its note at the bottom, the charts above share what is left.
    l.note = {kMargin, h - kMargin - valueH, w - kMargin, h - kMargin};
    const int tableBottom = l.note.top - 4;
    const int tableTop = tableBottom - OverviewLayout::kTableRows * rowH;
    for (int r = 0; r <= OverviewLayout::kTableRows; ++r)
        l.rowY[std::size_t(r)] = tableTop + r * rowH;
    const int labelW = std::max(120, (w - 2 * kMargin) * 18 / 100);
    l.columnX[0] = kMargin;
    l.columnX[1] = kMargin + labelW;
    for (int c = 1; c <= kOverviewColumns; ++c)
        l.columnX[std::size_t(c) + 1] = l.columnX[1] + (w - kMargin - l.columnX[1]) * c / kOverviewColumns;

    l.axis = {l.columnX[1], 0, w - kMargin, 0};
    const int axisH = valueH + 4;
    const int chartsBottom = tableTop - 6 - axisH;
    const int chartH = std::max(0, (chartsBottom - top - (kOverviewFigures - 1) * kChartGap) / kOverviewFigures);
    for (int f = 0; f < kOverviewFigures; ++f) {
        const int y = top + f * (chartH + kChartGap);
        l.labels[std::size_t(f)] = {kMargin, y, l.columnX[1] - 4, y + chartH};
        l.charts[std::size_t(f)] = {l.columnX[1], y, w - kMargin, y + chartH};
    }
    l.axis.top = l.charts.back().bottom + 1;
    l.axis.bottom = l.axis.top + axisH;

    const QDate first = data.from.isValid() ? data.from : data.nights.empty() ? QDate() : data.nights.front().date;
    const QDate last = data.to.isValid() ? data.to : data.nights.empty() ? QDate() : data.nights.back().date;
    if (first.isValid() && last.isValid() && first <= last) {
        l.firstDay = first;
        l.days = int(first.daysTo(last)) + 1;
        l.dayWidth = double(l.axis.width()) / l.days;
    }
    return l;
}

QString overviewFigureName(OverviewFigure figure)
{
    switch (figure) {
    case OverviewFigure::Odi3:
        return tr("ODI 3 %");
    case OverviewFigure::Odi4:
        return tr("ODI 4 %");
    case OverviewFigure::T90:
        return tr("T90 %");
    case OverviewFigure::Nadir:
        return tr("Nadir SpO2");
    case OverviewFigure::MeanSpo2:
        return tr("Mean SpO2");
    case OverviewFigure::PulseMean:
        return tr("Pulse mean (min–max)");
    case OverviewFigure::ValidHours:
        return tr("Valid hours");
    case OverviewFigure::HypoxicBurden:
        return tr("Hypoxic burden");
    case OverviewFigure::Coverage:
        return tr("Coverage");
    }
    return {};
}

QString overviewCellText(const OverviewData &data, int row, int c)
{
    if (row == 0) {
        switch (c) {
        case 0:
            return {};
        case 1: {
            const OverviewStats *s = column(data, 0);
            return s && s->shortNight ? tr("Most recent (short)") : tr("Most recent");
        }
        case 2:
            return tr("7 days");
        case 3:
            return tr("30 days");
        case 4:
            return tr("90 days");
        case 5:
            return tr("365 days");
        case 6:
            return tr("Period");
        default:
            return {};
        }
    }
    if (row == OverviewLayout::kTableRows - 1) {
        if (c == 0)
            return tr("Nights");
        const OverviewStats *s = column(data, c - 1);
        if (!s)
            return {};
        return s->leftOut > 0 ? tr("%1 (+%2 short)").arg(s->nights).arg(s->leftOut) : QString::number(s->nights);
    }
    const auto f = OverviewFigure(row - 1);
    if (c == 0)
        return QStringLiteral("%1 (%2)").arg(overviewFigureName(f), figureUnit(f));
    const OverviewStats *s = column(data, c - 1);
    if (!s || !s->values[index(f)])
        return QStringLiteral("–");
    QString value = number(*s->values[index(f)], f);
    if (f == OverviewFigure::PulseMean && s->pulseMin && s->pulseMax)
        return QStringLiteral("%1 (%2–%3)").arg(value, number(*s->pulseMin, f), number(*s->pulseMax, f));
    return value;
}

QString overviewShortNote(const OverviewData &data)
{
    const int n = data.shortNights();
    return n > 0 ? tr("%n short night(s) (under 4 hours of valid readings) shown in grey, left out of the means.", n)
                 : QString();
}

void paintOverview(QPainter &painter, const QSizeF &size, const OverviewData &data, const OverviewPaintOptions &options)
{
    const TableFonts fonts;
    const OverviewLayout l = layoutOverview(size, data, options.forPrint, fonts);
    QPainter &p = painter;
    p.save();
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    p.setPen(Qt::black);
    if (options.forPrint) {
        paintHeader(p, size, data, options, fonts);
    } else {
        p.setFont(fonts.analysisLabel);
        const QString period =
            QStringLiteral("%1 – %2").arg(data.from.toString(Qt::ISODate), data.to.toString(Qt::ISODate));
        paint::TextLine(p, l.heading,
                        data.patient.isEmpty() ? period : QStringLiteral("%1    %2").arg(data.patient, period));
    }

    for (int f = 0; f < kOverviewFigures; ++f) {
        const auto figure = OverviewFigure(f);
        const Edges &chart = l.charts[std::size_t(f)];
        if (chart.height() <= 2)
            continue;
        const Scale s = scaleOf(data, figure);
        const Edges &label = l.labels[std::size_t(f)];
        p.setPen(Qt::black);
        p.setFont(fonts.analysisLabel);
        paint::TextLine(p, {label.left, label.top, label.right - 30, label.bottom}, overviewFigureName(figure));
        p.setFont(fonts.analysisValue);
        const int fh = QFontMetrics(fonts.analysisValue).height();
        const QString high = QString::number(s.high);
        const QString low = QString::number(s.low);
        paint::TextLine(p, {label.right - paint::TextWidth(p, high), label.top, label.right + 2, label.top + fh}, high);
        if (chart.height() >= 2 * fh)
            paint::TextLine(
                p, {label.right - paint::TextWidth(p, low), label.bottom - fh, label.right + 2, label.bottom}, low);
        if (figure == OverviewFigure::PulseMean)
            paintPulse(p, l, data, s);
        else
            paintBars(p, l, data, figure, s);
        p.setPen(paint::LinePen(p, QColor(215, 215, 215)));
        paint::HLine(p, chart.left, chart.right, chart.top); // the top of the scale
        p.setPen(paint::LinePen(p, QColor(120, 120, 120)));
        paint::HLine(p, chart.left, chart.right, chart.bottom);
    }
    p.setPen(Qt::black);
    p.setFont(fonts.analysisValue);
    paintAxis(p, l);
    paintTable(p, l, data, fonts);
    p.restore();
}

std::optional<qint64> overviewNightAt(const QSizeF &size, const OverviewData &data, QPointF pos)
{
    const OverviewLayout l = layoutOverview(size, data, false);
    const int x = int(std::floor(pos.x()));
    const int y = int(std::floor(pos.y()));
    const bool onChart = std::any_of(l.charts.begin(), l.charts.end(),
                                     [&](const Edges &c) { return c.height() > 0 && y >= c.top && y <= c.bottom; });
    if (!onChart || x < l.charts.front().left || x >= l.charts.front().right)
        return std::nullopt;
    // Nights are in date order, so their bars are in x order; the last one
    // drawn on a pixel is the one seen there.
    const auto after = std::upper_bound(data.nights.begin(), data.nights.end(), x,
                                        [&](int px, const OverviewNight &n) { return px < l.barSpan(n).first; });
    if (after == data.nights.begin())
        return std::nullopt;
    const OverviewNight &n = *std::prev(after);
    return x < l.barSpan(n).second ? std::optional<qint64>(n.night) : std::nullopt;
}

FileResult printOverviewPdf(const QString &path, const OverviewData &data, const OverviewPaintOptions &options)
{
    OverviewPaintOptions printed = options;
    printed.forPrint = true;
    const QString error = printCheckedPdf(path, [&](QPrinter &printer) {
        QPainter p;
        if (!p.begin(&printer))
            return false;
        // The page's picture at 1/96 inch, stretched onto the paper like the other reports.
        const double scale = printer.resolution() / 96.0;
        p.scale(scale, scale);
        paintOverview(p, QSizeF(kPrintedPageWidth96, kPrintedPageHeight96), data, printed);
        return p.end();
    });
    if (!error.isEmpty())
        return fileFailure(FileError::CannotCreate, error);
    return {};
}

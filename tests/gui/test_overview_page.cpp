// SPDX-License-Identifier: GPL-3.0-or-later
// The overview page painted into real images, region by region: a bar where a
// night is, a gap where none, the table's texts in their cells, clicks, PDF.
#include "views/OverviewPainter.h"
#include "views/TextLayoutCache.h"

#include "PdfTestTools.h"
#include "test_env.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace
{

const QDate kFirst(2026, 3, 1);

// A night started at 22:00 on kFirst + day (a short one has 3 valid hours).
NightInfo Night(qint64 number, int day, double odi3, bool shortNight = false, const char *time = "22:00:00")
{
    NightInfo n;
    n.night = number;
    NightSummary &s = n.summary;
    s.start = kFirst.addDays(day).toString(Qt::ISODate) + QLatin1Char(' ') + QLatin1String(time);
    s.validSeconds = shortNight ? 3 * 3600 : 7 * 3600;
    s.shortRecording = shortNight;
    s.odi3 = odi3;
    s.odi4 = odi3 / 2;
    s.t90Percent = odi3 / 4;
    s.nadir = 80 + int(odi3) % 10;
    s.meanSpo2 = 94;
    s.pulseMin = 50;
    s.pulseMean = 62;
    s.pulseMax = 90;
    s.hypoxicBurden = odi3 * 2;
    s.coverage = 95;
    return n;
}

// Days 0, 1 and 3 (2 is a gap), two nights on day 5, a short night on day 6;
// the period runs to day 9.
OverviewData Data()
{
    const NightList nights{Night(1, 0, 10),
                           Night(2, 1, 20),
                           Night(3, 3, 40),
                           Night(4, 5, 5),
                           Night(5, 6, 30, false, "01:00:00"), // night of day 5
                           Night(6, 6, 8, true)};
    return buildOverview(nights, kFirst, kFirst.addDays(9), QStringLiteral("Doe, Jo (ID 3)"));
}

const QSize kSize(1100, 900);

QImage Paint(const OverviewData &d, const OverviewPaintOptions &o = {})
{
    QImage image(kSize, QImage::Format_RGB32);
    QPainter p(&image);
    paintOverview(p, QSizeF(kSize), d, o);
    return image;
}

// Pixels of colour in the columns [x0, x1) of the chart.
int Count(const QImage &image, const Edges &chart, int x0, int x1, const QColor &colour)
{
    int n = 0;
    for (int x = x0; x < x1; ++x)
        for (int y = chart.top; y < chart.bottom; ++y)
            n += image.pixel(x, y) == colour.rgb() ? 1 : 0;
    return n;
}

TEST(OverviewPage, EveryChartHasABarPerNightAndGapsWhereNoNightIs)
{
    const OverviewData d = Data();
    const OverviewLayout l = layoutOverview(QSizeF(kSize), d, false);
    ASSERT_EQ(l.days, 10);
    ASSERT_GT(l.charts.front().height(), 20);
    const QImage image = Paint(d);
    for (int f = 0; f < kOverviewFigures; ++f) {
        SCOPED_TRACE(overviewFigureName(OverviewFigure(f)).toStdString());
        const Edges &chart = l.charts[std::size_t(f)];
        int previousRight = chart.left;
        for (const OverviewNight &n : d.nights) {
            const auto [x0, x1] = l.barSpan(n);
            EXPECT_GE(x0, previousRight) << n.night; // side by side, not on top of each other
            previousRight = x1;
            const QColor colour = d.info(n).summary.shortRecording ? kOverviewShortColour : kOverviewBarColour;
            EXPECT_GT(Count(image, chart, x0, x1, colour), 0) << n.night;
        }
        for (int day : {2, 4, 7, 8, 9}) {
            const int x0 = chart.left + int(std::ceil(day * l.dayWidth));
            const int x1 = chart.left + int(day * l.dayWidth + l.dayWidth);
            EXPECT_EQ(
                Count(image, chart, x0, x1, kOverviewBarColour) + Count(image, chart, x0, x1, kOverviewShortColour), 0)
                << "day " << day;
        }
    }
    // Heights follow the values: ODI 3 % of night 3 (40) is twice night 2's (20), on a 0..50 scale.
    const Edges &odi = l.charts[std::size_t(OverviewFigure::Odi3)];
    const auto height = [&](qint64 night) {
        const auto it =
            std::find_if(d.nights.begin(), d.nights.end(), [&](const OverviewNight &n) { return n.night == night; });
        const auto [x0, x1] = l.barSpan(*it);
        return Count(image, odi, x0, x0 + 1, kOverviewBarColour);
    };
    EXPECT_NEAR(height(3), odi.height() * 40 / 50, 1);
    EXPECT_NEAR(height(2), odi.height() * 20 / 50, 1);
}

TEST(OverviewPage, TableTextsStandInTheirCells)
{
    const OverviewData d = Data();
    const OverviewLayout l = layoutOverview(QSizeF(kSize), d, false);
    std::vector<DrawnText> drawn;
    SetTextRecorder(&drawn);
    Paint(d);
    SetTextRecorder(nullptr);
    for (int r = 0; r < OverviewLayout::kTableRows; ++r) {
        for (int c = 0; c < OverviewLayout::kTableColumns; ++c) {
            const QString text = overviewCellText(d, r, c);
            if (text.isEmpty())
                continue;
            const bool found = std::any_of(drawn.begin(), drawn.end(), [&](const DrawnText &t) {
                return t.text == text && l.cell(r, c).rect().contains(t.box);
            });
            EXPECT_TRUE(found) << r << "," << c << " " << text.toStdString();
        }
    }
    // Period: five full nights (the short one left out), ODI 3 % mean 21, nadir the lowest.
    const auto cell = [&](OverviewFigure f, OverviewColumn c) { return overviewCellText(d, int(f) + 1, int(c) + 1); };
    EXPECT_EQ(cell(OverviewFigure::Odi3, OverviewColumn::Period), QStringLiteral("21.0"));
    EXPECT_EQ(cell(OverviewFigure::Nadir, OverviewColumn::Period), QStringLiteral("80"));
    EXPECT_EQ(cell(OverviewFigure::PulseMean, OverviewColumn::Period), QStringLiteral("62 (50–90)"));
    EXPECT_EQ(cell(OverviewFigure::Odi3, OverviewColumn::MostRecent), QStringLiteral("8.0"));
    EXPECT_EQ(overviewCellText(d, 0, 1), QStringLiteral("Most recent (short)"));
    EXPECT_EQ(overviewCellText(d, OverviewLayout::kTableRows - 1, int(OverviewColumn::Period) + 1),
              QStringLiteral("5 (+1 short)"));
    const QString note = overviewShortNote(d);
    EXPECT_TRUE(note.startsWith(QStringLiteral("1 short night")));
    EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [&](const DrawnText &t) { return t.text == note; }));
}

TEST(OverviewPage, AClickFindsTheNightUnderIt)
{
    const OverviewData d = Data();
    const QSizeF size(kSize);
    const OverviewLayout l = layoutOverview(size, d, false);
    for (const Edges &chart : {l.charts.front(), l.charts.back()}) {
        for (const OverviewNight &n : d.nights) {
            const auto [x0, x1] = l.barSpan(n);
            EXPECT_EQ(overviewNightAt(size, d, QPointF(x0, chart.bottom - 1)), n.night);
            EXPECT_EQ(overviewNightAt(size, d, QPointF(x1 - 0.5, chart.top)), n.night);
        }
        const double gap = chart.left + 2.5 * l.dayWidth;
        EXPECT_EQ(overviewNightAt(size, d, QPointF(gap, chart.bottom - 1)), std::nullopt);
    }
    const auto [x0, x1] = l.barSpan(d.nights.front());
    EXPECT_EQ(overviewNightAt(size, d, QPointF(x0, l.rowY[1])), std::nullopt); // on the table
}

// No nights, or no room for the charts: the table still stands, no click finds a night.
TEST(OverviewPage, WithoutNightsOrRoomNothingBreaks)
{
    const OverviewData empty = buildOverview({}, {}, {}, {});
    for (const QSize size : {kSize, QSize(120, 60), QSize(1, 1)}) {
        for (const OverviewData &d : {empty, Data()}) {
            if (size == kSize && !d.nights.empty())
                continue; // room and nights: covered above
            QImage image(size, QImage::Format_RGB32);
            QPainter p(&image);
            paintOverview(p, QSizeF(size), d, {});
            p.end();
            EXPECT_EQ(overviewNightAt(QSizeF(size), d, QPointF(size.width() / 2.0, size.height() / 2.0)), std::nullopt)
                << size.width() << "x" << size.height() << " " << d.nights.size();
        }
    }
    EXPECT_EQ(overviewCellText(empty, 1, 1), QStringLiteral("–"));
    EXPECT_EQ(overviewShortNote(empty), QString());
}

TEST(OverviewPage, PrintsOneLandscapePageWithTitleAndPatient)
{
    const QString path = testenv::root() + QStringLiteral("/overview.pdf");
    const FileResult written = printOverviewPdf(path, Data(), {false, QStringLiteral("Sleep clinic"), {}});
    ASSERT_TRUE(written) << written.detail().toStdString();
    EXPECT_EQ(pdftest::PdfPages(path), 1);
    EXPECT_TRUE(pdftest::PdfInfo(path).contains(QStringLiteral("842 x 595 pts (A4)")))
        << pdftest::PdfInfo(path).toStdString();
    const QString text = pdftest::PdfText(path, 1);
    for (const QString &expected : {QStringLiteral("Sleep clinic"), QStringLiteral("Doe, Jo (ID 3)"),
                                    QStringLiteral("2026/03/10"), QStringLiteral("Hypoxic burden")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The trend view as a widget: the painted page, the pointer readout, the
// keyboard cursor, paging and the page readout.
#include "views/TrendView.h"

#include "ViewTestData.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

using viewtest::FillRecording;
using viewtest::TimeOf;

namespace
{

QImage Render(TrendView &view, int page)
{
    QImage image(view.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    view.renderPage(p, view.size(), page);
    return image;
}

bool IsRed(QRgb c)
{
    return c == qRgb(255, 0, 0);
}

bool IsBlack(QRgb c)
{
    return c == qRgb(0, 0, 0);
}

// Text is smoothed: its pixels are dark, not only black.
bool IsDark(QRgb c)
{
    return qGray(c) < 100;
}

// The lowest (largest y) pixel of the colour in the rectangle and its column.
QPoint Lowest(const QImage &image, const Edges &area, bool (*match)(QRgb))
{
    QPoint best(-1, -1);
    for (int x = area.left; x < area.right; ++x)
        for (int y = area.top; y < area.bottom; ++y)
            if (match(image.pixel(x, y)) && y > best.y())
                best = QPoint(x, y);
    return best;
}

QPoint Highest(const QImage &image, const Edges &area, bool (*match)(QRgb))
{
    QPoint best(-1, 1 << 30);
    for (int x = area.left; x < area.right; ++x)
        for (int y = area.bottom - 1; y >= area.top; --y)
            if (match(image.pixel(x, y)) && y < best.y())
                best = QPoint(x, y);
    return best;
}

int Count(const QImage &image, const Edges &area, bool (*match)(QRgb))
{
    int n = 0;
    for (int x = area.left; x < area.right; ++x)
        for (int y = area.top; y < area.bottom; ++y)
            n += match(image.pixel(x, y));
    return n;
}

void SendMouseMove(QWidget &w, QPoint p)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(p), w.mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &e);
}

void SendWheel(QWidget &w, int delta)
{
    QWheelEvent e(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&w, &e);
}

class TrendViewTest : public ::testing::Test
{
protected:
    void SetUp() override { view.resize(1000, 700); }
    RecordStore store;
    TrendView view{store};
};

} // namespace

TEST_F(TrendViewTest, KnownReadingSitsAtItsColumnAndHeightInBothPlots)
{
    // Page 1 of 2000 readings; reading 900 is column 60 of that page.
    FillRecording(
        store, 2000, [](int i) { return i == 900 ? 50 : 90; }, [](int i) { return i == 900 ? 150 : 60; });
    const QImage image = Render(view, 1);
    const TrendLayout l = view.layout();

    const QPoint dip =
        Lowest(image, {l.spo2Plot.left + 1, l.spo2Plot.top, l.spo2Plot.right + 1, l.spo2Plot.bottom}, IsRed);
    EXPECT_EQ(dip, QPoint(l.spo2Plot.left + 60, l.spo2Plot.bottom - 70));
    // The pulse heading sits over the top of the plot; look below it.
    const QPoint peak = Highest(
        image, {l.pulsePlot.left + 1, l.pulsePlot.top + 30, l.pulsePlot.right + 1, l.pulsePlot.bottom}, IsBlack);
    EXPECT_EQ(peak, QPoint(l.pulsePlot.left + 60, l.pulsePlot.bottom - 70));
    // Elsewhere the curves run at 90 % and 60 bpm.
    EXPECT_TRUE(IsRed(image.pixel(l.spo2Plot.left + 300, l.spo2Plot.bottom - 126)));
    EXPECT_TRUE(IsBlack(image.pixel(l.pulsePlot.left + 300, l.pulsePlot.bottom - 28)));
}

TEST_F(TrendViewTest, Spo2AboveHundredIsDrawnOnTheHundredLine)
{
    FillRecording(
        store, 900, [](int i) { return i >= 100 && i < 110 ? 127 : 90; }, [](int) { return 60; });
    const QImage image = Render(view, 0);
    const TrendLayout l = view.layout();
    for (int x = l.spo2Plot.left + 101; x < l.spo2Plot.left + 110; ++x) {
        EXPECT_TRUE(IsRed(image.pixel(x, l.spo2Plot.top))) << "column " << x;
        for (int y = 0; y < l.spo2Plot.top; ++y)
            ASSERT_FALSE(IsRed(image.pixel(x, y))) << "red above the plot at " << x << "," << y;
    }
}

TEST_F(TrendViewTest, LastPageCurveStopsAtTheLastReading)
{
    FillRecording(
        store, 2000, [](int) { return 90; }, [](int) { return 60; });
    const QImage image = Render(view, 2);
    const TrendLayout l = view.layout();
    const int y = l.spo2Plot.bottom - 126;
    EXPECT_TRUE(IsRed(image.pixel(l.spo2Plot.left + 300, y)));
    // 2000 - 1680 = 320 readings: the last is reading 1999 at column 319.
    EXPECT_EQ(Count(image, {l.spo2Plot.left + 321, l.spo2Plot.top, l.spo2Plot.right + 1, l.spo2Plot.bottom}, IsRed), 0);
}

TEST_F(TrendViewTest, WithoutReadingsThePanelsHaveNoCurveAndNoTimeLabels)
{
    const TrendLayout l = view.layout();
    const QImage empty = Render(view, 0);
    EXPECT_EQ(Count(empty, l.spo2Plot, IsRed), 0);
    EXPECT_EQ(
        Count(empty, {l.pulsePlot.left + 1, l.pulsePlot.top + 30, l.pulsePlot.right, l.pulsePlot.bottom}, IsBlack), 0);
    // The time labels' band, below the longest ticks.
    const Edges labels{l.spo2Plot.left + 1, l.spo2Plot.bottom + 8, l.spo2Plot.right + 30, l.spo2Panel.bottom - 2};
    EXPECT_EQ(Count(empty, labels, IsDark), 0);
    // Scale numbers and panels are there all the same.
    EXPECT_GT(
        Count(empty, {l.spo2Panel.left, l.spo2Plot.top - 12, l.spo2Plot.left - 15, l.spo2Plot.bottom + 12}, IsBlack),
        50);
    EXPECT_EQ(empty.pixel(l.spo2Panel.left + 30, l.spo2Panel.bottom - 10), qRgb(250, 245, 171));
    EXPECT_EQ(empty.pixel(l.pulsePanel.left + 30, l.pulsePanel.bottom - 10), qRgb(193, 250, 253));

    FillRecording(
        store, 2000, [](int) { return 90; }, [](int) { return 60; });
    EXPECT_GT(Count(Render(view, 0), labels, IsDark), 300);

    // Nothing to pick without readings.
    store.currentSamples.clear();
    view.pointAt({l.spo2Plot.left + 5, l.spo2Plot.bottom - 126});
    EXPECT_TRUE(view.cursorTimeText().isEmpty());
    EXPECT_EQ(view.pageCount(), 0);

    // Paging down an empty recording counts it as one page for the status
    // bar; paging up reports the count as it is.
    QSignalSpy pages(&view, &DataView::pageChanged);
    view.pageUp();
    view.pageDown();
    ASSERT_EQ(pages.count(), 2);
    EXPECT_EQ(pages.at(0), (QVariantList{0, 0}));
    EXPECT_EQ(pages.at(1), (QVariantList{0, 1}));
    EXPECT_EQ(view.position(), 0);
}

TEST_F(TrendViewTest, NarrowClientShowsPanelsWithoutCurve)
{
    FillRecording(
        store, 2000, [](int) { return 90; }, [](int) { return 60; });
    view.resize(60, 400);
    EXPECT_EQ(view.samplesPerPage(), 0);
    EXPECT_EQ(view.pageCount(), 1);
    const QImage image = Render(view, 0);
    EXPECT_EQ(Count(image, {0, 0, 60, 400}, IsRed), 0);
    view.pageDown();
    EXPECT_EQ(view.position(), 0);
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_TRUE(view.cursorTimeText().isEmpty());
}

TEST_F(TrendViewTest, PointerReadsOutTheReadingUnderIt)
{
    FillRecording(
        store, 2000, [](int i) { return 80 + i % 10; }, [](int i) { return 50 + i % 100; });
    view.showPage(1);
    const TrendLayout l = view.layout();
    const int i = 840 + 200;
    const SampleRecord &r = store.currentSamples[std::size_t(i)];
    const int x = l.spo2Plot.left + 200;

    SendMouseMove(view, {x, l.spo2Plot.bottom - 140 * r.spo2 / 100 - 1}); // one pixel off: nothing
    EXPECT_TRUE(view.cursorTimeText().isEmpty());

    SendMouseMove(view, {x, l.spo2Plot.bottom - 140 * r.spo2 / 100});
    EXPECT_EQ(view.cursorDateText(), QStringLiteral("2013/05/07"));
    EXPECT_EQ(view.cursorTimeText(), TimeOf(store, i));
    EXPECT_EQ(view.cursorSpo2Text(), QString::number(r.spo2));
    EXPECT_EQ(view.cursorPulseText(), QString::number(r.pulseRate));
    EXPECT_EQ(view.spo2Marker().x, x);
    EXPECT_EQ(view.spo2Marker().y, Spo2CurveY(l, r.spo2));
    EXPECT_EQ(view.pulseMarker().y, PulseCurveY(l, r.pulseRate));

    // The markers are painted: the arrowhead's lines meet at the point.
    const QImage image = Render(view, 1);
    const QRgb marker = qRgb(128, 128, 255);
    const TrendMarker m = view.spo2Marker();
    EXPECT_EQ(image.pixel(m.x, m.y + m.direction * m.length / 2), marker);
    EXPECT_EQ(image.pixel(m.x - 3, m.y + m.direction * 3), marker);
    EXPECT_EQ(image.pixel(m.x + 3, m.y + m.direction * 3), marker);
    // Another page prints without this page's readout.
    const QImage other = Render(view, 0);
    EXPECT_NE(other.pixel(m.x, m.y + m.direction * m.length / 2), marker);

    // Resizing hides the markers.
    view.show();
    view.resize(1001, 700);
    EXPECT_FALSE(view.spo2Marker().visible());
    EXPECT_FALSE(view.pulseMarker().visible());
}

TEST_F(TrendViewTest, KeyboardCursorCrossesPageEdgesWithRollStepOne)
{
    FillRecording(
        store, 2000, [](int i) { return 60 + i % 40; }, [](int) { return 70; });
    const TrendLayout l = view.layout();
    const int left = l.spo2Plot.left;

    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(view.spo2Marker().x, left + 1);
    EXPECT_EQ(view.cursorTimeText(), TimeOf(store, 1));
    for (int k = 0; k < 839; ++k)
        QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(view.spo2Marker().x, left + 840);
    EXPECT_EQ(view.cursorTimeText(), TimeOf(store, 840));

    QSignalSpy pages(&view, &DataView::pageChanged);
    QTest::keyClick(&view, Qt::Key_Right); // over the edge: next page, column 1
    EXPECT_EQ(view.position(), 1);
    EXPECT_EQ(view.spo2Marker().x, left + 1);
    EXPECT_EQ(view.cursorTimeText(), TimeOf(store, 841));
    ASSERT_EQ(pages.count(), 1);
    EXPECT_EQ(pages.at(0).at(0).toInt(), 1);
    EXPECT_EQ(pages.at(0).at(1).toInt(), 3);

    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.spo2Marker().x, left);
    EXPECT_EQ(view.cursorTimeText(), TimeOf(store, 840));
    QTest::keyClick(&view, Qt::Key_Left); // over the edge: previous page, last column
    EXPECT_EQ(view.position(), 0);
    EXPECT_EQ(view.spo2Marker().x, left + 840);
    EXPECT_EQ(view.cursorTimeText(), TimeOf(store, 840));
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.spo2Marker().x, left + 839);
    EXPECT_EQ(view.cursorTimeText(), TimeOf(store, 839));
}

TEST_F(TrendViewTest, KeyboardCursorPassesReadingsThePointerCannotPick)
{
    // Readings 2 and 3 have no exact point in the SpO2 plot (0 and above 100).
    FillRecording(
        store, 900, [](int i) { return i == 2   ? 0
                                       : i == 3 ? 127
                                                : 95; }, [](int) { return 70; });
    for (int k = 0; k < 4; ++k)
        QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(view.cursorTimeText(), TimeOf(store, 4));
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.cursorTimeText(), TimeOf(store, 3));
    EXPECT_EQ(view.cursorSpo2Text(), QStringLiteral("127"));
    EXPECT_EQ(view.spo2Marker().y, view.layout().spo2Plot.top);
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.cursorSpo2Text(), QStringLiteral("0"));
}

TEST_F(TrendViewTest, PagingLimitsWithRollSteps)
{
    FillRecording(
        store, 2000, [](int) { return 95; }, [](int) { return 70; }); // 3 pages
    QSignalSpy pages(&view, &DataView::pageChanged);

    QTest::keyClick(&view, Qt::Key_PageUp);
    EXPECT_EQ(view.position(), 0);
    QTest::keyClick(&view, Qt::Key_PageDown);
    QTest::keyClick(&view, Qt::Key_PageDown);
    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_EQ(view.position(), 2);
    ASSERT_EQ(pages.count(), 4);
    EXPECT_EQ(pages.last().at(0).toInt(), 2);
    EXPECT_EQ(pages.last().at(1).toInt(), 3);

    view.setRollStep(5);
    view.showPage(0);
    view.pageDown();
    EXPECT_EQ(view.position(), 2);
    view.pageUp();
    EXPECT_EQ(view.position(), 0);

    FillRecording(
        store, 840 * 5, [](int) { return 95; }, [](int) { return 70; }); // 5 pages
    view.setRollStep(3);
    view.pageDown();
    EXPECT_EQ(view.position(), 3);
    view.pageDown();
    EXPECT_EQ(view.position(), 4);
    view.pageUp();
    EXPECT_EQ(view.position(), 1);

    // The wheel: forward pages up, backward (or no delta) pages down.
    view.setRollStep(1);
    SendWheel(view, -120);
    EXPECT_EQ(view.position(), 2);
    SendWheel(view, 120);
    EXPECT_EQ(view.position(), 1);
    SendWheel(view, 0);
    EXPECT_EQ(view.position(), 2);
}

TEST_F(TrendViewTest, PageUpKeepsTheReadoutAndPageDownEmptiesIt)
{
    FillRecording(
        store, 2000, [](int) { return 95; }, [](int) { return 70; });
    view.showPage(1);
    const TrendLayout l = view.layout();
    view.pointAt({l.spo2Plot.left + 10, Spo2CurveY(l, 95)});
    ASSERT_FALSE(view.cursorTimeText().isEmpty());
    view.pageUp();
    EXPECT_EQ(view.cursorTimeText(), TimeOf(store, 850));
    EXPECT_FALSE(view.spo2Marker().visible());
    view.pageDown();
    EXPECT_TRUE(view.cursorDateText().isEmpty());
    EXPECT_TRUE(view.cursorTimeText().isEmpty());
    EXPECT_TRUE(view.cursorSpo2Text().isEmpty());
    EXPECT_TRUE(view.cursorPulseText().isEmpty());
}

TEST_F(TrendViewTest, PictureFollowsTitleAndPatientChanges)
{
    FillRecording(
        store, 2000, [](int) { return 95; }, [](int) { return 70; });
    const TrendLayout l = view.layout();
    const QRect titleBand(l.header.left + 10, l.header.top, 600, l.header.bottom * 16 / 100);
    const QImage before = Render(view, 0).copy(titleBand);
    store.reportTitle = QStringLiteral("Night two");
    view.refresh();
    EXPECT_NE(Render(view, 0).copy(titleBand), before);
}

TEST_F(TrendViewTest, FineWheelTurnsAddUpToOnePage)
{
    FillRecording(
        store, 840 * 5, [](int) { return 95; }, [](int) { return 70; });
    view.showPage(2);
    // A touchpad's small steps: a page only once they make a notch.
    SendWheel(view, -40);
    SendWheel(view, -40);
    EXPECT_EQ(view.position(), 2);
    SendWheel(view, -40);
    EXPECT_EQ(view.position(), 3);
    // Turning back starts counting afresh.
    SendWheel(view, -60);
    SendWheel(view, 60);
    SendWheel(view, 60);
    EXPECT_EQ(view.position(), 2);
    // Scroll begin/end and sideways turns move nothing.
    EXPECT_EQ(view.wheelPaging(QPoint(0, 0), Qt::ScrollBegin), 0);
    EXPECT_EQ(view.wheelPaging(QPoint(0, 0), Qt::ScrollEnd), 0);
    EXPECT_EQ(view.wheelPaging(QPoint(-120, 0), Qt::NoScrollPhase), 0);
    EXPECT_EQ(view.wheelPaging(QPoint(0, 0), Qt::NoScrollPhase), 1);
}

TEST(TrendView, ShadesHandMarksMoreStronglyThanAutomaticArtefacts)
{
    RecordStore store;
    FillRecording(
        store, 2000, [](int i) { return i >= 100 && i < 140 ? 0 : 96; }, [](int) { return 70; });
    store.currentMarks = {{500, 519}};
    TrendView view(store);
    view.resize(1000, 700);
    const TrendLayout l = view.layout();
    const QImage screen = view.grab().toImage();
    const QImage printed = Render(view, 0);
    const int y = l.pulsePlot.bottom - 5; // clear of the curves
    const auto grey = [y](const QImage &image, int reading) { return qGray(image.pixel(reading, y)); };
    const int x = l.pulsePlot.left;
    EXPECT_LT(grey(screen, x + 510), grey(screen, x + 120)) << "a hand mark is darker than an automatic shade";
    EXPECT_LT(grey(screen, x + 120), grey(screen, x + 800));
    EXPECT_EQ(grey(printed, x + 510), grey(printed, x + 800)) << "printing shows no marks";
}

TEST(TrendView, ShadesArtefactsOnScreenOnly)
{
    RecordStore store;
    // 40 s without signal from reading 100 and a one-reading spike at 300.
    FillRecording(
        store, 2000, [](int i) { return i >= 100 && i < 140 ? 0
                                        : i == 300          ? 60
                                                            : 96; }, [](int) { return 70; });
    TrendView view(store);
    view.resize(1000, 700);
    const TrendLayout l = view.layout();
    const QImage printed = Render(view, 0).convertToFormat(QImage::Format_RGB32);
    const QImage screen = view.grab().toImage().convertToFormat(QImage::Format_RGB32);

    // Columns of each plot's lower half (clear of the legend) where the two differ.
    for (const Edges &plot : {l.spo2Plot, l.pulsePlot}) {
        std::vector<int> shaded;
        for (int x = plot.left; x < plot.right; ++x) {
            for (int y = (plot.top + plot.bottom) / 2; y < plot.bottom; ++y) {
                if (printed.pixel(x, y) != screen.pixel(x, y)) {
                    shaded.push_back(x - plot.left);
                    break;
                }
            }
        }
        std::vector<int> expected;
        for (int k = 100; k < 140; ++k)
            expected.push_back(k);
        expected.push_back(300);
        EXPECT_EQ(shaded, expected);
    }
    // The legend says what the shade means.
    const QRect legend(l.spo2Plot.right - 200, l.spo2Plot.top - 30, 200, 30);
    EXPECT_NE(printed.copy(legend), screen.copy(legend));

    // A page without artefacts looks on screen as it prints.
    RecordStore clean;
    FillRecording(
        clean, 2000, [](int) { return 96; }, [](int) { return 70; });
    TrendView plain(clean);
    plain.resize(1000, 700);
    EXPECT_EQ(Render(plain, 0).convertToFormat(QImage::Format_RGB32),
              plain.grab().toImage().convertToFormat(QImage::Format_RGB32));
}

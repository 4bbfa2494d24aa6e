// SPDX-License-Identifier: GPL-3.0-or-later
// Printing into real PDF files: the page range, the page size and the
// printed picture against the screen's.
#include "views/PreviewNavigation.h"
#include "views/PreviewSheet.h"
#include "views/PrintPreviewDialog.h"
#include "views/TableView.h"
#include "views/TrendView.h"
#include "views/ViewPrinting.h"

#include "PdfTestTools.h"
#include "ViewTestData.h"
#include "test_env.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

using pdftest::MeanDifference;
using pdftest::PdfInfo;
using pdftest::PdfPages;
using pdftest::Rasterise;
using viewtest::FillRecording;

namespace
{

QString PdfPath(const QString &name)
{
    return testenv::root() + QLatin1Char('/') + name;
}

void PdfPrinter(QPrinter &printer, const QString &path)
{
    ConfigureReportPrinter(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
}

QImage Screen(DataView &view, int page)
{
    QImage image(view.size(), QImage::Format_RGB32);
    QPainter p(&image);
    view.renderPage(p, view.size(), page);
    return image;
}

bool IsCurveRed(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 150 && qBlue(c) < 150;
}

// Middle row of the red curve in each 20-pixel band of columns within [x0, x1).
std::vector<int> CurveRows(const QImage &image, int x0, int x1, int y0, int y1)
{
    std::vector<int> rows;
    for (int band = x0; band + 20 <= x1; band += 20) {
        std::vector<int> ys;
        for (int x = band; x < band + 20; ++x)
            for (int y = y0; y < y1; ++y)
                if (IsCurveRed(image.pixel(x, y)))
                    ys.push_back(y);
        if (ys.empty()) {
            rows.push_back(-1);
            continue;
        }
        std::nth_element(ys.begin(), ys.begin() + ys.size() / 2, ys.end());
        rows.push_back(ys[ys.size() / 2]);
    }
    return rows;
}

} // namespace

TEST(Printing, ThreePageTrendGivesThreeA4LandscapePagesAndPageTwoIsTheScreenPicture)
{
    RecordStore store;
    // Each page at its own SpO2 level, so pages cannot be mistaken for each other.
    FillRecording(
        store, 2000, [](int i) { return i < 840    ? 95
                                        : i < 1680 ? 60
                                                   : 80; }, [](int) { return 70; });
    store.reportTitle = QStringLiteral("Printed night");
    TrendView view(store);
    view.resize(1000, 700);
    ASSERT_EQ(view.pageCount(), 3);
    QSignalSpy pages(&view, &DataView::pageChanged);

    const QString path = PdfPath(QStringLiteral("trend.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    PdfPrinter(printer, path);
    const PrintResult result = PrintDataView(view, printer);
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.firstPage, 0);
    EXPECT_EQ(result.lastPage, 2);
    EXPECT_EQ(PdfPages(path), 3);
    EXPECT_TRUE(PdfInfo(path).contains(QLatin1String("842 x 595 pts (A4)"))) << PdfInfo(path).toStdString();
    // The view is left on the last page printed, and says so.
    EXPECT_EQ(view.position(), 2);
    ASSERT_GE(pages.count(), 1);
    EXPECT_EQ(pages.last().at(0).toInt(), 2);
    EXPECT_EQ(pages.last().at(1).toInt(), 3);

    // Page 2 of the PDF is the screen's page 2 stretched onto 1092 x 764 units of 1/96 inch.
    const QImage printed = Rasterise(path, 2);
    ASSERT_FALSE(printed.isNull());
    ASSERT_GE(printed.width(), 1092);
    ASSERT_GE(printed.height(), 764);
    const QImage picture = printed.copy(0, 0, 1092, 764);
    const QImage screen2 = Screen(view, 1).scaled(1092, 764, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage screen1 = Screen(view, 0).scaled(1092, 764, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(MeanDifference(picture, screen2), 6.0);
    // Outside the picture the paper stays white.
    EXPECT_EQ(printed.pixel(1110, 400), qRgb(255, 255, 255));
    EXPECT_EQ(printed.pixel(600, 780), qRgb(255, 255, 255));

    const TrendLayout l = view.layout();
    const double sx = 1092.0 / 1000;
    const double sy = 764.0 / 700;
    const int x0 = int((l.spo2Plot.left + 10) * sx);
    const int x1 = int((l.spo2Plot.right - 10) * sx);
    const int y0 = int(l.spo2Plot.top * sy) - 2;
    const int y1 = int(l.spo2Plot.bottom * sy) + 2;
    const std::vector<int> printedRows = CurveRows(picture, x0, x1, y0, y1);
    const std::vector<int> screenRows = CurveRows(screen2, x0, x1, y0, y1);
    const std::vector<int> otherRows = CurveRows(screen1, x0, x1, y0, y1);
    ASSERT_EQ(printedRows.size(), screenRows.size());
    for (std::size_t k = 0; k < printedRows.size(); ++k) {
        ASSERT_NE(printedRows[k], -1) << "no curve in band " << k;
        EXPECT_NEAR(printedRows[k], screenRows[k], 2) << "band " << k;
        EXPECT_GT(std::abs(printedRows[k] - otherRows[k]), 30) << "band " << k;
    }
}

TEST(Printing, PageRangeOfThePrinterIsHonoured)
{
    RecordStore store;
    FillRecording(
        store, 2000, [](int) { return 95; }, [](int) { return 70; });
    TrendView view(store);
    view.resize(1000, 700);

    const QString path = PdfPath(QStringLiteral("range.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    PdfPrinter(printer, path);
    printer.setFromTo(2, 3);
    const PrintResult result = PrintDataView(view, printer);
    EXPECT_EQ(result.firstPage, 1);
    EXPECT_EQ(result.lastPage, 2);
    EXPECT_EQ(PdfPages(path), 2);

    // A range past the end is cut to the pages there are.
    printer.setFromTo(3, 9);
    PrintDataView(view, printer);
    EXPECT_EQ(PdfPages(path), 1);
    EXPECT_EQ(view.position(), 2);
}

TEST(Printing, TableAndEmptyRecordingsPrint)
{
    RecordStore store;
    FillRecording(
        store, 100, [](int) { return 95; }, [](int) { return 70; });
    TableView table(store);
    table.resize(1000, 700);
    const QString path = PdfPath(QStringLiteral("table.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    PdfPrinter(printer, path);
    PrintDataView(table, printer);
    EXPECT_EQ(PdfPages(path), table.pageCount());

    // Nothing recorded: one page with the empty panels.
    store.currentSamples.clear();
    TrendView trend(store);
    trend.resize(1000, 700);
    PrintDataView(trend, printer);
    EXPECT_EQ(PdfPages(path), 1);
    const QImage empty = Rasterise(path, 1);
    EXPECT_LT(MeanDifference(empty.copy(0, 0, 1092, 764),
                             Screen(trend, 0).scaled(1092, 764, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)),
              6.0);
}

TEST(Printing, UnwritablePrinterReportsThatItDidNotStart)
{
    RecordStore store;
    TrendView view(store);
    view.resize(1000, 700);
    QPrinter printer(QPrinter::HighResolution);
    PdfPrinter(printer, QStringLiteral("/nonexistent-folder/x.pdf"));
    EXPECT_FALSE(PrintDataView(view, printer).started);
}

TEST(Printing, PreviewOffersEveryPageAndLeavesTheViewOnThePageSeenLast)
{
    RecordStore store;
    FillRecording(
        store, 2000, [](int) { return 95; }, [](int) { return 70; });
    TrendView view(store);
    view.resize(1000, 700);
    int offered = -1;
    QTimer::singleShot(0, [&offered] {
        auto *dialog = qobject_cast<PrintPreviewDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        offered = dialog->navigation().pageCount();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(dialog, Qt::Key_PageDown);
        dialog->reject();
    });
    view.printPreview();
    EXPECT_EQ(offered, 3);
    EXPECT_EQ(view.position(), 1);

    // Rendering for a preview alone does not move the view.
    QPrinter printer(QPrinter::HighResolution);
    PdfPrinter(printer, PdfPath(QStringLiteral("keep.pdf")));
    PrintDataView(view, printer, AfterPrinting::KeepPage);
    EXPECT_EQ(view.position(), 1);
}

namespace
{
// A real table view that counts the pages it is asked to draw.
class CountingTableView : public TableView
{
public:
    using TableView::TableView;
    void renderPage(QPainter &painter, const QSize &size, int pageIndex) override
    {
        rendered.push_back(pageIndex);
        TableView::renderPage(painter, size, pageIndex);
    }
    std::vector<int> rendered;
};
} // namespace

TEST(Printing, PreviewOfTheLongestRecordingDrawsOnlyThePagesLookedAt)
{
    RecordStore store;
    FillRecording(
        store, RecordStore::kCapacity, [](int i) { return 90 + i % 10; }, [](int i) { return 60 + i % 50; });
    CountingTableView view(store);
    view.resize(1600, 800);
    ASSERT_GT(view.pageCount(), 5000);

    PrintPreviewDialog preview(view);
    preview.show();
    preview.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&preview));
    const QImage first = preview.sheet().pageImage();
    EXPECT_EQ(view.rendered, std::vector<int>({0}));
    // The sheet is the printed page: page 1 of the screen, stretched to paper.
    const QSize picture = QSize(1092, 764).scaled(first.size(), Qt::KeepAspectRatio);
    const QImage screen = Screen(view, 0).scaled(picture, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(MeanDifference(first.copy(QRect(QPoint(0, 0), picture * 0.97)),
                             screen.copy(QRect(QPoint(0, 0), picture * 0.97))),
              12.0);

    QTest::keyClick(&preview, Qt::Key_End);
    preview.sheet().pageImage();
    QTest::keyClick(&preview, Qt::Key_PageUp);
    preview.sheet().pageImage();
    preview.sheet().pageImage(); // drawn once, kept while it is shown
    const int lastPage = view.pageCount() - 1;
    const std::set<int> drawn(view.rendered.begin(), view.rendered.end());
    EXPECT_EQ(drawn, std::set<int>({0, lastPage, lastPage - 1}));
    EXPECT_LE(view.rendered.size(), 5u) << "a page is drawn again only when the sheet changes size";
    const std::size_t drawsBeforeZoom = view.rendered.size();
    EXPECT_EQ(preview.navigation().page(), lastPage - 1);

    // Zooming draws the same page again at the new size, nothing else.
    const QSize before = preview.sheet().size();
    QTest::keyClick(&preview, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_GT(preview.sheet().size().width(), before.width());
    preview.sheet().pageImage();
    EXPECT_EQ(view.rendered.back(), lastPage - 1);
    EXPECT_EQ(view.rendered.size(), drawsBeforeZoom + 1);
}

TEST(Printing, PreviewNavigationStaysInsideThePagesAndTheZoomSteps)
{
    PreviewNavigation nav(3, 7);
    EXPECT_EQ(nav.page(), 2);
    nav.next();
    EXPECT_EQ(nav.page(), 2);
    EXPECT_FALSE(nav.canGoForward());
    nav.first();
    nav.previous();
    EXPECT_EQ(nav.page(), 0);
    EXPECT_FALSE(nav.canGoBack());

    // Nothing recorded still gives one page to look at.
    EXPECT_EQ(PreviewNavigation(0).pageCount(), 1);

    const QSize window(1200, 900);
    EXPECT_TRUE(nav.fitsWindow());
    const QSize fitted = nav.sheetSize(window);
    EXPECT_LE(fitted.width(), window.width());
    EXPECT_LE(fitted.height(), window.height());
    EXPECT_NEAR(double(fitted.width()) / fitted.height(), 297.0 / 210.0, 0.01);

    const int fitPercent = nav.zoomPercent(window);
    nav.zoomIn(window);
    EXPECT_FALSE(nav.fitsWindow());
    EXPECT_GT(nav.zoomPercent(window), fitPercent);
    for (int i = 0; i < 20; ++i)
        nav.zoomIn(window);
    EXPECT_EQ(nav.zoomPercent(window), PreviewNavigation::kMaxPercent);
    EXPECT_FALSE(nav.canZoomIn(window));
    for (int i = 0; i < 20; ++i)
        nav.zoomOut(window);
    EXPECT_FALSE(nav.canZoomOut(window));
    EXPECT_GE(nav.sheetSize(window).width(), 1);
    nav.fitWindow();
    EXPECT_EQ(nav.sheetSize(window), fitted);
}

TEST(Printing, CancelStopsThePrintRunAfterThePagesAlreadyOut)
{
    RecordStore store;
    FillRecording(
        store, 5000, [](int) { return 95; }, [](int) { return 70; });
    TrendView view(store);
    view.resize(1000, 700);
    ASSERT_GE(view.pageCount(), 5);
    QPrinter printer(QPrinter::HighResolution);
    PdfPrinter(printer, PdfPath(QStringLiteral("cancel.pdf")));
    std::vector<std::pair<int, int>> told;
    const PrintResult r = PrintDataView(view, printer, AfterPrinting::ShowLastPage, [&told](int printed, int total) {
        told.emplace_back(printed, total);
        return printed < 2; // Cancel pressed while the third page is due
    });
    EXPECT_TRUE(r.started);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.firstPage, 0);
    EXPECT_EQ(r.lastPage, 1);
    EXPECT_EQ(told,
              (std::vector<std::pair<int, int>>{{0, view.pageCount()}, {1, view.pageCount()}, {2, view.pageCount()}}));
    EXPECT_EQ(view.position(), 1);

    // Cancelled before the first page: nothing printed, the view stays.
    view.showPage(3);
    PdfPrinter(printer, PdfPath(QStringLiteral("cancel2.pdf")));
    const PrintResult none = PrintDataView(view, printer, AfterPrinting::ShowLastPage, [](int, int) { return false; });
    EXPECT_TRUE(none.cancelled);
    EXPECT_EQ(none.lastPage, -1);
    EXPECT_EQ(view.position(), 3);
}

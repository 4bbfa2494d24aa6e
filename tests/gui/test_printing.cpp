// Printing into real PDF files: the page range, the page size and the
// printed picture against the screen's.
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
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
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
    EXPECT_EQ(store.viewPosition, 2);
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
    EXPECT_EQ(store.viewPosition, 2);
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
        auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto *pages = dialog->findChild<QPrintPreviewWidget *>();
        ASSERT_NE(pages, nullptr);
        offered = pages->pageCount();
        pages->setCurrentPage(2);
        dialog->reject();
    });
    view.printPreview();
    EXPECT_EQ(offered, 3);
    EXPECT_EQ(store.viewPosition, 1);

    // Rendering for a preview alone does not move the view.
    QPrinter printer(QPrinter::HighResolution);
    PdfPrinter(printer, PdfPath(QStringLiteral("keep.pdf")));
    PrintDataView(view, printer, AfterPrinting::KeepPage);
    EXPECT_EQ(store.viewPosition, 1);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The table view: rows per page, item numbering, page count and paging.
#include "views/TablePainter.h"
#include "views/TableView.h"

#include "ViewTestData.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using viewtest::FillRecording;

namespace
{

// A view whose table area is tableHeight pixels high.
void SizeForTable(TableView &view, int tableHeight)
{
    const int header = LayoutTablePage(QSize(1000, 2000), view.fonts()).table.top;
    view.resize(1000, header + tableHeight);
}

int DarkPixels(const QImage &image, const QRect &r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += qGray(image.pixel(x, y)) < 100;
    return n;
}

} // namespace

TEST(TableGeometry, RowsItemsAndNumbering)
{
    const TableLayout l = LayoutTable({0, 0, 1000, 700}, 260);
    EXPECT_EQ(l.table, (Edges{10, 260, 990, 700}));
    EXPECT_EQ(l.rows, 20);
    EXPECT_EQ(l.itemsPerPage(), 36);
    EXPECT_EQ(l.halfWidth, 490);
    EXPECT_EQ(l.columnWidth, 98);
    // Page 0: 1-18 and 19-36; page 1: 37-54 and 55-72.
    EXPECT_EQ(TableItemNumber(l, 0, 0, 2), 1);
    EXPECT_EQ(TableItemNumber(l, 0, 0, 19), 18);
    EXPECT_EQ(TableItemNumber(l, 0, 1, 2), 19);
    EXPECT_EQ(TableItemNumber(l, 0, 1, 19), 36);
    EXPECT_EQ(TableItemNumber(l, 1, 0, 2), 37);
    EXPECT_EQ(TableItemNumber(l, 1, 1, 19), 72);

    EXPECT_EQ(TablePageCount(100, l), 3);
    EXPECT_EQ(TablePageCount(72, l), 2);
    EXPECT_EQ(TablePageCount(0, l), 0);
    // No room for a reading row: the count is unknown.
    EXPECT_EQ(TablePageCount(100, LayoutTable({0, 0, 1000, 700}, 700 - 66)), 50); // 3 rows: 2 a page
    EXPECT_EQ(TablePageCount(100, LayoutTable({0, 0, 1000, 700}, 700 - 65)), -1);
    EXPECT_EQ(TablePageCount(100, LayoutTable({0, 0, 1000, 700}, 700 - 21)), -1);
    EXPECT_EQ(TablePageCount(100, LayoutTable({0, 0, 1000, 700}, 800)), -1);
}

TEST(TableView, LastPageStopsAtTheLastReading)
{
    RecordStore store;
    FillRecording(
        store, 100, [](int) { return 95; }, [](int) { return 70; });
    TableView view(store);
    SizeForTable(view, 440);
    ASSERT_EQ(view.layout().rows, 20);
    EXPECT_EQ(view.pageCount(), 3);

    QImage image(view.size(), QImage::Format_RGB32);
    QPainter p(&image);
    view.renderPage(p, view.size(), 2);
    p.end();
    const TableLayout l = view.layout();
    auto itemCell = [&](int block, int row) {
        return QRect(l.table.left + block * l.halfWidth + 2, l.table.top + 22 * row + 2, l.columnWidth - 4, 18);
    };
    // Items 73-90 fill the first block, 91-100 the first ten rows of the second.
    for (int row = 2; row < 20; ++row)
        EXPECT_GT(DarkPixels(image, itemCell(0, row)), 10) << "row " << row;
    for (int row = 2; row < 12; ++row)
        EXPECT_GT(DarkPixels(image, itemCell(1, row)), 10) << "row " << row;
    for (int row = 12; row < 20; ++row)
        EXPECT_EQ(DarkPixels(image, itemCell(1, row)), 0) << "row " << row;
    // The grid is drawn all the same, down to the last row.
    EXPECT_EQ(image.pixel(l.table.left + l.halfWidth, l.table.top + 22 * 19), qRgb(191, 189, 140));
}

TEST(TableView, WithoutReadingsHeadingsAndGridOnly)
{
    RecordStore store;
    TableView view(store);
    SizeForTable(view, 440);
    EXPECT_EQ(view.pageCount(), 0);
    view.pageDown();
    EXPECT_EQ(view.position(), 0);

    QImage image(view.size(), QImage::Format_RGB32);
    QPainter p(&image);
    view.renderPage(p, view.size(), 0);
    p.end();
    const TableLayout l = view.layout();
    EXPECT_GT(DarkPixels(image, QRect(l.table.left, l.table.top + 22, l.columnWidth, 22)), 10); // "Item"
    EXPECT_EQ(DarkPixels(image, QRect(l.table.left + 1, l.table.top + 45, l.table.width() - 2, 22 * 17)), 0);
}

TEST(TableView, PagingWithRollStepsAndThePageReadout)
{
    RecordStore store;
    FillRecording(
        store, 36 * 5, [](int) { return 95; }, [](int) { return 70; }); // 5 pages
    TableView view(store);
    SizeForTable(view, 440);
    QSignalSpy pages(&view, &DataView::pageChanged);

    view.setRollStep(3);
    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_EQ(view.position(), 3);
    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_EQ(view.position(), 4);
    QTest::keyClick(&view, Qt::Key_PageUp);
    EXPECT_EQ(view.position(), 1);
    QTest::keyClick(&view, Qt::Key_PageUp);
    EXPECT_EQ(view.position(), 0);
    ASSERT_EQ(pages.count(), 4);
    EXPECT_EQ(pages.at(0).at(0).toInt(), 3);
    EXPECT_EQ(pages.at(0).at(1).toInt(), 5);
    EXPECT_EQ(pages.at(3).at(0).toInt(), 0);
}

TEST(TableView, TooLowForReadingsKeepsThePageCountItHad)
{
    RecordStore store;
    FillRecording(
        store, 100, [](int) { return 95; }, [](int) { return 70; });
    TableView view(store);
    SizeForTable(view, 440);
    EXPECT_EQ(view.pageCount(), 3);
    SizeForTable(view, 50); // two rows: headings only
    EXPECT_EQ(view.layout().rows, 2);
    EXPECT_EQ(view.pageCount(), 3);
    QImage image(view.size(), QImage::Format_RGB32);
    QPainter p(&image);
    view.renderPage(p, view.size(), 0); // draws without reading rows
}

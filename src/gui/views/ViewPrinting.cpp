// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ViewPrinting.h"

#include "views/DataView.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

void ConfigureReportPrinter(QPrinter &printer)
{
    printer.setResolution(600);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    // The picture starts at the corner of the area the printer can reach: the
    // paper's corner in a PDF file.
    printer.setPageMargins(printer.pageLayout().minimumMargins(), printer.pageLayout().units());
}

void PaintPrintedPage(QPainter &painter, DataView &view, QSize pictureSize, int pageIndex, int resolution)
{
    if (pictureSize.isEmpty())
        return;
    // The picture is painted through a stretching transform rather than as a
    // bitmap: the same picture, sharp on paper and small in a preview.
    const double targetW = kPrintedPageWidth96 * resolution / 96.0;
    const double targetH = kPrintedPageHeight96 * resolution / 96.0;
    painter.save();
    painter.setClipRect(QRectF(0, 0, targetW, targetH));
    painter.scale(targetW / pictureSize.width(), targetH / pictureSize.height());
    view.renderPage(painter, pictureSize, pageIndex);
    painter.restore();
}

PrintResult PrintDataView(DataView &view, QPrinter &printer, AfterPrinting after, const PrintProgress &progress)
{
    PrintResult result;
    const int count = std::max(view.pageCount(), 1);
    int first = printer.fromPage() > 0 ? printer.fromPage() - 1 : 0;
    int last = printer.toPage() > 0 ? printer.toPage() - 1 : count - 1;
    first = std::clamp(first, 0, count - 1);
    last = std::clamp(last, first, count - 1);

    QPainter painter;
    if (!painter.begin(&printer))
        return result;
    result.started = true;
    const QSize pictureSize = view.size();
    const int resolution = printer.resolution();
    int printed = first - 1;
    for (int page = first; page <= last; ++page) {
        if (progress && !progress(page - first, last - first + 1)) {
            result.cancelled = true;
            printer.abort();
            break;
        }
        if (page > first)
            printer.newPage();
        PaintPrintedPage(painter, view, pictureSize, page, resolution);
        printed = page;
    }
    painter.end();
    if (printed < first)
        return result;
    result.firstPage = first;
    result.lastPage = printed;
    if (after == AfterPrinting::ShowLastPage)
        view.showPage(printed);
    return result;
}

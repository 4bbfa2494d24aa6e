// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

#include <functional>

class DataView;
class QPainter;
class QPrinter;

// A printed page is the view's picture at the window's size stretched onto
// 1092 x 764 units of 1/96 inch (11.375 x 7.958 in) from the corner of the
// printable area.
inline constexpr int kPrintedPageWidth96 = 1092;
inline constexpr int kPrintedPageHeight96 = 764;

// A4, landscape, 600 dpi, the smallest margins the printer allows.
void ConfigureReportPrinter(QPrinter &printer);

// Paints page pageIndex of view, drawn for a window of pictureSize, onto the
// painter of a printer page of the given resolution.
void PaintPrintedPage(QPainter &painter, DataView &view, QSize pictureSize, int pageIndex, int resolution);

struct PrintResult {
    bool started = false; // false when the printer could not be opened
    int firstPage = -1;   // 0-based indexes of the pages printed
    int lastPage = -1;
    bool cancelled = false; // stopped by the progress callback; lastPage is the last one out
};

// Told before each page (pages printed so far, pages in all); returning false
// stops the print run.
using PrintProgress = std::function<bool(int printed, int total)>;

// What the view shows once the pages are out: printing leaves it on the last
// page printed; a preview puts it back (the preview then shows the page the
// user looked at last).
enum class AfterPrinting { ShowLastPage, KeepPage };

// Prints the printer's page range (all pages when none is set) of the view at
// its current size.
PrintResult PrintDataView(DataView &view, QPrinter &printer, AfterPrinting after = AfterPrinting::ShowLastPage,
                          const PrintProgress &progress = {});

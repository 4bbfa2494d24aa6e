// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>

class QPrinter;

class RecordStore;

// Printed reports of the current recording as a PDF file, without a window:
// the pages the Print command gives for a view of the given size.
enum class ReportMode { Trend, Table, Analysis };

struct ReportPdfResult {
    enum class Status {
        Written,
        NotAvailable, // nothing of this mode to paint (an analysis without readings)
        TooSmall,     // the view size holds no reading
        CannotWrite,  // error says why; an existing file is left as it was
    };
    Status status = Status::CannotWrite;
    int pages = 0;
    QString error;
};

// The size of the printed page's picture in 1/96 inch, the default view size.
QSize defaultReportViewSize();

// A PDF that holds every byte its trailer counts (what a printer cut short does not).
bool isWholePdf(const QByteArray &pdf);

ReportPdfResult writeReportPdf(RecordStore &store, ReportMode mode, QSize viewSize, const QString &path);

// Runs print on a printer set up for the reports (A4 landscape, PDF) and
// writes the PDF to path only when it came out whole. print returns false
// when it could not print. Returns why nothing was written; empty on success.
QString printCheckedPdf(const QString &path, const std::function<bool(QPrinter &)> &print);

// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ReportPdf.h"

#include "views/AnalysisFigures.h"
#include "views/AnalysisView.h"
#include "views/TableView.h"
#include "views/TrendView.h"
#include "views/ViewPrinting.h"

#include "app/CheckedFile.h"
#include "model/RecordStore.h"

#include <QFileInfo>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <memory>

namespace
{

std::unique_ptr<DataView> makeView(RecordStore &store, ReportMode mode, AnalysisFigures &figures)
{
    switch (mode) {
    case ReportMode::Trend:
        return std::make_unique<TrendView>(store);
    case ReportMode::Table:
        return std::make_unique<TableView>(store);
    case ReportMode::Analysis:
        figures = analyseCurrentRecording(store);
        return std::make_unique<AnalysisView>(store, figures.results, figures.statistics, &figures.clinical);
    }
    return nullptr;
}

bool holdsReadings(DataView &view, ReportMode mode)
{
    switch (mode) {
    case ReportMode::Table:
        return static_cast<TableView &>(view).layout().itemsPerPage() > 0;
    case ReportMode::Trend:
        return static_cast<TrendView &>(view).samplesPerPage() > 0;
    case ReportMode::Analysis:
        // One page of any size, as long as there is something to analyse.
        return true;
    }
    return false;
}

} // namespace

bool isWholePdf(const QByteArray &pdf)
{
    // A PDF ends in "startxref", the offset of its cross-reference table, and
    // "%%EOF"; a file that lost bytes anywhere before fails one of the two.
    static const QRegularExpression trailer(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    if (!pdf.startsWith("%PDF-"))
        return false;
    const QByteArray tail = pdf.right(64);
    const QRegularExpressionMatch m = trailer.match(QString::fromLatin1(tail));
    if (!m.hasMatch())
        return false;
    bool ok = false;
    const qint64 offset = m.captured(1).toLongLong(&ok);
    return ok && offset > 0 && offset < pdf.size() && pdf.mid(offset, 4) == "xref";
}

QSize defaultReportViewSize()
{
    return QSize(kPrintedPageWidth96, kPrintedPageHeight96);
}

QString printCheckedPdf(const QString &path, const std::function<bool(QPrinter &)> &print)
{
    // The printer says nothing when the disk refuses its bytes, so the PDF is
    // printed to a temporary file, checked whole, and then copied to the target
    // by the writer that checks every byte (a failure keeps the earlier file).
    QTemporaryFile printed;
    if (!printed.open())
        return printed.errorString();
    printed.close();
    QPrinter printer(QPrinter::HighResolution);
    ConfigureReportPrinter(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printed.fileName());
    if (!print(printer) || printer.printerState() == QPrinter::Error)
        return QStringLiteral("cannot print to %1").arg(printed.fileName());
    if (!printed.open())
        return printed.errorString();
    const QByteArray pdf = printed.readAll();
    if (!isWholePdf(pdf))
        return QStringLiteral("the report was cut short in %1 (is the temporary folder full?)")
            .arg(QFileInfo(printed.fileName()).absolutePath());
    if (const FileResult w = writeFileChecked(path, pdf); !w)
        return w.detail();
    return {};
}

ReportPdfResult writeReportPdf(RecordStore &store, ReportMode mode, QSize viewSize, const QString &path)
{
    ReportPdfResult result;
    AnalysisFigures figures;
    std::unique_ptr<DataView> view = makeView(store, mode, figures);
    if (!view) {
        result.status = ReportPdfResult::Status::NotAvailable;
        result.error = QStringLiteral("no page of this mode can be painted");
        return result;
    }
    if (mode == ReportMode::Analysis && view->pageCount() == 0) {
        result.status = ReportPdfResult::Status::NotAvailable;
        result.error = QStringLiteral("the recording holds no reading to analyse");
        return result;
    }
    view->resize(viewSize);
    if (!holdsReadings(*view, mode)) {
        result.status = ReportPdfResult::Status::TooSmall;
        result.error = QStringLiteral("a view of %1x%2 holds no reading").arg(viewSize.width()).arg(viewSize.height());
        return result;
    }

    PrintResult pages;
    result.error = printCheckedPdf(path, [&](QPrinter &printer) {
        pages = PrintDataView(*view, printer);
        return pages.started;
    });
    if (!result.error.isEmpty())
        return result;
    result.status = ReportPdfResult::Status::Written;
    result.pages = pages.lastPage - pages.firstPage + 1;
    return result;
}

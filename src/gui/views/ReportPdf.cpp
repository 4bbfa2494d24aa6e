#include "views/ReportPdf.h"

#include "views/AnalysisFigures.h"
#include "views/AnalysisView.h"
#include "views/TableView.h"
#include "views/TrendView.h"
#include "views/ViewPrinting.h"

#include "model/RecordStore.h"

#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryFile>

#include <cstdio>
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

QSize defaultReportViewSize()
{
    return QSize(kPrintedPageWidth96, kPrintedPageHeight96);
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

    // Printed beside the target and moved over it at the end, so a failed
    // report never replaces a good one.
    const QFileInfo target(path);
    QTemporaryFile partial(target.absoluteFilePath() + QStringLiteral(".XXXXXX.part"));
    if (!partial.open()) {
        result.error = partial.errorString();
        return result;
    }
    partial.close();
    // A temporary file is private to its owner; a report is an ordinary file.
    partial.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                           QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);

    QPrinter printer(QPrinter::HighResolution);
    ConfigureReportPrinter(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(partial.fileName());
    const PrintResult printed = PrintDataView(*view, printer);
    if (!printed.started || printer.printerState() == QPrinter::Error) {
        result.error = QStringLiteral("cannot write %1").arg(partial.fileName());
        return result;
    }
    if (std::rename(QFile::encodeName(partial.fileName()).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        result.error = QStringLiteral("cannot replace %1").arg(path);
        return result;
    }
    partial.setAutoRemove(false);
    result.status = ReportPdfResult::Status::Written;
    result.pages = printed.lastPage - printed.firstPage + 1;
    return result;
}

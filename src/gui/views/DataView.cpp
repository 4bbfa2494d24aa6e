// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/DataView.h"

#include "views/Paging.h"
#include "views/PrintPreviewDialog.h"
#include "views/RollStepDialog.h"
#include "views/ViewPrinting.h"

#include "app/Prompts.h"
#include "model/RecordStore.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScreen>
#include <QWheelEvent>
#include <algorithm>

namespace
{

// Used when the window gave the view no prompts of its own.
class MessageBoxPrompts : public Prompts
{
public:
    explicit MessageBoxPrompts(QWidget *parent) : parent_(parent) {}
    void information(const QString &text) override { QMessageBox::information(parent_, title(), text); }
    void warning(const QString &text) override { QMessageBox::warning(parent_, title(), text); }
    Answer question(const QString &text) override
    {
        return QMessageBox::question(parent_, title(), text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok
                   ? Answer::Ok
                   : Answer::Cancel;
    }
    QString openFileName(const FileRequest & /*request*/) override { return {}; }
    QString saveFileName(const FileRequest & /*request*/) override { return {}; }

private:
    static QString title() { return QStringLiteral("Quellix"); }
    QWidget *parent_;
};

} // namespace

DataView::DataView(RecordStore &store, QWidget *parent) : QWidget(parent), store_(store) {}

DataView::~DataView() = default;

Prompts &DataView::prompts()
{
    if (prompts_)
        return *prompts_;
    static MessageBoxPrompts fallback(nullptr);
    return fallback;
}

void DataView::showPage(int index)
{
    position_ = std::max(index, 0);
    update();
    announcePage();
}

void DataView::announcePage()
{
    Q_EMIT pageChanged(position_, pageCount());
}

void DataView::pageUp()
{
    turnBack(rollStep_);
}

void DataView::pageDown()
{
    turnForward(rollStep_);
}

void DataView::firstPage()
{
    turnBack(position_);
}

void DataView::lastPage()
{
    turnForward(std::max(pageCount(), 1));
}

void DataView::turnBack(int pages)
{
    if (!turnsPages())
        return;
    position_ = PageUpPosition(position_, pages);
    pageTurned(false);
    update();
    announcePage();
}

void DataView::turnForward(int pages)
{
    if (!turnsPages())
        return;
    position_ = PageDownPosition(position_, pages, pageCount());
    pageTurned(true);
    update();
    Q_EMIT pageChanged(position_, forwardPageCount());
}

void DataView::keyPressEvent(QKeyEvent *event)
{
    if (!turnsPages()) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_PageUp:
        pageUp();
        break;
    case Qt::Key_PageDown:
        pageDown();
        break;
    case Qt::Key_Home:
        firstPage();
        break;
    case Qt::Key_End:
        lastPage();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void DataView::keepPageInRange()
{
    const int count = pageCount();
    if (count > 0 && position_ > count - 1)
        position_ = count - 1;
    if (count != lastAnnouncedCount_ && isVisible()) {
        lastAnnouncedCount_ = count;
        announcePage();
    }
}

void DataView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    announcePage();
}

void DataView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        update();
    QWidget::changeEvent(event);
}

int DataView::wheelPaging(QPoint angleDelta, Qt::ScrollPhase phase)
{
    // Touchpads open and close a scroll with empty events; those turn no page.
    if (phase == Qt::ScrollBegin || phase == Qt::ScrollEnd)
        return 0;
    const int dy = angleDelta.y();
    if (dy == 0)
        return angleDelta.x() == 0 ? 1 : 0; // an empty turn pages down; sideways turns nothing
    if ((dy > 0) != (wheelRest_ > 0))
        wheelRest_ = 0;
    wheelRest_ += dy;
    constexpr int kNotch = 120;
    if (wheelRest_ >= kNotch) {
        wheelRest_ = 0;
        return -1;
    }
    if (wheelRest_ <= -kNotch) {
        wheelRest_ = 0;
        return 1;
    }
    return 0;
}

void DataView::wheelEvent(QWheelEvent *event)
{
    const int paging = wheelPaging(event->angleDelta(), event->phase());
    if (paging < 0)
        pageUp();
    else if (paging > 0)
        pageDown();
    event->accept();
}

void DataView::editRollStep()
{
    const int pages = pageCount();
    RollStepDialog dialog(rollStep_, pages, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (auto refusal = RollStepLogic::Refusal(dialog.stepValue(), pages)) {
        prompts().information(*refusal);
        return;
    }
    rollStep_ = dialog.stepValue();
}

void DataView::print()
{
    QPrinter printer(QPrinter::HighResolution);
    ConfigureReportPrinter(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, std::max(pageCount(), 1));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int total = std::max(pageCount(), 1);
    QProgressDialog progress(this);
    progress.setWindowTitle(tr("Print"));
    progress.setCancelButtonText(tr("Cancel"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    const auto step = [&progress](int printed, int pages) {
        progress.setMaximum(pages);
        progress.setLabelText(tr("Printing page %1 of %2...").arg(printed + 1).arg(pages));
        progress.setValue(printed); // lets Cancel be pressed
        return !progress.wasCanceled();
    };
    if (!PrintDataView(*this, printer, AfterPrinting::ShowLastPage, total > 1 ? step : PrintProgress{}).started)
        prompts().warning(tr("The printer could not be started. Check that it is installed and ready."));
}

void DataView::printPreview()
{
    PrintPreviewDialog preview(*this, this);
    if (const QScreen *s = screen())
        preview.resize(s->availableGeometry().size() * 9 / 10);
    preview.exec();
    // Like paging through a preview page by page: the view stays on the page seen last.
    showPage(preview.navigation().page());
    if (preview.printRequested())
        print();
}

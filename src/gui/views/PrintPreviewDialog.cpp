// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/PrintPreviewDialog.h"

#include "views/DataView.h"
#include "views/PreviewSheet.h"

#include <QAction>
#include <QLabel>
#include <QScrollArea>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

PrintPreviewDialog::PrintPreviewDialog(DataView &view, QWidget *parent) : QDialog(parent), navigation_(view.pageCount())
{
    setWindowTitle(tr("Print Preview"));
    auto *toolbar = new QToolBar(this);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto add = [this, toolbar](const QString &text, QStyle::StandardPixmap icon, const QKeySequence &key,
                                     auto slot) {
        QAction *a = toolbar->addAction(style()->standardIcon(icon), text);
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QAction *print = add(tr("&Print..."), QStyle::SP_DialogSaveButton, QKeySequence::Print, [this] {
        printRequested_ = true;
        accept();
    });
    print->setToolTip(tr("Print"));
    toolbar->addSeparator();
    first_ = add(tr("First page"), QStyle::SP_MediaSkipBackward, QKeySequence(Qt::Key_Home), [this] {
        navigation_.first();
        updateSheet();
    });
    previous_ = add(tr("Previous page"), QStyle::SP_ArrowBack, QKeySequence(Qt::Key_PageUp), [this] {
        navigation_.previous();
        updateSheet();
    });
    pageLabel_ = new QLabel(this);
    pageLabel_->setContentsMargins(8, 0, 8, 0);
    toolbar->addWidget(pageLabel_);
    next_ = add(tr("Next page"), QStyle::SP_ArrowForward, QKeySequence(Qt::Key_PageDown), [this] {
        navigation_.next();
        updateSheet();
    });
    last_ = add(tr("Last page"), QStyle::SP_MediaSkipForward, QKeySequence(Qt::Key_End), [this] {
        navigation_.last();
        updateSheet();
    });
    toolbar->addSeparator();
    zoomIn_ = add(tr("Zoom in"), QStyle::SP_ArrowUp, QKeySequence::ZoomIn, [this] {
        navigation_.zoomIn(viewport());
        updateSheet();
    });
    zoomOut_ = add(tr("Zoom out"), QStyle::SP_ArrowDown, QKeySequence::ZoomOut, [this] {
        navigation_.zoomOut(viewport());
        updateSheet();
    });
    add(tr("Fit to window"), QStyle::SP_TitleBarNormalButton, QKeySequence(Qt::CTRL | Qt::Key_0), [this] {
        navigation_.fitWindow();
        updateSheet();
    });
    toolbar->addSeparator();
    add(tr("&Close"), QStyle::SP_DialogCloseButton, QKeySequence(), [this] { reject(); });

    sheet_ = new PreviewSheet(view);
    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setWidget(sheet_);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(scroll_, 1);
    resize(1000, 760);
    updateSheet();
}

QSize PrintPreviewDialog::viewport() const
{
    return scroll_->maximumViewportSize();
}

void PrintPreviewDialog::updateSheet()
{
    sheet_->showPage(navigation_.page(), navigation_.sheetSize(viewport()));
    pageLabel_->setText(tr("Page %1 of %2").arg(navigation_.page() + 1).arg(navigation_.pageCount()));
    first_->setEnabled(navigation_.canGoBack());
    previous_->setEnabled(navigation_.canGoBack());
    next_->setEnabled(navigation_.canGoForward());
    last_->setEnabled(navigation_.canGoForward());
    zoomIn_->setEnabled(navigation_.canZoomIn(viewport()));
    zoomOut_->setEnabled(navigation_.canZoomOut(viewport()));
}

void PrintPreviewDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (navigation_.fitsWindow())
        updateSheet();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/ExportProgress.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

ExportProgress::ExportProgress(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint), bar_(new QProgressBar(this)),
      cancel_(new QPushButton(tr("Cancel"), this))
{
    setWindowModality(Qt::ApplicationModal);
    bar_->setMinimumWidth(420);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    layout->addLayout(buttons);
    connect(cancel_, &QPushButton::clicked, this, &ExportProgress::reject);
}

void ExportProgress::begin(int total)
{
    cancelled_ = false;
    bar_->setRange(0, std::max(total, 1));
    bar_->setValue(0);
    adjustSize();
    if (QWidget *p = parentWidget())
        move(p->geometry().center() - rect().center());
    show();
    QCoreApplication::processEvents();
}

bool ExportProgress::advance(int done)
{
    bar_->setValue(std::min(done, bar_->maximum()));
    // The export runs on this thread; letting events through keeps the window
    // painted and the Cancel button alive. The window is modal, so nothing
    // else can change the recording meanwhile.
    QCoreApplication::processEvents();
    return !cancelled_;
}

void ExportProgress::end()
{
    hide();
}

void ExportProgress::reject()
{
    cancelled_ = true;
}

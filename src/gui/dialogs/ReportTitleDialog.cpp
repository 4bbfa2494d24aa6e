// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/ReportTitleDialog.h"

#include "widgets/OkCancelButtons.h"

#include "widgets/NoPasteLineEdit.h"

#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

ReportTitleDialog::ReportTitleDialog(const QString &title, Prompts &prompts, QWidget *parent)
    : QDialog(parent), logic_(prompts), title_(title)
{
    setObjectName(QStringLiteral("modifyTitle"));
    setWindowTitle(tr("Modify Title"));

    auto *label = new QLabel(tr("&Title"), this);
    edit_ = new NoPasteLineEdit(this);
    edit_->setText(title);
    edit_->setMinimumWidth(edit_->fontMetrics().averageCharWidth() * 64);
    edit_->installEventFilter(this);
    label->setBuddy(edit_);
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(edit_, 1);

    QDialogButtonBox *buttons = AddOkCancelButtons(*this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    edit_->setFocus();
    edit_->selectAll();
}

bool ReportTitleDialog::enforceLimit()
{
    const auto cut = logic_.check(edit_->text());
    if (!cut)
        return false;
    edit_->setText(*cut);
    edit_->selectAll();
    edit_->setFocus();
    return true;
}

bool ReportTitleDialog::eventFilter(QObject *watched, QEvent *event)
{
    // Focus leaving for another window (the message box itself, or another
    // program) is not the user moving on within the dialog.
    if (watched == edit_ && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason)
        // After the edit's own focus-out handling, which would drop the selection.
        QMetaObject::invokeMethod(
            this, [this] { enforceLimit(); }, Qt::QueuedConnection);
    return QDialog::eventFilter(watched, event);
}

void ReportTitleDialog::accept()
{
    // Enter accepts without leaving the edit. A longer title would make every
    // data file saved with it one that cannot be opened again, so it is cut
    // here too and the dialog stays open to show what was kept.
    if (enforceLimit())
        return;
    title_ = edit_->text();
    QDialog::accept();
}

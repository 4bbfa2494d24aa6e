// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/OtherIdDialog.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QFontDatabase>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

OtherIdDialog::OtherIdDialog(RecordStore &store, Prompts &prompts, QWidget *parent)
    : QDialog(parent), logic_(store, prompts)
{
    setWindowTitle(tr("Open other ID data"));
    list_ = new QListWidget(this);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSortingEnabled(false);
    // The lines are laid out in columns with spaces.
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list_->addItems(logic_.lines());
    list_->setMinimumWidth(list_->sizeHintForColumn(0) + 40);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("Done"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &OtherIdDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OtherIdDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &OtherIdDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

void OtherIdDialog::accept()
{
    const auto selected = list_->selectionModel()->selectedRows();
    const int row = selected.isEmpty() ? -1 : selected.first().row();
    chosenId_ = logic_.done(row);
    if (chosenId_ != 0)
        QDialog::accept();
}

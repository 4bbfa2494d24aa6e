// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeleteDataDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

DeleteDataDialog::DeleteDataDialog(const RecordStore &store, QWidget *parent) : QDialog(parent), choice_(store)
{
    setObjectName(QStringLiteral("deleteData"));
    setWindowTitle(tr("Delete Data"));
    idCombo_ = new QComboBox(this);
    idCombo_->addItems(choice_.idItems());
    idCombo_->setEnabled(choice_.idSelectable());
    typeCombo_ = new QComboBox(this);
    typeCombo_->addItems(DeleteChoice::typeItems());
    connect(idCombo_, &QComboBox::currentIndexChanged, this, [this](int index) {
        choice_.chooseId(index);
        sync();
    });
    connect(typeCombo_, &QComboBox::currentIndexChanged, this, [this](int index) {
        choice_.chooseType(index);
        sync();
    });

    auto *form = new QFormLayout;
    form->addRow(tr("ID :"), idCombo_);
    form->addRow(tr("Data Type :"), typeCombo_);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &DeleteDataDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DeleteDataDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void DeleteDataDialog::sync()
{
    const QSignalBlocker a(idCombo_);
    const QSignalBlocker b(typeCombo_);
    idCombo_->setCurrentIndex(choice_.idIndex());
    typeCombo_->setCurrentIndex(choice_.typeIndex());
}

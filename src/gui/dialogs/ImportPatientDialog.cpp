// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/ImportPatientDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

ImportPatientDialog::ImportPatientDialog(const QString &name, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Patient of the imported files"));
    auto *intro = new QLabel(tr("These files name no device ID. Their nights are archived for this patient:"), this);
    intro->setWordWrap(true);
    name_ = new QLineEdit(name, this);
    id_ = new QSpinBox(this);
    id_->setRange(1, 128);
    id_->setValue(1);
    auto *form = new QFormLayout;
    form->addRow(tr("Name:"), name_);
    form->addRow(tr("ID:"), id_);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

FileImport::Patient ImportPatientDialog::patient() const
{
    return {id_->value(), name_->text().trimmed()};
}

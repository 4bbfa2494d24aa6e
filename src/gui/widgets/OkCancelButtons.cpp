// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/OkCancelButtons.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

QDialogButtonBox *AddOkCancelButtons(QDialog &dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    // Labelled by the program's own translation, not only Qt's, which may be missing.
    buttons->button(QDialogButtonBox::Ok)->setText(QCoreApplication::translate("OkCancelButtons", "OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QCoreApplication::translate("OkCancelButtons", "Cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

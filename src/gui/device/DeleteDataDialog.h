// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DeleteChoice.h"

#include <QDialog>

class QComboBox;
class RecordStore;

// "Delete Data": which ID and which data type the device is to erase.
class DeleteDataDialog : public QDialog
{
    Q_OBJECT
public:
    explicit DeleteDataDialog(const RecordStore &store, QWidget *parent = nullptr);

    QComboBox *idCombo() const { return idCombo_; }
    QComboBox *typeCombo() const { return typeCombo_; }
    int chosenId() const { return choice_.id(); }
    int chosenType() const { return choice_.type(); }

private:
    void sync();

    DeleteChoice choice_;
    QComboBox *idCombo_ = nullptr;
    QComboBox *typeCombo_ = nullptr;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/FileImport.h"

#include <QDialog>

class QLineEdit;
class QSpinBox;

// The patient of the imported files that carry no device ID: a name and an ID.
class ImportPatientDialog : public QDialog
{
    Q_OBJECT
public:
    // name: the one a file gives, filled in.
    explicit ImportPatientDialog(const QString &name, QWidget *parent = nullptr);

    FileImport::Patient patient() const;
    QLineEdit *nameEdit() const { return name_; }
    QSpinBox *idBox() const { return id_; }

private:
    QLineEdit *name_ = nullptr;
    QSpinBox *id_ = nullptr;
};

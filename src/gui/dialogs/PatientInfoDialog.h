// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/PatientInfoLogic.h"

#include <QDialog>

#include <map>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Edit patient information": the details of the current ID, checked as they are
// typed; Save Info stores them, Delete Info blanks them, Cancel keeps them.
class PatientInfoDialog : public QDialog
{
    Q_OBJECT
public:
    // InMemory: the details of an archived night; Delete Info, which blanks the
    // ID's stored details, is not offered.
    PatientInfoDialog(RecordStore &store, Prompts &prompts, int unitSetup, QWidget *parent = nullptr,
                      PatientInfoLogic::Keep keep = PatientInfoLogic::Keep::InPatientStore);

    QLineEdit *edit(PatientField field) const { return edits_.at(field); }
    QLineEdit *idEdit() const { return id_; }
    QComboBox *genderBox() const { return gender_; }
    QLabel *heightUnitLabel() const { return heightUnit_; }
    QLabel *weightUnitLabel() const { return weightUnit_; }
    QPushButton *saveButton() const { return save_; }
    QPushButton *deleteButton() const { return delete_; }
    QPushButton *cancelButton() const { return cancel_; }

    // The fields as they stand.
    PatientInfoValues values() const;

public Q_SLOTS:
    void accept() override;
    void deleteInfo();

Q_SIGNALS:
    // Delete Info blanked the details while the dialog stays open.
    void detailsChanged();

private:
    QLineEdit *addEdit(PatientField field);
    void fill(const PatientInfoValues &v);
    void checkChange(PatientField field);

    PatientInfoLogic logic_;
    std::map<PatientField, QLineEdit *> edits_;
    QLineEdit *id_ = nullptr;
    QComboBox *gender_ = nullptr;
    QLabel *heightUnit_ = nullptr;
    QLabel *weightUnit_ = nullptr;
    QPushButton *save_ = nullptr;
    QPushButton *delete_ = nullptr;
    QPushButton *cancel_ = nullptr;
    bool correcting_ = false;
};

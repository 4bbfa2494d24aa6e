// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PatientRecord.h"

#include <QWidget>

#include <functional>
#include <vector>

class ArchiveAccess;
class NightFilterProxy;
class NightListModel;
class Prompts;
class RecordStore;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// File > Recordings...: every archived night, sortable and filtered by
// patient and date. Opening a night is left to the main window (nightChosen);
// removing, restoring and exporting go through ArchiveAccess.
class RecordingsWindow : public QWidget
{
    Q_OBJECT
public:
    RecordingsWindow(ArchiveAccess &access, Prompts &prompts, QWidget *parent = nullptr);

    // Reads the list again, keeping filter, sort and selection.
    void reload();

    QTableView *table() const { return table_; }
    NightListModel *model() const { return model_; }
    NightFilterProxy *proxy() const { return proxy_; }
    QLineEdit *patientFilter() const { return patientFilter_; }
    QDateEdit *fromDate() const { return from_; }
    QDateEdit *toDate() const { return to_; }
    QComboBox *formatChoice() const { return format_; }
    // Which nights are shown (the clinic server's or this computer's), how
    // many wait to be sent, and why changing them is off.
    QLabel *sourceLabel() const { return source_; }

    // The nights selected, in the order shown.
    std::vector<qint64> selectedNights() const;
    // How Export selected... asks for its folder; tests replace it.
    void setFolderChooser(std::function<QString()> chooser) { chooseFolder_ = std::move(chooser); }
    // How a night's details are edited: on a store whose currentPatient holds
    // them; true when they were saved. Tests replace the dialog.
    void setPatientEditor(std::function<bool(RecordStore &)> editor) { editPatient_ = std::move(editor); }

public Q_SLOTS:
    void openCurrent();
    void removeSelected();
    void undoRemove();
    void exportSelected();
    void editPatient();

Q_SIGNALS:
    void nightChosen(qint64 night);
    // Nights were removed or restored.
    void archiveChanged();
    // A night's patient details were changed in the archive.
    void nightPatientChanged(qint64 night, const PatientRecord &patient);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyDates();
    void retranslateUi();
    void updateButtons();
    void showServerState();

    ArchiveAccess &access_;
    Prompts &prompts_;
    NightListModel *model_ = nullptr;
    NightFilterProxy *proxy_ = nullptr;
    QTableView *table_ = nullptr;
    QLineEdit *patientFilter_ = nullptr;
    QDateEdit *from_ = nullptr;
    QDateEdit *to_ = nullptr;
    QComboBox *format_ = nullptr;
    QPushButton *open_ = nullptr;
    QPushButton *remove_ = nullptr;
    QPushButton *undo_ = nullptr;
    QPushButton *export_ = nullptr;
    QPushButton *patient_ = nullptr;
    QPushButton *close_ = nullptr;
    QLabel *patientLabel_ = nullptr;
    QLabel *fromLabel_ = nullptr;
    QLabel *toLabel_ = nullptr;
    QLabel *formatLabel_ = nullptr;
    QLabel *source_ = nullptr;
    bool readOnly_ = false;
    std::function<QString()> chooseFolder_;
    std::function<bool(RecordStore &)> editPatient_;
};

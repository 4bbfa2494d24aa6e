// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/DataView.h"
#include "views/OverviewChoice.h"

#include "archive/Overview.h"

#include <vector>

class ArchiveAccess;
class QComboBox;
class QDateEdit;
class QLabel;

// Mode > Overview: one patient's nights of the archive side by side over a
// period. The page holds the choice; OverviewPainter paints it, on screen and
// on paper. A click on a night's bar asks for that night (nightChosen).
class OverviewView : public DataView
{
    Q_OBJECT
public:
    // Reads the archive's listing at once; the choice starts as it was left last.
    OverviewView(RecordStore &store, ArchiveAccess &archive, QWidget *parent = nullptr);

    // One page while the patient has nights in the period.
    int pageCount() const override;
    // The printed page: report title and patient header above the charts.
    void renderPage(QPainter &painter, const QSize &size, int pageIndex) override;

    const OverviewData &data() const { return data_; }
    const std::vector<OverviewPatient> &patients() const { return patients_; }
    QComboBox *patientChoice() const { return patient_; }
    QComboBox *periodChoice() const { return period_; }
    QDateEdit *fromDate() const { return from_; }
    QDateEdit *toDate() const { return to_; }
    // The charts as the screen shows them; clicks on them open nights.
    QWidget *chart() const { return chart_; }
    // Shown instead of the charts when there is nothing to show, with why.
    QLabel *message() const { return message_; }
    // Why the archive could not be read; empty when it was.
    const QString &readError() const { return readError_; }

public Q_SLOTS:
    // Reads the archive's listing again, keeping the choice where it can.
    void reload();

Q_SIGNALS:
    void nightChosen(qint64 night);

protected:
    bool turnsPages() const override { return false; }
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void retranslateUi();
    void fillPatients();
    // Builds the data of the choice in the widgets, stores the choice, repaints.
    void applyChoice();
    OverviewPatient chosenPatient() const;

    ArchiveAccess &archive_;
    std::vector<NightInfo> nights_; // the whole listing, every patient
    std::vector<OverviewPatient> patients_;
    OverviewData data_;
    QString readError_;
    bool filling_ = false; // the widgets are being set up: no choice to apply yet
    QLabel *patientLabel_ = nullptr;
    QComboBox *patient_ = nullptr;
    QLabel *periodLabel_ = nullptr;
    QComboBox *period_ = nullptr;
    QLabel *fromLabel_ = nullptr;
    QDateEdit *from_ = nullptr;
    QLabel *toLabel_ = nullptr;
    QDateEdit *to_ = nullptr;
    QWidget *chart_ = nullptr;
    QLabel *message_ = nullptr;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/ReportTitleLogic.h"

#include <QDialog>

class QLineEdit;

// "Modify Title": the report title printed at the top of every page.
class ReportTitleDialog : public QDialog
{
    Q_OBJECT
public:
    ReportTitleDialog(const QString &title, Prompts &prompts, QWidget *parent = nullptr);

    QLineEdit *edit() const { return edit_; }
    // The title as accepted by OK.
    QString title() const { return title_; }

public Q_SLOTS:
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Cuts an over-long title back, with the message; true when it did.
    bool enforceLimit();

    ReportTitleLogic logic_;
    QLineEdit *edit_ = nullptr;
    QString title_;
};

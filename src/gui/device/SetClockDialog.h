// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/ClockInput.h"

#include <QDateTime>
#include <QDialog>

class Prompts;
class QDateEdit;
class QLineEdit;

// "Set Date And Time": the date to give the device clock and the hour, minute
// and second, each checked as it is typed.
class SetClockDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SetClockDialog(Prompts &prompts, QWidget *parent = nullptr);

    QDateEdit *dateEdit() const { return date_; }
    QLineEdit *edit(ClockInput::Field field) const;
    // The date and the three edits as they stand.
    QDateTime chosen() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *makeEdit(ClockInput::Field field, int value);
    void checkChange(ClockInput::Field field);

    Prompts &prompts_;
    QDateEdit *date_ = nullptr;
    QLineEdit *hour_ = nullptr;
    QLineEdit *minute_ = nullptr;
    QLineEdit *second_ = nullptr;
};

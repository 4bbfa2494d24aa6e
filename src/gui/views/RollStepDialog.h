// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/RollStepLogic.h"

#include <QDialog>

class QLineEdit;
class QToolButton;

// "Set Step": edits the number of pages one Page Up / Page Down moves. The
// arrows (buttons or the Up/Down keys) stay within 1 .. the page count.
class RollStepDialog : public QDialog
{
    Q_OBJECT
public:
    RollStepDialog(int rollStep, int pageCount, QWidget *parent = nullptr);

    int stepValue() const { return logic_.stepValue(); }
    QLineEdit *edit() const { return edit_; }
    QToolButton *upButton() const { return up_; }
    QToolButton *downButton() const { return down_; }

    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refill(const QString &text);
    void arrow(int delta);

    RollStepLogic logic_;
    QLineEdit *edit_ = nullptr;
    QToolButton *up_ = nullptr;
    QToolButton *down_ = nullptr;
    bool refilling_ = false;
};

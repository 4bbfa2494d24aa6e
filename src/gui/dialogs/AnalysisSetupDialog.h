// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/AnalysisSetupLogic.h"

#include <QDialog>

#include <array>

class NoPasteLineEdit;
class Prompts;
class QPushButton;
class QToolButton;

// "Analysis setup": the four high/low thresholds and the two falls that start
// an event. Entries are checked while typed and when an edit is left; OK
// checks the high/low pairs and stores all six values.
class AnalysisSetupDialog : public QDialog
{
    Q_OBJECT
public:
    using Row = AnalysisSetupLogic::Row;

    // Opens with the stored values.
    explicit AnalysisSetupDialog(Prompts &prompts, QWidget *parent = nullptr);

    NoPasteLineEdit *edit(Row row) const { return rows_[std::size_t(row)].edit; }
    QToolButton *upButton(Row row) const { return rows_[std::size_t(row)].up; }
    QToolButton *downButton(Row row) const { return rows_[std::size_t(row)].down; }
    QPushButton *okButton() const { return ok_; }
    const AnalysisSetupLogic &logic() const { return logic_; }

    // Checks, shows what was refused, stores and closes; it closes after a
    // refused pair too, with that pair's stored values kept.
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct RowWidgets {
        NoPasteLineEdit *edit = nullptr;
        QToolButton *up = nullptr;
        QToolButton *down = nullptr;
    };

    AnalysisSetupLogic::Texts texts() const;
    void react(const AnalysisSetupLogic::Reaction &reaction);
    void refill();
    void arrow(Row row, int delta);
    int rowOf(const QObject *edit) const;

    Prompts &prompts_;
    AnalysisSetupLogic logic_;
    std::array<RowWidgets, AnalysisSetupLogic::kRows> rows_;
    QPushButton *ok_ = nullptr;
    bool refilling_ = false;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QComboBox;

// "Language": picks the language of every text of the program, listed by the
// languages' own names.
class LanguageDialog : public QDialog
{
    Q_OBJECT
public:
    explicit LanguageDialog(int currentLanguageId, QWidget *parent = nullptr);

    QComboBox *list() const { return list_; }
    // The chosen language number after OK; -1 when none was selected.
    int chosenId() const { return chosenId_; }

public Q_SLOTS:
    void accept() override;

private:
    QComboBox *list_ = nullptr;
    int chosenId_ = 0;
};

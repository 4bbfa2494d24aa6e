// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/OtherIdChoice.h"

#include <QDialog>

class QListWidget;

// "Open other ID data": picks one downloaded ID as the current recording.
class OtherIdDialog : public QDialog
{
    Q_OBJECT
public:
    OtherIdDialog(RecordStore &store, Prompts &prompts, QWidget *parent = nullptr);

    QListWidget *list() const { return list_; }
    int chosenId() const { return chosenId_; }

public Q_SLOTS:
    void accept() override;

private:
    OtherIdChoice logic_;
    QListWidget *list_ = nullptr;
    int chosenId_ = 0;
};

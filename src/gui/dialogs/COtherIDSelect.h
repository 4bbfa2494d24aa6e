#pragma once

#include "dialogs/OtherIdSelect.h"

#include <QDialog>

class QListWidget;

// "Open other ID data": picks one downloaded ID as the current recording.
class COtherIDSelect : public QDialog {
    Q_OBJECT
public:
    COtherIDSelect(RecordStore &store, Prompts &prompts, QWidget *parent = nullptr);

    QListWidget *list() const { return list_; }
    int chosenId() const { return chosenId_; }

public Q_SLOTS:
    void accept() override;

private:
    OtherIdSelect logic_;
    QListWidget *list_ = nullptr;
    int chosenId_ = 0;
};

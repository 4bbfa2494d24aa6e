// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/ProgressSink.h"

#include <QDialog>

class QProgressBar;
class QPushButton;

// The export progress window (no caption): one bar that follows the readings
// written and a Cancel button that stops the export, leaving no file.
class ExportProgress : public QDialog, public ProgressSink
{
    Q_OBJECT
public:
    explicit ExportProgress(QWidget *parent = nullptr);

    // Shows the window centred on its parent with the bar at 0 of total.
    void begin(int total) override;
    // Moves the bar and lets the window answer; false once Cancel was chosen.
    bool advance(int done) override;
    void end() override;

    bool cancelled() const { return cancelled_; }
    QProgressBar *bar() const { return bar_; }
    QPushButton *cancelButton() const { return cancel_; }

public Q_SLOTS:
    // Cancel, Escape and closing the window all ask the export to stop.
    void reject() override;

private:
    QProgressBar *bar_;
    QPushButton *cancel_;
    bool cancelled_ = false;
};

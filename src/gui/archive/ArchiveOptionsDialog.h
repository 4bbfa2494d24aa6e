// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/BackgroundJob.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Options > Archive...: the nights on this computer only, or on this computer
// and the clinic's server, reached through a libpq connection string. Test
// connects off the window's thread. No password is ever stored: a string
// holding one is refused.
class ArchiveOptionsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ArchiveOptionsDialog(QWidget *parent = nullptr);
    // Waits for a test in hand.
    ~ArchiveOptionsDialog() override;

    QRadioButton *thisComputer() const { return thisComputer_; }
    QRadioButton *withServer() const { return withServer_; }
    QLineEdit *connection() const { return connection_; }
    QPushButton *testButton() const { return test_; }
    // What Test found, or why the choice cannot be stored.
    QLabel *outcome() const { return outcome_; }

    // Stores the choice; stays open, saying why, when it cannot be stored.
    void accept() override;

Q_SIGNALS:
    void testFinished();

private:
    void test();
    void updateState();

    QRadioButton *thisComputer_ = nullptr;
    QRadioButton *withServer_ = nullptr;
    QLineEdit *connection_ = nullptr;
    QPushButton *test_ = nullptr;
    QLabel *outcome_ = nullptr;
    BackgroundJob job_{this};
};

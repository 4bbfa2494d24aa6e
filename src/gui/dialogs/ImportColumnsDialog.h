// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/CsvImport.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// Places the columns of a CSV file whose header is not understood: the first
// rows, a choice per column (time, date, SpO2, pulse, ignore), the time
// pattern (the detected one filled in) and how many rows that reads. The
// choice is remembered for the file's header line and filled in again for the
// next file with the same one.
class ImportColumnsDialog : public QDialog
{
    Q_OBJECT
public:
    enum Role { Ignore, Time, Date, Spo2, Pulse };
    static constexpr int kPreviewRows = 20;

    explicit ImportColumnsDialog(QByteArray data, QWidget *parent = nullptr);

    CsvImport::Options options() const;
    // What the choice reads; the OK button waits for a reading.
    const ImportedNight &result() const { return result_; }

    QComboBox *roleBox(int column) const { return roles_.at(std::size_t(column)); }
    QLineEdit *pattern() const { return pattern_; }
    QLabel *count() const { return count_; }
    QPushButton *okButton() const { return ok_; }
    QTableWidget *table() const { return table_; }

    void accept() override;

private:
    void update();
    void fillIn(const CsvImport::Options &remembered);
    std::optional<CsvImport::Columns> columns() const;

    QByteArray data_;
    QString headerLine_;
    std::vector<QComboBox *> roles_;
    QTableWidget *table_ = nullptr;
    QLineEdit *pattern_ = nullptr;
    QLabel *count_ = nullptr;
    QPushButton *ok_ = nullptr;
    ImportedNight result_;
};

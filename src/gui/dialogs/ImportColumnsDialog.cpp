// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/ImportColumnsDialog.h"

#include "app/Settings.h"
#include "texts/ImportTexts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

ImportColumnsDialog::ImportColumnsDialog(QByteArray data, QWidget *parent) : QDialog(parent), data_(std::move(data))
{
    setWindowTitle(tr("Place the columns"));
    const CsvImport::Preview preview = CsvImport::preview(data_, kPreviewRows);
    // The first row holds the choices, the others the file's first rows.
    table_ = new QTableWidget(int(preview.rows.size()) + 1, preview.columns, this);
    table_->verticalHeader()->hide();
    for (int c = 0; c < preview.columns; ++c) {
        auto *box = new QComboBox(table_);
        box->addItem(tr("ignore"), Ignore);
        box->addItem(tr("time"), Time);
        box->addItem(tr("date"), Date);
        box->addItem(tr("SpO2"), Spo2);
        box->addItem(tr("pulse"), Pulse);
        table_->setCellWidget(0, c, box);
        roles_.push_back(box);
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            // A time column chosen: the detected pattern is the first guess.
            if (pattern_->text().isEmpty() && columns()) {
                CsvImport::Options guess;
                guess.columns = columns();
                const ImportedNight r = CsvImport::read(data_, guess);
                pattern_->setText(r.timeFormat);
            }
            update();
        });
    }
    for (int r = 0; r < int(preview.rows.size()); ++r)
        for (int c = 0; c < int(preview.rows[std::size_t(r)].size()); ++c)
            table_->setItem(r + 1, c, new QTableWidgetItem(preview.rows[std::size_t(r)][c]));

    pattern_ = new QLineEdit(this);
    connect(pattern_, &QLineEdit::textChanged, this, &ImportColumnsDialog::update);
    count_ = new QLabel(this);
    auto *form = new QFormLayout;
    form->addRow(tr("Date and time pattern:"), pattern_);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(form);
    layout->addWidget(count_);
    layout->addWidget(buttons);
    headerLine_ = CsvImport::headerLine(data_);
    if (const std::optional<CsvColumnChoice> remembered = Settings().csvColumns(headerLine_)) {
        CsvImport::Options o;
        if (ImportResult<CsvImport::Columns> c = CsvImport::parseColumns(remembered->columns))
            o.columns = c.value();
        o.timeFormat = remembered->timeFormat;
        fillIn(o);
    }
    update();
}

void ImportColumnsDialog::fillIn(const CsvImport::Options &remembered)
{
    if (!remembered.columns)
        return;
    const CsvImport::Columns &c = *remembered.columns;
    if (std::max({c.time, c.date, c.spo2, c.pulse}) >= int(roles_.size()))
        return; // another file with the same header line, but not of this layout
    pattern_->setText(remembered.timeFormat);
    const std::pair<int, Role> placed[] = {{c.time, Time}, {c.date, Date}, {c.spo2, Spo2}, {c.pulse, Pulse}};
    for (const auto &[column, role] : placed)
        if (column >= 0)
            roles_[std::size_t(column)]->setCurrentIndex(roles_[std::size_t(column)]->findData(role));
}

void ImportColumnsDialog::accept()
{
    const CsvImport::Options o = options();
    if (o.columns)
        Settings().setCsvColumns(headerLine_, {CsvImport::columnsText(*o.columns), o.timeFormat});
    QDialog::accept();
}

std::optional<CsvImport::Columns> ImportColumnsDialog::columns() const
{
    CsvImport::Columns c;
    for (int i = 0; i < int(roles_.size()); ++i) {
        switch (roles_[std::size_t(i)]->currentData().toInt()) {
        case Time:
            c.time = c.time < 0 ? i : c.time;
            break;
        case Date:
            c.date = c.date < 0 ? i : c.date;
            break;
        case Spo2:
            c.spo2 = c.spo2 < 0 ? i : c.spo2;
            break;
        case Pulse:
            c.pulse = c.pulse < 0 ? i : c.pulse;
            break;
        default:
            break;
        }
    }
    if (c.time < 0 || (c.spo2 < 0 && c.pulse < 0))
        return std::nullopt;
    return c;
}

CsvImport::Options ImportColumnsDialog::options() const
{
    CsvImport::Options o;
    o.columns = columns();
    o.timeFormat = pattern_->text().trimmed();
    return o;
}

void ImportColumnsDialog::update()
{
    result_ = ImportedNight{};
    if (!columns()) {
        count_->setText(tr("Choose the time column and the SpO2 or pulse column."));
        ok_->setEnabled(false);
        return;
    }
    result_ = CsvImport::read(data_, options());
    count_->setText(result_.ok || result_.read + result_.refused > 0 ? ImportTexts::summary(result_)
                                                                     : ImportTexts::error(result_));
    ok_->setEnabled(result_.ok);
}

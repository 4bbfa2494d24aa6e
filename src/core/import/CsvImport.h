// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/ImportedNight.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Readings from the CSV files of other oximeters and their apps: comma,
// semicolon or tab separated, UTF-8 (with or without BOM) or Latin-1, quoted
// fields, CR LF or LF. The header names the columns (time or date and time,
// SpO2, pulse) and the time format is told from the first rows; day or month
// first is decided from the whole file.
namespace CsvImport
{

// Column numbers from 0; -1 for a column the file does not have.
struct Columns {
    int time = -1; // date and time, or the time of day when date is given
    int date = -1;
    int spo2 = -1;
    int pulse = -1;
    friend bool operator==(const Columns &, const Columns &) = default;
};

struct Options {
    std::optional<Columns> columns; // instead of the header's names
    QString timeFormat;             // instead of the detected format (see TimePattern)
};

ImportedNight read(const QByteArray &data, const Options &options = {});

// The first rows of a file split into cells, for a person to place the columns.
struct Preview {
    std::vector<QStringList> rows;
    int columns = 0; // the widest row's
};
Preview preview(const QByteArray &data, int maxRows);

// "time=1,spo2=2,pulse=3" (columns counted from 1; date= for a separate
// date column) as Columns; nullopt with the reason when it is not one.
ImportResult<Columns> parseColumns(const QString &text);
// The same text for columns, for parseColumns() to read back.
QString columnsText(const Columns &columns);

// The file's first row that is not blank, its cells trimmed, in lower case and
// joined by commas: files of one layout give the same line whatever their
// separator or quoting.
QString headerLine(const QByteArray &data);

} // namespace CsvImport

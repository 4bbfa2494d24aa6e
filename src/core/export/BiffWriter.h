// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Builds the workbook stream of an Excel 97-2003 (BIFF8) file with one sheet:
// the global records, then the sheet's cells written one by one.
class BiffWriter
{
public:
    // Rows and columns one sheet can hold.
    static constexpr int kMaxRows = 65536;
    static constexpr int kMaxColumns = 256;

    // rows and columns: the sheet's used range (one past the last used).
    BiffWriter(int rows, int columns, int columnWidth);

    // Reserves room for about bytes more of cells.
    void reserve(qsizetype bytes) { data_.reserve(data_.size() + bytes); }

    void number(int row, int column, int value);
    void text(int row, int column, const QString &value);
    // 8-bit text (ASCII only), the common case for dates and times.
    void latin1(int row, int column, const char *value, int length);

    // Ends the sheet and returns the whole stream.
    QByteArray finish();

private:
    void record(quint16 type, const QByteArray &payload);
    void cellHead(quint16 type, quint16 length, int row, int column);

    QByteArray data_;
};

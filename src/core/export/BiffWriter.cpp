// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/BiffWriter.h"

#include "model/TextCut.h"

#include <QtEndian>

#include <algorithm>

namespace
{

enum Record : quint16 {
    Eof = 0x000A,
    CodePage = 0x0042,
    Window1 = 0x003D,
    Font = 0x0031,
    Xf = 0x00E0,
    Style = 0x0293,
    BoundSheet = 0x0085,
    Bof = 0x0809,
    Dimensions = 0x0200,
    ColInfo = 0x007D,
    Window2 = 0x023E,
    Label = 0x0204,
    Rk = 0x027E,
    Number = 0x0203,
};

// The one cell format after the 15 style formats every workbook must carry.
constexpr quint16 kCellXf = 15;
// A LABEL record holds at most 255 characters.
constexpr int kMaxLabel = 255;

void add16(QByteArray &b, quint16 v)
{
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
}

void add32(QByteArray &b, quint32 v)
{
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}

QByteArray bof(quint16 kind)
{
    QByteArray p;
    add16(p, 0x0600); // BIFF8
    add16(p, kind);
    add16(p, 0x0DBB); // build and year of the format's reference writer
    add16(p, 0x07CC);
    add32(p, 0);
    add32(p, 0x06);
    return p;
}

QByteArray xf(bool style, bool first)
{
    QByteArray p;
    add16(p, 0); // font 0
    add16(p, 0); // "General"
    add16(p, style ? 0xFFF5 : 0x0001);
    p.append(char(0x20)); // bottom aligned
    p.append(char(0));
    p.append(char(0));
    p.append(char(style && !first ? 0xF4 : 0));
    add32(p, 0);
    add32(p, 0);
    add16(p, 0x20C0); // default pattern colours
    return p;
}

} // namespace

BiffWriter::BiffWriter(int rows, int columns, int columnWidth)
{
    record(Bof, bof(0x0005));
    {
        QByteArray p;
        add16(p, 1200); // text is UTF-16
        record(CodePage, p);
    }
    {
        QByteArray p;
        for (quint16 v : {0, 0, 0x4000, 0x2000, 0x0038, 0, 0, 1, 0x0258})
            add16(p, v);
        record(Window1, p);
    }
    // Four fonts: index 4 is never used by the format, so 0..3 must exist.
    for (int i = 0; i < 4; ++i) {
        QByteArray p;
        add16(p, 200); // 10 pt
        add16(p, 0);
        add16(p, 0x7FFF);
        add16(p, 400);
        add16(p, 0);
        p.append(char(0));
        p.append(char(0));
        p.append(char(0));
        p.append(char(0));
        p.append(char(5));
        p.append(char(0));
        p.append("Arial", 5);
        record(Font, p);
    }
    for (int i = 0; i < 15; ++i)
        record(Xf, xf(true, i == 0));
    record(Xf, xf(false, false));
    {
        QByteArray p;
        add16(p, 0x8000); // built-in "Normal" on XF 0
        p.append(char(0));
        p.append(char(0xFF));
        record(Style, p);
    }
    const qsizetype sheetPosAt = data_.size() + 4;
    {
        QByteArray p;
        add32(p, 0); // patched below
        p.append(char(0));
        p.append(char(0));
        p.append(char(6));
        p.append(char(0));
        p.append("Sheet1", 6);
        record(BoundSheet, p);
    }
    record(Eof, {});
    qToLittleEndian(quint32(data_.size()), data_.data() + sheetPosAt);

    record(Bof, bof(0x0010));
    {
        QByteArray p;
        add32(p, 0);
        add32(p, quint32(std::clamp(rows, 0, kMaxRows)));
        add16(p, 0);
        add16(p, quint16(std::clamp(columns, 0, kMaxColumns)));
        add16(p, 0);
        record(Dimensions, p);
    }
    {
        // Width in 1/256 of a digit, padding included, as a spreadsheet stores
        // a column width of columnWidth characters.
        QByteArray p;
        add16(p, 0);
        add16(p, kMaxColumns - 1);
        add16(p, quint16(columnWidth * 256 + 182));
        add16(p, kCellXf);
        add16(p, 0);
        add16(p, 0);
        record(ColInfo, p);
    }
    {
        QByteArray p;
        add16(p, 0x06B6);
        add16(p, 0);
        add16(p, 0);
        add32(p, 0x40);
        add16(p, 0);
        add16(p, 0);
        add32(p, 0);
        record(Window2, p);
    }
}

void BiffWriter::record(quint16 type, const QByteArray &payload)
{
    add16(data_, type);
    add16(data_, quint16(payload.size()));
    data_.append(payload);
}

void BiffWriter::cellHead(quint16 type, quint16 length, int row, int column)
{
    char c[10];
    qToLittleEndian(type, c);
    qToLittleEndian(length, c + 2);
    qToLittleEndian(quint16(row), c + 4);
    qToLittleEndian(quint16(column), c + 6);
    qToLittleEndian(kCellXf, c + 8);
    data_.append(c, 10);
}

void BiffWriter::number(int row, int column, int value)
{
    // RK: a 30-bit integer shifted left by two, flagged as an integer.
    if (value >= -(1 << 29) && value < (1 << 29)) {
        cellHead(Rk, 10, row, column);
        add32(data_, (quint32(value) << 2) | 0x2);
        return;
    }
    cellHead(Number, 14, row, column);
    char c[8];
    qToLittleEndian(double(value), c);
    data_.append(c, 8);
}

void BiffWriter::latin1(int row, int column, const char *value, int length)
{
    length = std::min(length, kMaxLabel);
    cellHead(Label, quint16(6 + 3 + length), row, column);
    add16(data_, quint16(length));
    data_.append(char(0)); // one byte per character
    data_.append(value, length);
}

void BiffWriter::text(int row, int column, const QString &value)
{
    const QString v = cutText(value, kMaxLabel);
    const bool narrow = std::all_of(v.begin(), v.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (narrow) {
        const QByteArray bytes = v.toLatin1();
        latin1(row, column, bytes.constData(), int(bytes.size()));
        return;
    }
    cellHead(Label, quint16(6 + 3 + 2 * v.size()), row, column);
    add16(data_, quint16(v.size()));
    data_.append(char(1)); // two bytes per character
    for (QChar c : v)
        add16(data_, c.unicode());
}

QByteArray BiffWriter::finish()
{
    record(Eof, {});
    return std::move(data_);
}

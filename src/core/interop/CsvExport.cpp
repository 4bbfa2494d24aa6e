// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/CsvExport.h"

namespace CsvExport
{

namespace
{

// value in decimal, zero-padded to at least minWidth digits (values below 10000).
char *putDigits(char *out, unsigned value, int minWidth = 1)
{
    int width = value >= 1000 ? 4 : value >= 100 ? 3 : value >= 10 ? 2 : 1;
    width = width > minWidth ? width : minWidth;
    for (int i = width - 1; i >= 0; --i) {
        out[i] = char('0' + value % 10);
        value /= 10;
    }
    return out + width;
}

} // namespace

QByteArray encode(const SampleRecord *samples, int count)
{
    static constexpr char kHeader[] = "time,spo2,pulse_rate\r\n";
    // "2026-03-14T22:30:00,100,250\r\n" is the usual longest row; a damaged
    // date may widen its fields to three digits.
    constexpr int kLongestRow = 36;
    QByteArray out;
    out.reserve(qsizetype(sizeof kHeader) + qsizetype(count > 0 ? count : 0) * 28);
    out.append(kHeader);
    char row[kLongestRow];
    for (int i = 0; i < count; ++i) {
        const SampleRecord &s = samples[i];
        char *p = putDigits(row, 2000u + s.year, 4);
        *p++ = '-';
        p = putDigits(p, s.month, 2);
        *p++ = '-';
        p = putDigits(p, s.day, 2);
        *p++ = 'T';
        p = putDigits(p, s.hour, 2);
        *p++ = ':';
        p = putDigits(p, s.minute, 2);
        *p++ = ':';
        p = putDigits(p, s.second, 2);
        *p++ = ',';
        p = putDigits(p, s.spo2);
        *p++ = ',';
        p = putDigits(p, s.pulseRate);
        *p++ = '\r';
        *p++ = '\n';
        out.append(row, p - row);
    }
    return out;
}

} // namespace CsvExport

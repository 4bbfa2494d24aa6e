// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Decimal digits written straight into a buffer: the exports format millions of
// small numbers, and a printf per field would dominate their time.
namespace Digits
{

// Writes v with at least width digits, zero-padded (as "%02d", "%03d").
inline char *padded(char *out, unsigned v, int width)
{
    char tmp[10];
    int n = 0;
    do {
        tmp[n++] = char('0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (n < width)
        tmp[n++] = '0';
    while (n > 0)
        *out++ = tmp[--n];
    return out;
}

// Writes v without leading zeros; returns the position after it.
inline char *plain(char *out, unsigned v)
{
    return padded(out, v, 1);
}

} // namespace Digits

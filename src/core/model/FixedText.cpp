// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/FixedText.h"

#include <charconv>

QString FixedText(double value, int decimals)
{
    char text[400]; // room for the widest double in fixed notation
    const auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return QString::fromLatin1(text, int(r.ptr - text));
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The length of text cut to at most limit UTF-16 units without splitting a
// surrogate pair: a character outside the BMP either fits whole or goes whole.
inline qsizetype cutLength(const QString &text, qsizetype limit)
{
    if (text.size() <= limit)
        return text.size();
    if (limit > 0 && text.at(limit - 1).isHighSurrogate() && text.at(limit).isLowSurrogate())
        return limit - 1;
    return limit;
}

inline QString cutText(const QString &text, qsizetype limit)
{
    return text.left(cutLength(text, limit));
}

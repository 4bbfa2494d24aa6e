// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

// 8-bit text in files written by the Windows program (titles without the wide
// marker) is in the code page of the writer's system, which matches the
// program's language, never in this system's locale.
namespace EightBitText
{

enum class CodePage { Windows1252, Gbk };

// 936 (GBK) for simplified Chinese, 1252 for English, French and any other.
CodePage codePageFor(int languageId);

// The code page of the language the program runs in, from the "Language" setting.
CodePage programCodePage();

// Every byte becomes a character, none U+FFFD: the five bytes 1252 leaves
// undefined map to U+0081, U+008D, U+008F, U+0090, U+009D as Windows maps
// them, and a byte that starts no GBK character keeps its own value.
QString decode(QByteArrayView bytes, CodePage page);

} // namespace EightBitText

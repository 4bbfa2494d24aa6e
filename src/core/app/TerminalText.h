// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// Text read from a file or a device, made safe to print on a terminal or to a
// script: control characters (C0, DEL, C1) are written as escapes, so a title
// can neither drive the terminal nor start a line of its own, and the backslash
// is doubled so every escape reads back one way. No NUL is ever printed.
//   "\n" -> \n, ESC -> \x1b, U+009B -> \u009b, "\" -> \\.
QString EscapeControls(QStringView text);

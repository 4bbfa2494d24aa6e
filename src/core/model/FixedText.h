// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A number in fixed notation with the given decimals, rounded as C's printf
// rounds "%.Nf": an exact tie goes to the even digit (340.5 gives "340",
// 0.25 with one decimal "0.2"), where QString::asprintf rounds it up. The
// point is always '.', whatever the locale.
QString FixedText(double value, int decimals);

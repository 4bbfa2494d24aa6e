// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

// A rectangle by its four edges, right and bottom excluded, so the layout
// arithmetic reads the same as the rules it follows (QRect's right() is
// one less than left + width).
struct Edges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    QRect rect() const { return QRect(left, top, right - left, bottom - top); }

    friend bool operator==(const Edges &, const Edges &) = default;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/Edges.h"

#include <QColor>
#include <QPen>
#include <QString>

class QPainter;
class TextLayoutCache;

// Small drawing steps shared by the page pictures. Lines follow the usual
// raster rule of leaving out their end pixel, so a line from x to x + 4 is
// four pixels long.
namespace paint
{

// A pen one picture pixel wide: exact single pixels at 1:1, and stretched
// with the picture when the painter scales it onto paper.
QPen LinePen(const QPainter &p, const QColor &colour, int width = 1);

void HLine(QPainter &p, int x1, int x2, int y);
// A painter that keeps the picture's own pixels: plain fills then give exactly
// what the one-pixel pens give.
bool Unscaled(const QPainter &p);
// The pixels of HLine in the pen's colour. Unscaled and left to right, it is
// filled as a rect one pixel high: a raster page strokes a long horizontal
// line many times slower.
void Rule(QPainter &p, int x1, int x2, int y);
void VLine(QPainter &p, int x, int y1, int y2);
// Highlight on the top and left, shadow on the bottom and right.
void RaisedEdge(QPainter &p, const Edges &r);
// One line of text, vertically centred in the box; clipped to it. With a
// cache, the text's layout is kept for the next paint.
void TextLine(QPainter &p, const Edges &box, const QString &text, int horizontal = 0, TextLayoutCache *cache = nullptr);
// Text from the top-left corner of the box, wrapped at word breaks.
void TextWrapped(QPainter &p, const Edges &box, const QString &text, TextLayoutCache *cache = nullptr);
// Horizontal advance of text in the painter's font.
int TextWidth(QPainter &p, const QString &text);

} // namespace paint

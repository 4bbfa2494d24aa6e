// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/PaintHelpers.h"

#include "views/TextLayoutCache.h"

#include <QFontMetrics>
#include <QPainter>

namespace paint
{

QPen LinePen(const QPainter &p, const QColor &colour, int width)
{
    QPen pen(colour, width);
    // A transform that only moves keeps the picture's own pixels.
    pen.setCosmetic(width == 1 && p.worldTransform().type() <= QTransform::TxTranslate);
    return pen;
}

void HLine(QPainter &p, int x1, int x2, int y)
{
    if (x2 == x1)
        return;
    p.drawLine(x1, y, x2 > x1 ? x2 - 1 : x2 + 1, y);
}

bool Unscaled(const QPainter &p)
{
    return p.worldTransform().type() <= QTransform::TxTranslate && !p.testRenderHint(QPainter::Antialiasing);
}

void Rule(QPainter &p, int x1, int x2, int y)
{
    if (x2 > x1 && Unscaled(p))
        p.fillRect(QRect(x1, y, x2 - x1, 1), p.pen().color());
    else
        HLine(p, x1, x2, y);
}

void VLine(QPainter &p, int x, int y1, int y2)
{
    if (y2 == y1)
        return;
    p.drawLine(x, y1, x, y2 > y1 ? y2 - 1 : y2 + 1);
}

void RaisedEdge(QPainter &p, const Edges &r)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.save();
    p.setPen(LinePen(p, QColor(255, 255, 255)));
    HLine(p, r.left, r.right, r.top);
    VLine(p, r.left, r.top, r.bottom);
    p.setPen(LinePen(p, QColor(160, 160, 160)));
    HLine(p, r.left, r.right, r.bottom - 1);
    VLine(p, r.right - 1, r.top, r.bottom);
    p.restore();
}

namespace
{

void BoxText(QPainter &p, const Edges &box, int flags, const QString &text, TextLayoutCache *cache)
{
    if (!text.isEmpty() && box.width() > 0 && box.height() > 0)
        DrawText(p, box.rect(), flags, text, cache);
}

} // namespace

void TextLine(QPainter &p, const Edges &box, const QString &text, int horizontal, TextLayoutCache *cache)
{
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine | (horizontal == 0 ? Qt::AlignLeft : Qt::AlignHCenter);
    BoxText(p, box, flags, text, cache);
}

void TextWrapped(QPainter &p, const Edges &box, const QString &text, TextLayoutCache *cache)
{
    BoxText(p, box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text, cache);
}

int TextWidth(QPainter &p, const QString &text)
{
    return p.fontMetrics().horizontalAdvance(text);
}

} // namespace paint

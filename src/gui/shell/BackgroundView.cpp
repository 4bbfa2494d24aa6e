// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/BackgroundView.h"

#include <QPainter>

BackgroundView::BackgroundView(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(false);
}

void BackgroundView::setBackgroundColour(const QColor &colour)
{
    colour_ = colour;
    update();
}

void BackgroundView::setBitmap(const QPixmap &bitmap)
{
    setUpdatesEnabled(false);
    bitmap_ = bitmap;
    setUpdatesEnabled(true);
    update();
}

QPixmap BackgroundView::defaultBitmap()
{
    // A quiet slate tile with a faint diagonal weave.
    QPixmap tile(32, 32);
    tile.fill(QColor(92, 100, 112));
    QPainter p(&tile);
    p.setPen(QColor(100, 108, 120));
    for (int i = -32; i < 32; i += 8)
        p.drawLine(i, 0, i + 32, 32);
    return tile;
}

void BackgroundView::paintEvent(QPaintEvent * /*event*/)
{
    QPainter p(this);
    if (colour_.isValid()) {
        p.fillRect(rect(), colour_);
        return;
    }
    if (bitmap_.isNull()) {
        p.fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
    p.drawTiledPixmap(rect(), bitmap_);
    QFont f = font();
    f.setPointSize(48);
    f.setBold(true);
    p.setFont(f);
    p.setPen(textColour());
    p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("Quellix"));
}

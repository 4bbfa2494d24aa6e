#include "views/CQX740TrendView.h"

#include <QPainter>

CQX740TrendView::CQX740TrendView(RecordStore &store, QWidget *parent) : DataView(store, parent) {}

void CQX740TrendView::renderPage(QPainter &painter, const QSize &size, int)
{
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, QStringLiteral("Trend"));
}

void CQX740TrendView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    renderPage(p, size(), 0);
}

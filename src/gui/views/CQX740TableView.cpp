#include "views/CQX740TableView.h"

#include <QPainter>

CQX740TableView::CQX740TableView(RecordStore &store, QWidget *parent) : DataView(store, parent) {}

void CQX740TableView::renderPage(QPainter &painter, const QSize &size, int)
{
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, QStringLiteral("Table"));
}

void CQX740TableView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    renderPage(p, size(), 0);
}

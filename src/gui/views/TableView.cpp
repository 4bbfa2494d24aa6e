// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/TableView.h"

#include "views/TablePainter.h"

#include "model/RecordStore.h"

#include <QPainter>

TableView::TableView(RecordStore &store, QWidget *parent) : DataView(store, parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
}

TableLayout TableView::layout() const
{
    return LayoutTablePage(size(), fonts_);
}

int TableView::pageCount() const
{
    const int count = TablePageCount(store().currentSampleCount(), layout());
    if (count >= 0)
        pageCount_ = count;
    return pageCount_;
}

void TableView::renderPage(QPainter &painter, const QSize &size, int pageIndex)
{
    const RecordStore &s = store();
    TablePicture picture;
    picture.samples = s.currentSamples.data();
    picture.sampleCount = s.currentSampleCount();
    picture.viewPosition = pageIndex;
    picture.header = CurrentHeaderContent(s);
    PaintTablePage(painter, size, picture, fonts_);
}

void TableView::paintEvent(QPaintEvent * /*event*/)
{
    QPainter p(this);
    renderPage(p, size(), position());
}

void TableView::resizeEvent(QResizeEvent *event)
{
    DataView::resizeEvent(event);
    keepPageInRange();
}

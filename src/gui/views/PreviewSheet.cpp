// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/PreviewSheet.h"

#include "views/DataView.h"
#include "views/PreviewNavigation.h"
#include "views/ViewPrinting.h"

#include <QPainter>

PreviewSheet::PreviewSheet(DataView &view, QWidget *parent) : QWidget(parent), view_(view), pictureSize_(view.size())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewSheet::showPage(int page, QSize sheetSize)
{
    page_ = page;
    setFixedSize(sheetSize);
    update();
}

const QImage &PreviewSheet::pageImage()
{
    if (cachedPage_ == page_ && cache_.size() == size())
        return cache_;
    // Drop the old picture first: at most one page is held at any time.
    cache_ = QImage();
    cache_ = QImage(size(), QImage::Format_RGB32);
    cache_.fill(Qt::white);
    QPainter painter(&cache_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double scale = width() / PreviewNavigation::paperSize96().width();
    painter.scale(scale, scale);
    PaintPrintedPage(painter, view_, pictureSize_, page_, 96);
    cachedPage_ = page_;
    return cache_;
}

void PreviewSheet::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.drawImage(0, 0, pageImage());
    painter.setPen(Qt::darkGray);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

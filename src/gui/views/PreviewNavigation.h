// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

// Where a print preview stands: the page shown and the zoom. The page is always
// inside the recording's pages; the zoom either fits the sheet to the window or
// is one of a few fixed percentages of the paper's real size.
class PreviewNavigation
{
public:
    explicit PreviewNavigation(int pageCount, int page = 0);

    int page() const { return page_; }
    int pageCount() const { return pageCount_; }
    bool canGoBack() const { return page_ > 0; }
    bool canGoForward() const { return page_ < pageCount_ - 1; }

    void goTo(int page);
    void first() { goTo(0); }
    void previous() { goTo(page_ - 1); }
    void next() { goTo(page_ + 1); }
    void last() { goTo(pageCount_ - 1); }

    bool fitsWindow() const { return fit_; }
    // The zoom in percent of the paper's real size, for a window of viewport.
    int zoomPercent(QSize viewport) const;
    bool canZoomIn(QSize viewport) const;
    bool canZoomOut(QSize viewport) const;
    void zoomIn(QSize viewport);
    void zoomOut(QSize viewport);
    void fitWindow() { fit_ = true; }

    // The sheet in pixels for a window of viewport, never below 1 x 1.
    QSize sheetSize(QSize viewport) const;

    // A4 landscape at 96 pixels per inch, the size of 100 %.
    static QSizeF paperSize96();

    static constexpr int kMinPercent = 10;
    static constexpr int kMaxPercent = 200;

private:
    int fitPercent(QSize viewport) const;

    int pageCount_;
    int page_ = 0;
    bool fit_ = true;
    int percent_ = 100;
};

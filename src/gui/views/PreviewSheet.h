// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

class DataView;

// One printed page as paper on screen. Only the page shown is drawn, into a
// single cached image, so the memory a preview takes does not grow with the
// number of pages.
class PreviewSheet : public QWidget
{
    Q_OBJECT
public:
    explicit PreviewSheet(DataView &view, QWidget *parent = nullptr);

    void showPage(int page, QSize sheetSize);
    int page() const { return page_; }
    // The picture of the shown page at the sheet's size (drawn when needed).
    const QImage &pageImage();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DataView &view_;
    QSize pictureSize_; // the view's window size when the preview opened
    int page_ = 0;
    QImage cache_;
    int cachedPage_ = -1;
};

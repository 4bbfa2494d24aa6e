// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/PreviewNavigation.h"

#include <QDialog>

class DataView;
class PreviewSheet;
class QAction;
class QLabel;
class QScrollArea;

// The "Print Preview" window: one printed page at a time, with paging, zoom and
// printing. Pages are drawn only when they are shown.
class PrintPreviewDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PrintPreviewDialog(DataView &view, QWidget *parent = nullptr);

    PreviewNavigation &navigation() { return navigation_; }
    PreviewSheet &sheet() { return *sheet_; }
    // True when the dialog was closed by its Print button.
    bool printRequested() const { return printRequested_; }

public Q_SLOTS:
    // Applies the navigation's page and zoom to the sheet and the buttons.
    void updateSheet();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QSize viewport() const;

    PreviewNavigation navigation_;
    PreviewSheet *sheet_ = nullptr;
    QScrollArea *scroll_ = nullptr;
    QLabel *pageLabel_ = nullptr;
    QAction *first_ = nullptr;
    QAction *previous_ = nullptr;
    QAction *next_ = nullptr;
    QAction *last_ = nullptr;
    QAction *zoomIn_ = nullptr;
    QAction *zoomOut_ = nullptr;
    bool printRequested_ = false;
};

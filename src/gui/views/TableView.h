// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/DataView.h"
#include "views/TableGeometry.h"
#include "views/ViewFonts.h"

// The current recording as numbered rows (item, date, time, SpO2, pulse rate)
// in two side-by-side blocks per page under the table page header.
class TableView : public DataView
{
    Q_OBJECT
public:
    explicit TableView(RecordStore &store, QWidget *parent = nullptr);

    // Pages at the window's current size. A window too low for one reading row
    // keeps the count it had before.
    int pageCount() const override;
    void renderPage(QPainter &painter, const QSize &size, int pageIndex) override;

    TableLayout layout() const;
    const TableFonts &fonts() const { return fonts_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    TableFonts fonts_;
    mutable int pageCount_ = 0;
};

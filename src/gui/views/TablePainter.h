// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/ReportHeader.h"
#include "views/TableGeometry.h"
#include "views/ViewFonts.h"

#include "model/SampleRecord.h"

#include <QSize>

class QPainter;

struct TablePicture {
    const SampleRecord *samples = nullptr;
    int sampleCount = 0;
    int viewPosition = 0;
    ReportHeaderContent header;
};

// The table layout of a client of this size (the header height depends on the fonts).
TableLayout LayoutTablePage(QSize size, const TableFonts &fonts);

// Paints one table page: background, header, grid with headings, cells.
void PaintTablePage(QPainter &p, QSize size, const TablePicture &picture, const TableFonts &fonts);

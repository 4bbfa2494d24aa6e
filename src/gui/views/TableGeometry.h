// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/Edges.h"

// The table of readings below the table page header: two side-by-side blocks
// of five columns, rows 22 pixels high. Row 0 stays empty, row 1 holds the
// headings, the readings fill rows 2 .. rows - 1 of each block.
struct TableLayout {
    static constexpr int kRowHeight = 22;

    Edges table;
    int rows = 0;
    int halfWidth = 0;
    int columnWidth = 0;

    // Readings one page shows; 0 when there is no room for a reading row.
    int itemsPerPage() const { return rows > 2 ? 2 * rows - 4 : 0; }
    int itemsPerBlock() const { return rows > 2 ? rows - 2 : 0; }
};

// client is the view's client rectangle, headerBottom where the header ends.
TableLayout LayoutTable(const Edges &client, int headerBottom);

// Pages for count readings, or -1 when the table has no room for readings
// (the caller keeps the count it had).
int TablePageCount(int sampleCount, const TableLayout &layout);

// The 1-based item number shown in row j (2 .. rows - 1) of block b (0, 1) on
// page viewPosition; item t is reading t - 1.
int TableItemNumber(const TableLayout &layout, int viewPosition, int block, int row);

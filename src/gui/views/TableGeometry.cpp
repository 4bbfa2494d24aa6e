// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/TableGeometry.h"

TableLayout LayoutTable(const Edges &client, int headerBottom)
{
    TableLayout l;
    l.table = {client.left + 10, headerBottom, client.right - 10, client.bottom};
    l.rows = l.table.height() > 0 ? l.table.height() / TableLayout::kRowHeight : 0;
    l.halfWidth = l.table.width() > 0 ? l.table.width() / 2 : 0;
    l.columnWidth = l.halfWidth / 5;
    return l;
}

int TablePageCount(int sampleCount, const TableLayout &layout)
{
    const int perPage = layout.itemsPerPage();
    if (perPage <= 0)
        return -1;
    return sampleCount / perPage + (sampleCount % perPage ? 1 : 0);
}

int TableItemNumber(const TableLayout &layout, int viewPosition, int block, int row)
{
    return (block + 2 * viewPosition) * (layout.rows - 2) + row - 1;
}

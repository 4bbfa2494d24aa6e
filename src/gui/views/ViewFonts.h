// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The fonts of the report pictures. Heights are cell heights in pixels (ascent
// plus descent), the measure the layouts were made with; "Arial" falls back to
// a metric-compatible face where it is missing.
QFont ViewFont(int cellHeight, bool bold, bool italic = false);

struct TrendFonts {
    QFont title = ViewFont(25, true, true);
    QFont label = ViewFont(19, true);
    QFont value = ViewFont(18, false);
    QFont small = ViewFont(13, false);
};

struct TableFonts {
    QFont title = ViewFont(25, true, true);    // 1: title of both page headers
    QFont heading = ViewFont(18, true);        // 2: column headings, header labels
    QFont value = ViewFont(18, false);         // 3: header values
    QFont cell = ViewFont(16, false);          // 4: table cells
    QFont analysisLabel = ViewFont(14, true);  // 5: analysis header labels and report
    QFont analysisValue = ViewFont(13, false); // 6: analysis header values and report
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/Edges.h"
#include "views/ReportHeader.h"
#include "views/ViewFonts.h"

#include "app/FileError.h"
#include "archive/Overview.h"

#include <QColor>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <array>
#include <optional>
#include <utility>

class QPainter;

// Colours of a night's bar, and of a short night's (listed, left out of the means).
inline const QColor kOverviewBarColour(70, 110, 200);
inline const QColor kOverviewShortColour(175, 175, 175);

struct OverviewPaintOptions {
    bool forPrint = false;
    QString title; // report title + patient header when printing
    // Patient details for the printed header; the name defaults to the
    // overview's patient text, the dates to its period.
    ReportHeaderContent header;
};

// Where everything of the page lies; painting, hit tests and tests share it.
struct OverviewLayout {
    static constexpr int kTableRows = kOverviewFigures + 2;    // headings, figures, nights
    static constexpr int kTableColumns = kOverviewColumns + 1; // labels, columns

    int headerBottom = 0;                       // the printed report header ends here (0 on screen)
    Edges heading;                              // patient and period line on screen
    std::array<Edges, kOverviewFigures> labels; // figure name and scale, left of each chart
    std::array<Edges, kOverviewFigures> charts; // the plotting areas
    Edges axis;                                 // date labels under the last chart
    std::array<int, kTableColumns + 1> columnX{};
    std::array<int, kTableRows + 1> rowY{};
    Edges note; // how many short nights were left out

    QDate firstDay; // the date axis: firstDay and the days after it
    int days = 0;
    double dayWidth = 0;

    Edges cell(int row, int column) const;
    // The pixel columns [first, second) of the night's bar; at least one pixel.
    std::pair<int, int> barSpan(const OverviewNight &night) const;
};

OverviewLayout layoutOverview(const QSizeF &size, const OverviewData &data, bool forPrint,
                              const TableFonts &fonts = {});

// The text of a table cell: row 0 the column headings, rows 1..kOverviewFigures
// the figures in enum order, the last row the nights counted; column 0 the row
// names, then the columns in enum order.
QString overviewCellText(const OverviewData &data, int row, int column);
QString overviewFigureName(OverviewFigure figure);
// The line under the table; empty when no night was left out.
QString overviewShortNote(const OverviewData &data);

void paintOverview(QPainter &painter, const QSizeF &size, const OverviewData &data,
                   const OverviewPaintOptions &options);
// The night whose bar/point lies under pos, for clicks on the screen page.
std::optional<qint64> overviewNightAt(const QSizeF &size, const OverviewData &data, QPointF pos);
// One A4-landscape page per patient and period (report title and patient header at the top).
FileResult printOverviewPdf(const QString &path, const OverviewData &data, const OverviewPaintOptions &options);

// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/TablePainter.h"

#include "views/PaintHelpers.h"

#include "app/Texts.h"

#include <QPainter>
#include <QRect>

#include <vector>

namespace
{

using namespace paint;

const QColor kBackground(202, 200, 159);
const QColor kGrid(191, 189, 140);

void PaintGrid(QPainter &p, const TableLayout &l, const TableFonts &fonts)
{
    const int rh = TableLayout::kRowHeight;
    const int cw = l.columnWidth;
    std::vector<QRect> frames;
    std::vector<QLine> lines;
    for (int b = 0; b < 2; ++b) {
        const int x0 = l.table.left + b * l.halfWidth;
        for (int r = 1; r < l.rows; ++r) {
            const int y = l.table.top + rh * r;
            for (int c = 0; c < 5; ++c)
                frames.emplace_back(x0 + c * cw, y, cw - 1, rh - 1);
            lines.emplace_back(x0 + 5 * cw, y, x0 + 5 * cw, y + rh - 1);
        }
        if (l.rows > 1) {
            const int y = l.table.top + rh * l.rows;
            lines.emplace_back(x0, y, x0 + 5 * cw - 1, y);
        }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(LinePen(p, kGrid));
    p.drawRects(frames.data(), int(frames.size()));
    p.drawLines(lines.data(), int(lines.size()));

    if (l.rows < 2)
        return;
    p.setPen(Qt::black);
    p.setFont(fonts.heading);
    const QString headings[5] = {Text(TextNo::Item), Text(TextNo::Date), Text(TextNo::Time), QStringLiteral("SpO2"),
                                 QStringLiteral("PR")};
    const int y = l.table.top + rh;
    for (int b = 0; b < 2; ++b) {
        const int x0 = l.table.left + b * l.halfWidth;
        for (int c = 0; c < 5; ++c)
            TextLine(p, {x0 + c * cw, y, x0 + (c + 1) * cw, y + rh}, headings[c], 1);
    }
}

void PaintCells(QPainter &p, const TableLayout &l, const TablePicture &pic, const TableFonts &fonts)
{
    const int rh = TableLayout::kRowHeight;
    const int cw = l.columnWidth;
    p.setPen(Qt::black);
    p.setFont(fonts.cell);
    for (int b = 0; b < 2; ++b) {
        const int x0 = l.table.left + b * l.halfWidth;
        for (int j = 2; j < l.rows; ++j) {
            const int t = TableItemNumber(l, pic.viewPosition, b, j);
            if (t > pic.sampleCount || t < 1)
                break;
            const SampleRecord &s = pic.samples[t - 1];
            const int y = l.table.top + rh * j;
            const QString cells[5] = {
                QString::number(t),
                QString::asprintf("20%02d/%02d/%02d", s.year, s.month, s.day),
                QString::asprintf("%02d:%02d:%02d", s.hour, s.minute, s.second),
                QString::number(s.spo2),
                QString::number(s.pulseRate),
            };
            for (int c = 0; c < 5; ++c)
                TextLine(p, {x0 + c * cw, y, x0 + (c + 1) * cw, y + rh}, cells[c], 1);
        }
    }
}

} // namespace

TableLayout LayoutTablePage(QSize size, const TableFonts &fonts)
{
    const Edges client{0, 0, size.width(), size.height()};
    return LayoutTable(client, TableHeaderBottom(client, fonts));
}

void PaintTablePage(QPainter &p, QSize size, const TablePicture &picture, const TableFonts &fonts)
{
    const Edges client{0, 0, size.width(), size.height()};
    p.save();
    // Exact pixels at 1:1; smoothed when stretched, so thin lines survive a small preview.
    p.setRenderHint(QPainter::Antialiasing, p.worldTransform().type() > QTransform::TxTranslate);
    p.setBackgroundMode(Qt::TransparentMode);
    p.fillRect(client.rect(), kBackground);
    const int headerBottom = PaintTableHeader(p, client, picture.header, fonts);
    const TableLayout l = LayoutTable(client, headerBottom);
    PaintGrid(p, l, fonts);
    if (picture.sampleCount > 0)
        PaintCells(p, l, picture, fonts);
    p.restore();
}

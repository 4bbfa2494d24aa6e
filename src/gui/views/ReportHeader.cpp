// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ReportHeader.h"

#include "views/PaintHelpers.h"

#include "app/Settings.h"
#include "app/Texts.h"
#include "model/RecordStore.h"
#include "model/Units.h"

#include <QFontMetrics>
#include <QPainter>

namespace
{

QString DateText(const SampleRecord &s, HeaderDates dates)
{
    const char *format = dates == HeaderDates::FourDigitYear ? "20%02d/%02d/%02d" : "%02d/%02d/%02d";
    return QString::asprintf(format, s.year, s.month, s.day);
}

QString TimeText(const SampleRecord &s)
{
    return QString::asprintf("%02d:%02d:%02d", s.hour, s.minute, s.second);
}

int Height(const QFont &font)
{
    return QFontMetrics(font).height();
}

} // namespace

ReportHeaderContent MakeHeaderContent(const RecordStore &store, int unitSetup, HeaderDates dates)
{
    const PatientRecord &pr = store.currentPatient;
    ReportHeaderContent c;
    c.title = store.reportTitle;
    c.name = pr.nameText();
    c.gender = Text(pr.gender != 0 ? TextNo::Female : TextNo::Male);
    if (pr.age >= 1 && pr.age <= 200)
        c.age = QString::number(pr.age);
    c.id = QString::number(pr.idNumber);
    c.height = HeightText(pr.height, pr.unitSystem, unitSetup);
    c.weight = WeightText(pr.weight, pr.unitSystem, unitSetup);
    c.physician = pr.physicianText();
    c.note1 = pr.note1Text();
    c.note2 = pr.note2Text();
    c.comments = pr.commentsText();
    if (!store.currentSamples.empty()) {
        const SampleRecord &first = store.currentSamples.front();
        const SampleRecord &last = store.currentSamples.back();
        c.startDate = DateText(first, dates);
        c.startTime = TimeText(first);
        c.endDate = DateText(last, dates);
        c.endTime = TimeText(last);
    }
    return c;
}

ReportHeaderContent CurrentHeaderContent(const RecordStore &store, HeaderDates dates)
{
    return MakeHeaderContent(store, Settings().unitSetup(), dates);
}

void PaintTrendHeader(QPainter &p, const Edges &r, int width, const ReportHeaderContent &c, const TrendFonts &fonts)
{
    using namespace paint;
    const int w = width;
    const int rb = r.bottom;
    p.fillRect(r.rect(), QColor(184, 192, 169));
    RaisedEdge(p, r);
    p.setPen(Qt::black);

    const int y1 = r.top + rb * 16 / 100;
    p.setFont(fonts.title);
    TextLine(p, {r.left + 10, r.top, r.right, y1}, c.title);

    p.setPen(LinePen(p, QColor(0, 0, 255)));
    HLine(p, r.left, r.right, y1);
    HLine(p, r.left, r.right, y1 + rb * 54 / 100 + 1);
    p.setPen(Qt::black);

    const int rowH = rb * 11 / 100;
    const int col0 = r.left + 10;
    const int col1 = r.left + 10 + w * 36 / 100;
    const int col2 = r.left + w * 62 / 100;
    const int colNote2 = r.left + w * 46 / 100;
    auto labelRow = [&](int row) { return y1 + 1 + (row - 1) * rowH; };

    p.setFont(fonts.label);
    auto label = [&](int row, int x, int right, int text) {
        TextWrapped(p, {x, labelRow(row), right, labelRow(row) + rowH}, Text(text));
    };
    label(1, col0, r.right, TextNo::PatientData);
    label(2, col0, col1, TextNo::Name);
    label(2, col1, col2, TextNo::Gender);
    label(2, col2, r.right, TextNo::Age);
    TextWrapped(p, {col0, labelRow(3), col1, labelRow(3) + rowH}, QStringLiteral("ID : "));
    label(3, col1, col2, TextNo::Height);
    label(3, col2, r.right, TextNo::Weight);
    label(4, col0, r.right, TextNo::Physician);
    label(5, col0, colNote2, TextNo::Note1);
    label(5, colNote2, r.right, TextNo::Note2);

    p.setFont(fonts.value);
    const int row2 = y1 + rowH;
    const int row3 = y1 + 2 * rowH;
    const int row4 = y1 + 3 * rowH + rb / 100;
    const int row5 = y1 + 4 * rowH;
    TextLine(p, {r.left + 80, row2, col1, row2 + rowH}, c.name);
    TextLine(p, {r.left + w * 36 / 100 + 85, row2, col2, row2 + rowH}, c.gender);
    TextLine(p, {col2 + 50, row2, r.right - 10, row2 + rowH}, c.age);
    TextLine(p, {r.left + 70, row3, col1, row3 + rowH}, c.id);
    TextLine(p, {r.left + w * 36 / 100 + 75, row3, col2, row3 + rowH}, c.height);
    TextLine(p, {col2 + 70, row3, col2 + 170, row3 + rowH}, c.weight);
    TextLine(p, {r.left + 105, row4, r.right - 10, row4 + rowH}, c.physician);
    TextLine(p, {r.left + 70, row5, r.left + 70 + w * 39 / 100, row5 + rb * 10 / 100}, c.note1);
    TextLine(p, {colNote2 + 60, row5, r.right - 10, row5 + rb * 10 / 100}, c.note2);

    // Start and end of the recording, then the comments.
    const int startTop = labelRow(5) + rowH + rb * 3 / 100;
    const int startBottom = startTop + rb * 10 / 100;
    const int colTime = r.left + 10 + w * 24 / 100;
    const int colEnd = r.left + w * 48 / 100;
    const int colEndTime = r.left + w * 73 / 100;
    p.setFont(fonts.label);
    TextLine(p, {col0, startTop, colTime, startBottom}, Text(TextNo::StartDate));
    TextLine(p, {colTime, startTop, colEnd, startBottom}, Text(TextNo::StartTime));
    TextLine(p, {colEnd, startTop, colEndTime, startBottom}, Text(TextNo::EndDate));
    TextLine(p, {colEndTime, startTop, r.right, startBottom}, Text(TextNo::EndTime));
    TextLine(p, {col0, startBottom, r.left + 140, rb - 2}, Text(TextNo::Comments));

    p.setFont(fonts.value);
    const int bandTop = r.top + rb * 75 / 100;
    const int bandBottom = rb * 85 / 100;
    TextLine(p, {r.left + 140, bandTop, colTime, bandBottom}, c.startDate);
    TextLine(p, {r.left + w * 24 / 100 + 150, bandTop, colEnd, bandBottom}, c.startTime);
    TextLine(p, {colEnd + 108, bandTop, colEndTime, bandBottom}, c.endDate);
    TextLine(p, {colEndTime + 118, bandTop, r.right - 10, bandBottom}, c.endTime);
    TextLine(p, {r.left + 140, bandBottom + 1, r.right - 10, rb - 2}, c.comments);
}

namespace
{

// The parts the table and analysis headers share: title, rules, patient box
// and the start/end band.
struct PageHeaderFrame {
    int titleBottom = 0;
    Edges box;
    Edges band;
};

PageHeaderFrame FrameFor(const Edges &client, const TableFonts &fonts, const QFont &labelFont)
{
    PageHeaderFrame f;
    f.titleBottom = client.top + int(Height(fonts.title) * 1.6);
    f.box = {client.left + 10, f.titleBottom + 1, client.right - 10, f.titleBottom + 5 * Height(labelFont) + 4};
    f.band = {client.left + 10, f.box.bottom + 5, client.right - 10, f.box.bottom + 45};
    return f;
}

PageHeaderFrame PaintFrame(QPainter &p, const Edges &client, const ReportHeaderContent &c, const TableFonts &fonts,
                           const QFont &labelFont, TextLayoutCache *texts)
{
    using namespace paint;
    const PageHeaderFrame f = FrameFor(client, fonts, labelFont);
    const int w = client.width();
    p.setPen(Qt::black);
    p.setFont(fonts.title);
    TextLine(p, {client.left + 20, client.top, client.right - 10, f.titleBottom}, c.title, 0, texts);
    p.setPen(LinePen(p, Qt::black));
    Rule(p, client.left + 10, client.right - 10, f.titleBottom - 5);
    Rule(p, f.box.left, f.box.right, f.box.bottom + 5);
    p.setPen(Qt::black);

    const int tm = Height(labelFont);
    const Edges &b = f.box;
    const int col1 = b.left + w * 36 / 100;
    const int col2 = b.left + w * 62 / 100;
    const int colNote2 = b.left + w * 46 / 100;
    auto rowTop = [&](int row) { return b.top + 1 + (row - 1) * tm; };
    p.setFont(labelFont);
    auto label = [&](int row, int x, int right, const QString &text) {
        TextWrapped(p, {x, rowTop(row), right, rowTop(row) + tm}, text, texts);
    };
    label(1, b.left + 10, b.right, Text(TextNo::PatientData));
    label(2, b.left + 10, col1, Text(TextNo::Name));
    label(2, col1, col2, Text(TextNo::Gender));
    label(2, col2, b.right, Text(TextNo::Age));
    label(3, b.left + 10, col1, QStringLiteral("ID : "));
    label(3, col1, col2, Text(TextNo::Height));
    label(3, col2, b.right, Text(TextNo::Weight));
    label(4, b.left + 10, b.right, Text(TextNo::Physician));
    label(5, b.left + 10, colNote2, Text(TextNo::Note1));
    label(5, colNote2, b.right, Text(TextNo::Note2));
    return f;
}

} // namespace

int TableHeaderBottom(const Edges &client, const TableFonts &fonts)
{
    return FrameFor(client, fonts, fonts.heading).band.bottom;
}

int AnalysisHeaderBottom(const Edges &page, const TableFonts &fonts)
{
    return FrameFor(page, fonts, fonts.analysisLabel).band.bottom;
}

int PaintTableHeader(QPainter &p, const Edges &client, const ReportHeaderContent &c, const TableFonts &fonts)
{
    using namespace paint;
    const PageHeaderFrame f = PaintFrame(p, client, c, fonts, fonts.heading, nullptr);
    const int w = client.width();
    const Edges &b = f.box;
    const int tm = Height(fonts.value);
    const int col1 = b.left + w * 36 / 100;
    const int col2 = b.left + w * 62 / 100;
    const int colNote2 = b.left + w * 46 / 100;
    auto row = [&](int k) { return b.top + tm + 2 + (k - 2) * tm; };

    p.setFont(fonts.value);
    const int nameWidth = 30 * QFontMetrics(fonts.value).maxWidth();
    TextLine(p, {b.left + 70, row(2), std::min(b.left + 70 + nameWidth, col1), row(2) + tm}, c.name);
    TextLine(p, {col1 + 75, row(2), col2, row(2) + tm}, c.gender);
    TextLine(p, {col2 + 50, row(2), b.right, row(2) + tm}, c.age);
    TextLine(p, {b.left + 70, row(3), col1, row(3) + tm}, c.id);
    TextLine(p, {col1 + 75, row(3), col2, row(3) + tm}, c.height);
    TextLine(p, {col2 + 70, row(3), b.right, row(3) + tm}, c.weight);
    TextLine(p, {b.left + 105, row(4) + 3, b.right, row(4) + 3 + tm}, c.physician);
    TextLine(p, {b.left + 70, row(5), colNote2, row(5) + tm}, c.note1);
    TextLine(p, {colNote2 + 60, row(5), b.right, row(5) + tm}, c.note2);

    const Edges &band = f.band;
    const int line1 = band.top + 5;
    const int line2 = line1 + Height(fonts.heading);
    const int colTime = band.left + w * 24 / 100;
    const int colEnd = band.left + w * 48 / 100;
    const int colEndTime = band.left + w * 73 / 100;
    p.setFont(fonts.heading);
    const int th = Height(fonts.heading);
    TextLine(p, {band.left + 10, line1, colTime, line1 + th}, Text(TextNo::StartDate));
    TextLine(p, {colTime, line1, colEnd, line1 + th}, Text(TextNo::StartTime));
    TextLine(p, {colEnd, line1, colEndTime, line1 + th}, Text(TextNo::EndDate));
    TextLine(p, {colEndTime, line1, band.right, line1 + th}, Text(TextNo::EndTime));
    TextLine(p, {band.left + 10, line2, band.left + 130, line2 + th}, Text(TextNo::Comments));

    p.setFont(fonts.value);
    TextLine(p, {band.left + 130, line1, colTime, line1 + tm}, c.startDate);
    TextLine(p, {colTime + 128, line1, colEnd, line1 + tm}, c.startTime);
    TextLine(p, {colEnd + 98, line1, colEndTime, line1 + tm}, c.endDate);
    TextLine(p, {colEndTime + 108, line1, band.right, line1 + tm}, c.endTime);
    TextLine(p, {band.left + 130, line2 + 1, band.right, line2 + 1 + tm}, c.comments);
    return band.bottom;
}

int PaintAnalysisHeader(QPainter &p, const Edges &page, const ReportHeaderContent &c, const TableFonts &fonts,
                        TextLayoutCache *texts)
{
    using namespace paint;
    const PageHeaderFrame f = PaintFrame(p, page, c, fonts, fonts.analysisLabel, texts);
    const int w = page.width();
    const Edges &b = f.box;
    const int tm = Height(fonts.analysisLabel);
    // Value rows step by the value font's own height, as in the table header.
    const int vh = Height(fonts.analysisValue);
    const int cw = QFontMetrics(fonts.analysisValue).averageCharWidth();
    const int col1 = b.left + w * 36 / 100;
    const int col2 = b.left + w * 62 / 100;
    const int colNote2 = b.left + w * 46 / 100;
    auto row = [&](int k) { return b.top + vh + 2 + (k - 2) * vh; };

    p.setFont(fonts.analysisValue);
    TextLine(p, {b.left + 13 * cw, row(2), col1, row(2) + vh}, c.name, 0, texts);
    TextLine(p, {col1 + 13 * cw, row(2), col2, row(2) + vh}, c.gender, 0, texts);
    TextLine(p, {col2 + 8 * cw, row(2), b.right, row(2) + vh}, c.age, 0, texts);
    TextLine(p, {b.left + 6 * cw + 10, row(3), col1, row(3) + vh}, c.id, 0, texts);
    TextLine(p, {col1 + 12 * cw, row(3), col2, row(3) + vh}, c.height, 0, texts);
    TextLine(p, {col2 + 12 * cw, row(3), b.right, row(3) + vh}, c.weight, 0, texts);
    TextLine(p, {b.left + 15 * cw + 10, row(4), b.right, row(4) + vh}, c.physician, 0, texts);
    TextLine(p, {b.left + 10 * cw + 10, row(5), colNote2, row(5) + vh}, c.note1, 0, texts);
    TextLine(p, {colNote2 + 10 * cw, row(5), b.right, row(5) + vh}, c.note2, 0, texts);

    const Edges &band = f.band;
    const int colTime = band.left + w * 48 / 100;
    auto line = [&](int k) { return band.top + 5 + (k - 1) * tm; };
    p.setFont(fonts.analysisLabel);
    TextLine(p, {band.left + 10, line(1), colTime, line(1) + tm}, Text(TextNo::StartDate), 0, texts);
    TextLine(p, {colTime, line(1), band.right, line(1) + tm}, Text(TextNo::StartTime), 0, texts);
    TextLine(p, {band.left + 10, line(2), colTime, line(2) + tm}, Text(TextNo::EndDate), 0, texts);
    TextLine(p, {colTime, line(2), band.right, line(2) + tm}, Text(TextNo::EndTime), 0, texts);
    TextLine(p, {band.left + 10, line(3), band.right, line(3) + tm}, Text(TextNo::Comments), 0, texts);

    p.setFont(fonts.analysisValue);
    TextLine(p, {band.left + 15 * cw + 40, line(1), colTime, line(1) + tm}, c.startDate, 0, texts);
    TextLine(p, {colTime + 16 * cw + 30, line(1), band.right, line(1) + tm}, c.startTime, 0, texts);
    TextLine(p, {band.left + 14 * cw + 30, line(2), colTime, line(2) + tm}, c.endDate, 0, texts);
    TextLine(p, {colTime + 15 * cw + 20, line(2), band.right, line(2) + tm}, c.endTime, 0, texts);
    TextLine(p, {band.left + 18 * cw + 30, line(3), band.right, line(3) + tm}, c.comments, 0, texts);
    return band.bottom;
}

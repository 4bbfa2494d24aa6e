// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/Edges.h"
#include "views/ViewFonts.h"

#include "model/UnitText.h"

#include <QString>

class QPainter;
class RecordStore;
class TextLayoutCache;

// The texts of a page header: report title, patient details and the first and
// last reading of the recording. Built afresh for every picture.
struct ReportHeaderContent {
    QString title;
    QString name;
    QString gender;
    QString age;
    QString id;
    QString height;
    QString weight;
    QString physician;
    QString note1;
    QString note2;
    QString startDate;
    QString startTime;
    QString endDate;
    QString endTime;
    QString comments;
};

enum class HeaderDates { FourDigitYear, TwoDigitYear };

// unitSetup is the "UnitSetup" setting: 0 British (in, lb), otherwise metric.
// Without readings the start and end fields stay empty.
ReportHeaderContent MakeHeaderContent(const RecordStore &store, int unitSetup,
                                      HeaderDates dates = HeaderDates::FourDigitYear);
// The same with the setting read now.
ReportHeaderContent CurrentHeaderContent(const RecordStore &store, HeaderDates dates = HeaderDates::FourDigitYear);

// The header inside the trend view's header panel r; width is the client width.
void PaintTrendHeader(QPainter &p, const Edges &r, int width, const ReportHeaderContent &c, const TrendFonts &fonts);

// The table page header at the top of client. Returns the y where the table starts.
int PaintTableHeader(QPainter &p, const Edges &client, const ReportHeaderContent &c, const TableFonts &fonts);
int TableHeaderBottom(const Edges &client, const TableFonts &fonts);

// The analysis page header at the top of page (use HeaderDates::TwoDigitYear
// for its content). Returns the y where the analysis report starts. With a
// cache, the texts' layouts are kept for the next paint.
int PaintAnalysisHeader(QPainter &p, const Edges &page, const ReportHeaderContent &c, const TableFonts &fonts,
                        TextLayoutCache *texts = nullptr);
int AnalysisHeaderBottom(const Edges &page, const TableFonts &fonts);

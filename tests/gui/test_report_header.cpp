// SPDX-License-Identifier: GPL-3.0-or-later
// Header texts: patient details with unit conversion, the recording's start
// and end, and where the table and analysis headers end.
#include "views/ReportHeader.h"

#include "ViewTestData.h"

#include "app/Settings.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

TEST(ReportHeader, HeightAndWeightAreShownInTheUnitsOfTheSetting)
{
    struct Row {
        float value;
        int unitSystem;
        int unitSetup;
        const char *height;
        const char *weight;
    };
    const std::vector<Row> rows{
        {70, 0, 1, "178 cm", "32 kg"},                                    // entered British, shown metric
        {150, 0, 1, "381 cm", "68 kg"},  {180, 1, 0, "71 in", "396 lb"},  // entered metric, shown British
        {80, 1, 0, "31 in", "176 lb"},   {70, 0, 0, "70 in", "70 lb"},    // same system: as entered
        {180, 1, 1, "180 cm", "180 kg"}, {180, 2, 1, "180 cm", "180 kg"}, // any non-zero system is metric
        {180, 1, 3, "180 cm", "180 kg"}, {0, 1, 0, "0 in", "0 lb"},
        {75, 0, 1, "190 cm", "34 kg"}, // 190.5 cm: a tie goes to the even digit, as printf
    };
    for (const Row &r : rows) {
        EXPECT_EQ(HeightText(r.value, r.unitSystem, r.unitSetup), QLatin1String(r.height))
            << r.value << " system " << r.unitSystem << " setup " << r.unitSetup;
        EXPECT_EQ(WeightText(r.value, r.unitSystem, r.unitSetup), QLatin1String(r.weight))
            << r.value << " system " << r.unitSystem << " setup " << r.unitSetup;
    }
}

TEST(ReportHeader, ContentCarriesPatientAndRecordingSpan)
{
    RecordStore store;
    viewtest::FillRecording(
        store, 3600, [](int) { return 95; }, [](int) { return 70; });
    store.reportTitle = QStringLiteral("Ward 4");
    PatientRecord &p = store.currentPatient;
    p.idNumber = 12;
    PatientRecord::setText(p.name, QStringLiteral("Ann Other"));
    p.gender = 0;
    p.age = 61;
    p.height = 70;
    p.weight = 150;
    p.unitSystem = 0;

    const ReportHeaderContent c = MakeHeaderContent(store, 1);
    EXPECT_EQ(c.title, QStringLiteral("Ward 4"));
    EXPECT_EQ(c.name, QStringLiteral("Ann Other"));
    EXPECT_EQ(c.gender, QStringLiteral("male"));
    EXPECT_EQ(c.age, QStringLiteral("61"));
    EXPECT_EQ(c.id, QStringLiteral("12"));
    EXPECT_EQ(c.height, QStringLiteral("178 cm"));
    EXPECT_EQ(c.weight, QStringLiteral("68 kg"));
    EXPECT_EQ(c.startDate, QStringLiteral("2013/05/07"));
    EXPECT_EQ(c.startTime, QStringLiteral("22:00:00"));
    EXPECT_EQ(c.endDate, QStringLiteral("2013/05/07"));
    EXPECT_EQ(c.endTime, QStringLiteral("22:59:59"));

    const ReportHeaderContent a = MakeHeaderContent(store, 1, HeaderDates::TwoDigitYear);
    EXPECT_EQ(a.startDate, QStringLiteral("13/05/07"));
    EXPECT_EQ(a.endTime, QStringLiteral("22:59:59"));

    p.gender = 3;
    EXPECT_EQ(MakeHeaderContent(store, 1).gender, QStringLiteral("female"));
    for (int age : {0, 201, -4}) {
        p.age = age;
        EXPECT_TRUE(MakeHeaderContent(store, 1).age.isEmpty()) << age;
    }
    p.age = 200;
    EXPECT_EQ(MakeHeaderContent(store, 1).age, QStringLiteral("200"));
}

TEST(ReportHeader, WithoutReadingsStartAndEndAreEmpty)
{
    RecordStore store;
    const ReportHeaderContent c = MakeHeaderContent(store, 0);
    EXPECT_TRUE(c.startDate.isEmpty());
    EXPECT_TRUE(c.startTime.isEmpty());
    EXPECT_TRUE(c.endDate.isEmpty());
    EXPECT_TRUE(c.endTime.isEmpty());
}

TEST(ReportHeader, UnitSettingIsReadWhenTheHeaderIsMade)
{
    RecordStore store;
    store.currentPatient.height = 180;
    store.currentPatient.unitSystem = 1;
    EXPECT_EQ(CurrentHeaderContent(store).height, QStringLiteral("71 in")); // British by default
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("UnitSetup"), QStringLiteral("1")));
    EXPECT_EQ(CurrentHeaderContent(store).height, QStringLiteral("180 cm"));
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("UnitSetup"), QStringLiteral("0")));
    EXPECT_EQ(CurrentHeaderContent(store).height, QStringLiteral("71 in"));
}

TEST(ReportHeader, TableAndAnalysisHeadersEndWhereTheirBodyStarts)
{
    const TableFonts fonts;
    const Edges client{0, 0, 1000, 700};
    const int tm1 = QFontMetrics(fonts.title).height();
    const int tm2 = QFontMetrics(fonts.heading).height();
    const int tm5 = QFontMetrics(fonts.analysisLabel).height();
    // Cell heights as near the nominal ones as the face allows, never above.
    EXPECT_TRUE(tm1 >= 23 && tm1 <= 25) << tm1;
    EXPECT_TRUE(tm2 >= 16 && tm2 <= 18) << tm2;
    // Title 1.6 lines, five label rows and a 4-pixel margin, then the 45-pixel band.
    EXPECT_EQ(TableHeaderBottom(client, fonts), int(tm1 * 1.6) + 5 * tm2 + 4 + 45);
    EXPECT_EQ(AnalysisHeaderBottom(client, fonts), int(tm1 * 1.6) + 5 * tm5 + 4 + 45);
    EXPECT_EQ(TableHeaderBottom({0, 30, 1000, 700}, fonts), 30 + TableHeaderBottom(client, fonts));

    QImage image(1000, 700, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    ReportHeaderContent c;
    c.title = QStringLiteral("T");
    EXPECT_EQ(PaintTableHeader(p, client, c, fonts), TableHeaderBottom(client, fonts));
    EXPECT_EQ(PaintAnalysisHeader(p, client, c, fonts), AnalysisHeaderBottom(client, fonts));
    p.end();
    // Nothing of the header is drawn below its end.
    const int bottom = std::max(TableHeaderBottom(client, fonts), AnalysisHeaderBottom(client, fonts));
    for (int y = bottom; y < 700; y += 3)
        for (int x = 0; x < 1000; x += 3)
            ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

namespace
{

QImage PaintedHeader(int (*paint)(QPainter &, const Edges &, const ReportHeaderContent &, const TableFonts &),
                     const ReportHeaderContent &c)
{
    QImage image(1000, 700, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    paint(p, {0, 0, 1000, 700}, c, TableFonts());
    return image;
}

// First and last row where the two pictures differ.
std::pair<int, int> DifferingRows(const QImage &a, const QImage &b)
{
    int first = -1;
    int last = -1;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    return {first, last};
}

} // namespace

TEST(ReportHeader, ValueRowsStepByTheValueFontsHeight)
{
    const TableFonts fonts;
    const int boxTop = int(QFontMetrics(fonts.title).height() * 1.6) + 1;
    struct Layout {
        const char *name;
        int (*paint)(QPainter &, const Edges &, const ReportHeaderContent &, const TableFonts &);
        QFont value;
    };
    const std::vector<Layout> layouts{
        {"table", PaintTableHeader, fonts.value},
        {"analysis",
         [](QPainter &p, const Edges &e, const ReportHeaderContent &c, const TableFonts &f) {
             return PaintAnalysisHeader(p, e, c, f);
         },
         fonts.analysisValue},
    };
    for (const Layout &l : layouts) {
        SCOPED_TRACE(l.name);
        const QImage blank = PaintedHeader(l.paint, {});
        const int h = QFontMetrics(l.value).height();
        // From the box top + h + 2, one value-font height per row: name on row 2, note 1 on row 5.
        for (int row : {2, 5}) {
            ReportHeaderContent c;
            (row == 2 ? c.name : c.note1) = QStringLiteral("MMMM");
            const auto [first, last] = DifferingRows(blank, PaintedHeader(l.paint, c));
            ASSERT_GE(first, 0) << "row " << row;
            const int top = boxTop + h + 2 + (row - 2) * h;
            EXPECT_GE(first, top) << "row " << row;
            EXPECT_LT(last, top + h) << "row " << row;
        }
    }
}

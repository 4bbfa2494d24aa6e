// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the pages and windows the README shows (trend, table, analysis, the
// patient dialog, the trend page in Chinese) from a generated night, and the
// overview from a generated year of nights. Set
// QUELLIX_SCREENSHOT_DIR to write the pictures there.
#include "help/ManualPictures.h"
#include "views/AnalysisFigures.h"
#include "views/AnalysisPainter.h"
#include "views/ClinicalSummaryPainter.h"
#include "views/OverviewPainter.h"
#include "views/ReportHeader.h"
#include "views/TableView.h"
#include "views/TrendView.h"

#include "app/Language.h"
#include "app/LanguageSwitch.h"
#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "app/Texts.h"
#include "dialogs/PatientInfoDialog.h"
#include "model/PatientRecord.h"
#include "model/RecordStore.h"

#include "GlyphCheck.h"
#include "SimulatedNight.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPainter>

#include <gtest/gtest.h>

namespace
{

QImage Render(DataView &view, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    view.renderPage(p, size, view.position());
    return image;
}

void Save(const QImage &image, const char *name)
{
    const QByteArray dir = qgetenv("QUELLIX_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    ASSERT_TRUE(image.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name)));
}

} // namespace

TEST(Screenshots, TrendAndTablePagesOfAGeneratedNight)
{
    RecordStore store;
    ManualPictures::fillSampleNight(store);
    const QSize size(1280, 900);

    TrendView trend(store);
    trend.resize(size);
    trend.showPage(4);
    const QImage trendImage = Render(trend, size);
    // Both curves are on the page: red SpO2 and black pulse pixels inside the plots.
    const TrendLayout l = trend.layout();
    int red = 0;
    int black = 0;
    for (int x = l.spo2Plot.left + 1; x < l.spo2Plot.right; ++x) {
        for (int y = l.spo2Plot.top; y < l.spo2Plot.bottom; ++y)
            red += trendImage.pixel(x, y) == qRgb(255, 0, 0);
        for (int y = l.pulsePlot.top; y < l.pulsePlot.bottom; ++y)
            black += trendImage.pixel(x, y) == qRgb(0, 0, 0);
    }
    EXPECT_GE(red, l.samplesPerPage);
    EXPECT_GE(black, l.samplesPerPage);
    Save(trendImage, "trend.png");

    TableView table(store);
    table.resize(size);
    const QImage tableImage = Render(table, size);
    EXPECT_NE(tableImage.pixel(size.width() / 2, size.height() - 30), qRgb(255, 255, 255));
    Save(tableImage, "table.png");
}

TEST(Screenshots, AnalysisPageOfAGeneratedNight)
{
    // The manual's own picture: the same page the reader meets.
    RecordStore store;
    ManualPictures::fillSampleNight(store);
    const AnalysisFigures figures = analyseCurrentRecording(store);
    EXPECT_GT(figures.results.spo2EventCount, 0);
    EXPECT_GT(figures.clinical.odi3, 0);
    const QImage image = ManualPictures::render(QStringLiteral("analysis.png"));
    ASSERT_EQ(image.size(), QSize(1280, 900));
    const AnalysisLayout l = LayoutAnalysisPage(image.size(), store.currentSampleCount(), TableFonts());
    // Event marks in the SpO2 strip, and the distribution under "Diagnose:".
    int green = 0;
    for (int x = l.plotLeft; x < l.right; ++x)
        green += image.pixel(x, l.spo2Strip().top + 1) == qRgb(0, 255, 0);
    EXPECT_GT(green, 0);
    const Edges diagnose = l.diagnoseArea();
    int bars = 0;
    for (int y = diagnose.top; y < diagnose.bottom; ++y)
        for (int x = diagnose.left; x < diagnose.right; ++x)
            bars += image.pixel(x, y) == kClinicalBarColour.rgb();
    EXPECT_GT(bars, 100);
    Save(image, "analysis.png");
}

TEST(Screenshots, PatientInformationDialog)
{
    RecordStore store;
    ManualPictures::fillSampleNight(store);
    ScriptedPrompts prompts;
    PatientInfoDialog dialog(store, prompts, 1);
    dialog.show();
    const QImage image = dialog.grab().toImage();
    EXPECT_GE(image.width(), 300);
    EXPECT_EQ(dialog.edit(PatientField::Name)->text(), QStringLiteral("Jane Example"));
    EXPECT_TRUE(prompts.shown.isEmpty());
    Save(image, "patient-info.png");
}

TEST(Screenshots, TrendPageInChinese)
{
    RecordStore store;
    ManualPictures::fillSampleNight(store);
    const QSize size(1280, 900);
    TrendView trend(store);
    trend.resize(size);
    trend.showPage(4);
    const QImage english = Render(trend, size);

    // Shown as a clinic there would read it: in centimetres and kilograms.
    WriteSetupValue(QStringLiteral("UnitSetup"), QStringLiteral("1"));
    LanguageSwitch languages;
    ASSERT_TRUE(languages.apply(Language::ChineseSimplified));
    const QImage chinese = Render(trend, size);
    EXPECT_NE(chinese, english);
    // The header's labels and values are Chinese and every glyph has a font.
    const ReportHeaderContent c = CurrentHeaderContent(store);
    EXPECT_EQ(c.gender, QStringLiteral("女"));
    for (int number : {TextNo::PatientData, TextNo::Name, TextNo::Gender, TextNo::StartDate, TextNo::Comments,
                       TextNo::Spo2Percent20, TextNo::PulseRate50}) {
        const QString text = Text(number);
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() >= 0x4E00; })) << number;
        EXPECT_EQ(MissingGlyphs(text, QFont(QStringLiteral("Arial"))), 0) << number;
    }
    EXPECT_EQ(c.height, QStringLiteral("165 cm"));
    Save(chinese, "trend-zh.png");
    WriteSetupValue(QStringLiteral("UnitSetup"), QStringLiteral("0"));
}

TEST(Screenshots, OverviewOfAGeneratedYear)
{
    const NightList year = ManualPictures::sampleYear();
    const OverviewData data = buildOverview(year, {}, {}, {});
    // What the picture is there to show: gaps, short nights and shared dates.
    EXPECT_GT(data.nights.size(), 280U);
    EXPECT_LT(data.nights.size(), 365U);
    EXPECT_GT(data.shortNights(), 0);
    EXPECT_TRUE(
        std::any_of(data.nights.begin(), data.nights.end(), [](const OverviewNight &n) { return n.slots > 1; }));
    const auto odi4 = [&data](OverviewColumn c) {
        return data.table[std::size_t(c)].values[std::size_t(OverviewFigure::Odi4)].value_or(-1);
    };
    EXPECT_LT(odi4(OverviewColumn::Last30), odi4(OverviewColumn::Period)) << "treatment lowers the ODI";

    const QImage image = ManualPictures::render(QStringLiteral("overview.png"));
    ASSERT_EQ(image.size(), QSize(1280, 900));
    int bars = 0;
    int shortBars = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            bars += image.pixel(x, y) == kOverviewBarColour.rgb();
            shortBars += image.pixel(x, y) == kOverviewShortColour.rgb();
        }
    EXPECT_GT(bars, 2000);
    EXPECT_GT(shortBars, 20);
    Save(image, "overview.png");
}

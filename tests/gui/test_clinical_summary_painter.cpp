// SPDX-License-Identifier: GPL-3.0-or-later
// The clinical summary box of the analysis page, painted into real images: its
// texts, the SpO2 distribution, and that it never paints outside its box.
#include "views/ClinicalSummaryPainter.h"

#include "clinical/ClinicalSummary.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace
{

ClinicalSummary NightSummary()
{
    // 3000 s at 96, 500 s at 93, 100 s at 85, pulse 55..90, with dips.
    std::vector<SampleRecord> night;
    for (int i = 0; i < 3600; ++i) {
        SampleRecord s;
        s.spo2 = std::uint8_t(i < 3000 ? 96 : i < 3500 ? 93 : 85);
        s.pulseRate = std::uint8_t(i == 0 ? 55 : i == 1 ? 90 : 64);
        night.push_back(s);
    }
    return computeClinicalSummary(night.data(), int(night.size()));
}

QImage Paint(QSize size, QRect box, const ClinicalSummary &s)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    paintClinicalSummary(p, box, s);
    return image;
}

// Pixels that are not white, inside and outside box.
std::pair<int, int> Painted(const QImage &image, QRect box)
{
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                ++(box.contains(x, y) ? inside : outside);
    return {inside, outside};
}

bool IsBar(QRgb c)
{
    return c == kClinicalBarColour.rgb();
}

// Height of the bar at each bar-coloured column run, left to right.
std::vector<std::pair<int, int>> Bars(const QImage &image)
{
    std::vector<std::pair<int, int>> bars; // x of first column, height
    int runStart = -1;
    int runHeight = 0;
    for (int x = 0; x <= image.width(); ++x) {
        int h = 0;
        if (x < image.width())
            for (int y = 0; y < image.height(); ++y)
                h += IsBar(image.pixel(x, y)) ? 1 : 0;
        if (h > 0 && runStart < 0) {
            runStart = x;
            runHeight = h;
        } else if (h == 0 && runStart >= 0) {
            bars.emplace_back(runStart, runHeight);
            runStart = -1;
        }
    }
    return bars;
}

} // namespace

TEST(ClinicalSummaryPainter, TextsGiveEveryFigure)
{
    const QStringList lines = clinicalSummaryLines(NightSummary());
    EXPECT_EQ(lines,
              (QStringList{"Valid time: 1:00:00", "Nadir SpO2: 85%", "T90: 0:01:40 (2.8%)", "T88: 0:01:40 (2.8%)",
                           "ODI3: 1.0/h  ODI4: 1.0/h", "Pulse min/mean/max: 55/64.0/90 bpm",
                           "Coverage: 100.0% (artefacts 0:00:00), short recording",
                           "Mean SpO2: 95.3%  Hypoxic burden: 43.3 %·min/h",
                           "ΔI: 0.04  Desaturations: 600.0 s, 11.0%, pulse +0.0 bpm"}));
    // Four hours of valid readings are no short recording; a falling pulse shows its sign.
    ClinicalSummary s = NightSummary();
    s.shortRecording = false;
    s.artefactSeconds = 75;
    s.pulseRiseMean = -2.5;
    const QStringList more = clinicalSummaryLines(s);
    EXPECT_EQ(more.at(6), "Coverage: 100.0% (artefacts 0:01:15)");
    EXPECT_TRUE(more.at(8).endsWith(", pulse -2.5 bpm")) << more.at(8).toStdString();
    EXPECT_EQ(clinicalSummaryLines(ClinicalSummary{}), QStringList{"No valid readings"});
}

TEST(ClinicalSummaryPainter, PaintsOnlyInsideItsBox)
{
    const ClinicalSummary s = NightSummary();
    // The box under "Diagnose:" of a printed page, a large one, and boxes too
    // small for all or any of it.
    for (const QRect box : {QRect(546, 300, 520, 90), QRect(100, 50, 900, 500), QRect(10, 10, 200, 30),
                            QRect(40, 40, 30, 12), QRect(5, 5, 600, 20)}) {
        const QImage image = Paint(QSize(1100, 600), box, s);
        const auto [inside, outside] = Painted(image, box);
        EXPECT_EQ(outside, 0) << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
        if (box.height() >= 60) {
            EXPECT_GT(inside, 200) << box.width() << "x" << box.height();
        }
    }
}

TEST(ClinicalSummaryPainter, DistributionBarsFollowTheHistogram)
{
    const QImage image = Paint(QSize(600, 120), QRect(0, 0, 600, 120), NightSummary());
    const auto bars = Bars(image);
    // Three values: 85, 93 and 96, left to right, tallest at 96 (3000 s),
    // 93 at a sixth of it, 85 at a thirtieth.
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_LT(bars[0].first, bars[1].first);
    EXPECT_LT(bars[1].first, bars[2].first);
    EXPECT_GT(bars[0].first, 600 * 3 / 5) << "bars stay right of the figures";
    const int full = bars[2].second;
    EXPECT_GT(full, 50);
    EXPECT_NEAR(bars[1].second, full / 6, 1);
    EXPECT_NEAR(bars[0].second, std::max(1, full / 30), 1);
    // 96 - 85 = 11 bins apart at 21 bins (80..100) over the plot.
    EXPECT_NEAR(double(bars[2].first - bars[0].first) / (bars[1].first - bars[0].first), 11.0 / 8.0, 0.1);
}

TEST(ClinicalSummaryPainter, NoDistributionWithoutValidReadingsOrRoom)
{
    EXPECT_TRUE(Bars(Paint(QSize(600, 120), QRect(0, 0, 600, 120), ClinicalSummary{})).empty());
    EXPECT_TRUE(Bars(Paint(QSize(600, 120), QRect(0, 0, 200, 120), NightSummary())).empty());
    // A nadir far down widens the scale instead of losing the low readings.
    ClinicalSummary deep = NightSummary();
    deep.nadir = 62;
    deep.spo2Histogram[62] = 100;
    EXPECT_EQ(Bars(Paint(QSize(600, 120), QRect(0, 0, 600, 120), deep)).size(), 4u);
}

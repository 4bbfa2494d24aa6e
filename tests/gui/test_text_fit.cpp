// SPDX-License-Identifier: GPL-3.0-or-later
// Every text of the trend, table and analysis pages with their headers,
// painted in English, French and Chinese at the printed size and at
// 1024 x 768. A translated text must stay inside its box and keep clear of
// its value and its neighbours wherever the English text in its place does.
#include "views/AnalysisFigures.h"
#include "views/AnalysisGeometry.h"
#include "views/AnalysisView.h"
#include "views/TableView.h"
#include "views/TextLayoutCache.h"
#include "views/TrendView.h"
#include "views/ViewPrinting.h"

#include "app/LanguageSwitch.h"
#include "model/RecordStore.h"

#include "ViewTestData.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSettings>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace
{

// A night with desaturations and pulse events, of a patient whose every field
// holds a value of an ordinary length.
void FillNight(RecordStore &store)
{
    viewtest::FillRecording(
        store, 4000, [](int i) { return i % 600 < 40 ? 86 : 96; }, [](int i) { return i % 900 < 20 ? 50 : 72; });
    for (SampleRecord &s : store.currentSamples)
        s.id = 7;
    PatientRecord &p = store.currentPatient;
    p.idNumber = 7;
    PatientRecord::setText(p.name, QStringLiteral("Hélène Marchand"));
    p.gender = 1;
    p.age = 67;
    p.height = 165;
    p.weight = 72;
    p.unitSystem = 1;
    PatientRecord::setText(p.physician, QStringLiteral("Dr Claire Fontaine"));
    PatientRecord::setText(p.note1, QStringLiteral("Snores, tired by day"));
    PatientRecord::setText(p.note2, QStringLiteral("Second night"));
    PatientRecord::setText(p.comments, QStringLiteral("Woke twice, probe refitted at 02:10"));
    store.reportTitle = QStringLiteral("Sleep laboratory");
}

// Where the ink of the whole text goes, as if nothing clipped it.
QRect Ink(const DrawnText &t)
{
    const QFontMetrics m(t.font);
    const QRect reach = t.box.isEmpty() ? QRect(t.baseline.x(), t.baseline.y() - m.ascent(), 1, m.height())
                                        : m.boundingRect(t.box, t.flags, t.text).united(t.box);
    const QRect area =
        reach.adjusted(-2 * m.height(), -2 * m.height(), 2 * m.height() + m.horizontalAdvance(t.text), 2 * m.height());
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.translate(-area.topLeft());
    p.setFont(t.font);
    p.setPen(Qt::black);
    if (t.box.isEmpty())
        p.drawText(t.baseline, t.text);
    else
        p.drawText(t.box, t.flags | Qt::TextDontClip, t.text);
    p.end();
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) > 96) // a fringe of antialiasing touches nothing
                ink |= QRect(x, y, 1, 1);
    }
    return ink.translated(area.topLeft());
}

struct Placed {
    QString text;
    QRect box;
    QRect ink;
    // Cut off at the side of its box.
    bool leavesBox() const
    {
        return !box.isEmpty() && !ink.isEmpty() && (ink.left() < box.left() || ink.right() > box.right());
    }
    // Less than kGap pixels from other, or on it.
    bool crowds(const Placed &other) const
    {
        constexpr int kGap = 3;
        return ink.adjusted(-kGap, 0, kGap, 0).intersects(other.ink);
    }
};

std::vector<Placed> Paint(DataView &view, QSize size)
{
    view.resize(size);
    std::vector<DrawnText> drawn;
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    SetTextRecorder(&drawn);
    view.renderPage(p, size, 0);
    SetTextRecorder(nullptr);
    std::vector<Placed> placed;
    for (const DrawnText &t : drawn)
        placed.push_back({t.text, t.box, Ink(t)});
    // The charts and event strips of the analysis page are neighbours too.
    if (const auto *analysis = qobject_cast<const AnalysisView *>(&view)) {
        const AnalysisLayout l = analysis->layout();
        for (const int top : {l.spo2Top, l.pulseTop})
            placed.push_back(
                {QStringLiteral("chart"), {}, QRect(l.plotLeft, top, l.right - l.plotLeft, l.chartHeight)});
        for (const Edges &strip : {l.spo2Strip(), l.pulseStrip()})
            placed.push_back({QStringLiteral("event strip"), {}, strip.rect()});
    }
    return placed;
}

using MakeView = std::function<std::unique_ptr<DataView>(RecordStore &, const AnalysisFigures &)>;

} // namespace

TEST(TextFit, TranslatedTextsKeepOffTheirValuesAndNeighbours)
{
    QSettings(QStringLiteral("quellix"), QStringLiteral("setup")).clear();
    RecordStore store;
    FillNight(store);
    const AnalysisFigures figures = analyseCurrentRecording(store);
    ASSERT_GT(figures.results.spo2EventCount, 0);
    ASSERT_GT(figures.results.pulseEventCount, 0);

    const std::pair<const char *, MakeView> pages[] = {
        {"trend", [](RecordStore &s, const AnalysisFigures &) { return std::make_unique<TrendView>(s); }},
        {"table", [](RecordStore &s, const AnalysisFigures &) { return std::make_unique<TableView>(s); }},
        {"analysis",
         [](RecordStore &s, const AnalysisFigures &f) {
             return std::make_unique<AnalysisView>(s, f.results, f.statistics, &f.clinical);
         }},
    };
    const QSize sizes[] = {{kPrintedPageWidth96, kPrintedPageHeight96}, {1024, 768}};

    LanguageSwitch language;
    for (const auto &[page, make] : pages) {
        for (const QSize size : sizes) {
            language.clear();
            const std::vector<Placed> english = Paint(*make(store, figures), size);
            ASSERT_FALSE(english.empty());
            for (const int id : {1036, 2052}) {
                ASSERT_TRUE(language.apply(id));
                const std::vector<Placed> drawn = Paint(*make(store, figures), size);
                const std::string where = std::string(page) + " " + std::to_string(size.width()) + "x" +
                                          std::to_string(size.height()) + " " + std::to_string(id) + ": ";
                ASSERT_EQ(drawn.size(), english.size()) << where;
                int translated = 0;
                for (std::size_t i = 0; i < drawn.size(); ++i) {
                    if (drawn[i].text == english[i].text)
                        continue;
                    ++translated;
                    const QString text = drawn[i].text;
                    EXPECT_FALSE(drawn[i].leavesBox() && !english[i].leavesBox())
                        << where << '"' << text.toStdString() << "\" is cut off by its box";
                    for (std::size_t j = 0; j < drawn.size(); ++j) {
                        if (j == i)
                            continue;
                        EXPECT_FALSE(drawn[i].crowds(drawn[j]) && !english[i].crowds(english[j]))
                            << where << '"' << text.toStdString() << "\" runs into \"" << drawn[j].text.toStdString()
                            << '"';
                    }
                }
                EXPECT_GT(translated, 5) << where;
            }
        }
    }
    language.clear();
}

TEST(TextFit, ClinicalFiguresKeepClearOfEachOtherDownToTheLowestNadir)
{
    QSettings(QStringLiteral("quellix"), QStringLiteral("setup")).clear();
    RecordStore store;
    FillNight(store);
    // One deep dip to 50 %, the lowest valid reading: the distribution's
    // scale reaches down to it, and its labels must not run together.
    for (int i = 2000; i < 2030; ++i)
        store.currentSamples[std::size_t(i)].spo2 = 50;
    const AnalysisFigures figures = analyseCurrentRecording(store);
    ASSERT_EQ(figures.clinical.nadir, 50);

    LanguageSwitch language;
    for (const int id : {0, 1036, 2052}) {
        if (id == 0)
            language.clear();
        else
            ASSERT_TRUE(language.apply(id));
        for (const QSize size : {QSize(kPrintedPageWidth96, kPrintedPageHeight96), QSize(1024, 768)}) {
            AnalysisView view(store, figures.results, figures.statistics, &figures.clinical);
            const std::vector<Placed> drawn = Paint(view, size);
            const QRect area = view.layout().diagnoseArea().rect();
            std::vector<Placed> clinical;
            for (const Placed &t : drawn)
                if (area.contains(t.ink.center()))
                    clinical.push_back(t);
            ASSERT_GE(clinical.size(), 9u + 3u) << id; // the lines and the distribution's labels
            for (std::size_t i = 0; i < clinical.size(); ++i) {
                EXPECT_TRUE(area.contains(clinical[i].ink)) << id << " " << clinical[i].text.toStdString();
                for (std::size_t j = i + 1; j < clinical.size(); ++j)
                    EXPECT_FALSE(clinical[i].crowds(clinical[j]))
                        << id << " " << size.width() << ": \"" << clinical[i].text.toStdString() << "\" runs into \""
                        << clinical[j].text.toStdString() << '"';
            }
        }
    }
    language.clear();
}

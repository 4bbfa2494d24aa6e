// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis page: its geometry, its texts, a rendered page checked region by
// region, the view's single page and its printout.
#include "views/AnalysisGeometry.h"
#include "views/AnalysisPainter.h"
#include "views/AnalysisView.h"
#include "views/ClinicalSummaryPainter.h"
#include "views/PrintPreviewDialog.h"
#include "views/ViewPrinting.h"

#include "analysis/RunAnalysis.h"
#include "app/Settings.h"
#include "clinical/ClinicalSummary.h"
#include "test_env.h"

#include "ViewTestData.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <climits>
#include <map>

using viewtest::FillRecording;

namespace
{

bool IsGreen(QRgb c)
{
    return qGreen(c) > 200 && qRed(c) < 80 && qBlue(c) < 80;
}

bool IsBlue(QRgb c)
{
    return qBlue(c) > 200 && qRed(c) < 80 && qGreen(c) < 80;
}

bool IsDark(QRgb c)
{
    return qGray(c) < 128;
}

template <typename Test> int Count(const QImage &image, const Edges &r, Test test)
{
    int n = 0;
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, image.height()); ++y)
        for (int x = std::max(r.left, 0); x < std::min(r.right, image.width()); ++x)
            n += test(image.pixel(x, y));
    return n;
}

// Columns of r holding at least one pixel that passes test.
template <typename Test> std::vector<int> Columns(const QImage &image, const Edges &r, Test test)
{
    std::vector<int> xs;
    for (int x = r.left; x < r.right; ++x)
        if (Count(image, {x, r.top, x + 1, r.bottom}, test) > 0)
            xs.push_back(x);
    return xs;
}

struct Analysed {
    RecordStore store;
    AnalysisResults results;
    RecordingStatistics statistics;

    void analyse() { RunAnalysis(store.currentSamples.data(), store.currentSampleCount(), {}, results, statistics); }
};

QImage Render(AnalysisView &view)
{
    QImage image(view.size(), QImage::Format_RGB32);
    image.fill(Qt::red); // anything left unpainted shows
    QPainter p(&image);
    view.renderPage(p, view.size(), 0);
    return image;
}

void ClearSettings()
{
    QSettings("quellix", "setup").clear();
}

} // namespace

TEST(AnalysisGeometry, PageRectanglesFollowTheReportRules)
{
    const AnalysisLayout l = LayoutAnalysis(QSize(1000, 700), 200, 500);
    EXPECT_EQ(l.left, 20);
    EXPECT_EQ(l.right, 990);
    EXPECT_EQ(l.bottom, 690);
    EXPECT_EQ(l.tableTop, 210);
    EXPECT_EQ(l.w1, 485 * 51 / 100);
    EXPECT_EQ(l.cell(1, 1, l.w1), (Edges{20, 210, 20 + l.w1, 224}));
    EXPECT_EQ(l.cell(12, 2, 10), (Edges{30, 364, 50, 378}));
    EXPECT_EQ(l.cell(2, 4, l.w1).left, 20 + 485 + 5);
    EXPECT_EQ(l.cell(2, 5, l.w1), (Edges{20 + 485 + 485 * 70 / 100, 224, 990, 238}));
    EXPECT_EQ(l.cell(-1, 1, 5), Edges{});
    EXPECT_EQ(l.dividerX(), 505);
    EXPECT_EQ(l.dividerBottom(), 378);

    // Graphic summary: G = 413, S = 452, H = 238.
    EXPECT_EQ(l.summaryTop, 413);
    EXPECT_EQ(l.spo2Top, 452);
    EXPECT_EQ(l.chartHeight, 83);
    EXPECT_EQ(l.stripGap, 7);
    EXPECT_EQ(l.stripHeight, 4);
    EXPECT_EQ(l.pulseTop, 452 + 123);
    EXPECT_EQ(l.plotLeft, 40);
    EXPECT_EQ(l.plotWidth, 950);
    EXPECT_EQ(l.spo2Strip(), (Edges{40, 452 + 83 + 7, 990, 452 + 83 + 7 + 4}));

    // Scales clamp: 65 % sits on the 70 line, 200 bpm on the 180 line.
    EXPECT_EQ(l.spo2Y(65), l.spo2Y(70));
    EXPECT_EQ(l.spo2Y(70), l.spo2Top + l.chartHeight);
    EXPECT_EQ(l.spo2Y(100), l.spo2Top);
    EXPECT_EQ(l.pulseY(200), l.pulseTop);
    EXPECT_EQ(l.pulseY(10), l.pulseTop + l.chartHeight);

    // Time labels past the end of a short recording are left out.
    EXPECT_EQ(l.timeMarkSample(1), 95);
    EXPECT_EQ(l.timeMarkSample(5), 475);
    EXPECT_EQ(l.timeMarkSample(7), -1);
}

TEST(AnalysisGeometry, TraceStepFitsTheWholeRecording)
{
    EXPECT_EQ(TraceStep(0, 1000), 1);
    EXPECT_EQ(TraceStep(1000, 1000), 1);
    EXPECT_EQ(TraceStep(1001, 1000), 2); // truncating would give 1 and lose the last sample
    EXPECT_EQ(TraceStep(7201, 1000), 8); // truncating would give 7 and stop at sample 7,000
    EXPECT_EQ(TraceStep(518400, 1880), 276);

    for (int n : {999, 1000, 1001, 1999, 7201, 518400}) {
        AnalysisLayout l = LayoutAnalysis(QSize(1050, 700), 200, n);
        ASSERT_EQ(l.plotWidth, 1000);
        EXPECT_LE(l.traceX(n - 1), l.right - 1) << n;
        EXPECT_GT(l.traceX(n - 1), l.plotLeft) << n;
    }
    // Short recordings use one column per sample and end where the data ends.
    const AnalysisLayout shortOne = LayoutAnalysis(QSize(1050, 700), 200, 300);
    EXPECT_EQ(shortOne.traceX(299), shortOne.plotLeft + 298);
}

TEST(AnalysisGeometry, EventMarksCoverTheEventsDuration)
{
    const AnalysisLayout l = LayoutAnalysis(QSize(1050, 700), 200, 7201); // step 8
    auto span = [&](int start, int length) { return l.eventSpan({start, length, 0, 0, 0}); };
    EXPECT_EQ(span(80, 10).first, l.plotLeft + 10);
    EXPECT_EQ(span(80, 10).last, l.plotLeft + 11);
    EXPECT_EQ(span(80, 1).last, l.plotLeft + 10); // at least the start column
    EXPECT_EQ(span(800, 800).last - span(800, 800).first, 99);
    // Nothing right of the plot's right edge, whatever the event says.
    const AnalysisLayout::Span far = span(7000, 100000);
    EXPECT_EQ(far.last, l.right - 1);
}

TEST(AnalysisTexts, TableRowsThresholdsAndRuleLines)
{
    Analysed a;
    FillRecording(
        a.store, 7200, [](int i) { return i % 1000 >= 100 && i % 1000 < 110 && i < 5000 ? 90 : 97; },
        [](int) { return 70; });
    a.analyse();
    ASSERT_EQ(a.results.spo2EventCount, 5);
    const auto rows = AnalysisTableRows(a.results, a.statistics);
    EXPECT_EQ(rows[0].label, QStringLiteral("Event Data"));
    EXPECT_EQ(rows[0].spo2, QStringLiteral("SpO2"));
    EXPECT_EQ(rows[1].spo2, QStringLiteral("5"));
    EXPECT_EQ(rows[2].spo2, QStringLiteral("50"));
    EXPECT_EQ(rows[4].label, QStringLiteral("Index.(1/hr)"));
    EXPECT_EQ(rows[4].spo2, QStringLiteral("2.5"));
    EXPECT_EQ(rows[4].pulse, QStringLiteral("0.0"));
    // Exact ties round as printf's "%0.1f" does, to the even digit: one event
    // in four hours is 0.25, nine are 2.25.
    AnalysisResults ties = a.results;
    ties.spo2EventIndex = 1 / float(14400 / 3600.0);
    ties.pulseEventIndex = 9 / float(14400 / 3600.0);
    EXPECT_EQ(AnalysisTableRows(ties, a.statistics)[4].spo2, QStringLiteral("0.2"));
    EXPECT_EQ(AnalysisTableRows(ties, a.statistics)[4].pulse, QStringLiteral("2.2"));
    ties.spo2EventIndex = 0.75F;
    EXPECT_EQ(AnalysisTableRows(ties, a.statistics)[4].spo2, QStringLiteral("0.8"));
    EXPECT_EQ(rows[9].spo2, QStringLiteral("97"));
    EXPECT_EQ(rows[10].spo2, QStringLiteral("90"));
    EXPECT_EQ(rows[11].label, QStringLiteral("Avg Dur."));

    a.statistics.spo2AboveHighCount = 120;
    const auto thresholds = ThresholdTexts(a.results, a.statistics);
    EXPECT_EQ(thresholds[0], QStringLiteral("SpO2  >  94         120"));
    EXPECT_EQ(thresholds[3], QStringLiteral("Pulse  <  60         0"));

    EXPECT_EQ(DesaturationRuleText(4),
              QStringLiteral("Desaturation Event:drop in SpO2 by at least 4% for a minimum duration of 10 seconds."));
    EXPECT_EQ(DesaturationRuleText(3),
              QStringLiteral("Desaturation Event:drop in SpO2 by at least 3% for a minimum duration of 10 seconds."));
    EXPECT_EQ(PulseRuleText(6),
              QStringLiteral("Pulse Event Change in rate by at least 6 bpm for a minimum duration of 8 seconds."));
}

TEST(AnalysisPage, RenderedRegionByRegion)
{
    ClearSettings();
    Analysed a;
    // 7,201 samples: the last 40 fall to 75 %, and one long desaturation and
    // one pulse event lie in the middle.
    FillRecording(
        a.store, 7201,
        [](int i) {
            if (i >= 7161)
                return 75;
            return i >= 3000 && i < 3400 ? 88 : 97;
        },
        [](int i) { return i >= 5000 && i < 5016 ? 50 : 70; });
    a.store.reportTitle = QStringLiteral("Night report");
    a.analyse();
    ASSERT_EQ(a.results.spo2EventCount, 2);
    ASSERT_EQ(a.results.pulseEventCount, 1);

    AnalysisView view(a.store, a.results, a.statistics);
    view.resize(1280, 900);
    const QImage image = Render(view);
    const AnalysisLayout l = view.layout();
    ASSERT_GT(l.step, 1);

    // Every pixel painted; the page is white where nothing is drawn.
    EXPECT_EQ(Count(image, {0, 0, 1280, 900}, [](QRgb c) { return c == qRgb(255, 0, 0); }), 0);
    EXPECT_EQ(image.pixel(1275, 895), qRgb(255, 255, 255));

    // Header: the title at the top, and nothing of the report above its bottom.
    EXPECT_GT(Count(image, {20, 0, 600, 40}, IsDark), 50);
    // Table: the divider and text in the label, SpO2 and threshold columns.
    EXPECT_EQ(Count(image, {l.dividerX(), l.tableTop, l.dividerX() + 1, l.dividerBottom()}, IsDark),
              l.dividerBottom() - l.tableTop);
    EXPECT_GT(Count(image, l.cell(2, 1, l.w1), IsDark), 20);
    EXPECT_GT(Count(image, l.cell(2, 2, l.w2 + 5), IsDark), 3);
    EXPECT_GT(Count(image, l.cell(2, 4, l.w1), IsDark), 20);
    EXPECT_GT(Count(image, l.cell(6, 4, l.w1), IsDark), 20); // "Diagnose:"
    // ... and nothing under that heading: its area is left for later figures.
    EXPECT_EQ(Count(image, l.diagnoseArea(), IsDark), 0);

    // SpO2 chart: green only inside the plot, reaching the last sample's column.
    const Edges spo2Plot{l.plotLeft, l.spo2Top, l.right, l.spo2Top + l.chartHeight + 1};
    const auto green = Columns(image, spo2Plot, IsGreen);
    ASSERT_FALSE(green.empty());
    EXPECT_EQ(green.back(), l.traceX(7200));
    EXPECT_EQ(image.pixel(l.traceX(7200), l.spo2Y(75)), qRgb(0, 255, 0));
    EXPECT_EQ(Count(image, {l.right, 0, 1280, 900}, IsGreen), 0);

    // Pulse chart: blue trace, with the 50 bpm dip drawn at its place.
    const Edges pulsePlot{l.plotLeft, l.pulseTop, l.right, l.pulseTop + l.chartHeight + 1};
    EXPECT_GT(Count(image, pulsePlot, IsBlue), 900);
    EXPECT_TRUE(IsBlue(image.pixel(l.traceX(5005), l.pulseY(50))));

    // Strips: each event covers its duration in its trace's colour.
    const Edges s = l.spo2Strip();
    const auto spo2Marks = Columns(image, {s.left, s.top, s.right, s.bottom}, IsGreen);
    const auto longEvent = l.eventSpan(a.results.spo2Events[0]);
    const auto tailEvent = l.eventSpan(a.results.spo2Events[1]);
    std::vector<int> expected;
    for (const auto &span : {longEvent, tailEvent})
        for (int x = span.first; x <= span.last; ++x)
            expected.push_back(x);
    EXPECT_EQ(spo2Marks, expected);
    EXPECT_GE(longEvent.last - longEvent.first, 400 / l.step - 1);
    const Edges ps = l.pulseStrip();
    const auto pulseMarks = Columns(image, ps, IsBlue);
    ASSERT_FALSE(pulseMarks.empty());
    EXPECT_EQ(pulseMarks.front(), l.eventSpan(a.results.pulseEvents[0]).first);
    EXPECT_EQ(Count(image, s, IsBlue) + Count(image, ps, IsGreen), 0);

    // Time axis: labels under the odd marks.
    EXPECT_GT(Count(image, {l.timeMarkX(1) - 25, l.timeAxisY + 5, l.timeMarkX(1) + 25, l.bottom}, IsDark), 20);
    EXPECT_EQ(Count(image, {l.timeMarkX(2) - 5, l.timeAxisY + 5, l.timeMarkX(2) + 5, l.bottom}, IsDark), 0);
}

TEST(AnalysisPage, RuleLineFollowsTheStoredSettingAtTheNextPaint)
{
    ClearSettings();
    Analysed a;
    FillRecording(
        a.store, 600, [](int) { return 96; }, [](int) { return 70; });
    a.analyse();
    AnalysisView view(a.store, a.results, a.statistics);
    view.resize(1000, 700);
    EXPECT_EQ(view.picture().desaturationsEvent, 4);
    const QImage before = Render(view);
    WriteSetupValue(QStringLiteral("DesaturationsEvent"), QStringLiteral("3"));
    EXPECT_EQ(view.picture().desaturationsEvent, 3);
    const QImage after = Render(view);
    const AnalysisLayout l = view.layout();
    const QRect rule(l.left, l.dividerBottom() + 1, l.right - l.left, AnalysisLayout::kRowHeight);
    EXPECT_NE(before.copy(rule), after.copy(rule));
    // Only the rule line changed.
    const QRect below(0, l.dividerBottom() + 15, 1000, 700 - l.dividerBottom() - 15);
    EXPECT_EQ(before.copy(below), after.copy(below));
    ClearSettings();
}

TEST(AnalysisPage, ClinicalFiguresFillTheDiagnoseAreaAndNothingElse)
{
    ClearSettings();
    Analysed a;
    // Two hours at 96 % with dips to 85 %, so T90, T88 and the ODIs are not zero.
    FillRecording(
        a.store, 7200, [](int i) { return i % 300 < 20 ? 85 : 96; }, [](int i) { return 60 + i % 7; });
    a.analyse();
    const ClinicalSummary clinical = computeClinicalSummary(a.store.currentSamples.data(), 7200);
    ASSERT_GT(clinical.t88Seconds, 0);
    ASSERT_GT(clinical.odi4, 0);

    for (const QSize size : {QSize(1280, 900), QSize(1092, 764), QSize(800, 600)}) {
        SCOPED_TRACE(size.width());
        AnalysisView plain(a.store, a.results, a.statistics);
        AnalysisView withFigures(a.store, a.results, a.statistics, &clinical);
        plain.resize(size);
        withFigures.resize(size);
        const QImage before = Render(plain);
        const QImage after = Render(withFigures);
        const QRect area = withFigures.layout().diagnoseArea().rect();

        // Outside the area under "Diagnose:" not one pixel moved.
        int changedOutside = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                changedOutside += !area.contains(x, y) && before.pixel(x, y) != after.pixel(x, y);
        EXPECT_EQ(changedOutside, 0);

        // Inside it: exactly what the summary's own painter draws there.
        QImage alone(size, QImage::Format_RGB32);
        alone.fill(Qt::white);
        {
            QPainter p(&alone);
            paintClinicalSummary(p, area, clinical);
        }
        EXPECT_EQ(after.copy(area), alone.copy(area));
        EXPECT_EQ(Count(before, withFigures.layout().diagnoseArea(), IsDark), 0);
        EXPECT_GT(Count(after, withFigures.layout().diagnoseArea(), IsDark), 300);
    }
}

TEST(AnalysisPage, NoSamplesGiveAnEmptyWhitePage)
{
    Analysed a;
    a.analyse();
    AnalysisView view(a.store, a.results, a.statistics);
    view.resize(800, 600);
    const QImage image = Render(view);
    EXPECT_EQ(Count(image, {0, 0, 800, 600}, [](QRgb c) { return c != qRgb(255, 255, 255); }), 0);
    EXPECT_EQ(view.pageCount(), 0);
}

TEST(AnalysisPage, OnePageThatDoesNotPageAndPrintsOnce)
{
    Analysed a;
    FillRecording(
        a.store, 20000, [](int) { return 96; }, [](int) { return 70; });
    a.analyse();
    AnalysisView view(a.store, a.results, a.statistics);
    view.resize(1000, 700);
    QSignalSpy readout(&view, &DataView::pageChanged);
    view.show();
    ASSERT_FALSE(readout.isEmpty());
    EXPECT_EQ(readout.last().at(0).toInt(), 0);
    EXPECT_EQ(readout.last().at(1).toInt(), 1);

    const auto announced = readout.count();
    view.pageDown();
    view.pageDown();
    view.pageUp();
    for (const Qt::Key key : {Qt::Key_End, Qt::Key_PageDown, Qt::Key_Home})
        QTest::keyClick(&view, key);
    EXPECT_EQ(readout.count(), announced);
    EXPECT_EQ(view.position(), 0);
    EXPECT_EQ(view.pageCount(), 1);

    const QString path = testenv::root() + QStringLiteral("/analysis.pdf");
    QPrinter printer(QPrinter::HighResolution);
    ConfigureReportPrinter(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    const PrintResult result = PrintDataView(view, printer);
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.firstPage, 0);
    EXPECT_EQ(result.lastPage, 0);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    info.waitForFinished(30000);
    EXPECT_TRUE(QString::fromLocal8Bit(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+1\\n")));

    // The preview offers that one page too.
    int offered = -1;
    QTimer::singleShot(0, [&offered] {
        auto *dialog = qobject_cast<PrintPreviewDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        offered = dialog->navigation().pageCount();
        dialog->reject();
    });
    view.printPreview();
    EXPECT_EQ(offered, 1);
    EXPECT_EQ(view.position(), 0);
}

TEST(AnalysisPage, TraceCoversWhatJoiningEverySampleCovers)
{
    // Noisy readings with deep, short dips: many samples per column.
    Analysed a;
    FillRecording(
        a.store, 20011, [](int i) { return 90 + (i * 7919 % 11) - (i % 997 < 3 ? 15 : 0); },
        [](int i) { return 60 + int(i * 104729LL % 37); });
    a.analyse();
    AnalysisView view(a.store, a.results, a.statistics);
    view.resize(1200, 800);
    const QImage page = Render(view);
    const AnalysisLayout l = view.layout();
    ASSERT_GT(l.step, 10);

    // The reference: one line through every sample, as the trace is defined.
    QImage reference(view.size(), QImage::Format_RGB32);
    reference.fill(Qt::white);
    {
        QPainter p(&reference);
        p.setPen(QPen(QColor(0, 255, 0), 0));
        std::vector<QPoint> points;
        for (int k = 0; k < a.store.currentSampleCount(); ++k)
            points.emplace_back(l.traceX(k), l.spo2Y(a.store.currentSamples[std::size_t(k)].spo2));
        p.drawPolyline(points.data(), int(points.size()));
    }
    auto range = [&](const QImage &image, int x) {
        int top = -1;
        int bottom = -1;
        for (int y = l.spo2Top; y <= l.spo2Top + l.chartHeight; ++y)
            if (IsGreen(image.pixel(x, y))) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
        return std::pair(top, bottom);
    };
    // Where each column's own samples lie.
    std::map<int, std::pair<int, int>> samplesAt;
    for (int k = 1; k < a.store.currentSampleCount(); ++k) {
        const int y = l.spo2Y(a.store.currentSamples[std::size_t(k)].spo2);
        auto [it, added] = samplesAt.try_emplace(l.traceX(k), y, y);
        it->second.first = std::min(it->second.first, y);
        it->second.second = std::max(it->second.second, y);
    }
    int columns = 0;
    const int lastX = l.traceX(a.store.currentSampleCount() - 1);
    for (int x = l.plotLeft + 2; x < lastX; ++x) {
        const auto got = range(page, x);
        // Every sample is drawn in its column...
        ASSERT_GE(got.first, 0) << x;
        EXPECT_LE(got.first, samplesAt[x].first) << x;
        EXPECT_GE(got.second, samplesAt[x].second) << x;
        // ... the line never leaves what joining every sample covers around
        // it (rasterisers split a steep step between two columns differently)...
        int top = INT_MAX;
        int bottom = INT_MIN;
        for (int dx = -1; dx <= 1; ++dx) {
            const auto want = range(reference, x + dx);
            top = std::min(top, want.first);
            bottom = std::max(bottom, want.second);
        }
        EXPECT_GE(got.first, top) << x;
        EXPECT_LE(got.second, bottom) << x;
        // ... and neighbouring columns touch, so the trace has no gaps.
        const auto next = range(page, x + 1);
        EXPECT_TRUE(next.first <= got.second + 1 && next.second >= got.first - 1) << x;
        ++columns;
    }
    EXPECT_GT(columns, 1000);
}

TEST(AnalysisPage, KeptTracesFollowResizesAndChangedReadings)
{
    // Repaints reuse the traces; each picture must still be the one a view
    // painting for the first time gives.
    Analysed a;
    FillRecording(
        a.store, 30011, [](int i) { return 88 + (i * 7919 % 9) - (i % 1201 < 20 ? 12 : 0); },
        [](int i) { return 55 + int(i * 104729LL % 41); });
    a.analyse();
    AnalysisView view(a.store, a.results, a.statistics);
    auto fresh = [&a](QSize size) {
        AnalysisView first(a.store, a.results, a.statistics);
        first.resize(size);
        return Render(first);
    };
    view.resize(1200, 800);
    const QImage large = Render(view);
    EXPECT_EQ(Render(view), large);
    EXPECT_EQ(large, fresh(QSize(1200, 800)));
    // On raster pixels the traces, event marks and dotted grid are copied
    // from ready images. A recorded picture has no raster pixels, so it
    // fills them as rects; played back at 1:1 the charts must be the same.
    {
        QPicture recorded;
        QPainter rp(&recorded);
        view.renderPage(rp, view.size(), 0);
        rp.end();
        QImage replayed(view.size(), QImage::Format_RGB32);
        replayed.fill(Qt::red);
        QPainter p(&replayed);
        recorded.play(&p);
        p.end();
        const AnalysisLayout l = view.layout();
        // Right of the scale labels, from the SpO2 chart down to the time
        // axis, without the pulse chart's caption.
        const QRect spo2(l.plotLeft + 30, l.spo2Top, l.right - l.plotLeft - 30, l.spo2Strip().bottom - l.spo2Top);
        const QRect pulse(spo2.left(), l.pulseTop, spo2.width(), l.timeAxisY + 1 - l.pulseTop);
        EXPECT_EQ(replayed.copy(spo2), large.copy(spo2));
        EXPECT_EQ(replayed.copy(pulse), large.copy(pulse));
        EXPECT_GT(Count(large, Edges{spo2.left(), spo2.top(), spo2.right(), spo2.bottom()}, IsGreen), 1000);
    }
    // Kept traces come as ready pictures; they must give the pixels of the
    // traces worked out and filled for one paint.
    {
        QImage unkept(view.size(), QImage::Format_RGB32);
        unkept.fill(Qt::red);
        QPainter p(&unkept);
        AnalysisPicture picture = view.picture();
        picture.traceCache = nullptr;
        PaintAnalysisPage(p, view.size(), picture, view.fonts());
        p.end();
        EXPECT_EQ(unkept, large);
    }

    // Another width puts other samples in each column.
    view.resize(700, 500);
    EXPECT_EQ(Render(view), fresh(QSize(700, 500)));
    view.resize(1200, 800);
    EXPECT_EQ(Render(view), large);

    // Readings changed in place, as the same buffer: the refresh the main
    // window sends drops the kept traces.
    for (SampleRecord &s : a.store.currentSamples)
        s.spo2 = std::uint8_t(std::max(70, s.spo2 - 8));
    view.refresh();
    const QImage changed = Render(view);
    EXPECT_NE(changed, large);
    EXPECT_EQ(changed, fresh(QSize(1200, 800)));

    // A painter that only moves the page (a widget inside another) keeps
    // every pixel, dotted grid included.
    QImage moved(view.width() + 13, view.height() + 7, QImage::Format_RGB32);
    moved.fill(Qt::red);
    {
        QPainter p(&moved);
        p.translate(13, 7);
        view.renderPage(p, view.size(), 0);
    }
    EXPECT_EQ(moved.copy(13, 7, view.width(), view.height()), changed);

    // A printer scales the page: the kept traces serve it unchanged.
    QImage scaled(600, 400, QImage::Format_RGB32);
    QImage reference = scaled;
    for (QImage *image : {&scaled, &reference}) {
        image->fill(Qt::red);
        QPainter p(image);
        p.scale(0.5, 0.5);
        if (image == &scaled) {
            view.renderPage(p, view.size(), 0);
        } else {
            AnalysisView first(a.store, a.results, a.statistics);
            first.resize(view.size());
            first.renderPage(p, view.size(), 0);
        }
    }
    EXPECT_EQ(scaled, reference);
}

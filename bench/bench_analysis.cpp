// SPDX-License-Identifier: GPL-3.0-or-later
// RunAnalysis on a full 518,400-reading recording against one plain pass
// summing the same readings, and the analysis page at 1920 x 1080 against a
// plain fill and the trend page, all measured in the same run.
#include "views/AnalysisView.h"
#include "views/TrendView.h"

#include "analysis/RunAnalysis.h"
#include "clinical/ClinicalSummary.h"
#include "model/RecordStore.h"

#include "SimulatedNight.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace
{

const QSize kSize(1920, 1080);

void BM_SumPass(benchmark::State &state)
{
    const RecordStore &store = bench::FullNight();
    for (auto _ : state) {
        long long sum = 0;
        for (const SampleRecord &s : store.currentSamples)
            sum += s.spo2 + s.pulseRate;
        benchmark::DoNotOptimize(sum);
    }
}

void BM_RunAnalysis(benchmark::State &state)
{
    const RecordStore &store = bench::FullNight();
    AnalysisResults results;
    RecordingStatistics statistics;
    for (auto _ : state) {
        RunAnalysis(store.currentSamples.data(), store.currentSampleCount(), {}, results, statistics);
        benchmark::DoNotOptimize(results.spo2EventCount);
    }
    state.counters["spo2Events"] = results.spo2EventCount;
    state.counters["pulseEvents"] = results.pulseEventCount;
}

void BM_PlainFill(benchmark::State &state)
{
    QImage image(kSize, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        p.fillRect(QRect(QPoint(0, 0), kSize), QColor(255, 182, 147));
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_TrendPage(benchmark::State &state)
{
    RecordStore &store = bench::FullNight();
    TrendView view(store);
    view.resize(kSize);
    const int page = view.pageCount() / 2;
    QImage image(kSize, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        view.renderPage(p, kSize, page);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

// The clinical figures of a full night, artefact pass included.
void BM_ClinicalSummary(benchmark::State &state)
{
    const RecordStore &store = bench::FullNight();
    for (auto _ : state)
        benchmark::DoNotOptimize(computeClinicalSummary(store.currentSamples.data(), store.currentSampleCount()));
}

void BM_AnalysisPage(benchmark::State &state)
{
    RecordStore &store = bench::FullNight();
    AnalysisResults results;
    RecordingStatistics statistics;
    RunAnalysis(store.currentSamples.data(), store.currentSampleCount(), {}, results, statistics);
    // Painted as the window shows it, clinical figures included.
    const ClinicalSummary clinical = computeClinicalSummary(store.currentSamples.data(), store.currentSampleCount());
    AnalysisView view(store, results, statistics, &clinical);
    view.resize(kSize);
    QImage image(kSize, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        view.renderPage(p, kSize, 0);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(BM_SumPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunAnalysis)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClinicalSummary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrendPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnalysisPage)->Unit(benchmark::kMillisecond);

// Prints the analysis against the summing pass and the page against the plain
// fill and the trend page, all from this run.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs)
            ms_[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        auto ratio = [this](const char *what, const char *base, double aim) {
            if (!ms_.count(what) || !ms_.count(base) || ms_[base] <= 0)
                return;
            const double x = ms_[what] / ms_[base];
            std::printf("%s: %.3f ms, %.2f x %s (%.3f ms)%s\n", what, ms_[what], x, base, ms_[base],
                        aim > 0 && x > aim ? "  -- above the aim" : "");
        };
        ratio("BM_RunAnalysis", "BM_SumPass", 5.0);
        ratio("BM_AnalysisPage", "BM_PlainFill", 0);
        ratio("BM_AnalysisPage", "BM_TrendPage", 1.0);
    }

private:
    std::map<std::string, double> ms_;
};

} // namespace

int main(int argc, char **argv)
{
    RatioReporter reporter;
    return bench::RunPainting(argc, argv, reporter);
}

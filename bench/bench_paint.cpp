// SPDX-License-Identifier: GPL-3.0-or-later
// Paint time of one trend page and one table page of a full 518,400-reading
// recording at 1920 x 1080, against a plain fill of the same image.
#include "views/TableView.h"
#include "views/TrendView.h"

#include "model/RecordStore.h"

#include "SimulatedNight.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace
{

const QSize kSize(1920, 1080);

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

template <typename View> void BM_Page(benchmark::State &state)
{
    RecordStore &store = bench::FullNight();
    View view(store);
    view.resize(kSize);
    const int page = view.pageCount() / 2; // a page from the middle of the night
    QImage image(kSize, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        view.renderPage(p, kSize, page);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["pages"] = view.pageCount();
}

void BM_TrendPage(benchmark::State &state)
{
    BM_Page<TrendView>(state);
}

void BM_TablePage(benchmark::State &state)
{
    BM_Page<TableView>(state);
}

BENCHMARK(BM_PlainFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrendPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TablePage)->Unit(benchmark::kMillisecond);

// Prints each page's time as a multiple of the plain fill measured in this run.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs) {
            const double ms = r.GetAdjustedRealTime();
            if (r.benchmark_name() == "BM_PlainFill")
                fill_ = ms;
            else if (fill_ > 0)
                std::printf("%s: %.2f ms, %.1f x the plain fill (%.3f ms)%s\n", r.benchmark_name().c_str(), ms,
                            ms / fill_, fill_,
                            r.benchmark_name() == "BM_TrendPage" && ms >= 16.0 ? "  -- above the 16 ms frame" : "");
        }
    }

private:
    double fill_ = 0;
};

} // namespace

int main(int argc, char **argv)
{
    RatioReporter reporter;
    return bench::RunPainting(argc, argv, reporter);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the print preview of a table view: time until the first page is
// shown and the memory the open preview holds, against painting one page of
// the same view in the same run, for an 8-hour night and for the longest
// recording.
#include "views/PreviewSheet.h"
#include "views/PrintPreviewDialog.h"
#include "views/TableView.h"

#include "model/RecordStore.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <map>
#include <memory>
#include <string>

namespace
{

const QSize kWindow(1600, 800);

RecordStore &Store(int readings)
{
    static std::map<int, std::unique_ptr<RecordStore>> stores;
    auto &store = stores[readings];
    if (!store) {
        store = std::make_unique<RecordStore>();
        store->currentSamples = GenerateNight(7, 1, readings);
    }
    return *store;
}

// Heap bytes in use now (small blocks and mapped large ones), in kB. Peak RSS
// is not measurable on every kernel; what the open preview holds is.
long heapKb()
{
    const struct mallinfo2 m = mallinfo2();
    return long((m.uordblks + m.hblkhd) / 1024);
}

void BM_OneTablePage(benchmark::State &state)
{
    TableView view(Store(int(state.range(0))));
    view.resize(kWindow);
    long held = 0;
    for (auto _ : state) {
        const long before = heapKb();
        QImage image(kWindow, QImage::Format_RGB32);
        QPainter p(&image);
        view.renderPage(p, kWindow, 0);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
        held = heapKb() - before;
    }
    state.counters["pages"] = view.pageCount();
    state.counters["held_kB"] = double(held);
}

void BM_PreviewFirstPage(benchmark::State &state)
{
    TableView view(Store(int(state.range(0))));
    view.resize(kWindow);
    long held = 0;
    for (auto _ : state) {
        const long before = heapKb();
        PrintPreviewDialog preview(view);
        preview.resize(1400, 900);
        preview.show();
        benchmark::DoNotOptimize(preview.sheet().pageImage().constBits());
        held = heapKb() - before;
    }
    state.counters["pages"] = view.pageCount();
    state.counters["held_kB"] = double(held);
}

constexpr int kNight = 8 * 3600;
constexpr int kLongest = RecordStore::kCapacity;

BENCHMARK(BM_OneTablePage)->Arg(kNight)->Arg(kLongest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewFirstPage)->Arg(kNight)->Arg(kLongest)->Unit(benchmark::kMillisecond);

// Prints the preview's time and held memory as multiples of one page's paint
// of the same recording measured in this run.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs) {
            const std::string name = r.benchmark_name();
            const std::string arg = name.substr(name.find('/'));
            const double ms = r.GetAdjustedRealTime();
            const double kb = r.counters.at("held_kB");
            if (name.rfind("BM_OneTablePage", 0) == 0) {
                page_[arg] = {ms, kb};
            } else if (page_.count(arg)) {
                const auto [pageMs, pageKb] = page_[arg];
                std::printf("preview of %.0f pages: first page after %.1f ms = %.1f x one page (%.1f ms); "
                            "holds %.0f kB = %.1f x one page (%.0f kB)\n",
                            double(r.counters.at("pages")), ms, ms / pageMs, pageMs, kb, kb / std::max(pageKb, 1.0),
                            pageKb);
            }
        }
    }

private:
    std::map<std::string, std::pair<double, double>> page_;
};

} // namespace

int main(int argc, char **argv)
{
    RatioReporter reporter;
    return bench::RunPainting(argc, argv, reporter);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The overview of ten years of one patient's nights (3,650 in a SQLite
// archive), each ratio from the same run:
//   paint: the overview page / the trend page of one 8-hour night, same size  (aim: at most 2)
//   data:  the patient's listing + the statistics / opening one 8-hour night   (aim: below 1)
//          (cold_ratio: the same with the rows read afresh, as after a change)
// The archive takes minutes to fill; it is kept in the temporary folder and
// used again while it holds the same nights.
#include "views/OverviewPainter.h"
#include "views/TrendView.h"

#include "archive/Overview.h"
#include "archive/SqliteArchive.h"
#include "model/RecordStore.h"

#include "BenchSupport.h"
#include "SimulatedNight.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>

namespace
{

using Clock = std::chrono::steady_clock;
constexpr int kNight = 28800;
constexpr int kNights = 3650;
const QSize kSize(1920, 1080);
const QString kPatient = QStringLiteral("1");

double seconds(const std::function<void()> &work)
{
    const auto t0 = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

NightInput nightInput(int day)
{
    NightInput n;
    n.readings =
        GenerateNight(std::uint32_t(day + 1), 1, kNight, QDateTime(QDate(2016, 1, 1).addDays(day), QTime(22, 30, 0)));
    for (SampleRecord &s : n.readings)
        s.auxValue = 0; // keeps the file small; the listing never reads readings
    n.patient.idNumber = 1;
    PatientRecord::setText(n.patient.name, QStringLiteral("Ten Years"));
    n.title = QStringLiteral("bench");
    return n;
}

SqliteArchive &tenYears()
{
    static std::unique_ptr<SqliteArchive> archive = [] {
        const QString path = QDir::temp().filePath(QStringLiteral("quellix-bench-overview.sqlite"));
        auto opened = SqliteArchive::open(path);
        if (!opened)
            qFatal("cannot open the benchmark's archive");
        std::unique_ptr<SqliteArchive> a = std::move(opened.value().archive);
        if (a->list({}).value().size() != kNights) {
            a.reset();
            for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
                QFile::remove(path + suffix);
            a = std::move(SqliteArchive::open(path).value().archive);
            for (int year = 0; year < 10; ++year) {
                std::vector<NightInput> batch;
                for (int day = 0; day < kNights / 10; ++day)
                    batch.push_back(nightInput(year * (kNights / 10) + day));
                (void)a->store(batch);
            }
        }
        return a;
    }();
    return *archive;
}

OverviewData overviewOf(SqliteArchive &archive)
{
    ArchiveFilter filter;
    filter.patient = kPatient;
    return buildOverview(archive.list(filter).value(), {}, {}, QStringLiteral("Ten Years (ID 1)"));
}

void BM_OverviewPaint(benchmark::State &state)
{
    SqliteArchive &archive = tenYears();
    const OverviewData data = overviewOf(archive);
    RecordStore store;
    store.currentSamples = archive.night(data.nights.back().night).value().readings;
    TrendView trend(store);
    trend.resize(kSize);
    QImage image(kSize, QImage::Format_RGB32);
    double op = 0;
    double floor = 0;
    for (auto _ : state) {
        floor += seconds([&] {
            QPainter p(&image);
            trend.renderPage(p, kSize, 0);
        });
        const double o = seconds([&] {
            QPainter p(&image);
            paintOverview(p, QSizeF(kSize), data, {});
        });
        op += o;
        state.SetIterationTime(o);
    }
    state.counters["nights"] = double(data.nights.size());
    state.counters["floor_ms"] = 1000 * floor / double(state.iterations());
    state.counters["ratio"] = op / floor;
}

void BM_OverviewData(benchmark::State &state)
{
    SqliteArchive &archive = tenYears();
    // The page lists the archive first, for its patients; that listing is kept.
    const qint64 number = archive.list({}).value().back().night;
    // A second connection never lists everything, so it keeps no listing: its
    // overview reads the rows afresh, as after a change.
    auto reader = std::move(SqliteArchive::open(archive.path()).value().archive);
    double op = 0;
    double floor = 0;
    double cold = 0;
    for (auto _ : state) {
        floor += seconds([&] { benchmark::DoNotOptimize(archive.night(number)); });
        cold += seconds([&] { benchmark::DoNotOptimize(overviewOf(*reader)); });
        const double o = seconds([&] { benchmark::DoNotOptimize(overviewOf(archive)); });
        op += o;
        state.SetIterationTime(o);
    }
    state.counters["cold_ms"] = 1000 * cold / double(state.iterations());
    state.counters["cold_ratio"] = cold / floor;
    state.counters["floor_ms"] = 1000 * floor / double(state.iterations());
    state.counters["ratio"] = op / floor;
}

BENCHMARK(BM_OverviewPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_OverviewData)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

// Prints each ratio against its aim.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs) {
            if (r.counters.find("ratio") == r.counters.end())
                continue;
            const bool paint = r.benchmark_name().rfind("BM_OverviewPaint", 0) == 0;
            const double ratio = r.counters.at("ratio");
            const double aim = paint ? 2.0 : 1.0;
            const bool met = paint ? ratio <= aim : ratio < aim;
            std::printf("%s: %.2f ms, %.2f x %s (%.2f ms); aim %s %.0f x%s\n", r.benchmark_name().c_str(),
                        r.GetAdjustedRealTime(), ratio, paint ? "the trend page" : "opening one night",
                        double(r.counters.at("floor_ms")), paint ? "at most" : "below", aim, met ? "" : "  -- MISSED");
            if (!paint)
                std::printf("  read afresh (no kept listing): %.2f ms, %.1f x opening one night\n",
                            double(r.counters.at("cold_ms")), double(r.counters.at("cold_ratio")));
        }
    }
};

} // namespace

int main(int argc, char **argv)
{
    RatioReporter reporter;
    return bench::RunPainting(argc, argv, reporter);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The archive on a local PostgreSQL server against the SQLite one, each ratio
// from the same run:
//   store: archiving one 8-hour night on the server / in SQLite   (aim: at most 5)
//   list:  listing 3,650 nights from the server / from SQLite read afresh
//          (aim: at most 5; kept_ratio: against SQLite's kept listing)
// The server is the tests' own, started here with fsync on; the ratios are
// printed at the end.
#include "archive/ServerArchive.h"
#include "archive/SqliteArchive.h"

#include "SimulatedNight.h"
#include "pg_server.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

namespace
{

using Clock = std::chrono::steady_clock;
constexpr int kNight = 28800;

double seconds(const std::function<void()> &work)
{
    const auto t0 = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

NightInput nightInput(std::uint32_t seed, int day, int readings)
{
    NightInput n;
    n.readings =
        GenerateNight(seed, 1 + int(seed % 100), readings, QDateTime(QDate(2016, 1, 1).addDays(day), QTime(22, 30, 0)));
    n.patient.idNumber = n.readings.front().id;
    n.title = QStringLiteral("bench");
    return n;
}

// The pair under test: a fresh SQLite file and a fresh database on the server.
struct Pair {
    QTemporaryDir dir;
    std::unique_ptr<SqliteArchive> local;
    std::unique_ptr<ServerArchive> server;
    Pair()
    {
        local = std::move(SqliteArchive::open(dir.filePath(QStringLiteral("bench.sqlite"))).value().archive);
        // Durable, as a clinic's server is: its commits wait for the disk as SQLite's do.
        static pgtest::PgServer pg(true);
        if (!pg.ok())
            qFatal("no PostgreSQL server for the benchmark: %s", qPrintable(pg.error()));
        auto opened = ServerArchive::open(pg.connection(pg.createDatabase()));
        if (!opened)
            qFatal("cannot open the server archive: %s", qPrintable(opened.detail()));
        server = std::move(opened.value());
    }
};

std::map<std::string, double> &ratios()
{
    static std::map<std::string, double> kept;
    return kept;
}

void BM_ServerStoreNight(benchmark::State &state)
{
    Pair p;
    double op = 0;
    double floor = 0;
    std::uint32_t seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        const NightInput n = nightInput(seed, int(seed), kNight);
        ++seed;
        state.ResumeTiming();
        floor += seconds([&] { (void)p.local->store({n}); });
        const double o = seconds([&] { (void)p.server->store({n}); });
        op += o;
        state.SetIterationTime(o);
    }
    state.counters["sqlite_ms"] = 1000 * floor / double(state.iterations());
    state.counters["ratio"] = ratios()["store"] = op / floor;
}

void BM_ServerListTenYears(benchmark::State &state)
{
    Pair p;
    // Ten years of nights, a year at a time. Listing never reads the
    // readings, so short nights make the same list sooner.
    for (int year = 0; year < 10; ++year) {
        std::vector<NightInput> batch;
        for (int day = 0; day < 365; ++day)
            batch.push_back(nightInput(std::uint32_t(year * 365 + day + 1), year * 365 + day, 600));
        if (!p.local->store(batch) || !p.server->store(batch))
            qFatal("cannot store the benchmark's nights");
    }
    // A date bound makes SQLite read the list afresh, as after a change.
    ArchiveFilter afresh;
    afresh.from = QDate(2000, 1, 1);
    double op = 0;
    double floor = 0;
    double kept = 0;
    for (auto _ : state) {
        floor += seconds([&] { benchmark::DoNotOptimize(p.local->list(afresh)); });
        kept += seconds([&] { benchmark::DoNotOptimize(p.local->list({})); });
        const double o = seconds([&] { benchmark::DoNotOptimize(p.server->list({})); });
        op += o;
        state.SetIterationTime(o);
    }
    state.counters["nights"] = double(p.server->list({}).value().size());
    state.counters["sqlite_ms"] = 1000 * floor / double(state.iterations());
    state.counters["kept_ratio"] = op / kept;
    state.counters["ratio"] = ratios()["list"] = op / floor;
}

} // namespace

BENCHMARK(BM_ServerStoreNight)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ServerListTenYears)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto &[what, ratio] : ratios())
        std::printf("server/SQLite %s: %.2f (aim: at most 5)\n", what.c_str(), ratio);
    return 0;
}

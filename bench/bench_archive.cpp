// SPDX-License-Identifier: GPL-3.0-or-later
// The night archive against the .dat file, each ratio from the same run:
//   store:   archiving one 8-hour night / writing it as a .dat   (aim: at most 3)
//   open:    reading it from the archive / reading the .dat     (aim: at most 1.5)
//   list:    listing 3,650 nights / opening one night            (aim: below 1)
//            (cold_ratio: the same, read afresh after a change)
//   size:    archive growth per reading, after a checkpoint, over 100 nights
//            (aim: at most 1 byte with auxValue 0, 2.5 with the simulator's)
#include "archive/NightInputs.h"
#include "archive/SqliteArchive.h"
#include "model/DatFile.h"

#include "SimulatedNight.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

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

NightInput nightInput(std::uint32_t seed, int day, bool auxZero)
{
    NightInput n;
    n.readings =
        GenerateNight(seed, 1 + int(seed % 100), kNight, QDateTime(QDate(2016, 1, 1).addDays(day), QTime(22, 30, 0)));
    if (auxZero)
        for (SampleRecord &s : n.readings)
            s.auxValue = 0;
    n.patient.idNumber = n.readings.front().id;
    n.title = QStringLiteral("bench");
    return n;
}

std::unique_ptr<SqliteArchive> freshArchive(const QTemporaryDir &dir, const QString &name)
{
    QFile::remove(dir.filePath(name));
    return std::move(SqliteArchive::open(dir.filePath(name)).value().archive);
}

void BM_StoreNight(benchmark::State &state)
{
    QTemporaryDir dir;
    auto archive = freshArchive(dir, QStringLiteral("store.sqlite"));
    const QString dat = dir.filePath(QStringLiteral("night.dat"));
    double op = 0;
    double floor = 0;
    std::uint32_t seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        const NightInput n = nightInput(seed, int(seed), false);
        ++seed;
        state.ResumeTiming();
        floor += seconds([&] {
            benchmark::DoNotOptimize(
                DatFile::write(dat, DatFile::encode(n.readings.front().id, n.readings.data(), kNight, n.title)));
        });
        const double o = seconds([&] { (void)archive->store({n}); });
        op += o;
        state.SetIterationTime(o);
    }
    state.counters["floor_ms"] = 1000 * floor / double(state.iterations());
    state.counters["ratio"] = op / floor;
}

void BM_OpenNight(benchmark::State &state)
{
    QTemporaryDir dir;
    auto archive = freshArchive(dir, QStringLiteral("open.sqlite"));
    const NightInput n = nightInput(7, 0, false);
    (void)archive->store({n});
    const qint64 number = archive->list({}).value().front().night;
    const QString dat = dir.filePath(QStringLiteral("night.dat"));
    if (!DatFile::write(dat, DatFile::encode(n.readings.front().id, n.readings.data(), kNight, n.title)))
        qFatal("cannot write the benchmark's .dat");
    double op = 0;
    double floor = 0;
    for (auto _ : state) {
        floor += seconds([&] { benchmark::DoNotOptimize(DatFile::read(dat)); });
        const double o = seconds([&] { benchmark::DoNotOptimize(archive->night(number)); });
        op += o;
        state.SetIterationTime(o);
    }
    state.counters["floor_ms"] = 1000 * floor / double(state.iterations());
    state.counters["ratio"] = op / floor;
}

void BM_ListTenYears(benchmark::State &state)
{
    QTemporaryDir dir;
    auto archive = freshArchive(dir, QStringLiteral("list.sqlite"));
    // Ten years of nights, stored a year at a time; auxValue 0 keeps the file small.
    for (int year = 0; year < 10; ++year) {
        std::vector<NightInput> batch;
        for (int day = 0; day < 365; ++day)
            batch.push_back(nightInput(std::uint32_t(year * 365 + day + 1), year * 365 + day, true));
        (void)archive->store(batch);
    }
    const qint64 number = archive->list({}).value().front().night;
    // A second connection that only ever lists with a bound keeps no listing:
    // it reads the list afresh each time, as after a change.
    auto reader = std::move(SqliteArchive::open(dir.filePath(QStringLiteral("list.sqlite"))).value().archive);
    ArchiveFilter afresh;
    afresh.from = QDate(2000, 1, 1);
    double op = 0;
    double floor = 0;
    double cold = 0;
    for (auto _ : state) {
        floor += seconds([&] { benchmark::DoNotOptimize(archive->night(number)); });
        cold += seconds([&] { benchmark::DoNotOptimize(reader->list(afresh)); });
        const double o = seconds([&] { benchmark::DoNotOptimize(archive->list({})); });
        op += o;
        state.SetIterationTime(o);
    }
    state.counters["nights"] = double(archive->list({}).value().size());
    state.counters["cold_ms"] = 1000 * cold / double(state.iterations());
    state.counters["cold_ratio"] = cold / floor;
    state.counters["floor_ms"] = 1000 * floor / double(state.iterations());
    state.counters["ratio"] = op / floor;
}

// Bytes the archive file grows by per reading, over 100 nights after a checkpoint.
void sizePerReading(benchmark::State &state, bool auxZero)
{
    constexpr int kNights = 100;
    QTemporaryDir dir;
    double perReading = 0;
    for (auto _ : state) {
        auto archive = freshArchive(dir, QStringLiteral("size.sqlite"));
        archive->checkpoint();
        const qint64 empty = QFile(archive->path()).size();
        for (int i = 0; i < kNights; ++i)
            (void)archive->store({nightInput(std::uint32_t(i + 1), i, auxZero)});
        archive->checkpoint();
        perReading = double(QFile(archive->path()).size() - empty) / (double(kNights) * kNight);
    }
    state.counters["bytes_per_reading"] = perReading;
}

void BM_SizeAuxZero(benchmark::State &state)
{
    sizePerReading(state, true);
}

void BM_SizeSimulated(benchmark::State &state)
{
    sizePerReading(state, false);
}

} // namespace

BENCHMARK(BM_StoreNight)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenNight)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListTenYears)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SizeAuxZero)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SizeSimulated)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a full .dat file (259,200 readings) and exporting it to .txt and .xls,
// each against its floor measured alongside it in the same run: reading the same
// bytes plainly, or writing the same number of bytes plainly through QSaveFile.
// The "ratio" counter is the operation's time over its floor (aim: within 5).
#include "export/TextExport.h"
#include "export/XlsExport.h"
#include "model/DatFile.h"
#include "model/PatientRecord.h"
#include "model/RecordStore.h"

#include "SimulatedNight.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

namespace
{

using Clock = std::chrono::steady_clock;

struct Fixture {
    QTemporaryDir dir;
    QString dat;
    std::vector<SampleRecord> samples;
    PatientRecord patient;

    Fixture()
    {
        samples = GenerateNight(7, 1, RecordStore::kFileCapacity);
        patient.idNumber = 1;
        PatientRecord::setText(patient.name, QStringLiteral("Bench"));
        dat = dir.filePath(QStringLiteral("full.dat"));
        if (!DatFile::write(dat, DatFile::encode(1, samples.data(), int(samples.size()), QStringLiteral("bench"))))
            qFatal("cannot write the benchmark's .dat");
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

double seconds(const std::function<void()> &work)
{
    const auto t0 = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

void writePlain(const QString &path, const QByteArray &bytes)
{
    QSaveFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    f.commit();
}

qint64 fileSize(const QString &path)
{
    return QFile(path).size();
}

// Times op and its floor in turn each iteration; reports op's time and the ratio.
void measure(benchmark::State &state, const std::function<void()> &op, const std::function<void()> &floor)
{
    double opTotal = 0;
    double floorTotal = 0;
    for (auto _ : state) {
        const double f = seconds(floor);
        const double o = seconds(op);
        floorTotal += f;
        opTotal += o;
        state.SetIterationTime(o);
    }
    state.counters["floor_ms"] = 1000 * floorTotal / double(state.iterations());
    state.counters["ratio"] = opTotal / floorTotal;
}

void BM_OpenDat(benchmark::State &state)
{
    Fixture &f = fixture();
    measure(
        state, [&] { benchmark::DoNotOptimize(DatFile::read(f.dat)); },
        [&] {
            QFile file(f.dat);
            file.open(QIODevice::ReadOnly);
            benchmark::DoNotOptimize(file.readAll());
        });
    state.SetBytesProcessed(state.iterations() * fileSize(f.dat));
}

using Writer = FileResult (*)(const QString &, const PatientRecord &, const std::vector<SampleRecord> &, int,
                              ProgressSink *);

// Exports to name, against plainly writing as many bytes as the export made.
void exportAgainstPlainWrite(benchmark::State &state, Writer write, const QString &name)
{
    Fixture &f = fixture();
    const QString out = f.dir.filePath(name);
    const auto run = [&] {
        if (!write(out, f.patient, f.samples, 1, nullptr))
            state.SkipWithError("the export failed");
    };
    run();
    const QByteArray same(fileSize(out), 'x');
    const QString plain = f.dir.filePath(QStringLiteral("plain-") + name);
    measure(state, run, [&] { writePlain(plain, same); });
    state.SetBytesProcessed(state.iterations() * same.size());
}

void BM_ExportText(benchmark::State &state)
{
    exportAgainstPlainWrite(state, &TextExport::write, QStringLiteral("full.txt"));
}

void BM_ExportXls(benchmark::State &state)
{
    exportAgainstPlainWrite(state, &XlsExport::write, QStringLiteral("full.xls"));
}

} // namespace

BENCHMARK(BM_OpenDat)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportText)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportXls)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the painting benchmarks share: the full recording they measure and a
// main() that reports through a ratio-printing reporter.
#include "model/RecordStore.h"

#include "SimulatedNight.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace bench
{

// One full 518,400-reading night, made once per run.
inline RecordStore &FullNight()
{
    static RecordStore store = [] {
        RecordStore s;
        s.currentSamples = GenerateNight(11, 1, RecordStore::kCapacity);
        s.reportTitle = QStringLiteral("Benchmark night");
        return s;
    }();
    return store;
}

// Runs the benchmarks off screen and hands every result to reporter.
inline int RunPainting(int argc, char **argv, benchmark::BenchmarkReporter &reporter)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace bench

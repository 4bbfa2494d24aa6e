// SPDX-License-Identifier: GPL-3.0-or-later
// Download efficiency: a whole device of 518,400 readings from the simulated
// oximeter paced at 115,200 baud, against the time the bytes need on the line
// (wire time = bytes × 10 / baud). Also the memory the download holds, for one
// ID and for many IDs, and the process's peak resident memory.
//
// QUELLIX_BENCH_READINGS overrides the number of readings (for a quick look).
#include "SimulatedOximeter.h"
#include "device/DeviceSession.h"
#include "device/DownloadEngine.h"
#include "model/RecordStore.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace
{

constexpr int kBaud = 115200;

int readingsWanted()
{
    const char *env = std::getenv("QUELLIX_BENCH_READINGS");
    const int n = env ? std::atoi(env) : 0;
    return n > 0 ? n : RecordStore::kCapacity;
}

double peakRssMiB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

std::size_t heldBytes(const RecordStore &store)
{
    std::size_t bytes = 0;
    for (const auto &b : store.deviceSamples)
        bytes += b.capacity() * sizeof(SampleRecord);
    return bytes;
}

struct Outcome {
    double seconds = 0;
    qint64 deviceBytes = 0;
    int framesReceived = 0;
    int frameCount = 0;
    std::size_t held = 0;
    int readings = 0;
};

Outcome downloadOnce(SimulatedOximeter &sim)
{
    Outcome o;
    DeviceSession session;
    session.restrictToPort(sim.startPty());
    DownloadEngine engine(session);
    DownloadEngine::Events events;
    qint64 before = 0;
    std::chrono::steady_clock::time_point t0, t1;
    // Timed from the start of the transfer to its last frame, as the line sees it.
    events.connected = [&](int, int) {
        before = sim.bytesSent();
        t0 = std::chrono::steady_clock::now();
    };
    events.ending = [&] { t1 = std::chrono::steady_clock::now(); };
    DownloadResult result = engine.run(events);
    if (!result.transferRan)
        return o;
    o.seconds = std::chrono::duration<double>(t1 - t0).count();
    o.deviceBytes = sim.bytesSent() - before;
    o.framesReceived = result.framesReceived;
    o.frameCount = result.framesAnnounced;
    RecordStore store;
    store.deviceSamples = std::move(result.readings);
    o.held = heldBytes(store);
    for (int id = 1; id <= RecordStore::kIdCount; ++id)
        o.readings += store.deviceSampleCount(id);
    sim.stop();
    return o;
}

void BM_PacedDownload(benchmark::State &state)
{
    const int framePayload = int(state.range(0));
    const int readings = readingsWanted();
    Outcome o;
    for (auto _ : state) {
        SimulatedOximeter::Config c;
        c.model = 2;
        c.dataBaud = kBaud;
        c.framePayload = framePayload;
        c.pace = true;
        SimulatedOximeter sim(c);
        sim.addNight(1, readings, 1);
        o = downloadOnce(sim);
        state.SetIterationTime(o.seconds);
    }
    const double wire = double(o.deviceBytes) * 10.0 / kBaud;
    state.counters["efficiency"] = o.seconds > 0 ? wire / o.seconds : 0;
    state.counters["wire_s"] = wire;
    state.counters["measured_s"] = o.seconds;
    state.counters["readings"] = o.readings;
    state.counters["peak_rss_MiB"] = peakRssMiB();
    std::printf("frame %d bytes: %d readings, %d/%d frames, download efficiency = wire time / measured time = "
                "%.2f s / %.2f s = %.3f\n",
                framePayload, o.readings, o.framesReceived, o.frameCount, wire, o.seconds,
                o.seconds > 0 ? wire / o.seconds : 0.0);
    std::fflush(stdout);
}

// Memory held after a download: the same readings as one ID or spread over many.
void BM_HeldMemoryByIds(benchmark::State &state)
{
    const int ids = int(state.range(0));
    const int readings = readingsWanted();
    Outcome o;
    for (auto _ : state) {
        SimulatedOximeter::Config c;
        c.model = 2;
        c.framePayload = 4096;
        SimulatedOximeter sim(c);
        for (int id = 1; id <= ids; ++id)
            sim.addNight(id, readings / ids, std::uint32_t(id));
        o = downloadOnce(sim);
        state.SetIterationTime(o.seconds);
    }
    const double perReading = o.readings > 0 ? double(o.held) / o.readings : 0;
    state.counters["held_MiB"] = double(o.held) / (1024.0 * 1024.0);
    state.counters["bytes_per_reading"] = perReading;
    state.counters["peak_rss_MiB"] = peakRssMiB();
    std::printf("%d IDs: %d readings held in %.1f MiB (%.1f bytes per reading, 12 is the floor); peak RSS %.1f MiB\n",
                ids, o.readings, double(o.held) / (1024.0 * 1024.0), perReading, peakRssMiB());
    std::fflush(stdout);
}

} // namespace

BENCHMARK(BM_HeldMemoryByIds)->Arg(1)->Arg(100)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_PacedDownload)->Arg(512)->Arg(1024)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

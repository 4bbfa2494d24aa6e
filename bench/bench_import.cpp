// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a CSV night of 28,800 rows into readings (detection and parsing,
// no archive) against a floor that only splits each line at its separators
// and converts the three fields with std::from_chars, in the same run
// (aim: at most 5). Once for Quellix's own export, once for a ring
// oximeter's layout with its 12-hour times and month names.
#include "import/CsvImport.h"
#include "import/ImportedNight.h"
#include "interop/CsvExport.h"

#include "SimulatedNight.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <ctime>
#include <functional>
#include <string_view>

namespace
{

constexpr int kRows = 28800;

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The thread's CPU time, not the wall clock: both sides of the ratio are
// pure computation, and other programs on a busy machine do not inflate it.
double seconds(const std::function<void()> &work)
{
    const double t0 = threadSeconds();
    work();
    return threadSeconds() - t0;
}

std::vector<SampleRecord> night()
{
    return GenerateNight(5, 1, kRows, QDateTime(QDate(2026, 3, 14), QTime(22, 30, 0)));
}

QByteArray quellixCsv()
{
    const std::vector<SampleRecord> n = night();
    return CsvExport::encode(n.data(), int(n.size()));
}

QByteArray ringCsv()
{
    static const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    QByteArray out = "Time,SpO2(%),Pulse Rate(bpm),Motion,SpO2 Reminder,PR Reminder,\n";
    for (const SampleRecord &s : night()) {
        const int h12 = s.hour % 12 == 0 ? 12 : s.hour % 12;
        out += QStringLiteral("%1:%2:%3%4 %5 %6, %7,%8,%9,0,0,0,\n")
                   .arg(h12, 2, 10, QLatin1Char('0'))
                   .arg(s.minute, 2, 10, QLatin1Char('0'))
                   .arg(s.second, 2, 10, QLatin1Char('0'))
                   .arg(QLatin1String(s.hour < 12 ? "AM" : "PM"), QLatin1String(kMonths[s.month - 1]))
                   .arg(s.day)
                   .arg(2000 + s.year)
                   .arg(s.spo2)
                   .arg(s.pulseRate)
                   .toLatin1();
    }
    return out;
}

// Every line split at commas, its first three fields converted.
long floorParse(const QByteArray &csv)
{
    const std::string_view text(csv.constData(), std::size_t(csv.size()));
    long sum = 0;
    std::size_t pos = text.find('\n') + 1;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::size_t field = pos;
        for (int k = 0; k < 3 && field < end; ++k) {
            std::size_t comma = text.find(',', field);
            if (comma == std::string_view::npos || comma > end)
                comma = end;
            int v = 0;
            std::from_chars(text.data() + field, text.data() + comma, v);
            sum += v;
            field = comma + 1;
        }
        pos = end + 1;
    }
    return sum;
}

void run(benchmark::State &state, const QByteArray &csv)
{
    double op = 0;
    double floor = 0;
    for (auto _ : state) {
        floor += seconds([&] { benchmark::DoNotOptimize(floorParse(csv)); });
        const double o = seconds([&] {
            const ImportedNight r = CsvImport::read(csv);
            if (!r.ok || r.readings.size() < std::size_t(kRows))
                state.SkipWithError("the night was not read");
            benchmark::DoNotOptimize(r.readings.data());
        });
        op += o;
        state.SetIterationTime(o);
    }
    state.counters["floor_ms"] = 1000 * floor / double(state.iterations());
    state.counters["ratio"] = op / floor;
}

void BM_ReadQuellixCsv(benchmark::State &state)
{
    run(state, quellixCsv());
}

void BM_ReadRingCsv(benchmark::State &state)
{
    run(state, ringCsv());
}

} // namespace

BENCHMARK(BM_ReadQuellixCsv)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRingCsv)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimulatedNight.h"

#include <algorithm>
#include <random>

SampleRecord StampedSample(int id, const QDateTime &when)
{
    SampleRecord s;
    const QDate d = when.date();
    const QTime t = when.time();
    s.id = std::uint8_t(id);
    s.year = std::uint8_t(d.year() - 2000);
    s.month = std::uint8_t(d.month());
    s.day = std::uint8_t(d.day());
    s.hour = std::uint8_t(t.hour());
    s.minute = std::uint8_t(t.minute());
    s.second = std::uint8_t(t.second());
    return s;
}

std::vector<SampleRecord> GenerateNight(std::uint32_t seed, int id, int count, const QDateTime &start)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> coin(0, 999);
    std::normal_distribution<double> jitter(0.0, 0.6);

    std::vector<SampleRecord> out;
    out.reserve(std::size_t(std::max(count, 0)));
    double baseSpo2 = 96.0;
    double basePulse = 68.0;
    int dipLeft = 0, dipDepth = 0, dipLength = 0;
    int fallLeft = 0, fallDepth = 0;
    // Readings carry wall-clock fields only, so count seconds in UTC to avoid DST gaps.
    const qint64 t0 = QDateTime(start.date(), start.time(), Qt::UTC).toSecsSinceEpoch();
    for (int i = 0; i < count; ++i) {
        // Drift slowly within the healthy band.
        baseSpo2 = std::clamp(baseSpo2 + jitter(rng) * 0.05, 94.0, 98.0);
        basePulse = std::clamp(basePulse + jitter(rng) * 0.2, 52.0, 92.0);
        if (dipLeft == 0 && coin(rng) < 3) {
            dipLength = 15 + coin(rng) % 40;
            dipLeft = dipLength;
            dipDepth = 4 + coin(rng) % 9;
        }
        if (fallLeft == 0 && coin(rng) < 2) {
            fallLeft = 10 + coin(rng) % 20;
            fallDepth = 6 + coin(rng) % 12;
        }
        double spo2 = baseSpo2 + jitter(rng) * 0.5;
        if (dipLeft > 0) {
            // A dip falls and recovers in a triangle shape.
            const int done = dipLength - dipLeft;
            const double shape =
                done < dipLength / 2 ? double(done) / (dipLength / 2.0) : double(dipLeft) / (dipLength / 2.0);
            spo2 -= dipDepth * std::min(1.0, shape);
            --dipLeft;
        }
        double pulse = basePulse + jitter(rng);
        if (fallLeft > 0) {
            pulse -= fallDepth;
            --fallLeft;
        }
        SampleRecord s = StampedSample(id, QDateTime::fromSecsSinceEpoch(t0 + i, Qt::UTC));
        // Positive values: adding a half and truncating rounds them, and the
        // simulator's nights must stay what the tests and pictures pin.
        // NOLINTNEXTLINE(bugprone-incorrect-roundings)
        s.spo2 = std::uint8_t(std::clamp<int>(int(spo2 + 0.5), 70, 100));
        // NOLINTNEXTLINE(bugprone-incorrect-roundings)
        s.pulseRate = std::uint8_t(std::clamp<int>(int(pulse + 0.5), 40, 100));
        s.auxValue = std::uint16_t(coin(rng) % 512);
        out.push_back(s);
    }
    return out;
}

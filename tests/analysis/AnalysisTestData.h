// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Recordings made to order for the analysis tests.
#include "model/SampleRecord.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace analysistest
{

// One reading per second from 2010/07/21 10:00:00; seconds roll into minutes and hours.
inline SampleRecord At(int index, int spo2, int pulse)
{
    SampleRecord s;
    s.id = 3;
    s.year = 10;
    s.month = 7;
    s.day = 21;
    s.hour = std::uint8_t(10 + index / 3600);
    s.minute = std::uint8_t(index / 60 % 60);
    s.second = std::uint8_t(index % 60);
    s.spo2 = std::uint8_t(spo2);
    s.pulseRate = std::uint8_t(pulse);
    return s;
}

inline std::vector<SampleRecord> Spo2Series(std::initializer_list<int> values, int pulse = 70)
{
    std::vector<SampleRecord> out;
    int i = 0;
    for (int v : values)
        out.push_back(At(i++, v, pulse));
    return out;
}

inline std::vector<SampleRecord> PulseSeries(std::initializer_list<int> values, int spo2 = 97)
{
    std::vector<SampleRecord> out;
    int i = 0;
    for (int v : values)
        out.push_back(At(i++, spo2, v));
    return out;
}

// count readings at a steady 97 % and 70 bpm.
inline std::vector<SampleRecord> Steady(int count)
{
    std::vector<SampleRecord> out;
    out.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        out.push_back(At(i, 97, 70));
    return out;
}

// Puts a desaturation of `length` samples at 90 % starting at `start`.
inline void Desaturate(std::vector<SampleRecord> &samples, int start, int length, int value = 90)
{
    for (int i = start; i < start + length; ++i)
        samples[std::size_t(i)].spo2 = std::uint8_t(value);
}

} // namespace analysistest

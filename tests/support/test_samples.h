// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SampleRecord.h"

#include <cstdint>

namespace testdata
{

// A valid reading of 2026-03-14 22:30:<second>; only what a test varies is passed.
inline SampleRecord Reading(int id, int second, int spo2 = 95, int pulse = 70, int aux = 0)
{
    SampleRecord s;
    s.id = std::uint8_t(id);
    s.year = 26;
    s.month = 3;
    s.day = 14;
    s.hour = 22;
    s.minute = 30;
    s.second = std::uint8_t(second);
    s.spo2 = std::uint8_t(spo2);
    s.pulseRate = std::uint8_t(pulse);
    s.auxValue = std::uint16_t(aux);
    return s;
}

} // namespace testdata

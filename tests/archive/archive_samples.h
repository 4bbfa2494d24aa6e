// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/ReadingCodec.h"
#include "model/SampleRecord.h"

#include <vector>

namespace archivetest
{

// count readings of id, one a second from 2026-03-14 22:00:00 plus startSecond,
// with SpO2 and pulse that vary as a night's do; shift changes every SpO2 so
// that two otherwise equal nights differ.
inline std::vector<SampleRecord> night(int id, int startSecond, int count, int shift = 0)
{
    SampleRecord s;
    s.id = std::uint8_t(id);
    s.year = 26;
    s.month = 3;
    s.day = 14;
    s.hour = 22;
    for (int k = 0; k < startSecond; ++k)
        s = ReadingCodec::nextSecond(s);
    std::vector<SampleRecord> out;
    for (int i = 0; i < count; ++i) {
        s.spo2 = std::uint8_t(88 + (i * 7 + shift) % 11);
        s.pulseRate = std::uint8_t(55 + (i / 13) % 20);
        s.auxValue = std::uint16_t((i * 37) % 512);
        out.push_back(s);
        s = ReadingCodec::nextSecond(s);
    }
    return out;
}

} // namespace archivetest

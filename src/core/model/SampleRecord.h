// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// One stored reading: one second of recording.
struct SampleRecord {
    std::uint8_t id = 0;   // patient ID, 1..127 from the device, 1..128 from files
    std::uint8_t year = 0; // years since 2000
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::uint8_t second = 0;
    std::uint8_t spo2 = 0;      // percent
    std::uint8_t pulseRate = 0; // beats per minute
    std::uint8_t spare = 0;     // not used, not saved
    std::uint16_t auxValue = 0; // 9-bit value from the device frame

    friend bool operator==(const SampleRecord &, const SampleRecord &) = default;
};

static_assert(sizeof(SampleRecord) == 12, "SampleRecord is 12 bytes in memory");

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FuzzInput.h"
#include "import/ImportedNight.h"
#include "interop/ReadingTime.h"

// What every import result holds, whatever the file: readings a .dat file can
// keep, one a second at most, going forward; or a reason.
inline void checkImported(const ImportedNight &r)
{
    FUZZ_CHECK(r.read >= 0 && r.refused >= 0);
    if (!r.ok) {
        FUZZ_CHECK(r.error.isSet());
        FUZZ_CHECK(r.firstRefusal.isSet() ||
                   (r.error.error != ImportError::NoValidRow && r.error.error != ImportError::NoValidRecord));
        FUZZ_CHECK(r.readings.empty());
        return;
    }
    FUZZ_CHECK(r.read >= 1 && !r.readings.empty());
    FUZZ_CHECK(std::int64_t(r.readings.size()) <= ImportedReadings::kMaxReadings);
    FUZZ_CHECK(r.intervalSeconds >= 1);
    for (std::size_t i = 0; i < r.readings.size(); ++i) {
        const SampleRecord &s = r.readings[i];
        FUZZ_CHECK(s.id == 0 && s.auxValue == 0);
        FUZZ_CHECK(s.month >= 1 && s.month <= 12 && s.day >= 1 && s.day <= 31);
        FUZZ_CHECK(s.hour < 24 && s.minute < 60 && s.second < 60);
        FUZZ_CHECK(s.spo2 <= 100);
        FUZZ_CHECK(s.pulseRate == kNoPulse || s.pulseRate >= 30);
        FUZZ_CHECK(i == 0 || readingSeconds(s) > readingSeconds(r.readings[i - 1]));
    }
}

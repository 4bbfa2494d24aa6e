// SPDX-License-Identifier: GPL-3.0-or-later
// The raw-dump reader over arbitrary text: no crash or overflow, and what it
// accepts is written and read back as the same events.
#include "FuzzInput.h"

#include "device/RawDump.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QString why;
    const auto events = RawDump::parse(fuzzBytes(data, size), &why);
    if (!events) {
        FUZZ_CHECK(why.startsWith(QLatin1String("line ")));
        return 0;
    }
    for (const RawDump::Event &e : *events) {
        FUZZ_CHECK(e.offsetUs >= 0);
        FUZZ_CHECK(!e.bytes.isEmpty());
    }
    const auto back = RawDump::parse(RawDump::format(*events));
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(*back == *events);
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The raw-dump reader over arbitrary text: no crash or overflow, and what it
// accepts is written and read back as the same events.
#include "FuzzInput.h"

#include "device/RawDump.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto events = RawDump::parse(fuzzBytes(data, size));
    if (!events) {
        FUZZ_CHECK(events.detail().startsWith(QLatin1String("line ")));
        return 0;
    }
    for (const RawDump::Event &e : events.value()) {
        FUZZ_CHECK(e.offsetUs >= 0);
        FUZZ_CHECK(!e.bytes.isEmpty());
    }
    const auto back = RawDump::parse(RawDump::format(events.value()));
    FUZZ_CHECK(back.ok());
    FUZZ_CHECK(back.value() == events.value());
    return 0;
}

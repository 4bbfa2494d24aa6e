// SPDX-License-Identifier: GPL-3.0-or-later
// The frame assembler fed an arbitrary byte stream, in arbitrary pieces, for each
// device model: no overrun of its receive buffer, and only IDs 1..127 stored.
#include "FuzzInput.h"

#include "device/FrameAssembler.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    // One set of per-ID buffers for the whole run, emptied before each input.
    static auto readings = std::make_unique<DeviceReadings>();
    for (auto &buffer : *readings)
        buffer.clear();
    const int model = data[0] % 6;
    const std::size_t piece = std::size_t(data[1] % 64) + 1;
    data += 2;
    size -= 2;

    FrameAssembler assembler(*readings, model);
    int completed = 0;
    assembler.onFrameComplete = [&completed](int n) {
        FUZZ_CHECK(n == completed + 1);
        completed = n;
    };
    for (std::size_t at = 0; at < size; at += piece)
        assembler.Feed(fuzzBytes(data + at, std::min(piece, size - at)));

    // A frame is at least its 8 bytes of overhead.
    FUZZ_CHECK(std::size_t(completed) * Protocol::kFrameOverhead <= size);
    std::size_t stored = 0;
    for (int index = 0; index < RecordStore::kIdCount; ++index) {
        for (const SampleRecord &s : (*readings)[std::size_t(index)])
            FUZZ_CHECK(s.id == index + 1);
        stored += (*readings)[std::size_t(index)].size();
    }
    FUZZ_CHECK(stored * Protocol::kRecordSize <= size);
    FUZZ_CHECK((*readings)[127].empty()); // a wire ID has 7 bits
    return 0;
}

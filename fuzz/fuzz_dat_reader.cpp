// SPDX-License-Identifier: GPL-3.0-or-later
// The saved-data reader over arbitrary files: no crash, and what it accepts
// survives a write and a second read unchanged, but for a title cut to the
// length the writer keeps.
#include "FuzzInput.h"

#include "model/DatFile.h"
#include "model/RecordStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const DatFile::ReadResult r = DatFile::parse(bytes);
    if (!r.ok) {
        FUZZ_CHECK(!r.failedCheck.isEmpty());
        FUZZ_CHECK(r.offset >= 0 && r.offset <= qint64(size));
        return 0;
    }
    const auto &c = r.contents;
    FUZZ_CHECK(c.headerId >= 0 && c.headerId <= 128);
    FUZZ_CHECK(c.samples.size() <= std::size_t(RecordStore::kFileCapacity));
    const QByteArray again = DatFile::encode(c.headerId, c.samples.data(), int(c.samples.size()), c.title);
    const DatFile::ReadResult back = DatFile::parse(again);
    // The writer cuts the title, so whatever was accepted can be read back.
    FUZZ_CHECK(back.ok);
    FUZZ_CHECK(back.contents.headerId == c.headerId);
    FUZZ_CHECK(back.contents.samples == c.samples);
    FUZZ_CHECK(back.contents.title == DatFile::cutTitle(c.title));
    return 0;
}

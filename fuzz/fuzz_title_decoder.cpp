// SPDX-License-Identifier: GPL-3.0-or-later
// The length-prefixed title: never reads past its input, and a decoded title
// encodes and decodes back to itself.
#include "FuzzInput.h"

#include "model/DatFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const DatFile::TitleResult r = DatFile::decodeTitle(fuzzBytes(data, size));
    if (!r.ok) {
        FUZZ_CHECK(!r.failedCheck.isEmpty());
        return 0;
    }
    FUZZ_CHECK(r.used >= 1 && r.used <= qint64(size));
    const QByteArray encoded = DatFile::encodeTitle(r.title);
    const DatFile::TitleResult back = DatFile::decodeTitle(encoded);
    FUZZ_CHECK(back.ok);
    FUZZ_CHECK(back.used == encoded.size());
    FUZZ_CHECK(back.title == r.title);
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The EDF reader over arbitrary files: no crash, and only readings a .dat
// file can keep.
#include "ImportChecks.h"

#include "import/EdfImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    checkImported(EdfImport::read(fuzzBytes(data, size)));
    return 0;
}

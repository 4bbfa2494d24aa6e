// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV reader over arbitrary text, with its header detected and with the
// columns given: no crash, and only readings a .dat file can keep.
#include "ImportChecks.h"

#include "import/CsvImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    checkImported(CsvImport::read(bytes));
    CsvImport::Options given;
    given.columns = CsvImport::Columns{0, -1, 1, 2};
    checkImported(CsvImport::read(bytes, given));
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/CsvImport.h"

#include <QString>

// A file of another program, told by its extension: .csv and .txt as CSV,
// .edf as EDF. Read with a bound, so a huge file, a device or a pipe is
// refused or cut off instead of filling the memory.
namespace ImportFile
{

enum class Format { None, Csv, Edf };
Format formatForPath(const QString &path);

inline constexpr qint64 kMaxCsvBytes = 64ll * 1024 * 1024;
inline constexpr qint64 kMaxEdfBytes = 256ll * 1024 * 1024;

ImportedNight read(const QString &path, const CsvImport::Options &csv = {});

} // namespace ImportFile

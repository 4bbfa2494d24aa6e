// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Result.h"

// Why a file was not written or read; the front ends choose the words. The
// detail is the system's reason ("No space left on device") or the check that
// failed.
enum class FileError {
    CannotCreate,  // could not be created or written; nothing was changed
    Cancelled,     // stopped by the user; no file was left
    NoReadings,    // the format needs at least one reading
    UnknownFormat, // the name's extension is none of the formats
    Refused,       // could not be read, or failed a check; the detail says which
};

using FileResult = Result<void, FileError>;

inline FileResult fileFailure(FileError error, const QString &detail = {})
{
    return Failure<FileError>{error, detail};
}

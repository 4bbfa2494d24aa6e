// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Result.h"

// Why an archive operation failed. The detail is the database's or the
// system's own text, or what the code says it holds.
enum class ArchiveError {
    CannotCreate, // the folder, the file or a copy cannot be made
    Unavailable,  // the archive cannot be opened or read
    Busy,         // another program holds it longer than we wait
    Newer,        // made by a newer program and left as it is; detail: its schema version
    Damaged,      // the file is damaged and could not be put aside
    WriteFailed,  // a write failed as a whole (full disk, read-only file)
    NotFound,     // no night of that number
    Corrupt,      // a night's readings or details do not decode
    Exists,       // a copy would overwrite a file
    NotAnArchive, // a file offered as an archive is none
    CheckFailed,  // a file offered as an archive fails the check; detail: the first fault

    // The clinic server's:
    ReadOnly,             // the role may read the archive and change nothing
    PasswordInConnection, // a connection string holds a password, which is never kept
    BackupOnServer,       // the server's own tools back it up
    PasswordNeeded,       // the server asks for a password that neither the caller nor ~/.pgpass gave
};

template <typename T = void> using ArchiveResult = Result<T, ArchiveError>;
using ArchiveFailure = Failure<ArchiveError>;

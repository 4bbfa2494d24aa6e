// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"

// One .dat file into the archive, in one transaction, each night with the
// details the patient store holds for its ID now.
struct DatImport {
    enum class Outcome { Stored, Unreadable, NotStored };
    Outcome outcome = Outcome::NotStored;
    StoreCounts counts;
    QString error;            // Unreadable: the failed check
    ArchiveFailure refusal{}; // NotStored: why the archive refused it
};

DatImport importDatFile(Archive &archive, const QString &path);

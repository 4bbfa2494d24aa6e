// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"
#include "import/CsvImport.h"

// One file into nights for the archive: a .dat by its own IDs, a CSV or EDF
// file of another oximeter for the patient the user names. Reading and making
// nights are apart so that the caller can ask the user in between.
namespace FileImport
{

// Files of other oximeters carry no device ID: their nights go to this patient.
struct Patient {
    int id = 1;
    QString name; // empty: the name the file gives, if any
};

struct Read {
    bool ok = false;
    bool isDat = false;
    QString error;       // a .dat not read: the check it failed; other files say it in night.error
    ImportedNight night; // the readings; for CSV and EDF also the counts, interval and name
    QString title;       // a .dat's report title

    // A file of another oximeter, whose patient the user names.
    bool needsPatient() const { return ok && !isDat; }
};

// .csv, .txt and .edf by their readers, anything else as a .dat.
Read read(const QString &path, const CsvImport::Options &csv = {});

// The archive's nights of a read file, named after the file at path.
std::vector<NightInput> nights(const Read &read, const QString &path, const Patient &patient);

} // namespace FileImport

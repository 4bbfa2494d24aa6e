// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SampleRecord.h"

#include <QString>

#include <vector>

class RecordStore;
struct PatientRecord;

// The formats other programs read (.csv and .edf), picked by the file name's
// extension in any case, written through QSaveFile so a failure leaves an
// existing file as it was.
namespace InteropExport
{

enum class Format { None, Csv, Edf };
Format formatForPath(const QString &path);

enum class Outcome {
    Written,
    CannotCreate,  // nothing written; error says why
    NoReadings,    // EDF only: a file without readings has no start time
    NotThisFormat, // neither .csv nor .edf: left to the other writers
};

// Writes the current recording (and, for EDF, its patient details).
Outcome write(const QString &path, const RecordStore &store, QString *error = nullptr);
Outcome write(const QString &path, const PatientRecord &patient, const std::vector<SampleRecord> &readings,
              QString *error = nullptr);

} // namespace InteropExport

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/FileError.h"
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

// Writes the current recording (and, for EDF, its patient details). Fails
// with UnknownFormat for a name neither .csv nor .edf (left to the other
// writers), NoReadings for an EDF without readings (it has no start time),
// CannotCreate with the system's reason otherwise.
FileResult write(const QString &path, const RecordStore &store);
FileResult write(const QString &path, const PatientRecord &patient, const std::vector<SampleRecord> &readings);

} // namespace InteropExport

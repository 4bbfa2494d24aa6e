// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PatientRecord.h"
#include "model/SampleRecord.h"

#include <QByteArray>

// Readings as an EDF+ file: SpO2 (%) and pulse rate (bpm) at 1 Hz in data
// records of one second, starting at the first reading's date and time, with
// a "time jump" annotation at each reading not taken one second after the one
// before it. Readings one second apart make an EDF+C file. When the clock only
// jumps forward the file is EDF+D and each record's time-keeping annotation
// holds its reading's real time; a clock set back cannot be written as EDF+D,
// so such readings stay EDF+C with records one second apart.
namespace EdfExport
{

// Empty when there are no readings: an EDF file needs a start time.
QByteArray encode(const SampleRecord *samples, int count, const PatientRecord &patient);

// The EDF+ local patient identification: code, sex, birthdate, name, in
// printable ASCII with "X" for what is unknown and "_" for spaces.
QByteArray patientIdentification(const PatientRecord &patient);

} // namespace EdfExport

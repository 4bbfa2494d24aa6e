// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/AnalysisResults.h"
#include "app/CheckedFile.h"

#include "model/PatientRecord.h"
#include "model/SampleRecord.h"

#include <QByteArray>
#include <QString>

class Prompts;
class RecordStore;

// The event-time text file: a short patient block, then every desaturation and
// every pulse event with its start and end time, length and extremes, as
// tab-separated UTF-8 lines ending in CR LF.
namespace EventTimeFile
{

// "ID 3  Name Event Smith": the name the file dialog proposes.
QString proposedName(const PatientRecord &patient);

// Only .txt files are written (any letter case).
bool hasTxtExtension(const QString &path);

// Height and weight in the system of unitSetup (0 British, otherwise metric),
// converted from the record's own system where it differs.
QString heightText(float height, int unitSystem, int unitSetup);
QString weightText(float weight, int unitSystem, int unitSetup);

// The whole file; events index samples, which must cover them.
QByteArray encode(const SampleRecord *samples, int sampleCount, const PatientRecord &patient,
                  const AnalysisResults &results, int unitSetup);

enum class Outcome {
    Written,
    Cancelled,    // no file chosen
    NotTxt,       // a name not ending in .txt: nothing written, and the user told so
    CannotCreate, // "Can't create the file" shown; an existing file is left as it was
};

// Writes every byte or nothing, so a failure never leaves half a file behind.
FileResult write(const QString &path, const QByteArray &bytes);

// The export command after its analysis run: asks for the file, writes it with
// the "UnitSetup" in force, and says when it cannot.
Outcome exportCommand(const RecordStore &store, const AnalysisResults &results, Prompts &prompts, int unitSetup);

} // namespace EventTimeFile

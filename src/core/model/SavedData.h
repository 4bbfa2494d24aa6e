// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/FileError.h"

#include <QList>
#include <QString>
#include <QStringList>

class Prompts;
struct PatientRecord;
class ProgressSink;
class QUrl;
class RecordStore;

// The store side of "Open Saved Data" and "Save Data".
namespace SavedData
{

// Reads path and, only if every check passes, makes it the current recording and
// loads the patient details of its ID. A refused file shows "can't open the file"
// and leaves the store exactly as it was; the failure (Refused) names the failed check.
FileResult open(RecordStore &store, const QString &path, Prompts &prompts);

enum class SaveOutcome {
    Written,      // file written, header ID 1..128
    WrittenBadId, // file written, but its header ID is not 1..128
    CannotCreate, // nothing written
    NotReplaced,  // the user kept existing part files: nothing written
};

// Writes the current recording as a .dat file and marks dataSaved for its ID.
// A recording longer than one file holds is written in parts (see
// DatFile::writeRecording) and the user is told so; part files that already
// exist are replaced only when the user agrees. written (optional) gets the
// files.
SaveOutcome writeDat(RecordStore &store, const QString &path, Prompts &prompts, QStringList *written = nullptr);

// After a save: stores currentPatient under the first reading's ID when it is
// 1..128 and is the ID of those details, and marks infoSaved. Details without
// an ID (a file of header ID 0) take the first reading's ID when they were
// entered for this recording or nothing is stored under it yet. Returns false
// when nothing was stored.
bool storePatientOfFirstReading(RecordStore &store);

// The file formats of Save Data, chosen by the extension in any letter case.
enum class SaveFormat { Dat, Text, Spreadsheet, Csv, Edf, Unknown };
SaveFormat formatOf(const QString &path);

enum class SaveCommandResult {
    Cancelled,        // no file chosen, or the export was stopped: nothing written
    Written,          // file written, patient details stored
    WrittenBadId,     // .dat written, first reading's ID not 1..128
    CannotCreate,     // nothing written
    UnknownExtension, // nothing written; patient details stored all the same
};

// Save Data after the file dialog: writes path in the format of its extension,
// with heights and weights in the units of unitSetup, then stores the patient
// details of the first reading's ID. progress (optional) follows the
// spreadsheet export, which may be stopped there.
SaveCommandResult saveTo(RecordStore &store, const QString &path, Prompts &prompts, int unitSetup,
                         ProgressSink *progress = nullptr);

// The whole "Save Data" command: asks for a file name, then saveTo() with the
// "UnitSetup" setting read now.
SaveCommandResult saveCommand(RecordStore &store, Prompts &prompts, int unitSetup, ProgressSink *progress = nullptr);

// The name the save dialog proposes: "ID <n>  Name <name>.dat", with the
// characters a file name cannot hold replaced, so a "." or "/" in the name can
// neither make an extension nor point into a folder.
QString saveInitialName(const RecordStore &store);
// That name without its extension, for any patient's details.
QString saveNameStem(const PatientRecord &patient);

// The whole "Open Saved Data" command: asks for a .dat file and opens it.
// True when a recording was opened.
bool openCommand(RecordStore &store, Prompts &prompts);

// The first local .dat file (any letter case) among dropped URLs; empty if none.
QString droppedDatFile(const QList<QUrl> &urls);

} // namespace SavedData

#pragma once

#include <QString>

class Prompts;
class RecordStore;

// The store side of "Open Saved Data" and of the .dat branch of "Save Data".
namespace SavedData
{

// Reads path and, only if every check passes, makes it the current recording and
// loads the patient details of its ID. A refused file shows "can't open the file"
// and leaves the store exactly as it was. detail (optional) gets the failed check.
bool open(RecordStore &store, const QString &path, Prompts &prompts, QString *detail = nullptr);

enum class SaveOutcome {
    Written,      // file written, header ID 1..128
    WrittenBadId, // file written, but its header ID is not 1..128
    CannotCreate, // nothing written
};

// Writes the current recording as a .dat file and marks dataSaved for its ID.
SaveOutcome writeDat(RecordStore &store, const QString &path, Prompts &prompts);

// After a save: stores currentPatient under the first reading's ID when it is
// 1..128 and is the ID of those details, and marks infoSaved. Returns false
// when nothing was stored.
bool storePatientOfFirstReading(RecordStore &store);

// The whole "Save Data" command: asks for a file name, writes the .dat file
// (the text and spreadsheet formats are not written yet) and stores the patient
// details of the first reading's ID.
enum class SaveCommandResult {
    Cancelled,          // no file chosen
    Written,            // .dat written, patient details stored
    WrittenBadId,       // .dat written, first reading's ID not 1..128
    CannotCreate,       // nothing written
    FormatNotAvailable, // .txt or .xls chosen: nothing written yet
    UnknownExtension,   // nothing written; patient details stored all the same
};
SaveCommandResult saveCommand(RecordStore &store, Prompts &prompts);
QString saveInitialName(const RecordStore &store);

// The whole "Open Saved Data" command: asks for a .dat file and opens it.
// True when a recording was opened.
bool openCommand(RecordStore &store, Prompts &prompts);

} // namespace SavedData

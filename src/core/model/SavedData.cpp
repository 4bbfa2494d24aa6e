#include "model/SavedData.h"

#include "app/Prompts.h"
#include "app/Texts.h"
#include "model/DatFile.h"
#include "model/PatientStore.h"
#include "model/RecordStore.h"

namespace SavedData {

bool open(RecordStore &store, const QString &path, Prompts &prompts, QString *detail)
{
    DatFile::ReadResult r = DatFile::read(path);
    if (!r.ok) {
        if (detail)
            *detail = QStringLiteral("%1 (byte %2)").arg(r.failedCheck).arg(r.offset);
        prompts.warning(Text(TextNo::CantOpenFile));
        return false;
    }
    store.currentSamples = std::move(r.contents.samples);
    store.reportTitle = r.contents.title;
    store.currentPatient.idNumber = r.contents.headerId;
    store.LoadPatientInfo(r.contents.headerId - 1, prompts);
    store.viewPosition = 0;
    store.viewCursor = 0;
    return true;
}

SaveOutcome writeDat(RecordStore &store, const QString &path, Prompts &prompts)
{
    const int count = store.currentSampleCount();
    const int headerId = count > 0 ? store.currentSamples.front().id : 0;
    const QByteArray bytes = DatFile::encode(headerId, store.currentSamples.data(), count, store.reportTitle);
    if (!DatFile::write(path, bytes)) {
        prompts.warning(Text(TextNo::CantCreateFile));
        return SaveOutcome::CannotCreate;
    }
    if (headerId >= 1 && headerId <= 128) {
        store.patientFlags[std::size_t(headerId - 1)].dataSaved = 1;
        return SaveOutcome::Written;
    }
    prompts.warning(Text(TextNo::PatientIdInvalidSave));
    return SaveOutcome::WrittenBadId;
}

bool storePatientOfFirstReading(RecordStore &store)
{
    if (store.currentSamples.empty())
        return false;
    const int id = store.currentSamples.front().id;
    if (id < 1 || id > 128)
        return false;
    StorePatientInfo(id - 1, store.currentPatient);
    store.patientFlags[std::size_t(id - 1)].infoSaved = 1;
    return true;
}

} // namespace SavedData

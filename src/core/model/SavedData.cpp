#include "model/SavedData.h"

#include "app/Prompts.h"
#include "app/Texts.h"
#include "model/DatFile.h"
#include "model/PatientStore.h"
#include "model/RecordStore.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace SavedData
{

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
    if (store.LoadPatientInfo(r.contents.headerId - 1) == RecordStore::PatientLoad::Missing)
        prompts.warning(QCoreApplication::translate("RecordStore", "Get patient info error!"));
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

QString saveInitialName(const RecordStore &store)
{
    return QString::asprintf("ID %d  Name ", store.currentPatient.idNumber) + store.currentPatient.nameText();
}

SaveCommandResult saveCommand(RecordStore &store, Prompts &prompts)
{
    Prompts::FileRequest request;
    request.defaultSuffix = QStringLiteral("dat");
    request.initialName = saveInitialName(store);
    request.filter = QStringLiteral("(*.dat);;(*.txt);;(*.xls)");
    request.confirmOverwrite = true;
    const QString path = prompts.saveFileName(request);
    if (path.isEmpty())
        return SaveCommandResult::Cancelled;

    // Case does not matter: "NIGHT.DAT" is a data file too, not a silent no-op.
    const QString suffix = QFileInfo(path).suffix().toLower();
    SaveCommandResult result;
    if (suffix == QLatin1String("dat")) {
        switch (writeDat(store, path, prompts)) {
        case SaveOutcome::Written:
            result = SaveCommandResult::Written;
            break;
        case SaveOutcome::WrittenBadId:
            return SaveCommandResult::WrittenBadId;
        case SaveOutcome::CannotCreate:
        default:
            return SaveCommandResult::CannotCreate;
        }
    } else if (suffix == QLatin1String("txt") || suffix == QLatin1String("xls")) {
        prompts.warning(QCoreApplication::translate(
            "SavedData", "Saving as a text or spreadsheet file is not available yet. Nothing was written."));
        return SaveCommandResult::FormatNotAvailable;
    } else {
        prompts.warning(QCoreApplication::translate(
            "SavedData", "Nothing was written: choose a file name ending in .dat, .txt or .xls."));
        result = SaveCommandResult::UnknownExtension;
    }
    storePatientOfFirstReading(store);
    return result;
}

bool openCommand(RecordStore &store, Prompts &prompts)
{
    Prompts::FileRequest request;
    request.defaultSuffix = QStringLiteral("dat");
    request.filter = QCoreApplication::translate("SavedData", "Data file(*.dat)");
    request.confirmOverwrite = false;
    const QString path = prompts.openFileName(request);
    if (path.isEmpty())
        return false;
    return open(store, path, prompts);
}

} // namespace SavedData

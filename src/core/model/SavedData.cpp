// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SavedData.h"

#include "app/Prompts.h"
#include "app/Texts.h"
#include "export/TextExport.h"
#include "export/XlsExport.h"
#include "interop/InteropExport.h"
#include "model/DatFile.h"
#include "model/PatientStore.h"
#include "model/RecordStore.h"
#include "model/SurplusParts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace SavedData
{

namespace
{

QString nativeList(const QStringList &paths)
{
    QStringList names;
    for (const QString &p : paths)
        names.append(QDir::toNativeSeparators(p));
    return names.join(QLatin1Char('\n'));
}

// The parts an earlier, longer save left after the new ones go only when the user agrees.
void offerToRemove(const QStringList &surplus, Prompts &prompts)
{
    if (prompts.question(QCoreApplication::translate("SavedData",
                                                     "These files hold the rest of the recording saved earlier under "
                                                     "this name and are not part of this one:\n%1\nRemove them?")
                             .arg(nativeList(surplus))) != Prompts::Answer::Ok)
        return;
    QStringList kept;
    for (const QString &p : surplus) {
        if (!QFile::remove(p))
            kept.append(p);
    }
    if (!kept.isEmpty())
        prompts.warning(
            QCoreApplication::translate("SavedData", "These files could not be removed:\n%1").arg(nativeList(kept)));
}

} // namespace

FileResult open(RecordStore &store, const QString &path, Prompts &prompts)
{
    DatFile::ReadResult r = DatFile::read(path);
    if (!r.ok) {
        prompts.warning(Text(TextNo::CantOpenFile));
        return fileFailure(FileError::Refused, QStringLiteral("%1 (byte %2)").arg(r.failedCheck).arg(r.offset));
    }
    store.currentSamples = std::move(r.contents.samples);
    store.reportTitle = r.contents.title;
    // The file's ID starts blank: a file of ID 0 loads nothing, and it must not
    // show the previous patient either.
    store.currentPatient = PatientRecord{};
    store.currentPatient.idNumber = r.contents.headerId;
    store.patientEnteredForRecording = false;
    // A file is no archived night: Save Info must not reach the night open before.
    store.currentNights.clear();
    store.currentMarks.clear();
    if (store.LoadPatientInfo(r.contents.headerId - 1) == RecordStore::PatientLoad::Missing)
        prompts.warning(QCoreApplication::translate("RecordStore", "Get patient info error!"));
    return {};
}

SaveOutcome writeDat(RecordStore &store, const QString &path, Prompts &prompts, QStringList *written)
{
    const int count = store.currentSampleCount();
    const int headerId = count > 0 ? store.currentSamples.front().id : 0;
    // The file dialog asked about the chosen name only; the parts after it
    // must not replace other files unasked.
    QStringList existing;
    for (int part = 2; part <= DatFile::partCount(count); ++part) {
        if (QFileInfo::exists(DatFile::partPath(path, part)))
            existing.append(QDir::toNativeSeparators(DatFile::partPath(path, part)));
    }
    if (!existing.isEmpty() &&
        prompts.question(QCoreApplication::translate("SavedData",
                                                     "The recording needs %1 files, and these already exist:\n%2\n"
                                                     "Replace them?")
                             .arg(DatFile::partCount(count))
                             .arg(existing.join(QLatin1Char('\n')))) != Prompts::Answer::Ok)
        return SaveOutcome::NotReplaced;
    // Found before the last new part replaces the part they continue.
    const QStringList surplus = SurplusParts::find(path, DatFile::partCount(count));
    const DatFile::WriteResult r =
        DatFile::writeRecording(path, headerId, store.currentSamples.data(), count, store.reportTitle);
    if (!r.ok) {
        prompts.warningWithDetail(Text(TextNo::CantCreateFile), r.error);
        return SaveOutcome::CannotCreate;
    }
    if (written)
        *written = r.paths;
    if (r.paths.size() > 1) {
        prompts.information(QCoreApplication::translate(
                                "SavedData", "The recording has %1 readings, more than one file can hold, so it was "
                                             "saved in %2 files:\n%3")
                                .arg(count)
                                .arg(r.paths.size())
                                .arg(nativeList(r.paths)));
    }
    if (!surplus.isEmpty())
        offerToRemove(surplus, prompts);
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
    // The details on screen belong to the recording's ID. A file whose readings
    // carry another ID must not overwrite that other patient's details.
    if (store.currentPatient.idNumber != id) {
        // A file of header ID 0 has no ID of its own: its details go under the
        // first reading's ID when they were typed for this recording, or when
        // nothing stored there can be lost.
        PatientRecord stored;
        if (store.currentPatient.idNumber != 0 ||
            (!store.patientEnteredForRecording && ReadPatientInfo(id - 1, stored)))
            return false;
        store.currentPatient.idNumber = id;
    }
    StorePatientInfo(id - 1, store.currentPatient);
    store.patientFlags[std::size_t(id - 1)].infoSaved = 1;
    return true;
}

SaveFormat formatOf(const QString &path)
{
    // Case does not matter: "NIGHT.DAT" is a data file too, not a silent no-op.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("dat"))
        return SaveFormat::Dat;
    if (suffix == QLatin1String("txt"))
        return SaveFormat::Text;
    if (suffix == QLatin1String("xls"))
        return SaveFormat::Spreadsheet;
    switch (InteropExport::formatForPath(path)) {
    case InteropExport::Format::Csv:
        return SaveFormat::Csv;
    case InteropExport::Format::Edf:
        return SaveFormat::Edf;
    case InteropExport::Format::None:
        break;
    }
    return SaveFormat::Unknown;
}

QString saveNameStem(const PatientRecord &patient)
{
    QString name = QString::asprintf("ID %d  Name ", patient.idNumber) + patient.nameText();
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || forbidden.contains(c))
            c = QLatin1Char('_');
    }
    return name;
}

QString saveInitialName(const RecordStore &store)
{
    return saveNameStem(store.currentPatient) + QStringLiteral(".dat");
}

SaveCommandResult saveTo(RecordStore &store, const QString &path, Prompts &prompts, int unitSetup,
                         ProgressSink *progress)
{
    SaveCommandResult result = SaveCommandResult::Written;
    FileResult exported;
    switch (formatOf(path)) {
    case SaveFormat::Dat:
        switch (writeDat(store, path, prompts)) {
        case SaveOutcome::Written:
            break;
        case SaveOutcome::WrittenBadId:
            return SaveCommandResult::WrittenBadId;
        case SaveOutcome::CannotCreate:
            return SaveCommandResult::CannotCreate;
        case SaveOutcome::NotReplaced:
            return SaveCommandResult::Cancelled;
        }
        break;
    case SaveFormat::Text:
        exported = TextExport::write(path, store.currentPatient, store.currentSamples, unitSetup, nullptr);
        break;
    case SaveFormat::Spreadsheet:
        exported = XlsExport::write(path, store.currentPatient, store.currentSamples, unitSetup, progress);
        break;
    case SaveFormat::Csv:
    case SaveFormat::Edf:
        exported = InteropExport::write(path, store);
        if (!exported && exported.error() == FileError::NoReadings) {
            prompts.warning(QCoreApplication::translate(
                "SavedData", "Nothing was written: an EDF+ file needs at least one reading for its start time."));
            return SaveCommandResult::CannotCreate;
        }
        break;
    case SaveFormat::Unknown:
        prompts.warning(QCoreApplication::translate(
            "SavedData", "Nothing was written: choose a file name ending in .dat, .txt, .xls, .csv or .edf."));
        result = SaveCommandResult::UnknownExtension;
        break;
    }
    if (!exported) {
        if (exported.error() == FileError::Cancelled)
            return SaveCommandResult::Cancelled;
        prompts.warningWithDetail(Text(TextNo::CantCreateFile), exported.detail());
        return SaveCommandResult::CannotCreate;
    }
    storePatientOfFirstReading(store);
    return result;
}

SaveCommandResult saveCommand(RecordStore &store, Prompts &prompts, int unitSetup, ProgressSink *progress)
{
    Prompts::FileRequest request;
    request.defaultSuffix = QStringLiteral("dat");
    request.initialName = saveInitialName(store);
    request.filter = QStringLiteral("(*.dat);;(*.txt);;(*.xls);;(*.csv);;(*.edf)");
    request.confirmOverwrite = true;
    const QString path = prompts.saveFileName(request);
    if (path.isEmpty())
        return SaveCommandResult::Cancelled;
    return saveTo(store, path, prompts, unitSetup, progress);
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
    return open(store, path, prompts).ok();
}

QString droppedDatFile(const QList<QUrl> &urls)
{
    for (const QUrl &url : urls) {
        if (url.isLocalFile() && formatOf(url.toLocalFile()) == SaveFormat::Dat)
            return url.toLocalFile();
    }
    return {};
}

} // namespace SavedData

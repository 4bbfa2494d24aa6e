// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/RecordingFile.h"

#include "export/TextExport.h"
#include "export/XlsExport.h"
#include "interop/InteropExport.h"
#include "model/DatFile.h"
#include "model/SavedData.h"

namespace
{

FileResult worded(const FileResult &r)
{
    if (r || r.error() != FileError::NoReadings)
        return r;
    return fileFailure(FileError::NoReadings,
                       QStringLiteral("an EDF+ file needs at least one reading for its start time"));
}

} // namespace

RecordingWrite writeRecordingAs(const QString &outPath, int headerId, const std::vector<SampleRecord> &samples,
                                const QString &title, const PatientRecord &patient, int unitSetup)
{
    RecordingWrite out{{}, QStringList{outPath}};
    switch (SavedData::formatOf(outPath)) {
    case SavedData::SaveFormat::Dat: {
        const DatFile::WriteResult w =
            DatFile::writeRecording(outPath, headerId, samples.data(), int(samples.size()), title);
        out.paths = w.paths;
        if (!w.ok)
            out.result = fileFailure(FileError::CannotCreate, w.error);
        return out;
    }
    case SavedData::SaveFormat::Text:
        out.result = TextExport::write(outPath, patient, samples, unitSetup, nullptr);
        return out;
    case SavedData::SaveFormat::Spreadsheet:
        out.result = XlsExport::write(outPath, patient, samples, unitSetup, nullptr);
        return out;
    case SavedData::SaveFormat::Csv:
    case SavedData::SaveFormat::Edf:
        out.result = worded(InteropExport::write(outPath, patient, samples));
        return out;
    case SavedData::SaveFormat::Unknown:
        break;
    }
    out.result = fileFailure(FileError::UnknownFormat,
                             QStringLiteral("%1 does not end in .dat, .txt, .xls, .csv or .edf").arg(outPath));
    return out;
}

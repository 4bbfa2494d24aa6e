// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/RecordingFile.h"

#include "export/TextExport.h"
#include "export/XlsExport.h"
#include "interop/InteropExport.h"
#include "model/DatFile.h"
#include "model/SavedData.h"

namespace
{

bool succeeded(const FileResult &r, QString *error)
{
    if (r)
        return true;
    *error = r.error() == FileError::NoReadings
                 ? QStringLiteral("an EDF+ file needs at least one reading for its start time")
                 : r.detail();
    return false;
}

} // namespace

bool writeRecordingAs(const QString &outPath, int headerId, const std::vector<SampleRecord> &samples,
                      const QString &title, const PatientRecord &patient, int unitSetup, QStringList *written,
                      QString *error)
{
    *written = QStringList{outPath};
    switch (SavedData::formatOf(outPath)) {
    case SavedData::SaveFormat::Dat: {
        const DatFile::WriteResult w =
            DatFile::writeRecording(outPath, headerId, samples.data(), int(samples.size()), title);
        *error = w.error;
        *written = w.paths;
        return w.ok;
    }
    case SavedData::SaveFormat::Text:
        return succeeded(TextExport::write(outPath, patient, samples, unitSetup, nullptr), error);
    case SavedData::SaveFormat::Spreadsheet:
        return succeeded(XlsExport::write(outPath, patient, samples, unitSetup, nullptr), error);
    case SavedData::SaveFormat::Csv:
    case SavedData::SaveFormat::Edf:
        return succeeded(InteropExport::write(outPath, patient, samples), error);
    case SavedData::SaveFormat::Unknown:
        break;
    }
    *error = QStringLiteral("%1 does not end in .dat, .txt, .xls, .csv or .edf").arg(outPath);
    return false;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/FileImport.h"

#include "archive/NightInputs.h"
#include "import/ImportFile.h"
#include "model/DatFile.h"

#include <QFileInfo>

namespace FileImport
{

Read read(const QString &path, const CsvImport::Options &csv)
{
    Read result;
    if (ImportFile::formatForPath(path) != ImportFile::Format::None) {
        result.night = ImportFile::read(path, csv);
        result.ok = result.night.ok;
        return result;
    }
    result.isDat = true;
    DatFile::ReadResult r = DatFile::read(path);
    if (!r.ok) {
        result.error = QStringLiteral("%1 (byte %2)").arg(r.failedCheck).arg(r.offset);
        return result;
    }
    result.ok = true;
    result.title = r.contents.title;
    result.night.ok = true;
    result.night.readings = std::move(r.contents.samples);
    return result;
}

std::vector<NightInput> nights(const Read &read, const QString &path, const Patient &patient)
{
    const QString fileName = QFileInfo(path).fileName();
    const std::vector<SampleRecord> &readings = read.night.readings;
    if (read.isDat)
        return nightInputs(readings.data(), int(readings.size()), read.title, NightSource::Import, fileName, false,
                           storedPatientOf);
    std::vector<SampleRecord> owned = readings;
    for (SampleRecord &s : owned)
        s.id = std::uint8_t(patient.id);
    PatientRecord who;
    who.idNumber = patient.id;
    PatientRecord::setText(who.name, patient.name.isEmpty() ? read.night.patientName : patient.name);
    std::vector<NightInput> out = nightInputs(owned.data(), int(owned.size()), QString(), NightSource::Import, fileName,
                                              false, [&who](int) { return who; });
    for (NightInput &n : out)
        n.intervalSeconds = read.night.intervalSeconds;
    return out;
}

} // namespace FileImport

// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/InteropExport.h"

#include "interop/CsvExport.h"
#include "interop/EdfExport.h"
#include "model/DatFile.h"
#include "model/RecordStore.h"

#include <QFileInfo>

namespace InteropExport
{

Format formatForPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv"))
        return Format::Csv;
    if (suffix == QLatin1String("edf"))
        return Format::Edf;
    return Format::None;
}

FileResult write(const QString &path, const RecordStore &store)
{
    return write(path, store.currentPatient, store.currentSamples);
}

FileResult write(const QString &path, const PatientRecord &patient, const std::vector<SampleRecord> &readings)
{
    const SampleRecord *samples = readings.data();
    const int count = int(readings.size());
    QByteArray bytes;
    switch (formatForPath(path)) {
    case Format::None:
        return fileFailure(FileError::UnknownFormat);
    case Format::Csv:
        bytes = CsvExport::encode(samples, count);
        break;
    case Format::Edf:
        if (count == 0)
            return fileFailure(FileError::NoReadings);
        bytes = EdfExport::encode(samples, count, patient);
        break;
    }
    return DatFile::write(path, bytes);
}

} // namespace InteropExport

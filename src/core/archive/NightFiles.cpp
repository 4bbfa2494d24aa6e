// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/NightFiles.h"

#include "export/RecordingFile.h"
#include "model/SavedData.h"

RecordingWrite writeNight(const StoredNight &night, const QString &outPath, int unitSetup)
{
    // The header ID Save Data writes: the first reading's.
    const int headerId = night.readings.empty() ? 0 : night.readings.front().id;
    return writeRecordingAs(outPath, headerId, night.readings, night.info.title, night.patient, unitSetup);
}

QString nightFileName(const PatientRecord &patient, const NightSummary &summary, const QString &extension)
{
    // "YYYY-MM-DD hh:mm:ss": a colon has no place in a file name.
    const QString stamp = QString(summary.start).replace(QLatin1Char(':'), QLatin1Char('-'));
    return SavedData::saveNameStem(patient) + QLatin1Char(' ') + stamp + QLatin1Char('.') + extension;
}

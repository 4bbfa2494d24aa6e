// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/FileError.h"
#include "model/PatientRecord.h"
#include "model/SampleRecord.h"

#include <QStringList>

#include <vector>

struct RecordingWrite {
    FileResult result;
    QStringList paths; // the files written (a long .dat may take several); on failure, any changed all the same
};

// Writes readings in the format of outPath's extension (.dat, .txt, .xls,
// .csv, .edf in any letter case) with the core writers, as Save Data does.
// The failure's detail says why in the command line's words.
RecordingWrite writeRecordingAs(const QString &outPath, int headerId, const std::vector<SampleRecord> &samples,
                                const QString &title, const PatientRecord &patient, int unitSetup);

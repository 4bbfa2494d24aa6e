// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PatientRecord.h"
#include "model/SampleRecord.h"

#include <QStringList>

#include <vector>

// Writes readings in the format of outPath's extension (.dat, .txt, .xls,
// .csv, .edf in any letter case) with the core writers, as Save Data does.
// written gets the files (a long .dat may take several); error why not.
bool writeRecordingAs(const QString &outPath, int headerId, const std::vector<SampleRecord> &samples,
                      const QString &title, const PatientRecord &patient, int unitSetup, QStringList *written,
                      QString *error);

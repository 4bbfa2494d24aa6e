// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"
#include "export/RecordingFile.h"

#include <QStringList>

// Writes an archived night in the format of outPath's extension, as Save Data
// writes the same readings, title and patient details: the .dat gives the same
// bytes.
RecordingWrite writeNight(const StoredNight &night, const QString &outPath, int unitSetup);

// The name Save Data proposes for the night's patient, followed by the night's
// start date and time: "ID 3  Name Ann 2026-12-01 22-14-05.<extension>".
QString nightFileName(const PatientRecord &patient, const NightSummary &summary, const QString &extension);

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/FileError.h"
#include "export/ProgressSink.h"
#include "model/SampleRecord.h"

#include <QByteArray>
#include <QString>

#include <vector>

struct PatientRecord;

// The tab-separated text export: the patient block, then one line per reading.
// UTF-8 without a byte-order mark, every line ending in CR LF.
namespace TextExport
{

// The eight lines before the readings.
QByteArray header(const PatientRecord &patient, int unitSetup);
// One reading's line: "2010/07/21 09:05:03\t\t\t97\t\t64\r\n".
QByteArray line(const SampleRecord &s);

// Writes the whole file through CheckedFile; a failure or a stop leaves any
// earlier file of that name as it was.
FileResult write(const QString &path, const PatientRecord &patient, const std::vector<SampleRecord> &samples,
                 int unitSetup, ProgressSink *progress = nullptr);

} // namespace TextExport

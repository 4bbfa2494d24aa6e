// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/FileError.h"
#include "export/ProgressSink.h"
#include "model/SampleRecord.h"

#include <QString>

#include <vector>

struct PatientRecord;

// The spreadsheet export (.xls, Excel 97-2003): the patient block in rows 1
// and 2, then the readings in blocks of kBlockRows side by side from row 5,
// each block five columns wide with one empty column after it.
namespace XlsExport
{

inline constexpr int kBlockRows = 65532;
inline constexpr int kBlockColumns = 6;
inline constexpr int kFirstReadingRow = 4; // 0-based: row 5 of the sheet
inline constexpr int kColumnWidth = 10;

// Where reading k (0-based) goes, 0-based row and first column. Readings beyond
// four blocks continue into a fifth, sixth ... block: a sheet has no rows below
// 65,536 to pile them into.
struct Cell {
    int row;
    int column;
};
Cell readingCell(int k);
int blockCount(int readings);

// The date and time texts of a reading: "07/21/10" and "9:5:3".
QString dateText(const SampleRecord &s);
QString timeText(const SampleRecord &s);

// Writes the whole file through CheckedFile; a failure or a stop leaves any
// earlier file of that name as it was.
FileResult write(const QString &path, const PatientRecord &patient, const std::vector<SampleRecord> &samples,
                 int unitSetup, ProgressSink *progress = nullptr);

} // namespace XlsExport

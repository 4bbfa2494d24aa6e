// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/XlsExport.h"

#include "app/CheckedFile.h"
#include "export/BiffWriter.h"
#include "export/CompoundFile.h"
#include "export/Digits.h"
#include "export/ExportPatient.h"
#include "model/PatientRecord.h"

#include <algorithm>
#include <optional>

namespace XlsExport
{

namespace
{

// Readings between two progress reports.
constexpr int kProgressStep = 4096;

int formatDate(char *out, const SampleRecord &s)
{
    char *p = Digits::padded(out, s.month, 2);
    *p++ = '/';
    p = Digits::padded(p, s.day, 2);
    *p++ = '/';
    p = Digits::plain(p, s.year);
    return int(p - out);
}

int formatTime(char *out, const SampleRecord &s)
{
    char *p = Digits::plain(out, s.hour);
    *p++ = ':';
    p = Digits::plain(p, s.minute);
    *p++ = ':';
    p = Digits::plain(p, s.second);
    return int(p - out);
}

} // namespace

Cell readingCell(int k)
{
    const int block = k / kBlockRows;
    return {kFirstReadingRow + k % kBlockRows, block * kBlockColumns};
}

int blockCount(int readings)
{
    // Headers go up to block count / kBlockRows, so a recording that exactly
    // fills its blocks still gets the next block's headers.
    return readings / kBlockRows + 1;
}

QString dateText(const SampleRecord &s)
{
    char buf[16];
    return QString::fromLatin1(buf, formatDate(buf, s));
}

QString timeText(const SampleRecord &s)
{
    char buf[16];
    return QString::fromLatin1(buf, formatTime(buf, s));
}

FileResult write(const QString &path, const PatientRecord &patient, const std::vector<SampleRecord> &samples,
                 int unitSetup, ProgressSink *progress)
{
    const int count = int(samples.size());
    const int blocks = blockCount(count);
    const int rows = count == 0 ? kFirstReadingRow : kFirstReadingRow + std::min(count, kBlockRows);
    if (progress)
        progress->begin(count);
    CheckedFile file(path);
    const auto finished = [&](std::optional<FileError> error, QString detail = {}) -> FileResult {
        if (error && detail.isEmpty() && *error == FileError::CannotCreate)
            detail = file.reason();
        if (error)
            file.cancel();
        if (progress)
            progress->end();
        if (!error)
            return {};
        return fileFailure(*error, detail);
    };
    // Opened first, so a folder that cannot be written is known before the work.
    if (!file.open())
        return finished(FileError::CannotCreate);
    // A sheet has 256 columns: 42 blocks, far beyond any recording the store holds.
    if (blocks * kBlockColumns - 1 > BiffWriter::kMaxColumns) {
        return finished(FileError::CannotCreate, QStringLiteral("more readings than one sheet can hold"));
    }

    const ExportPatient p = MakeExportPatient(patient, unitSetup);
    BiffWriter sheet(rows, std::max(6, blocks * kBlockColumns - 1), kColumnWidth);
    sheet.reserve(qsizetype(count) * 84);
    const QString labels[] = {QStringLiteral("PatId"), p.nameLabel,  p.genderLabel, p.ageLabel,
                              p.heightLabel,           p.weightLabel};
    for (int c = 0; c < 6; ++c)
        sheet.text(0, c, labels[c]);
    sheet.number(1, 0, p.idNumber);
    sheet.text(1, 1, p.name);
    sheet.text(1, 2, p.gender);
    sheet.number(1, 3, p.age);
    sheet.text(1, 4, p.height);
    sheet.text(1, 5, p.weight);
    for (int b = 0; b < blocks; ++b) {
        const int c = b * kBlockColumns;
        sheet.latin1(3, c, "Num", 3);
        sheet.latin1(3, c + 1, "Date", 4);
        sheet.latin1(3, c + 2, "Time", 4);
        sheet.latin1(3, c + 3, "SpO2", 4);
        sheet.latin1(3, c + 4, "PR", 2);
    }

    // Row by row across the blocks, the order a reader expects cells in.
    int done = 0;
    char buf[16];
    for (int r = 0; r < kBlockRows && done < count; ++r) {
        const int row = kFirstReadingRow + r;
        for (int b = 0; b < blocks; ++b) {
            const int k = b * kBlockRows + r;
            if (k >= count)
                break;
            const SampleRecord &s = samples[std::size_t(k)];
            const int c = b * kBlockColumns;
            sheet.number(row, c, k + 1);
            sheet.latin1(row, c + 1, buf, formatDate(buf, s));
            sheet.latin1(row, c + 2, buf, formatTime(buf, s));
            sheet.number(row, c + 3, s.spo2);
            sheet.number(row, c + 4, s.pulseRate);
            ++done;
            if (progress && done % kProgressStep == 0 && !progress->advance(done))
                return finished(FileError::Cancelled);
        }
    }
    const QByteArray workbook = sheet.finish();

    if (!CompoundFile::writeWorkbook(file, workbook) || !file.commit())
        return finished(FileError::CannotCreate);
    if (progress)
        progress->advance(count);
    return finished(std::nullopt);
}

} // namespace XlsExport

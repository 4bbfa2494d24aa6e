// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/TextExport.h"

#include "app/CheckedFile.h"
#include "export/Digits.h"
#include "export/ExportPatient.h"
#include "model/PatientRecord.h"

#include <algorithm>
#include <optional>

namespace TextExport
{

namespace
{

// Readings formatted and written per chunk, so progress moves and memory stays small.
constexpr int kChunk = 8192;
// The longest line: "2255/255/255 255:255:255" + 5 tabs + two 3-digit values + CR LF.
constexpr int kMaxLine = 64;

char *formatLine(char *p, const SampleRecord &s)
{
    *p++ = '2';
    p = Digits::padded(p, s.year, 3);
    *p++ = '/';
    p = Digits::padded(p, s.month, 2);
    *p++ = '/';
    p = Digits::padded(p, s.day, 2);
    *p++ = ' ';
    p = Digits::padded(p, s.hour, 2);
    *p++ = ':';
    p = Digits::padded(p, s.minute, 2);
    *p++ = ':';
    p = Digits::padded(p, s.second, 2);
    *p++ = '\t';
    *p++ = '\t';
    *p++ = '\t';
    p = Digits::plain(p, s.spo2);
    *p++ = '\t';
    *p++ = '\t';
    p = Digits::plain(p, s.pulseRate);
    *p++ = '\r';
    *p++ = '\n';
    return p;
}

} // namespace

QByteArray header(const PatientRecord &patient, int unitSetup)
{
    const ExportPatient p = MakeExportPatient(patient, unitSetup);
    const QString tab = QStringLiteral("\t");
    const QString crlf = QStringLiteral("\r\n");
    QString text;
    text += QStringLiteral("PatId") + tab + p.nameLabel + crlf;
    text += QString::number(p.idNumber) + tab + p.name + crlf + crlf;
    text += p.genderLabel + tab + p.ageLabel + tab + p.heightLabel + tab + p.weightLabel + crlf;
    text += p.gender + tab + QString::number(p.age) + tab + p.height + tab + p.weight + crlf;
    text += crlf + crlf;
    text += QStringLiteral("Date&Time\t\t\t\tSpO2\t\tPR") + crlf;
    return text.toUtf8();
}

QByteArray line(const SampleRecord &s)
{
    char buf[kMaxLine];
    return QByteArray(buf, formatLine(buf, s) - buf);
}

FileResult write(const QString &path, const PatientRecord &patient, const std::vector<SampleRecord> &samples,
                 int unitSetup, ProgressSink *progress)
{
    CheckedFile file(path);
    const auto finished = [&](std::optional<FileError> error) -> FileResult {
        if (error)
            file.cancel();
        if (progress)
            progress->end();
        if (!error)
            return {};
        return fileFailure(*error, *error == FileError::CannotCreate ? file.reason() : QString());
    };
    const int count = int(samples.size());
    if (progress)
        progress->begin(count);
    if (!file.open() || !file.write(header(patient, unitSetup)))
        return finished(FileError::CannotCreate);
    QByteArray chunk(qsizetype(kChunk) * kMaxLine, Qt::Uninitialized);
    for (int first = 0; first < count; first += kChunk) {
        const int last = std::min(count, first + kChunk);
        char *p = chunk.data();
        for (int i = first; i < last; ++i)
            p = formatLine(p, samples[std::size_t(i)]);
        if (!file.write(QByteArrayView(chunk.constData(), p - chunk.constData())))
            return finished(FileError::CannotCreate);
        if (progress && !progress->advance(last))
            return finished(FileError::Cancelled);
    }
    if (!file.commit())
        return finished(FileError::CannotCreate);
    return finished(std::nullopt);
}

} // namespace TextExport

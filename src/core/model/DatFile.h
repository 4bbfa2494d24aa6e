#pragma once

#include "model/SampleRecord.h"

#include <QByteArray>
#include <QString>

#include <vector>

class RecordStore;

// The saved-data file: header ID (u8), N (u32 LE), N readings of 11 bytes, then
// the report title as a length-prefixed string (UTF-16 behind the FF FE FF marker,
// or 8-bit text without it).
namespace DatFile
{

inline constexpr int kReadingSize = 11;

struct Contents {
    int headerId = 0;
    std::vector<SampleRecord> samples;
    QString title;
};

struct ReadResult {
    bool ok = false;
    Contents contents;
    QString failedCheck; // plain words, e.g. "spo2 above 100"
    qint64 offset = -1;  // byte offset of the field that failed
};

// Reads and checks a whole file; nothing is changed anywhere.
ReadResult read(const QString &path);
ReadResult parse(const QByteArray &data);

struct TitleResult {
    bool ok = false;
    QString title;
    QString failedCheck;
    qint64 used = 0; // bytes taken by the title
};

// Decodes the length-prefixed title at the start of bytes.
TitleResult decodeTitle(const QByteArray &bytes);

QByteArray encode(int headerId, const SampleRecord *samples, int count, const QString &title);
QByteArray encodeTitle(const QString &title);

// Writes atomically (QSaveFile): a failed write leaves an existing file as it was.
bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace DatFile

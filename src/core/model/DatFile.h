// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/FileError.h"
#include "model/SampleRecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class RecordStore;

// The saved-data file: header ID (u8), N (u32 LE), N readings of 11 bytes, then
// the report title as a length-prefixed string (UTF-16 behind the FF FE FF marker,
// or 8-bit text without it).
namespace DatFile
{

inline constexpr int kReadingSize = 11;
// The title dialog allows 60 characters, and 60 UTF-16 characters are the most
// the reader's size check leaves room for.
inline constexpr int kTitleMax = 60;
// The largest file the reader accepts: a full file with a 60-character title.
qint64 maxFileSize();

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

// Reads and checks a whole file; nothing is changed anywhere. At most one byte
// more than maxFileSize() is read, so devices and pipes (whose size says
// nothing) cannot exhaust memory, and a pipe that stays silent is given up.
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

// A title cut to kTitleMax characters, never splitting a surrogate pair.
QString cutTitle(const QString &title);

// The title is cut to kTitleMax characters so the file can always be read back.
QByteArray encode(int headerId, const SampleRecord *samples, int count, const QString &title);
// Any length, in the archive's length-prefixed form.
QByteArray encodeTitle(const QString &title);

// Writes every byte or fails; a failed write leaves an existing file as it was.
FileResult write(const QString &path, const QByteArray &bytes);

// Path of part `part` (1-based) of a recording saved in parts: part 1 is path
// itself, the others get "-2", "-3" ... before the extension.
QString partPath(const QString &path, int part);
// Number of files a recording of count readings needs (at least 1).
int partCount(int count);

// Writes a recording as one file, or, above the readings one file may hold, as
// consecutive files of at most that many readings, each with the same header
// ID and title. Either every part is written or none is changed: all parts are
// on the disk before the first replaces its file, and the earlier files are put
// back if a later part cannot take its place. Where one cannot go back, the
// result says so (error names it, paths lists it).
struct WriteResult {
    bool ok = false;
    QStringList paths; // ok: the files written, in order; failed: files changed all the same
    QString error;     // the system's reason
};
WriteResult writeRecording(const QString &path, int headerId, const SampleRecord *samples, int count,
                           const QString &title);

} // namespace DatFile

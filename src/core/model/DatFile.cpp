// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DatFile.h"

#include "app/BoundedRead.h"
#include "app/CheckedFile.h"
#include "model/EightBitText.h"
#include "model/RecordStore.h"
#include "model/TextCut.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstdio>
#include <memory>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace DatFile
{

namespace
{

// A file about to be replaced by a part of a recording.
struct EarlierFile {
    QString path; // the file itself (a link's target)
    QString kept; // a hard link to its old contents; empty when none could be made
    bool existed = false;
};

EarlierFile keepEarlier(const QString &path)
{
    EarlierFile e;
    const QFileInfo info(path);
    e.existed = info.exists();
    e.path = e.existed ? info.canonicalFilePath() : info.absoluteFilePath();
    if (!e.existed)
        return e;
#ifdef Q_OS_UNIX
    for (int k = 0; k < 100; ++k) {
        const QString aside = e.path + QStringLiteral(".earlier-%1").arg(k);
        if (::link(QFile::encodeName(e.path).constData(), QFile::encodeName(aside).constData()) == 0) {
            e.kept = aside;
            break;
        }
        if (errno != EEXIST)
            break;
    }
#endif
    return e;
}

// Undoes a committed part: the earlier file comes back, or a new one goes.
bool putBack(EarlierFile &e)
{
    if (!e.existed)
        return QFile::remove(e.path);
    if (e.kept.isEmpty())
        return false;
    if (std::rename(QFile::encodeName(e.kept).constData(), QFile::encodeName(e.path).constData()) != 0)
        return false;
    e.kept.clear();
    return true;
}

void dropKept(const EarlierFile &e)
{
    if (!e.kept.isEmpty())
        QFile::remove(e.kept);
}

struct Cursor {
    const QByteArray &data;
    qint64 pos = 0;

    bool has(qint64 n) const { return pos + n <= data.size(); }
    quint8 u8() { return quint8(data[pos++]); }
    quint16 u16()
    {
        auto v = qFromLittleEndian<quint16>(data.constData() + pos);
        pos += 2;
        return v;
    }
    quint32 u32()
    {
        auto v = qFromLittleEndian<quint32>(data.constData() + pos);
        pos += 4;
        return v;
    }
};

ReadResult fail(const QString &check, qint64 offset)
{
    ReadResult r;
    r.failedCheck = check;
    r.offset = offset;
    return r;
}

// Reads the length-prefixed title. Returns false when it runs past the end.
bool readTitle(Cursor &c, QString &title, QString &check)
{
    if (!c.has(1)) {
        check = QStringLiteral("title length missing");
        return false;
    }
    bool wide = false;
    quint64 length = c.u8();
    if (length == 0xFF) {
        if (!c.has(2)) {
            check = QStringLiteral("title length cut short");
            return false;
        }
        quint16 word = c.u16();
        if (word == 0xFFFE) {
            wide = true;
            if (!c.has(1)) {
                check = QStringLiteral("title length missing");
                return false;
            }
            length = c.u8();
            if (length == 0xFF) {
                if (!c.has(2)) {
                    check = QStringLiteral("title length cut short");
                    return false;
                }
                word = c.u16();
            }
        }
        if (length == 0xFF) {
            length = word;
            if (word == 0xFFFF) {
                if (!c.has(4)) {
                    check = QStringLiteral("title length cut short");
                    return false;
                }
                length = c.u32();
            }
        }
    }
    const quint64 bytes = wide ? length * 2 : length;
    if (quint64(c.data.size() - c.pos) < bytes) {
        check = QStringLiteral("title runs past the end of the file");
        return false;
    }
    if (wide) {
        QString s(qsizetype(length), Qt::Uninitialized);
        for (quint64 i = 0; i < length; ++i)
            s[qsizetype(i)] = QChar(c.u16());
        title = s;
    } else {
        title = EightBitText::decode(QByteArrayView(c.data.constData() + c.pos, qsizetype(length)),
                                     EightBitText::programCodePage());
        c.pos += qint64(length);
    }
    return true;
}

void appendTitleLength(QByteArray &out, quint64 n)
{
    char b[4];
    if (n < 0xFF) {
        out.append(char(n));
    } else if (n < 0xFFFE) {
        out.append(char(0xFF));
        qToLittleEndian<quint16>(quint16(n), b);
        out.append(b, 2);
    } else {
        out.append(char(0xFF));
        out.append(char(0xFF));
        out.append(char(0xFF));
        qToLittleEndian<quint32>(quint32(n), b);
        out.append(b, 4);
    }
}

// A real calendar date (leap years counted) and time of day. Inline rather than
// QDate::isValid: it runs for every reading and dominates opening a file.
bool realDateTime(const SampleRecord &s)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (s.month < 1 || s.month > 12 || s.day < 1 || s.hour > 23 || s.minute > 59 || s.second > 59)
        return false;
    const int year = 2000 + s.year;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return s.day <= kDays[s.month - 1] + (s.month == 2 && leap ? 1 : 0);
}

} // namespace

QString cutTitle(const QString &title)
{
    return cutText(title, kTitleMax);
}

qint64 maxFileSize()
{
    return qint64(kReadingSize) * RecordStore::kFileCapacity + 129;
}

ReadResult parse(const QByteArray &data)
{
    const qint64 length = data.size();
    if (length == 0)
        return fail(QStringLiteral("file is empty"), 0);
    Cursor c{data};
    const int header = c.u8();
    if (header > 128)
        return fail(QStringLiteral("header ID above 128"), 0);
    if (!c.has(4))
        return fail(QStringLiteral("reading count cut short"), 1);
    const quint32 n = c.u32();
    if (n > quint32(RecordStore::kFileCapacity))
        return fail(QStringLiteral("more than 259200 readings"), 1);
    const qint64 minLength = qint64(kReadingSize) * n + 7;
    const qint64 maxLength = qint64(kReadingSize) * n + 129;
    if (length < minLength || length > maxLength)
        return fail(QStringLiteral("file length %1 outside %2..%3 for %4 readings")
                        .arg(length)
                        .arg(minLength)
                        .arg(maxLength)
                        .arg(n),
                    1);

    ReadResult r;
    r.contents.headerId = header;
    r.contents.samples.resize(n);
    for (quint32 i = 0; i < n; ++i) {
        const qint64 at = c.pos;
        if (!c.has(kReadingSize))
            return fail(QStringLiteral("reading %1 cut short").arg(i), at);
        SampleRecord &s = r.contents.samples[i];
        s.id = c.u8();
        if (s.id > 128)
            return fail(QStringLiteral("reading %1: ID above 128").arg(i), at);
        s.year = c.u8();
        s.month = c.u8();
        s.day = c.u8();
        s.hour = c.u8();
        s.minute = c.u8();
        s.second = c.u8();
        if (!realDateTime(s))
            return fail(QStringLiteral("reading %1: not a real date and time").arg(i), at + 1);
        s.spo2 = c.u8();
        if (s.spo2 > 100)
            return fail(QStringLiteral("reading %1: SpO2 above 100").arg(i), at + 7);
        s.pulseRate = c.u8();
        if (s.pulseRate < 30)
            return fail(QStringLiteral("reading %1: pulse rate below 30").arg(i), at + 8);
        s.auxValue = c.u16();
    }
    const qint64 titleAt = c.pos;
    QString check;
    if (!readTitle(c, r.contents.title, check))
        return fail(check, titleAt);
    r.ok = true;
    return r;
}

ReadResult read(const QString &path)
{
    // A regular file too big is refused unread; for anything else only the
    // bytes read count, never the size the file system reports.
    const QFileInfo info(path);
    if (info.isFile() && info.size() > maxFileSize())
        return fail(QStringLiteral("file length %1 above the largest possible %2").arg(info.size()).arg(maxFileSize()),
                    0);
    const BoundedRead s = readAtMost(path, maxFileSize() + 1);
    if (!s.ok)
        return fail(QStringLiteral("cannot be opened: %1").arg(s.error), 0);
    if (s.data.size() > maxFileSize())
        return fail(QStringLiteral("more than the largest possible %1 bytes").arg(maxFileSize()), 0);
    return parse(s.data);
}

TitleResult decodeTitle(const QByteArray &bytes)
{
    TitleResult r;
    Cursor c{bytes};
    r.ok = readTitle(c, r.title, r.failedCheck);
    r.used = r.ok ? c.pos : 0;
    return r;
}

QByteArray encodeTitle(const QString &title)
{
    QByteArray out;
    out.append(char(0xFF));
    out.append(char(0xFE));
    out.append(char(0xFF));
    appendTitleLength(out, quint64(title.size()));
    for (QChar ch : title) {
        char b[2];
        qToLittleEndian<quint16>(ch.unicode(), b);
        out.append(b, 2);
    }
    return out;
}

QByteArray encode(int headerId, const SampleRecord *samples, int count, const QString &title)
{
    QByteArray out;
    out.reserve(5 + qsizetype(count) * kReadingSize + 3 + 1 + kTitleMax * 2);
    out.append(char(quint8(headerId)));
    char b[4];
    qToLittleEndian<quint32>(quint32(count), b);
    out.append(b, 4);
    for (int i = 0; i < count; ++i) {
        const SampleRecord &s = samples[i];
        const char fields[] = {char(s.id),     char(s.year),   char(s.month), char(s.day),      char(s.hour),
                               char(s.minute), char(s.second), char(s.spo2),  char(s.pulseRate)};
        out.append(fields, sizeof fields);
        qToLittleEndian<quint16>(s.auxValue, b);
        out.append(b, 2);
    }
    out.append(encodeTitle(cutTitle(title)));
    return out;
}

FileResult write(const QString &path, const QByteArray &bytes)
{
    return writeFileChecked(path, bytes);
}

QString partPath(const QString &path, int part)
{
    if (part <= 1)
        return path;
    const QFileInfo info(path);
    const QString fileName = info.fileName();
    const QString folder = path.left(path.size() - fileName.size());
    const QString suffix = info.suffix();
    const QString base = suffix.isEmpty() ? fileName : fileName.chopped(suffix.size() + 1);
    return folder + base + QStringLiteral("-%1").arg(part) + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
}

int partCount(int count)
{
    if (count <= 0)
        return 1;
    return (count + RecordStore::kFileCapacity - 1) / RecordStore::kFileCapacity;
}

WriteResult writeRecording(const QString &path, int headerId, const SampleRecord *samples, int count,
                           const QString &title)
{
    WriteResult result;
    const int parts = partCount(count);
    // Every part is on the disk before the first one replaces anything.
    std::vector<std::unique_ptr<CheckedFile>> files;
    for (int part = 1; part <= parts; ++part) {
        const int first = (part - 1) * RecordStore::kFileCapacity;
        const int n = std::min(RecordStore::kFileCapacity, count - first);
        auto file = std::make_unique<CheckedFile>(partPath(path, part));
        const QByteArray bytes = encode(headerId, samples + first, std::max(n, 0), title);
        if (!file->open() || !file->write(bytes) || !file->finish()) {
            result.error = file->reason();
            return result;
        }
        files.push_back(std::move(file));
    }
    if (parts == 1) {
        if (!files.front()->commit()) {
            result.error = files.front()->reason();
            return result;
        }
        result.paths.append(files.front()->path());
        result.ok = true;
        return result;
    }

    // The earlier files stay (as links beside them) until every part is in
    // place, so a part that cannot replace its file lets the others go back.
    std::vector<EarlierFile> earlier;
    earlier.reserve(files.size());
    for (const auto &file : files)
        earlier.push_back(keepEarlier(file->path()));
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (files[i]->commit())
            continue;
        result.error = files[i]->reason();
        QStringList stuck;
        for (std::size_t j = 0; j < i; ++j) {
            if (!putBack(earlier[j]))
                stuck.append(files[j]->path());
        }
        for (const EarlierFile &e : earlier)
            dropKept(e);
        // Where a part could not go back, the user must know what changed.
        if (!stuck.isEmpty())
            result.error += QStringLiteral("; written all the same: ") + stuck.join(QStringLiteral(", "));
        result.paths = stuck;
        return result;
    }
    for (const EarlierFile &e : earlier)
        dropKept(e);
    for (const auto &file : files)
        result.paths.append(file->path());
    result.ok = true;
    return result;
}

} // namespace DatFile

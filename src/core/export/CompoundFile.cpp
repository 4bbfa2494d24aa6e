// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/CompoundFile.h"

#include "app/CheckedFile.h"

#include <QtEndian>

#include <cstring>
#include <vector>

namespace CompoundFile
{

namespace
{

constexpr int kSector = 512;
constexpr int kIdsPerSector = kSector / 4;
constexpr int kHeaderDifat = 109;
constexpr quint32 kFree = 0xFFFFFFFF;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFatSector = 0xFFFFFFFD;
constexpr quint32 kDifatSector = 0xFFFFFFFC;
constexpr quint32 kNoStream = 0xFFFFFFFF;

void put16(QByteArray &b, int at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
}

void put32(QByteArray &b, int at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}

QByteArray directoryEntry(const char16_t *name, quint8 type, quint32 child, quint32 start, quint32 size)
{
    QByteArray e(128, '\0');
    int n = 0;
    while (name[n] != 0) {
        put16(e, n * 2, quint16(name[n]));
        ++n;
    }
    put16(e, 64, quint16(type == 0 ? 0 : (n + 1) * 2));
    e[66] = char(type);
    e[67] = char(type == 0 ? 0 : 1); // black
    put32(e, 68, kNoStream);
    put32(e, 72, kNoStream);
    put32(e, 76, child);
    put32(e, 116, start);
    put32(e, 120, size);
    return e;
}

} // namespace

bool writeWorkbook(CheckedFile &out, const QByteArray &workbook)
{
    const qint64 size = std::max<qint64>(workbook.size(), kMinStreamSize);
    const qint64 streamSectors = (size + kSector - 1) / kSector;

    // FAT and DIFAT sectors needed to map every sector, themselves included.
    qint64 fat = 1;
    qint64 difat = 0;
    for (;;) {
        difat = fat <= kHeaderDifat ? 0 : (fat - kHeaderDifat + kIdsPerSector - 2) / (kIdsPerSector - 1);
        const qint64 total = fat + difat + 1 + streamSectors;
        const qint64 needed = (total + kIdsPerSector - 1) / kIdsPerSector;
        if (needed <= fat)
            break;
        fat = needed;
    }
    const auto firstDifat = quint32(fat);
    const auto directory = quint32(fat + difat);
    const quint32 firstStream = directory + 1;

    QByteArray header(kSector, '\0');
    static const unsigned char signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(header.data(), signature, sizeof signature);
    put16(header, 24, 0x003E);
    put16(header, 26, 0x0003);
    put16(header, 28, 0xFFFE);
    put16(header, 30, 9); // 512-byte sectors
    put16(header, 32, 6); // 64-byte mini sectors
    put32(header, 44, quint32(fat));
    put32(header, 48, directory);
    put32(header, 56, quint32(kMinStreamSize));
    put32(header, 60, kEndOfChain);
    put32(header, 68, difat > 0 ? firstDifat : kEndOfChain);
    put32(header, 72, quint32(difat));
    for (int i = 0; i < kHeaderDifat; ++i)
        put32(header, 76 + i * 4, i < fat ? quint32(i) : kFree);

    QByteArray fatBytes(qsizetype(fat) * kSector, char(0xFF));
    const auto setFat = [&](qint64 sector, quint32 value) { put32(fatBytes, int(sector * 4), value); };
    for (qint64 s = 0; s < fat; ++s)
        setFat(s, kFatSector);
    for (qint64 s = 0; s < difat; ++s)
        setFat(fat + s, kDifatSector);
    setFat(directory, kEndOfChain);
    for (qint64 s = 0; s < streamSectors; ++s)
        setFat(firstStream + s, s + 1 < streamSectors ? quint32(firstStream + s + 1) : kEndOfChain);

    // DIFAT sectors carry the FAT sectors beyond the header's 109, then a link.
    QByteArray difatBytes(qsizetype(difat) * kSector, char(0xFF));
    for (qint64 i = kHeaderDifat; i < fat; ++i) {
        const qint64 d = (i - kHeaderDifat) / (kIdsPerSector - 1);
        const qint64 slot = (i - kHeaderDifat) % (kIdsPerSector - 1);
        put32(difatBytes, int(d * kSector + slot * 4), quint32(i));
    }
    for (qint64 d = 0; d < difat; ++d)
        put32(difatBytes, int(d * kSector + (kIdsPerSector - 1) * 4),
              d + 1 < difat ? quint32(firstDifat + d + 1) : kEndOfChain);

    QByteArray dir;
    dir += directoryEntry(u"Root Entry", 5, 1, kEndOfChain, 0);
    dir += directoryEntry(u"Workbook", 2, kNoStream, firstStream, quint32(size));
    dir += directoryEntry(u"", 0, kNoStream, 0, 0);
    dir += directoryEntry(u"", 0, kNoStream, 0, 0);

    QByteArray tail(qsizetype(streamSectors * kSector - workbook.size()), '\0');
    return out.write(header) && out.write(fatBytes) && out.write(difatBytes) && out.write(dir) && out.write(workbook) &&
           out.write(tail);
}

} // namespace CompoundFile

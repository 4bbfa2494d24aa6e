// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SurplusParts.h"

#include "interop/ReadingTime.h"
#include "model/DatFile.h"
#include "model/RecordStore.h"

#include <QFileInfo>

namespace SurplusParts
{

QStringList find(const QString &path, int parts)
{
    QStringList surplus;
    if (parts < 1)
        return surplus;
    DatFile::ReadResult before = DatFile::read(DatFile::partPath(path, parts));
    for (int part = parts + 1; before.ok; ++part) {
        const QString name = DatFile::partPath(path, part);
        if (!QFileInfo(name).isFile())
            break;
        DatFile::ReadResult next = DatFile::read(name);
        const DatFile::Contents &a = before.contents;
        const DatFile::Contents &b = next.contents;
        if (!next.ok || int(a.samples.size()) != RecordStore::kFileCapacity || b.samples.empty() ||
            a.headerId != b.headerId || a.title != b.title || !followsByOneSecond(a.samples.back(), b.samples.front()))
            break;
        surplus.append(name);
        before = std::move(next);
    }
    return surplus;
}

} // namespace SurplusParts

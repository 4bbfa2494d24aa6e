// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/DatImport.h"

#include "archive/NightInputs.h"
#include "model/DatFile.h"

#include <QFileInfo>

DatImport importDatFile(Archive &archive, const QString &path)
{
    DatImport result;
    const DatFile::ReadResult r = DatFile::read(path);
    if (!r.ok) {
        result.outcome = DatImport::Outcome::Unreadable;
        result.error = QStringLiteral("%1 (byte %2)").arg(r.failedCheck).arg(r.offset);
        return result;
    }
    const DatFile::Contents &c = r.contents;
    const auto nights = nightInputs(c.samples.data(), int(c.samples.size()), c.title, NightSource::Import,
                                    QFileInfo(path).fileName(), false, storedPatientOf);
    const ArchiveResult<StoreCounts> stored = archive.store(nights);
    if (!stored) {
        result.outcome = DatImport::Outcome::NotStored;
        result.refusal = stored.failure();
        return result;
    }
    result.outcome = DatImport::Outcome::Stored;
    result.counts = stored.value();
    return result;
}

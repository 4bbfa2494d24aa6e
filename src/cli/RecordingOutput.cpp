// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingOutput.h"

#include <QFile>
#include <QTextStream>

void settleStaleParts(const QStringList &stale, const QString &outPath, bool remove)
{
    QTextStream err(stderr);
    for (const QString &part : stale) {
        if (!remove)
            err << "left in place, a part of the recording saved earlier as " << outPath << ": " << part
                << " (--remove-stale-parts removes it)\n";
        else if (QFile::remove(part))
            err << "removed " << part << ", a part of the recording saved earlier as " << outPath << "\n";
        else
            err << "could not remove " << part << "\n";
    }
}

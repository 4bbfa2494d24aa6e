// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace DataFolder
{

QString markerPath()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share/quellix");
    return base + QStringLiteral("/bldb/pationtrec.dat");
}

bool ensure()
{
    const QString path = markerPath();
    {
        QFile existing(path);
        if (existing.open(QIODevice::ReadOnly))
            return true;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile f(path);
    // Append mode: never truncate a file that appeared meanwhile.
    return f.open(QIODevice::ReadWrite | QIODevice::Append);
}

} // namespace DataFolder

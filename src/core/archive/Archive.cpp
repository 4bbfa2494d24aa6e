// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/Archive.h"

QString nightSourceName(NightSource source)
{
    switch (source) {
    case NightSource::Download:
        return QStringLiteral("download");
    case NightSource::File:
        return QStringLiteral("file");
    case NightSource::Import:
        break;
    }
    return QStringLiteral("import");
}

std::optional<NightSource> nightSourceFromName(const QString &name)
{
    for (NightSource s : {NightSource::Download, NightSource::File, NightSource::Import})
        if (nightSourceName(s) == name)
            return s;
    return std::nullopt;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/Manual.h"

#include "help/ManualPictures.h"
#include "shell/Resources.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSaveFile>

namespace Manual
{

QString resource(int languageId)
{
    initQuellixResources();
    return QStringLiteral(":/manual/Manual-%1.html").arg(languageId);
}

bool exists(int languageId)
{
    return QFile::exists(resource(languageId));
}

QString pictureFolder(int languageId)
{
    return QStringLiteral("images/%1").arg(languageId);
}

QString writeTo(int languageId, const QString &folder)
{
    QFile in(resource(languageId));
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QDir dir(folder);
    const QString pictures = pictureFolder(languageId);
    if (!dir.mkpath(pictures))
        return {};
    for (const QString &name : ManualPictures::names()) {
        const QString path = dir.filePath(pictures + QLatin1Char('/') + name);
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || !ManualPictures::render(name).save(&out, "PNG") || !out.commit())
            return {};
    }
    QString page = dir.filePath(QStringLiteral("Manual-%1.html").arg(languageId));
    QSaveFile out(page);
    if (!out.open(QIODevice::WriteOnly))
        return {};
    const QByteArray bytes = in.readAll();
    if (out.write(bytes) != bytes.size() || !out.commit())
        return {};
    return page;
}

} // namespace Manual

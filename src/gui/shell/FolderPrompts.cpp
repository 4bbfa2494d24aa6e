// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/FolderPrompts.h"

#include "app/Settings.h"

#include <QDir>
#include <QFileInfo>

QString FolderPrompts::lastFolder()
{
    const QString folder = Settings().lastFolder();
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QString();
}

QString FolderPrompts::openFileName(const FileRequest &request)
{
    return remember(inner_.openFileName(startingInLastFolder(request)));
}

QString FolderPrompts::saveFileName(const FileRequest &request)
{
    return remember(inner_.saveFileName(startingInLastFolder(request)));
}

Prompts::FileRequest FolderPrompts::startingInLastFolder(FileRequest request) const
{
    if (request.directory.isEmpty())
        request.directory = lastFolder();
    return request;
}

QString FolderPrompts::remember(const QString &path)
{
    lastFile_ = path;
    if (!path.isEmpty()) {
        const QString folder = QFileInfo(path).absolutePath();
        if (folder != lastFolder())
            Settings().setLastFolder(folder);
    }
    return path;
}

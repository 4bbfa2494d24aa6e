#include "shell/FolderPrompts.h"

#include "app/SettingsFile.h"

#include <QDir>
#include <QFileInfo>

namespace
{
// The one place the folder meets the settings store.
const QString kApplication = QStringLiteral("setup");
const QString kKey = QStringLiteral("LastFolder");
} // namespace

QString FolderPrompts::lastFolder()
{
    const QString folder = SettingsFile::open(kApplication).value(kKey).toString();
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
            SettingsFile::writeValue(kApplication, kKey, folder);
    }
    return path;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_env.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace testenv
{

namespace
{
std::unique_ptr<QTemporaryDir> &tempDir()
{
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}

void setFolder(const char *var, const QString &path)
{
    QDir().mkpath(path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ::setenv(var, QFile::encodeName(path).constData(), 1);
}
} // namespace

QString root()
{
    return tempDir() ? tempDir()->path() : QString();
}

void isolate()
{
    tempDir() = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/quellix-test-XXXXXX"));
    const QString base = tempDir()->path();
    setFolder("XDG_CONFIG_HOME", base + QStringLiteral("/config"));
    setFolder("XDG_DATA_HOME", base + QStringLiteral("/data"));
    setFolder("XDG_RUNTIME_DIR", base + QStringLiteral("/runtime"));
    setFolder("HOME", base + QStringLiteral("/home"));
}

QString dataFile(const QString &name)
{
    return QStringLiteral(QUELLIX_TEST_DATA_DIR "/") + name;
}

} // namespace testenv

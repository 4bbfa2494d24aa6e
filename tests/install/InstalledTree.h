// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers of the install and package tests: run a program, read a file, and
// what every installed tree must hold.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace installed
{

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

inline Result run(const QString &program, const QStringList &args, int timeoutMs = 120000,
                  const QString &workingDir = QString())
{
    QProcess p;
    if (!workingDir.isEmpty())
        p.setWorkingDirectory(workingDir);
    p.start(program, args);
    Result r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("did not finish: ") + program;
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

inline QString tool(const char *name)
{
    return QStandardPaths::findExecutable(QLatin1String(name));
}

inline QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

inline QString sourceDir()
{
    return QDir::cleanPath(QStringLiteral(QUELLIX_TEST_DATA_DIR "/../.."));
}

inline const char *appId()
{
    return "org.quellix.Quellix";
}

// Files below a prefix (an installed /usr or a package's root + /usr).
inline QStringList expectedFiles()
{
    const QString id = QLatin1String(appId());
    QStringList files = {
        QStringLiteral("bin/quellix"),
        QStringLiteral("bin/quellix-cli"),
        QStringLiteral("bin/oxisim"),
        QStringLiteral("share/applications/") + id + QStringLiteral(".desktop"),
        QStringLiteral("share/metainfo/") + id + QStringLiteral(".metainfo.xml"),
        QStringLiteral("share/icons/hicolor/scalable/apps/") + id + QStringLiteral(".svg"),
        QStringLiteral("share/man/man1/quellix.1.gz"),
        QStringLiteral("share/man/man1/quellix-cli.1.gz"),
        QStringLiteral("share/man/man1/oxisim.1.gz"),
        QStringLiteral("share/doc/quellix/copyright"),
        QStringLiteral("share/doc/quellix/changelog.gz"),
        QStringLiteral("share/doc-base/quellix-manual"),
        QStringLiteral("share/bash-completion/completions/quellix-cli"),
        QStringLiteral("lib/udev/rules.d/70-quellix-oximeter.rules"),
    };
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512})
        files << QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(id);
    for (int language : {1033, 1036, 2052})
        files << QStringLiteral("share/doc/quellix/manual/Manual-%1.html").arg(language)
              << QStringLiteral("share/doc/quellix/manual/Manual-%1.pdf").arg(language);
    return files;
}

} // namespace installed

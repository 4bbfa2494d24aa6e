// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli_run.h"
#include "test_env.h"

#include <QFile>

#include <gtest/gtest.h>

// Files and programs the tests meet as a user would.
namespace testfiles
{

// A path in this test process's own folder.
inline QString tempPath(const QString &name)
{
    return testenv::root() + QLatin1Char('/') + name;
}

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

using clitest::CliRun;

// Runs the built quellix-cli; code stays -1 when it does not end in time.
inline CliRun cli(const QStringList &args, int timeoutMs = 60000)
{
    return clitest::RunCli(args, QProcessEnvironment::systemEnvironment(), timeoutMs);
}

} // namespace testfiles

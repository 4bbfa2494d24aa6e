// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs the built quellix-cli as a separate process, as a user or a script would.
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace clitest
{

struct CliRun {
    int code = -1; // -1 when it did not finish in time
    QString out;
    QString err;
};

inline CliRun RunCli(const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
                     int timeoutMs = 120000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QUELLIX_BINARY_DIR "/quellix-cli"), args);
    CliRun r;
    if (!p.waitForFinished(timeoutMs))
        return r;
    r.code = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace clitest

#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace testenv
{

// One run of the built quellix-cli with this test's settings and data folders.
struct CliRun {
    int code = -1; // -1 when it did not finish in time
    QByteArray out;
    QString err;
};

inline CliRun RunCli(const QStringList &args, int timeoutMs = 20000)
{
    QProcess p;
    p.start(QStringLiteral(QUELLIX_BINARY_DIR "/quellix-cli"), args);
    CliRun r;
    if (!p.waitForFinished(timeoutMs))
        return r;
    r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace testenv

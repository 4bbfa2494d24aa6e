// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/HexLog.h"

#include "device/Protocol.h"

HexLog::HexLog(const QString &path) : file_(path)
{
    file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    clock_.start();
}

void HexLog::line(char direction, const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    std::lock_guard lock(mutex_);
    if (!file_.isOpen())
        return;
    const QString text = QStringLiteral("%1 %2 %3\n")
                             .arg(double(clock_.nsecsElapsed()) / 1e9, 10, 'f', 3)
                             .arg(QLatin1Char(direction))
                             .arg(Protocol::HexBytes(bytes));
    file_.write(text.toLatin1());
    file_.flush();
}

void HexLog::note(const QString &text)
{
    std::lock_guard lock(mutex_);
    if (!file_.isOpen())
        return;
    file_.write(QStringLiteral("%1 # %2\n").arg(double(clock_.nsecsElapsed()) / 1e9, 10, 'f', 3).arg(text).toUtf8());
    file_.flush();
}

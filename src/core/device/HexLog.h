// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <mutex>

// A hex log of every byte that crosses a transport, one line per read or write:
// "   12.345 > 55 AA FD 00 00 FD" (> written to the device, < read from it).
class HexLog
{
public:
    // Opens (truncates) path; isOpen() tells whether that worked.
    explicit HexLog(const QString &path);
    bool isOpen() const { return file_.isOpen(); }

    void written(const QByteArray &bytes) { line('>', bytes); }
    void read(const QByteArray &bytes) { line('<', bytes); }
    void note(const QString &text);

private:
    void line(char direction, const QByteArray &bytes);

    std::mutex mutex_;
    QFile file_;
    QElapsedTimer clock_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Reading a file the user names, which may be a device or a pipe whose size
// says nothing: at most limit bytes are read, a FIFO without a writer reads as
// empty, and a pipe that stays silent for silentMs is given up.
struct BoundedRead {
    bool ok = false;
    QByteArray data;
    QString error; // the system's words
};

BoundedRead readAtMost(const QString &path, qint64 limit, int silentMs = 10000);

// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/Transport.h"

#include "device/HexLog.h"
#include "device/RawDump.h"

bool Transport::Write(const QByteArray &bytes)
{
    if (!isOpen())
        return false;
    const std::lock_guard lock(writeMutex_);
    const qint64 n = writeRaw(bytes.constData(), bytes.size());
    if (log_ && n > 0)
        log_->written(bytes.left(int(n)));
    if (dump_ && n > 0)
        dump_->written(bytes.left(int(n)));
    return n == bytes.size();
}

bool Transport::ReadAvailable(QByteArray &out, int maxBytes, int waitMs)
{
    if (!isOpen() || maxBytes <= 0)
        return isOpen();
    const qsizetype start = out.size();
    out.resize(start + maxBytes);
    const qint64 n = readRaw(out.data() + start, maxBytes, waitMs);
    out.resize(start + std::max<qint64>(n, 0));
    if (n > 0) {
        if (log_)
            log_->read(out.mid(start));
        if (dump_)
            dump_->read(out.mid(start));
    }
    return n >= 0;
}

void Transport::Drain()
{
    QByteArray scratch;
    while (isOpen()) {
        scratch.clear();
        if (!ReadAvailable(scratch, drainChunk(), drainWait()) || scratch.isEmpty())
            break;
    }
}

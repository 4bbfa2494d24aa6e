// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/Transport.h"

#include "device/HexLog.h"
#include "device/RawDump.h"

#include <algorithm>

namespace
{
DeviceFailure notOpen()
{
    return {DeviceError::Disconnected, QStringLiteral("the line is not open")};
}
} // namespace

DeviceResult<> Transport::Write(const QByteArray &bytes)
{
    if (!isOpen())
        return notOpen();
    const std::lock_guard lock(writeMutex_);
    const qint64 n = writeRaw(bytes.constData(), bytes.size());
    if (log_ && n > 0)
        log_->written(bytes.left(int(n)));
    if (dump_ && n > 0)
        dump_->written(bytes.left(int(n)));
    if (n != bytes.size())
        return DeviceFailure{DeviceError::Io,
                             QStringLiteral("%1 of %2 bytes written").arg(std::max<qint64>(n, 0)).arg(bytes.size())};
    return {};
}

DeviceResult<> Transport::ReadAvailable(QByteArray &out, int maxBytes, int waitMs)
{
    if (!isOpen())
        return notOpen();
    if (maxBytes <= 0)
        return {};
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
    if (n < 0)
        return DeviceFailure{DeviceError::Disconnected, QStringLiteral("the line hung up")};
    return {};
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

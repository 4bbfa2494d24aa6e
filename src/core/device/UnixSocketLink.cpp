// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/UnixSocketLink.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>

DeviceResult<int> UnixSocketLink::openSocket(const QString &address, int /*channel*/)
{
    const QString path = address.startsWith(QLatin1String("unix:")) ? address.mid(5) : address;
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un sa{};
    if (native.isEmpty() || std::size_t(native.size()) >= sizeof(sa.sun_path))
        return DeviceFailure{DeviceError::Invalid, QStringLiteral("bad socket path")};
    sa.sun_family = AF_UNIX;
    std::memcpy(sa.sun_path, native.constData(), std::size_t(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return DeviceFailureOfErrno(errno);
    return connectWithin(fd, &sa, sizeof(sa));
}

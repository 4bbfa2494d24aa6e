// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/BluetoothLink.h"

#include <bluetooth/bluetooth.h>
#include <bluetooth/rfcomm.h>

#include <cerrno>
#include <sys/socket.h>

DeviceResult<int> BluetoothLink::openSocket(const QString &address, int channel)
{
    sockaddr_rc sa{};
    sa.rc_family = AF_BLUETOOTH;
    sa.rc_channel = std::uint8_t(channel);
    if (::str2ba(address.toLatin1().constData(), &sa.rc_bdaddr) != 0)
        return DeviceFailure{DeviceError::Invalid, QStringLiteral("bad Bluetooth address")};
    const int fd = ::socket(AF_BLUETOOTH, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, BTPROTO_RFCOMM);
    if (fd < 0)
        return DeviceFailureOfErrno(errno);
    return connectWithin(fd, &sa, sizeof(sa));
}

#include "device/BluetoothLink.h"

#include <bluetooth/bluetooth.h>
#include <bluetooth/rfcomm.h>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>

int BluetoothLink::openSocket(const QString &address, int channel, QString &error)
{
    sockaddr_rc sa{};
    sa.rc_family = AF_BLUETOOTH;
    sa.rc_channel = std::uint8_t(channel);
    if (::str2ba(address.toLatin1().constData(), &sa.rc_bdaddr) != 0) {
        error = QStringLiteral("bad Bluetooth address");
        return -1;
    }
    const int fd = ::socket(AF_BLUETOOTH, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, BTPROTO_RFCOMM);
    if (fd < 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return -1;
    }
    return connectWithin(fd, &sa, sizeof(sa), error);
}

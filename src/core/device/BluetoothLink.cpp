#include "device/BluetoothLink.h"

#include <QFile>

#include <bluetooth/bluetooth.h>
#include <bluetooth/rfcomm.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

BluetoothLink::~BluetoothLink()
{
    close();
}

bool BluetoothLink::Connect(const QString &address, int rfcommChannel)
{
    close();
    std::lock_guard lock(mutex_);
    address_ = address;
    channel_ = rfcommChannel;
    return connectTo(address, rfcommChannel);
}

QString BluetoothLink::address() const
{
    std::lock_guard lock(mutex_);
    return address_;
}

QString BluetoothLink::lastErrorText() const
{
    std::lock_guard lock(mutex_);
    return error_;
}

bool BluetoothLink::connectTo(const QString &address, int channel)
{
    int fd = -1;
    if (address.startsWith(QLatin1String("unix:"))) {
        const QByteArray path = QFile::encodeName(address.mid(5));
        sockaddr_un sa{};
        if (path.isEmpty() || std::size_t(path.size()) >= sizeof(sa.sun_path)) {
            error_ = QStringLiteral("bad socket path");
            return false;
        }
        sa.sun_family = AF_UNIX;
        std::memcpy(sa.sun_path, path.constData(), std::size_t(path.size()));
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr *>(&sa), sizeof(sa)) != 0) {
            error_ = QString::fromLocal8Bit(std::strerror(errno));
            ::close(fd);
            fd = -1;
        }
    } else {
        sockaddr_rc sa{};
        sa.rc_family = AF_BLUETOOTH;
        sa.rc_channel = std::uint8_t(channel);
        if (::str2ba(address.toLatin1().constData(), &sa.rc_bdaddr) != 0) {
            error_ = QStringLiteral("bad Bluetooth address");
            return false;
        }
        fd = ::socket(AF_BLUETOOTH, SOCK_STREAM | SOCK_CLOEXEC, BTPROTO_RFCOMM);
        if (fd < 0)
            error_ = QString::fromLocal8Bit(std::strerror(errno));
        else if (::connect(fd, reinterpret_cast<sockaddr *>(&sa), sizeof(sa)) != 0) {
            error_ = QString::fromLocal8Bit(std::strerror(errno));
            ::close(fd);
            fd = -1;
        }
    }
    if (fd < 0)
        return false;
    error_.clear();
    fd_.store(fd);
    up_.store(true);
    return true;
}

void BluetoothLink::ConnectSocket()
{
    if (up_.load())
        return;
    std::lock_guard lock(mutex_);
    const int old = fd_.exchange(-1);
    if (old >= 0)
        ::close(old);
    if (!address_.isEmpty())
        connectTo(address_, channel_);
}

void BluetoothLink::dropLink()
{
    // Shut down, not closed: the other worker may still hold the descriptor.
    if (up_.exchange(false)) {
        const int fd = fd_.load();
        if (fd >= 0)
            ::shutdown(fd, SHUT_RDWR);
    }
}

void BluetoothLink::close()
{
    up_.store(false);
    const int fd = fd_.exchange(-1);
    if (fd >= 0)
        ::close(fd);
}

int BluetoothLink::RecvData(QByteArray &out, int maxCount, int waitMs)
{
    const qsizetype before = out.size();
    ReadAvailable(out, maxCount, waitMs);
    return int(out.size() - before);
}

qint64 BluetoothLink::writeRaw(const char *data, qint64 size)
{
    const int fd = fd_.load();
    if (fd < 0 || !up_.load())
        return -1;
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::send(fd, data + done, std::size_t(size - done), MSG_NOSIGNAL);
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            dropLink();
            break;
        }
    }
    return done;
}

qint64 BluetoothLink::readRaw(char *data, qint64 maxSize, int waitMs)
{
    const int fd = fd_.load();
    if (fd < 0 || !up_.load())
        return -1;
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, waitMs);
    if (ready < 0)
        return errno == EINTR ? 0 : -1;
    if (ready == 0)
        return 0;
    const ssize_t n = ::recv(fd, data, std::size_t(maxSize), MSG_DONTWAIT);
    if (n > 0)
        return n;
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return 0;
    dropLink(); // the peer closed the link
    return -1;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/SerialPort.h"

#include <QFile>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace
{
qint64 nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}
} // namespace

SerialPort::~SerialPort()
{
    close();
}

DeviceResult<> SerialPort::Open(const QString &path, int baud)
{
    close();
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return DeviceFailureOfErrno(errno);
    const auto fail = [fd](DeviceError e) {
        DeviceFailure failure = DeviceFailureOfErrno(errno);
        failure.error = e;
        ::close(fd);
        return failure;
    };
    if (!::isatty(fd))
        return fail(DeviceError::Invalid);
    // A port another program holds is skipped, never taken over.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return fail(DeviceError::Busy);
    if (::ioctl(fd, TIOCEXCL) != 0)
        return fail(DeviceError::Io);

    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return fail(DeviceError::Io);
    t.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    t.c_oflag &= ~tcflag_t(OPOST);
    t.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~tcflag_t(CSIZE | PARENB | CSTOPB);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &t) != 0)
        return fail(DeviceError::Io);
    if (!SetLineSpeed(fd, baud))
        return fail(DeviceError::Io);
    ::tcflush(fd, TCIOFLUSH);

    path_ = path;
    baud_ = baud;
    fd_.store(fd);
    return {};
}

void SerialPort::close()
{
    const int fd = fd_.exchange(-1);
    if (fd >= 0) {
        // The exclusive mode outlives our descriptor while anyone else holds the
        // terminal open; give it up so the port can be opened again.
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
    }
}

qint64 SerialPort::writeRaw(const char *data, qint64 size)
{
    const int fd = fd_.load();
    if (fd < 0)
        return -1;
    // Write timeout: 5 ms per byte plus 5 ms.
    const qint64 deadline = nowMs() + 5 * size + 5;
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, std::size_t(size - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
        const qint64 left = deadline - nowMs();
        if (left <= 0)
            break;
        pollfd p{fd, POLLOUT, 0};
        ::poll(&p, 1, int(left));
    }
    return done;
}

qint64 SerialPort::readRaw(char *data, qint64 maxSize, int waitMs)
{
    const int fd = fd_.load();
    if (fd < 0)
        return -1;
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, waitMs);
    if (ready < 0)
        return errno == EINTR ? 0 : -1;
    if (ready == 0)
        return 0;
    qint64 got = 0;
    while (got < maxSize) {
        const ssize_t n = ::read(fd, data + got, std::size_t(maxSize - got));
        if (n > 0) {
            got += n;
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            break;
        // End of file or an error on a terminal: the line hung up.
        if (got == 0)
            return -1;
        break;
    }
    if (got == 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)))
        return -1;
    return got;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/SocketLink.h"

#include "device/BluetoothLink.h"
#include "device/UnixSocketLink.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace
{
using Clock = std::chrono::steady_clock;
constexpr int kSliceMs = 50; // how soon an abandoned connect notices

// Connects the non-blocking fd to sa within limitMs. Gives up early once abort
// is set, so a dialog closed while connecting never waits for the system's
// own, much longer, connect timeout.
DeviceResult<> connectWithinLimit(int fd, const sockaddr *sa, socklen_t size, int limitMs,
                                  const std::atomic<bool> &abort)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
    while (true) {
        if (abort.load())
            return DeviceFailure{DeviceError::Cancelled, QStringLiteral("connection abandoned")};
        if (Clock::now() >= deadline)
            return DeviceFailureOfErrno(ETIMEDOUT);
        if (::connect(fd, sa, size) == 0)
            return {};
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN) { // a Unix listener with a full backlog: try again
            std::this_thread::sleep_for(std::chrono::milliseconds(kSliceMs));
            continue;
        }
        if (errno != EINPROGRESS && errno != EALREADY)
            return DeviceFailureOfErrno(errno);
        while (!abort.load() && Clock::now() < deadline) {
            pollfd p{fd, POLLOUT, 0};
            const int ready = ::poll(&p, 1, kSliceMs);
            if (ready < 0 && errno != EINTR)
                return DeviceFailureOfErrno(errno);
            if (ready > 0) {
                int result = 0;
                socklen_t length = sizeof(result);
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &length);
                if (result == 0)
                    return {};
                return DeviceFailureOfErrno(result);
            }
        }
    }
}
} // namespace

SocketLink::~SocketLink()
{
    close();
}

DeviceResult<> SocketLink::Connect(const QString &address, int rfcommChannel)
{
    close();
    std::lock_guard lock(mutex_);
    address_ = address;
    channel_ = rfcommChannel;
    return connectTo(address, rfcommChannel);
}

QString SocketLink::address() const
{
    std::lock_guard lock(mutex_);
    return address_;
}

DeviceResult<int> SocketLink::connectWithin(int fd, const void *address, unsigned size) const
{
    const DeviceResult<> connected =
        connectWithinLimit(fd, static_cast<const sockaddr *>(address), socklen_t(size), connectLimitMs_, abort_);
    if (!connected) {
        ::close(fd);
        return DeviceFailure{connected.error(), connected.detail()};
    }
    return fd;
}

DeviceResult<> SocketLink::connectTo(const QString &address, int channel)
{
    const DeviceResult<int> fd = openSocket(address, channel);
    if (!fd)
        return DeviceFailure{fd.error(), fd.detail()};
    fd_.store(fd.value());
    up_.store(true);
    return {};
}

std::shared_ptr<SocketLink> MakeSocketLink(const QString &address)
{
    if (address.startsWith(QLatin1String("unix:")))
        return std::make_shared<UnixSocketLink>();
    return std::make_shared<BluetoothLink>();
}

DeviceResult<> SocketLink::ConnectSocket()
{
    if (up_.load())
        return {};
    std::lock_guard lock(mutex_);
    const int old = fd_.exchange(-1);
    if (old >= 0)
        ::close(old);
    if (address_.isEmpty())
        return DeviceFailure{DeviceError::Disconnected, QStringLiteral("never connected")};
    return connectTo(address_, channel_);
}

void SocketLink::dropLink()
{
    // Shut down, not closed: the other worker may still hold the descriptor.
    if (up_.exchange(false)) {
        const int fd = fd_.load();
        if (fd >= 0)
            ::shutdown(fd, SHUT_RDWR);
    }
}

void SocketLink::close()
{
    up_.store(false);
    const int fd = fd_.exchange(-1);
    if (fd >= 0)
        ::close(fd);
}

qint64 SocketLink::writeRaw(const char *data, qint64 size)
{
    const int fd = fd_.load();
    if (fd < 0 || !up_.load())
        return -1;
    // A send may not block for ever: a link that takes no bytes for the send
    // limit is as good as lost, and losing it ends the exchange cleanly.
    const auto deadline = Clock::now() + std::chrono::milliseconds(sendLimitMs_);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::send(fd, data + done, std::size_t(size - done), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            pollfd p{fd, POLLOUT, 0};
            if (left > 0 && ::poll(&p, 1, int(std::min<long long>(left, kSliceMs))) >= 0 && up_.load())
                continue;
        }
        dropLink();
        break;
    }
    return done;
}

void SocketLink::abandonConnect()
{
    abort_.store(true);
}

qint64 SocketLink::readRaw(char *data, qint64 maxSize, int waitMs)
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

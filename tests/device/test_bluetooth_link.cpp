// SPDX-License-Identifier: GPL-3.0-or-later
// Time limits of the socket link's connect and send, on Unix sockets whose
// far end misbehaves: a listener that accepts nobody, a peer that reads nothing.
#include "device/BluetoothLink.h"
#include "device/UnixSocketLink.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace
{

sockaddr_un addressOf(const QString &path)
{
    sockaddr_un sa{};
    sa.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    std::memcpy(sa.sun_path, native.constData(), std::size_t(native.size()));
    return sa;
}

// A listener whose backlog is full, so one more connect cannot complete.
struct FullListener {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("full.sock"));
    int listenFd = -1;
    std::vector<int> pending;

    FullListener()
    {
        const sockaddr_un sa = addressOf(path);
        listenFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ::bind(listenFd, reinterpret_cast<const sockaddr *>(&sa), sizeof(sa));
        ::listen(listenFd, 0);
        for (int i = 0; i < 64; ++i) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
            if (::connect(fd, reinterpret_cast<const sockaddr *>(&sa), sizeof(sa)) != 0) {
                ::close(fd);
                break;
            }
            pending.push_back(fd);
        }
    }
    ~FullListener()
    {
        for (int fd : pending)
            ::close(fd);
        ::close(listenFd);
    }
};

} // namespace

TEST(BluetoothLinkLimits, ConnectGivesUpAtItsLimitOrWhenAbandoned)
{
    FullListener listener;
    ASSERT_FALSE(listener.pending.empty());
    const QString address = QStringLiteral("unix:") + listener.path;

    UnixSocketLink timed;
    timed.setTimeLimits(300, 2000);
    const DeviceResult<> late = timed.Connect(address);
    ASSERT_FALSE(late);
    EXPECT_EQ(late.error(), DeviceError::Timeout);
    EXPECT_FALSE(late.detail().isEmpty());
    EXPECT_FALSE(timed.IsConnected());

    // The default limit is long; abandoning from another thread ends it at once.
    UnixSocketLink abandoned;
    std::optional<DeviceResult<>> connected;
    std::thread connector([&] { connected.emplace(abandoned.Connect(address)); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    abandoned.abandonConnect();
    connector.join();
    ASSERT_TRUE(connected.has_value());
    ASSERT_FALSE(*connected);
    EXPECT_EQ(connected->error(), DeviceError::Cancelled);
    EXPECT_TRUE(abandoned.abandoned());
    EXPECT_EQ(connected->detail(), QStringLiteral("connection abandoned"));
}

TEST(BluetoothLinkLimits, SendThatCannotFinishDropsTheLink)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("deaf.sock"));
    const sockaddr_un sa = addressOf(path);
    const int listenFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(listenFd, reinterpret_cast<const sockaddr *>(&sa), sizeof(sa)), 0);
    ASSERT_EQ(::listen(listenFd, 1), 0);

    UnixSocketLink link;
    link.setTimeLimits(2000, 200);
    ASSERT_TRUE(link.Connect(QStringLiteral("unix:") + path));
    const int peer = ::accept(listenFd, nullptr, nullptr); // and never reads
    ASSERT_GE(peer, 0);
    const QByteArray command(6, char(0x55));
    int sent = 0;
    while (link.SendData(command) && sent < 1000000)
        ++sent;
    EXPECT_GT(sent, 0);
    EXPECT_LT(sent, 1000000);
    EXPECT_FALSE(link.IsConnected());
    EXPECT_FALSE(link.SendData(command));
    ::close(peer);
    ::close(listenFd);
}

TEST(BluetoothLinkLimits, TheAddressPicksTheKindOfLink)
{
    EXPECT_NE(dynamic_cast<UnixSocketLink *>(MakeSocketLink(QStringLiteral("unix:/tmp/oxi.sock")).get()), nullptr);
    const auto bluetooth = MakeSocketLink(QStringLiteral("00:1A:7D:DA:71:13"));
    EXPECT_NE(dynamic_cast<BluetoothLink *>(bluetooth.get()), nullptr);
    // The Bluetooth class knows nothing of the demo's socket.
    BluetoothLink link;
    const DeviceResult<> connected = link.Connect(QStringLiteral("unix:/tmp/oxi.sock"));
    ASSERT_FALSE(connected);
    EXPECT_EQ(connected.error(), DeviceError::Invalid);
    EXPECT_EQ(connected.detail(), QStringLiteral("bad Bluetooth address"));
    // Nothing listening at a path is no device there.
    UnixSocketLink nobody;
    QTemporaryDir dir;
    const DeviceResult<> refused = nobody.Connect(QStringLiteral("unix:") + dir.filePath(QStringLiteral("none.sock")));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error(), DeviceError::NotFound);
}

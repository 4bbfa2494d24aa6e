// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DeviceError.h"
#include "device/Transport.h"

#include <QString>

#include <atomic>
#include <memory>
#include <mutex>

// The link of the Bluetooth link mode: a connected stream socket offering the
// five operations the program relies on, with time limits on connect and
// send. BluetoothLink reaches a real device over RFCOMM, UnixSocketLink the
// demo's simulated device; MakeSocketLink picks one from the address.
class SocketLink : public Transport
{
public:
    SocketLink() = default;
    ~SocketLink() override;
    SocketLink(const SocketLink &) = delete;
    SocketLink &operator=(const SocketLink &) = delete;

    // Connects the device at address; the search dialog's job. Gives up after
    // the connect limit (Timeout), or soon after abandonConnect() (Cancelled).
    DeviceResult<> Connect(const QString &address, int rfcommChannel = 1);
    // Makes a running Connect (on another thread) give up within 50 ms; this
    // link then never connects again.
    void abandonConnect();
    bool abandoned() const { return abort_.load(); }
    // Time limits of a connect and of one send; a send that cannot finish in
    // time drops the link.
    void setTimeLimits(int connectMs, int sendMs)
    {
        connectLimitMs_ = connectMs;
        sendLimitMs_ = sendMs;
    }
    QString address() const;

    bool IsConnected() const { return isOpen(); }
    // Makes sure the link is ready for a new exchange; reconnects a dropped link.
    DeviceResult<> ConnectSocket();
    DeviceResult<> SendData(const QByteArray &bytes) { return Write(bytes); }

    LinkMode linkMode() const override { return LinkMode::Bluetooth; }
    bool isOpen() const override { return up_.load(); }
    void close() override;

protected:
    // A new non-blocking socket connected to address within the limits
    // (connectWithin does the waiting, and closes fd when it fails).
    virtual DeviceResult<int> openSocket(const QString &address, int channel) = 0;
    DeviceResult<int> connectWithin(int fd, const void *address, unsigned size) const;

    qint64 writeRaw(const char *data, qint64 size) override;
    qint64 readRaw(char *data, qint64 maxSize, int waitMs) override;
    int drainChunk() const override { return 38; }
    int drainWait() const override { return 3; }

private:
    DeviceResult<> connectTo(const QString &address, int channel);
    void dropLink();

    std::atomic<int> fd_{-1};
    std::atomic<bool> up_{false};
    std::atomic<bool> abort_{false};
    int connectLimitMs_ = 10000;
    int sendLimitMs_ = 2000;
    mutable std::mutex mutex_;
    QString address_;
    int channel_ = 1;
};

// "unix:PATH" makes a UnixSocketLink, anything else a BluetoothLink.
std::shared_ptr<SocketLink> MakeSocketLink(const QString &address);

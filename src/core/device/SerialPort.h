// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DeviceError.h"
#include "device/Transport.h"

#include <QString>

#include <atomic>

// A serial port through POSIX termios: exclusive, 8N1, raw, any baud rate,
// purged on opening; a read returns at once with what is queued.
class SerialPort : public Transport
{
public:
    SerialPort() = default;
    ~SerialPort() override;
    SerialPort(const SerialPort &) = delete;
    SerialPort &operator=(const SerialPort &) = delete;

    // path is a device node (/dev/ttyUSB0). Closes a port already open first.
    DeviceResult<> Open(const QString &path, int baud);
    QString path() const { return path_; }
    int baud() const { return baud_; }

    LinkMode linkMode() const override { return LinkMode::Serial; }
    bool isOpen() const override { return fd_.load() >= 0; }
    void close() override;

    // Sets a line speed on an open terminal; standard and custom rates.
    static bool SetLineSpeed(int fd, int baud);
    // The output speed of a terminal in baud, 0 when unknown.
    static int LineSpeed(int fd);

protected:
    qint64 writeRaw(const char *data, qint64 size) override;
    qint64 readRaw(char *data, qint64 maxSize, int waitMs) override;

private:
    std::atomic<int> fd_{-1};
    QString path_;
    int baud_ = 0;
};

#pragma once

#include "device/Transport.h"

#include <QString>

#include <atomic>

// A serial port through POSIX termios: exclusive, 8N1, raw, any baud rate,
// purged on opening; a read returns at once with what is queued.
class SerialPort : public Transport {
public:
    enum class OpenError { None, NotFound, PermissionDenied, Busy, NotATerminal, Settings };

    SerialPort() = default;
    ~SerialPort() override;
    SerialPort(const SerialPort &) = delete;
    SerialPort &operator=(const SerialPort &) = delete;

    // path is a device node (/dev/ttyUSB0). Closes a port already open first.
    bool Open(const QString &path, int baud);
    OpenError lastError() const { return m_lastError; }
    QString path() const { return m_path; }
    int baud() const { return m_baud; }

    LinkMode linkMode() const override { return LinkMode::Serial; }
    bool isOpen() const override { return m_fd.load() >= 0; }
    void close() override;

    // Sets a line speed on an open terminal; standard and custom rates.
    static bool SetLineSpeed(int fd, int baud);
    // The output speed of a terminal in baud, 0 when unknown.
    static int LineSpeed(int fd);

protected:
    qint64 writeRaw(const char *data, qint64 size) override;
    qint64 readRaw(char *data, qint64 maxSize, int waitMs) override;

private:
    std::atomic<int> m_fd{-1};
    QString m_path;
    int m_baud = 0;
    OpenError m_lastError = OpenError::None;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DeviceError.h"
#include "device/LinkMode.h"

#include <QByteArray>

#include <memory>
#include <mutex>

class HexLog;
class RawDump;

// The byte stream to the device. Write and ReadAvailable are the single choke
// point every byte passes (and where the hex log is taken). Writes are
// serialised here: during a transfer the requester and the receiver (its
// re-requests) both write, and each command must reach the line, the log and
// the dump whole before the next. One thread reads, and may do so while
// another writes.
class Transport
{
public:
    virtual ~Transport() = default;

    virtual LinkMode linkMode() const = 0;
    // Serial: the port is open. Bluetooth: the link is up.
    virtual bool isOpen() const = 0;
    virtual void close() = 0;

    // Every byte written, or Disconnected (not open) or Io (a short write).
    DeviceResult<> Write(const QByteArray &bytes);
    // Appends up to maxBytes of what has arrived to out, waiting at most waitMs
    // for a first byte (0: return at once). Disconnected when the line failed
    // (hang-up, link lost); what arrived before stays in out.
    DeviceResult<> ReadAvailable(QByteArray &out, int maxBytes, int waitMs = 0);
    // Reads and discards whatever is queued.
    void Drain();

    void setLog(std::shared_ptr<HexLog> log) { log_ = std::move(log); }
    std::shared_ptr<HexLog> log() const { return log_; }
    // Keeps every byte for a raw dump (null: none).
    void setDump(std::shared_ptr<RawDump> dump) { dump_ = std::move(dump); }

protected:
    // -1 on failure, else the number of bytes written.
    virtual qint64 writeRaw(const char *data, qint64 size) = 0;
    // -1 when the line failed, 0 when nothing arrived in waitMs.
    virtual qint64 readRaw(char *data, qint64 maxSize, int waitMs) = 0;
    // Drain reads in chunks of this size with this wait.
    virtual int drainChunk() const { return 4200; }
    virtual int drainWait() const { return 0; }

private:
    std::shared_ptr<HexLog> log_;
    std::shared_ptr<RawDump> dump_;
    std::mutex writeMutex_;
};

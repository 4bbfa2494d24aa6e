// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Result.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <mutex>
#include <vector>

// Why a raw dump could not be read or written; the detail names the line at
// fault or the system's reason.
enum class DumpError {
    Unreadable, // the file cannot be opened or is no regular file
    TooLarge,   // more than RawDump::kMaxFileSize bytes
    Malformed,  // the text is not a dump
    WriteFailed,
};
template <typename T = void> using DumpResult = Result<T, DumpError>;

// Every byte of a device exchange in both directions, each with its time offset,
// kept in memory and saved as text so a problem met in the field can be replayed.
//
// File format, UTF-8 text, one event per line:
//   # quellix raw dump 1            (first line)
//   <seconds> > <hex bytes>         written to the device
//   <seconds> < <hex bytes>         read from the device
//   <seconds> @ <port>              a line (port) was opened; what follows is on it
// <seconds> is the offset from the start of the dump with six decimals; hex bytes
// are pairs separated by single spaces. Lines starting with # are comments.
class RawDump
{
public:
    enum class Direction { Written, Read, Opened };
    struct Event {
        qint64 offsetUs = 0;
        Direction direction = Direction::Written;
        QByteArray bytes; // Opened: the port's name, UTF-8

        friend bool operator==(const Event &, const Event &) = default;
    };

    RawDump();

    // Each may be called from any thread.
    void written(const QByteArray &bytes) { add(Direction::Written, bytes); }
    void read(const QByteArray &bytes) { add(Direction::Read, bytes); }
    void opened(const QString &port) { add(Direction::Opened, port.isEmpty() ? QByteArray("-") : port.toUtf8()); }

    std::vector<Event> events() const;
    bool isEmpty() const;

    static QByteArray format(const std::vector<Event> &events);
    // Malformed, naming the line at fault, when text is not a dump.
    static DumpResult<std::vector<Event>> parse(const QByteArray &text);

    // The largest dump load() reads, far above a full device's exchange (a
    // download of 518,400 readings is about 13 MB of text).
    static constexpr qint64 kMaxFileSize = 256 * 1024 * 1024;

    // Writes the whole file or nothing (an existing file stays as it was).
    DumpResult<> save(const QString &path) const;
    // Only regular files of at most kMaxFileSize bytes are read.
    static DumpResult<std::vector<Event>> load(const QString &path);

private:
    void add(Direction direction, const QByteArray &bytes);

    mutable std::mutex mutex_;
    QElapsedTimer clock_;
    std::vector<Event> events_;
};

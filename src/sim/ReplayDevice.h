// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/RawDump.h"

#include <QByteArray>

#include <deque>
#include <map>
#include <mutex>
#include <vector>

// A device that answers from a raw dump: each command gets the bytes the device
// sent after the same command in the dump, the n-th time it comes the n-th
// answer. Ports of a search that never answered are left out, so only the
// device's own line is replayed.
class ReplayDevice
{
public:
    explicit ReplayDevice(const std::vector<RawDump::Event> &events);

    // What to send for this six-byte command (empty: nothing; also once the
    // dump has no more answers for it).
    QByteArray answer(const QByteArray &command);
    // Commands of the dump, each counted once per time it was sent.
    int commandCount() const { return commandCount_; }

private:
    std::mutex mutex_;
    std::map<QByteArray, std::deque<QByteArray>> answers_;
    int commandCount_ = 0;
};

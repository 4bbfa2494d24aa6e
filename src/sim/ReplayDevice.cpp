// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReplayDevice.h"

#include <algorithm>

namespace
{
using Events = std::vector<RawDump::Event>;

// Splits the dump where a port was opened and drops the stretches in which
// nothing was read: those were ports without the device.
std::vector<Events> linesThatAnswered(const Events &events)
{
    std::vector<Events> out(1);
    for (const RawDump::Event &e : events) {
        if (e.direction == RawDump::Direction::Opened)
            out.emplace_back();
        else
            out.back().push_back(e);
    }
    std::erase_if(out, [](const Events &line) {
        return std::none_of(line.begin(), line.end(),
                            [](const RawDump::Event &e) { return e.direction == RawDump::Direction::Read; });
    });
    return out;
}
} // namespace

ReplayDevice::ReplayDevice(const std::vector<RawDump::Event> &events)
{
    for (const Events &line : linesThatAnswered(events)) {
        QByteArray pending; // written bytes not yet a whole command
        std::deque<QByteArray> *current = nullptr;
        for (const RawDump::Event &e : line) {
            if (e.direction == RawDump::Direction::Read) {
                // Bytes before the first command on a line answer nothing that can be asked again.
                if (current)
                    current->back() += e.bytes;
                continue;
            }
            pending += e.bytes;
            // Commands are six bytes from 55 AA, as the device reads them.
            while (pending.size() >= 6) {
                if (std::uint8_t(pending[0]) != 0x55 || std::uint8_t(pending[1]) != 0xAA) {
                    pending.remove(0, 1);
                    continue;
                }
                current = &answers_[pending.left(6)];
                current->emplace_back();
                ++commandCount_;
                pending.remove(0, 6);
            }
        }
    }
}

QByteArray ReplayDevice::answer(const QByteArray &command)
{
    std::lock_guard lock(mutex_);
    const auto it = answers_.find(command);
    if (it == answers_.end() || it->second.empty())
        return {};
    QByteArray bytes = std::move(it->second.front());
    it->second.pop_front();
    return bytes;
}

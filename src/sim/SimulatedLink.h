// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/Transport.h"
#include "device/WaitClock.h"

#include <QByteArray>

#include <deque>
#include <memory>
#include <mutex>

class SimulatedOximeter;

// The simulated oximeter as a transport, in process: what the program writes
// goes straight to the device, and each reply can be read once the clock has
// reached the moment the device sends it.
class SimulatedLink : public Transport
{
public:
    SimulatedLink(SimulatedOximeter &device, std::shared_ptr<WaitClock> clock, LinkMode mode = LinkMode::Serial);
    ~SimulatedLink() override;
    SimulatedLink(const SimulatedLink &) = delete;
    SimulatedLink &operator=(const SimulatedLink &) = delete;

    LinkMode linkMode() const override { return mode_; }
    bool isOpen() const override;
    void close() override;

protected:
    qint64 writeRaw(const char *data, qint64 size) override;
    qint64 readRaw(char *data, qint64 maxSize, int waitMs) override;

private:
    struct Pending {
        WaitClock::TimePoint due;
        QByteArray bytes;
    };

    SimulatedOximeter &device_;
    std::shared_ptr<WaitClock> clock_;
    LinkMode mode_;
    mutable std::mutex mutex_;
    std::deque<Pending> inbox_;
    bool open_ = true;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimulatedLink.h"

#include "SimulatedOximeter.h"
#include "device/WaitClock.h"

#include <cstring>

SimulatedLink::SimulatedLink(SimulatedOximeter &device, std::shared_ptr<WaitClock> clock, LinkMode mode)
    : device_(device), clock_(std::move(clock)), mode_(mode)
{
    device_.attach([this](const QByteArray &bytes, int delayMs) {
        std::lock_guard lock(mutex_);
        inbox_.push_back({clock_->now() + std::chrono::milliseconds(delayMs), bytes});
    });
}

SimulatedLink::~SimulatedLink()
{
    device_.attach({});
}

bool SimulatedLink::isOpen() const
{
    std::lock_guard lock(mutex_);
    return open_;
}

void SimulatedLink::close()
{
    std::lock_guard lock(mutex_);
    open_ = false;
}

qint64 SimulatedLink::writeRaw(const char *data, qint64 size)
{
    if (!isOpen())
        return -1;
    device_.receive(QByteArray(data, int(size)));
    return size;
}

qint64 SimulatedLink::readRaw(char *data, qint64 maxSize, int waitMs)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        {
            std::lock_guard lock(mutex_);
            qint64 n = 0;
            while (n < maxSize && !inbox_.empty() && inbox_.front().due <= clock_->now()) {
                QByteArray &front = inbox_.front().bytes;
                const qint64 take = std::min<qint64>(maxSize - n, front.size());
                std::memcpy(data + n, front.constData(), std::size_t(take));
                n += take;
                front.remove(0, int(take));
                if (front.isEmpty())
                    inbox_.pop_front();
            }
            if (n > 0)
                return n;
            if (inbox_.empty() && device_.lineClosed())
                return -1; // the device hung up and everything it sent was read
        }
        if (waitMs <= 0 || !clock_->pause(waitMs))
            break;
    }
    return 0;
}

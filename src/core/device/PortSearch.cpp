// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/PortSearch.h"

#include "device/Connector.h"
#include "device/DeviceLink.h"
#include "device/WaitClock.h"

namespace
{
constexpr int kHandshakeBaud = 4800;
} // namespace

PortSearch::PortSearch(Connector &connector, DeviceLink &link, const WaitClock &clock)
    : connector_(connector), link_(link), clock_(clock)
{
}

DeviceResult<ConnectedDevice> PortSearch::run(bool forDownload, bool reopenAtDataRate)
{
    refused_.clear();
    reached_ = false;
    DeviceResult<ConnectedDevice> last = DeviceFailure{DeviceError::NotFound, QStringLiteral("no line to try")};
    for (const QString &line : connector_.candidates(forDownload)) {
        if (clock_.cancelled())
            return DeviceFailure{DeviceError::Cancelled, QStringLiteral("search cancelled")};
        last = tryLine(line, reopenAtDataRate);
        if (last) {
            connector_.answered(line);
            return last;
        }
    }
    return last;
}

DeviceResult<ConnectedDevice> PortSearch::tryLine(const QString &line, bool reopenAtDataRate)
{
    const DeviceResult<Transport *> opened = connector_.open(line, kHandshakeBaud);
    if (!opened) {
        const QString path = connector_.pathOf(line);
        if (opened.error() == DeviceError::NoAccess && !refused_.contains(path))
            refused_.append(path);
        return opened.failure();
    }
    reached_ = true;
    link_.setTransport(opened.value());
    if (connector_.settleMs() > 0 && !link_.pause(connector_.settleMs()))
        return CancelledExchange();
    const DeviceResult<Protocol::DeviceInfo> info = link_.QueryDeviceInfo();
    if (!info) {
        connector_.close();
        return info.failure();
    }
    ConnectedDevice device{opened.value(), info.value(), line};
    if (reopenAtDataRate) {
        const DeviceResult<Transport *> reopened = connector_.reopen(line, int(info.value().dataBaud));
        if (!reopened) {
            connector_.close();
            return reopened.failure();
        }
        device.transport = reopened.value();
        link_.setTransport(device.transport);
    }
    return device;
}

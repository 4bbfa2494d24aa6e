// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DeviceError.h"
#include "device/Protocol.h"

#include <QString>
#include <QStringList>

class Connector;
class DeviceLink;
class Transport;
class WaitClock;

// A device that answered its handshake: the open line and what it said.
struct ConnectedDevice {
    Transport *transport = nullptr;
    Protocol::DeviceInfo info;
    QString line;
};

// The search for the device: each line of a connector in turn is opened at
// the handshake rate and asked for the device information; the first that
// answers is moved to the device's data rate (when asked to) and returned
// open, with the link pointed at it.
class PortSearch
{
public:
    PortSearch(Connector &connector, DeviceLink &link, const WaitClock &clock);

    // Fails with the error of the last line tried (NotFound when there was
    // none, Cancelled when the search was cut short).
    DeviceResult<ConnectedDevice> run(bool forDownload, bool reopenAtDataRate);

    // The lines that refused us for lack of permission.
    const QStringList &refused() const { return refused_; }
    // Some line could be opened (whether or not a device answered on it).
    bool reached() const { return reached_; }

private:
    DeviceResult<ConnectedDevice> tryLine(const QString &line, bool reopenAtDataRate);

    Connector &connector_;
    DeviceLink &link_;
    const WaitClock &clock_;
    QStringList refused_;
    bool reached_ = false;
};

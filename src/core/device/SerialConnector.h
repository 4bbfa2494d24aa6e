// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/Connector.h"
#include "device/PortList.h"

#include <memory>

class SerialPort;

// Where the serial search looks for the device.
struct SerialSearch {
    QString firstPort;      // tried first: "DefaultCOM", --port or the demo's port
    PortLists ports;        // the system's ports
    bool bruteForce = true; // then every device node under deviceRoot
    QString deviceRoot = QStringLiteral("/dev");

    // This one port only (a port named on the command line).
    static SerialSearch only(const QString &portName);
};

// The serial ports of the machine: the first port, bridges, other ports, then
// every device node, each opened exclusively in turn.
class SerialConnector : public Connector
{
public:
    explicit SerialConnector(SerialSearch search = {});
    ~SerialConnector() override;

    LinkMode linkMode() const override { return LinkMode::Serial; }
    QStringList candidates(bool forDownload) const override;
    DeviceResult<Transport *> open(const QString &line, int baud) override;
    DeviceResult<Transport *> reopen(const QString &line, int baud) override { return open(line, baud); }
    void close() override;
    Transport *transport() const override;
    bool remembersLine() const override { return true; }
    QString firstLine() const override { return search_.firstPort; }
    void answered(const QString &line) override { search_.firstPort = line; }
    QString pathOf(const QString &line) const override;

    const SerialSearch &search() const { return search_; }

protected:
    void tap() override;

private:
    SerialSearch search_;
    std::unique_ptr<SerialPort> port_;
};

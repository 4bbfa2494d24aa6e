// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/LinkMode.h"
#include "device/PortList.h"

#include <QString>

#include <functional>
#include <memory>

class SocketLink;
class DeviceSession;

// Where the program looks for the device, shared by every download window of a
// run: the link mode, the Bluetooth link made by "Find bluetooth radio", a port
// to try first (the demo device or --port) and, for tests, the port list and the
// folder of device nodes.
struct DeviceContext {
    LinkMode linkMode = LinkMode::Serial;
    std::shared_ptr<SocketLink> bluetooth;
    // Tried before "DefaultCOM" and every listed port; empty: none.
    QString firstPort;
    QString deviceRoot = QStringLiteral("/dev");
    bool bruteForce = true;
    // The system's serial ports; empty function: QSerialPortInfo.
    std::function<PortLists()> enumeratePorts;
    // The archive downloads are kept in; empty: the user's own.
    QString archivePath;
    QString archiveFile() const;

    PortLists listPorts() const;
    // Sets up a new session: the link, or the serial search (device folder,
    // saved port and port lists). Returns the port lists.
    PortLists prepare(DeviceSession &session) const;
};

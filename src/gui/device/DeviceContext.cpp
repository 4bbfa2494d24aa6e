// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceContext.h"

#include "archive/SqliteArchive.h"
#include "device/DeviceSession.h"
#include "device/DownloadController.h"
#include "device/SerialConnector.h"
#include "device/SocketLink.h"

PortLists DeviceContext::listPorts() const
{
    return enumeratePorts ? enumeratePorts() : ::EnumeratePorts();
}

PortLists DeviceContext::prepare(DeviceSession &session) const
{
    SerialSearch search;
    search.ports = listPorts();
    if (linkMode == LinkMode::Bluetooth) {
        session.useBluetooth(bluetooth);
        return search.ports;
    }
    search.deviceRoot = deviceRoot;
    search.bruteForce = bruteForce;
    search.firstPort = firstPort.isEmpty() ? DownloadController::rememberedPort() : firstPort;
    session.useSerial(search);
    return search.ports;
}

QString DeviceContext::archiveFile() const
{
    return archivePath.isEmpty() ? SqliteArchive::defaultPath() : archivePath;
}

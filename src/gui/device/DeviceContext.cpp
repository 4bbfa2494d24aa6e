// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceContext.h"

#include "archive/SqliteArchive.h"
#include "device/DeviceSession.h"
#include "device/DownloadController.h"
#include "device/SocketLink.h"

PortLists DeviceContext::listPorts() const
{
    return enumeratePorts ? enumeratePorts() : ::EnumeratePorts();
}

void DeviceContext::prepare(DeviceSession &session) const
{
    if (linkMode == LinkMode::Bluetooth)
        session.useBluetooth(bluetooth);
    else
        session.useSerial();
    session.setDeviceRoot(deviceRoot);
    session.bruteForce = bruteForce;
    session.savedPort = DownloadController::rememberedPort();
    if (!firstPort.isEmpty())
        session.savedPort = firstPort;
    session.ports = listPorts();
}

QString DeviceContext::archiveFile() const
{
    return archivePath.isEmpty() ? SqliteArchive::defaultPath() : archivePath;
}

#include "device/DeviceContext.h"

#include "app/Settings.h"
#include "device/DeviceSession.h"
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
    session.savedPort = Settings().defaultCom();
    if (!firstPort.isEmpty())
        session.savedPort = firstPort;
    session.ports = listPorts();
}

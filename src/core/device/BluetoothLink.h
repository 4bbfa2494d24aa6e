// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/SocketLink.h"

// The device over Bluetooth: a BlueZ RFCOMM stream socket to
// "AA:BB:CC:DD:EE:FF" on the given channel.
class BluetoothLink : public SocketLink
{
protected:
    DeviceResult<int> openSocket(const QString &address, int channel) override;
};

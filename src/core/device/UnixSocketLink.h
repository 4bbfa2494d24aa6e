// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/SocketLink.h"

// The demo's simulated device in place of a Bluetooth device: a Unix stream
// socket at "unix:PATH".
class UnixSocketLink : public SocketLink
{
protected:
    DeviceResult<int> openSocket(const QString &address, int channel) override;
};

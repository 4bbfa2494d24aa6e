// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Addresses the Bluetooth search accepts: a device address AA:BB:CC:DD:EE:FF,
// or unix:PATH for the simulated device.
namespace BluetoothAddress
{
bool isValid(const QString &address);
// "name (AA:BB:...)" as the list shows a found device; a device without a
// name shows its address alone.
QString listLine(const QString &name, const QString &address);
// The address in a list line; the whole line when it has no parentheses.
QString fromListLine(const QString &line);
} // namespace BluetoothAddress

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

class SimulatedOximeter;

// The simulated oximeter of "quellix --demo": three patient IDs of realistic
// nights on a pseudo-terminal, and the same device on a Unix socket for the
// Bluetooth search.
class DemoDevice
{
public:
    DemoDevice();
    ~DemoDevice();
    DemoDevice(const DemoDevice &) = delete;
    DemoDevice &operator=(const DemoDevice &) = delete;

    // Starts both; false when no pseudo-terminal could be opened.
    bool start();
    // The pseudo-terminal's port name below /dev ("pts/3").
    QString portName() const { return portName_; }
    // "unix:PATH", empty when the socket could not be made.
    QString bluetoothAddress() const { return bluetoothAddress_; }
    SimulatedOximeter &serialDevice() { return *serial_; }

    struct Night {
        int id;
        int seconds;
        unsigned seed;
    };
    static const Night kNights[3];

private:
    std::unique_ptr<SimulatedOximeter> serial_;
    std::unique_ptr<SimulatedOximeter> socket_;
    QString portName_;
    QString bluetoothAddress_;
};

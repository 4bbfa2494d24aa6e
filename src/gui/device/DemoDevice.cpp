// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DemoDevice.h"

#include "SimulatedOximeter.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

// Seven, five and a half and three hours of one reading a second.
const DemoDevice::Night DemoDevice::kNights[3] = {{1, 7 * 3600, 11}, {2, 5 * 3600 + 1800, 23}, {7, 3 * 3600, 37}};

namespace
{
SimulatedOximeter::Config demoConfig()
{
    SimulatedOximeter::Config c;
    c.model = 2;
    c.framePayload = 1024; // 128 readings a frame: a night takes a few seconds
    c.deleteDelayMs = 1500;
    return c;
}
} // namespace

DemoDevice::DemoDevice() = default;

DemoDevice::~DemoDevice() = default;

bool DemoDevice::start()
{
    serial_ = std::make_unique<SimulatedOximeter>(demoConfig());
    for (const Night &n : kNights)
        serial_->addNight(n.id, n.seconds, n.seed);
    const QString path = serial_->startPty();
    if (path.isEmpty())
        return false;
    portName_ = path.startsWith(QLatin1String("/dev/")) ? path.mid(5) : path;

    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    const QString socketPath = dir + QStringLiteral("/quellix-demo-%1.sock").arg(QCoreApplication::applicationPid());
    socket_ = std::make_unique<SimulatedOximeter>(demoConfig());
    for (const Night &n : kNights)
        socket_->addNight(n.id, n.seconds, n.seed);
    if (socket_->startUnix(socketPath))
        bluetoothAddress_ = QStringLiteral("unix:") + socketPath;
    else
        socket_.reset();
    return true;
}

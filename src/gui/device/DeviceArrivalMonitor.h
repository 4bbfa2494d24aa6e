// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;
struct udev;
struct udev_monitor;

// Announces serial ports as they appear: a udev monitor on the "tty"
// subsystem, read through a socket notifier on the GUI thread.
class DeviceArrivalMonitor : public QObject
{
    Q_OBJECT
public:
    explicit DeviceArrivalMonitor(QObject *parent = nullptr);
    ~DeviceArrivalMonitor() override;

    // False when udev cannot be reached (no netlink in a container, say).
    bool start();
    bool active() const { return notifier_ != nullptr; }

Q_SIGNALS:
    void deviceArrived(const QString &deviceNode);

private:
    void readEvents();

    struct UdevDeleter {
        void operator()(udev *u) const;
    };
    struct MonitorDeleter {
        void operator()(udev_monitor *m) const;
    };
    std::unique_ptr<udev, UdevDeleter> udev_;
    std::unique_ptr<udev_monitor, MonitorDeleter> monitor_;
    QSocketNotifier *notifier_ = nullptr;
};

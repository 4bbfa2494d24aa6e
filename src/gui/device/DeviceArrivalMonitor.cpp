// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceArrivalMonitor.h"

#include <QSocketNotifier>

#include <libudev.h>

void DeviceArrivalMonitor::UdevDeleter::operator()(udev *u) const
{
    udev_unref(u);
}
void DeviceArrivalMonitor::MonitorDeleter::operator()(udev_monitor *m) const
{
    udev_monitor_unref(m);
}

DeviceArrivalMonitor::DeviceArrivalMonitor(QObject *parent) : QObject(parent) {}

DeviceArrivalMonitor::~DeviceArrivalMonitor() = default;

bool DeviceArrivalMonitor::start()
{
    if (notifier_)
        return true;
    udev_.reset(udev_new());
    if (!udev_)
        return false;
    monitor_.reset(udev_monitor_new_from_netlink(udev_.get(), "udev"));
    if (!monitor_ || udev_monitor_filter_add_match_subsystem_devtype(monitor_.get(), "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_.get()) < 0) {
        monitor_.reset();
        udev_.reset();
        return false;
    }
    const int fd = udev_monitor_get_fd(monitor_.get());
    if (fd < 0)
        return false;
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &DeviceArrivalMonitor::readEvents);
    return true;
}

void DeviceArrivalMonitor::readEvents()
{
    // Every queued event is read; only arrivals are announced.
    while (udev_device *dev = udev_monitor_receive_device(monitor_.get())) {
        const char *action = udev_device_get_action(dev);
        const char *node = udev_device_get_devnode(dev);
        const bool added = action && qstrcmp(action, "add") == 0;
        const QString path = node ? QString::fromLocal8Bit(node) : QString();
        udev_device_unref(dev);
        if (added)
            Q_EMIT deviceArrived(path);
    }
}

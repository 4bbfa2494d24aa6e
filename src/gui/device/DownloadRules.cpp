// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DownloadRules.h"

namespace DownloadRules
{

DownloadButtons buttonsFor(DownloadPhase phase)
{
    DownloadButtons b;
    switch (phase) {
    case DownloadPhase::Idle:
        b.start = b.deleteData = b.setDateAndTime = b.cancel = true;
        break;
    case DownloadPhase::Searching: // only Cancel, which stops the search
        b.cancel = true;
        b.busyCursor = true;
        break;
    case DownloadPhase::Maintenance:
        b.windowEnabled = false;
        b.busyCursor = true;
        break;
    case DownloadPhase::Transferring:
        b.stop = b.cancel = true;
        break;
    case DownloadPhase::Ending:
        b.busyCursor = true;
        break;
    }
    return b;
}

bool startsAtOnce(LinkMode mode, const PortLists &ports)
{
    return mode == LinkMode::Serial || !ports.bluetoothPorts.isEmpty();
}

QStringList manualPortNames(LinkMode mode, const PortLists &ports)
{
    QStringList names;
    const auto add = [&names](const QList<PortEntry> &list) {
        for (const PortEntry &e : list)
            names.append(e.portName);
    };
    if (mode == LinkMode::Bluetooth) {
        add(ports.bluetoothPorts);
    } else {
        add(ports.bridgePorts);
        add(ports.otherPorts);
    }
    return names;
}

} // namespace DownloadRules

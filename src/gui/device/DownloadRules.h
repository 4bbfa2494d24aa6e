// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DownloadPhase.h"
#include "device/LinkMode.h"
#include "device/PortList.h"

#include <QStringList>

struct DownloadButtons {
    bool start = false;
    bool stop = false;
    bool deleteData = false;
    bool setDateAndTime = false;
    bool cancel = false;
    bool windowEnabled = true;
    bool busyCursor = false;
};

// What each phase allows in the "New Data Capture" window, and the other
// decisions of the window that need no widget.
namespace DownloadRules
{
DownloadButtons buttonsFor(DownloadPhase phase);

// The window starts at once on the serial link, and on Bluetooth only when the
// system lists a Bluetooth serial port.
bool startsAtOnce(LinkMode mode, const PortLists &ports);

// The port names offered under "Manual Setup".
QStringList manualPortNames(LinkMode mode, const PortLists &ports);
} // namespace DownloadRules

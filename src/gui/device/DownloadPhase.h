#pragma once

#include "device/LinkMode.h"
#include "device/PortList.h"

#include <QStringList>

// Where the download window stands, and what each phase allows.
enum class DownloadPhase {
    Idle,         // waiting for Start (or Done after a transfer)
    Searching,    // the port search runs; only Cancel, which stops it
    Transferring, // the two workers run; only Stop and Cancel
    Ending,       // the transfer end runs (stop command, port closed)
    Maintenance,  // setting the clock or deleting; the window is disabled
};

struct DownloadButtons {
    bool start = false;
    bool stop = false;
    bool deleteData = false;
    bool setDateAndTime = false;
    bool cancel = false;
    bool windowEnabled = true;
    bool busyCursor = false;
};

// The decisions of the "New Data Capture" window that need no widget.
namespace DownloadRules
{
DownloadButtons buttonsFor(DownloadPhase phase);

// The window starts at once on the serial link, and on Bluetooth only when the
// system lists a Bluetooth serial port.
bool startsAtOnce(LinkMode mode, const PortLists &ports);

// The port names offered under "Manual Setup".
QStringList manualPortNames(LinkMode mode, const PortLists &ports);
} // namespace DownloadRules

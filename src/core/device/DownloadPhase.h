// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where a download stands; DownloadController moves it on.
enum class DownloadPhase {
    Idle,         // waiting for Start (or Done after a transfer)
    Searching,    // the port search runs; only Cancel, which stops it
    Transferring, // the two workers run; only Stop and Cancel
    Ending,       // the transfer end runs (stop command, port closed)
    Maintenance,  // setting the clock or deleting; the window is disabled
};

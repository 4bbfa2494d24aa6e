#pragma once

#include <vector>

// What the device layer has to tell the user, as codes: the words are made by
// the program's front ends (the download window, quellix-cli) from one table.
enum class DeviceMessage {
    WriteFailed,       // a command could not be written
    ReadTimeout,       // the transfer's fourth idle period
    NotConnected,      // the Bluetooth link is down
    ReadOutOfBuffer,   // more than a receive buffer arrived at once
    ReadFailed,        // the port went away before the transfer began
    CantFindDevice,    // no port answered
    NoData,            // the device holds no readings
    SyncError,         // the count reply was rejected
    NewMemoryError,    // a per-ID buffer could not grow
    SetClockSucceeded, // both clock acknowledgements arrived
    SetClockError,     // an acknowledgement missing or wrong, or no reopen
    DataCleared,       // the delete was acknowledged
    DeleteError,       // the delete was not acknowledged in time
};

using DeviceMessages = std::vector<DeviceMessage>;

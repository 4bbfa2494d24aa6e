// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

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

// How a report is shown: a success as information, everything else as a warning.
enum class Severity { Information, Warning };

// One report for the user: a fixed message, or one of the reports that carry
// numbers or port names.
struct DeviceNotice {
    enum class Kind {
        Message,          // message
        ConnectSucceeded, // "Connect succeed! Total <count> Frames!"
        PermissionDenied, // the ports that refused us
        PartialDownload,  // count of the of announced frames arrived
        ArchiveFailed,    // the readings could not be archived, for the reason in detail
        ArchiveDamaged,   // the archive was damaged and is kept at detail; a new one was started
    };
    Kind kind = Kind::Message;
    DeviceMessage message = DeviceMessage::CantFindDevice;
    int count = 0;
    int of = 0;
    QStringList ports;
    QString detail;

    Severity severity() const;
    bool operator==(const DeviceNotice &) const = default;
};

using DeviceNotices = std::vector<DeviceNotice>;

// The messages in order, with one hint naming every refused port after "Can't
// find right COM ...": without the dialout group every serial port of the
// machine refuses, and a line each would be a message box each.
DeviceNotices NoticesOf(const DeviceMessages &messages, const QStringList &permissionDenied = {});

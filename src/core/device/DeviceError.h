// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Result.h"

// Why a device operation failed, for every layer of the device code.
enum class DeviceError {
    NotFound,     // no such port or device, or nothing listens there
    NoAccess,     // the system refused us (permissions)
    Busy,         // another program holds the port
    Invalid,      // an address or node that cannot be a device
    Timeout,      // no answer in time
    Io,           // the line or its settings failed, or a write fell short
    Disconnected, // the line hung up or the Bluetooth link is down
    Overflow,     // more than a receive buffer arrived at once
    Protocol,     // an answer that fails its checks
    NoData,       // the device holds no readings
    Cancelled,    // Stop, Cancel or an abandoned connect
};

template <typename T = void> using DeviceResult = Result<T, DeviceError>;
using DeviceFailure = Failure<DeviceError>;

// The error of a failed system call (errno), with the system's text.
DeviceFailure DeviceFailureOfErrno(int errorNumber);

// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceError.h"

#include "app/SystemError.h"

#include <cerrno>
#include <cstring>

DeviceFailure DeviceFailureOfErrno(int errorNumber)
{
    DeviceError error = DeviceError::Io;
    switch (errorNumber) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ECONNREFUSED:
    case EHOSTDOWN:
    case EHOSTUNREACH:
        error = DeviceError::NotFound;
        break;
    case EACCES:
    case EPERM:
        error = DeviceError::NoAccess;
        break;
    case EBUSY:
        error = DeviceError::Busy;
        break;
    case ETIMEDOUT:
        error = DeviceError::Timeout;
        break;
    default:
        break;
    }
    return {error, SystemErrorText(errorNumber)};
}

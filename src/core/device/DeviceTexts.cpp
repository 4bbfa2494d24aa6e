#include "device/DeviceTexts.h"

#include <QCoreApplication>

namespace DeviceTexts
{
QString WriteFailed()
{
    return QCoreApplication::translate("Device", "write com command failed!");
}
QString ReadTimeout()
{
    return QCoreApplication::translate("Device", "Read data timeout,please retry");
}
QString NotConnected()
{
    return QCoreApplication::translate("Device", "No Connected, please connect device!");
}
QString ReadOutOfBuffer()
{
    return QCoreApplication::translate("Device", "read data out of buffer!");
}
QString ReadFailed()
{
    return QCoreApplication::translate("Device", "read com failed!");
}
QString CantFindDevice()
{
    return QCoreApplication::translate("Device", "Can't find right COM or the device is power off !");
}
QString NoData()
{
    return QCoreApplication::translate("Device", "no data!");
}
QString SyncError()
{
    return QCoreApplication::translate("Device", "Synchronization error!");
}
QString NewMemoryError()
{
    return QCoreApplication::translate("Device", "new memory err!");
}
QString SetClockSucceeded()
{
    return QCoreApplication::translate("Device", "Set Date and Time Succeed !");
}
QString SetClockError()
{
    return QCoreApplication::translate("Device", "Set Date and Time Error !");
}
QString DataCleared()
{
    return QCoreApplication::translate("Device", "Device data cleared !");
}
QString DeleteError()
{
    return QCoreApplication::translate("Device", "Delete Data Error !");
}

QString ConnectSucceeded(int totalCount)
{
    return QCoreApplication::translate("Device", "Connect succeed! Total") + QStringLiteral(" %1 ").arg(totalCount) +
           QCoreApplication::translate("Device", "Frames!");
}

QString PermissionDenied(const QString &path)
{
    return QCoreApplication::translate("Device",
                                       "Permission denied on %1: add your user to the dialout group, then log in again")
        .arg(path);
}

QString PartialDownload(int received, int announced)
{
    return QCoreApplication::translate("Device", "Only %1 of the %2 announced frames arrived.")
        .arg(received)
        .arg(announced);
}
} // namespace DeviceTexts

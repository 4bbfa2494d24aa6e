#include "device/DeviceTexts.h"

#include <QCoreApplication>

namespace DeviceTexts {
namespace {
QString tr(const char *text) { return QCoreApplication::translate("Device", text); }
} // namespace

QString WriteFailed() { return tr("write com command failed!"); }
QString ReadTimeout() { return tr("Read data timeout,please retry"); }
QString NotConnected() { return tr("No Connected, please connect device!"); }
QString ReadOutOfBuffer() { return tr("read data out of buffer!"); }
QString ReadFailed() { return tr("read com failed!"); }
QString CantFindDevice() { return tr("Can't find right COM or the device is power off !"); }
QString NoData() { return tr("no data!"); }
QString SyncError() { return tr("Synchronization error!"); }
QString NewMemoryError() { return tr("new memory err!"); }
QString SetClockSucceeded() { return tr("Set Date and Time Succeed !"); }
QString SetClockError() { return tr("Set Date and Time Error !"); }
QString DataCleared() { return tr("Device data cleared !"); }
QString DeleteError() { return tr("Delete Data Error !"); }

QString ConnectSucceeded(int totalCount)
{
    return tr("Connect succeed! Total") + QStringLiteral(" %1 ").arg(totalCount) + tr("Frames!");
}

QString PermissionDenied(const QString &path)
{
    return tr("Permission denied on %1: add your user to the dialout group, then log in again").arg(path);
}

QString PartialDownload(int received, int announced)
{
    return tr("Only %1 of the %2 announced frames arrived.").arg(received).arg(announced);
}
} // namespace DeviceTexts

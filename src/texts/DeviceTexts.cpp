#include "texts/DeviceTexts.h"

#include "device/DownloadEngine.h"

#include <QCoreApplication>

namespace DeviceTexts
{
namespace
{
struct Entry {
    DeviceMessage message;
    const char *source;
};

// Every fixed text the device layer may report, exactly as the user reads it.
constexpr Entry kTable[] = {
    {DeviceMessage::WriteFailed, QT_TRANSLATE_NOOP("Device", "write com command failed!")},
    {DeviceMessage::ReadTimeout, QT_TRANSLATE_NOOP("Device", "Read data timeout,please retry")},
    {DeviceMessage::NotConnected, QT_TRANSLATE_NOOP("Device", "No Connected, please connect device!")},
    {DeviceMessage::ReadOutOfBuffer, QT_TRANSLATE_NOOP("Device", "read data out of buffer!")},
    {DeviceMessage::ReadFailed, QT_TRANSLATE_NOOP("Device", "read com failed!")},
    {DeviceMessage::CantFindDevice, QT_TRANSLATE_NOOP("Device", "Can't find right COM or the device is power off !")},
    {DeviceMessage::NoData, QT_TRANSLATE_NOOP("Device", "no data!")},
    {DeviceMessage::SyncError, QT_TRANSLATE_NOOP("Device", "Synchronization error!")},
    {DeviceMessage::NewMemoryError, QT_TRANSLATE_NOOP("Device", "new memory err!")},
    {DeviceMessage::SetClockSucceeded, QT_TRANSLATE_NOOP("Device", "Set Date and Time Succeed !")},
    {DeviceMessage::SetClockError, QT_TRANSLATE_NOOP("Device", "Set Date and Time Error !")},
    {DeviceMessage::DataCleared, QT_TRANSLATE_NOOP("Device", "Device data cleared !")},
    {DeviceMessage::DeleteError, QT_TRANSLATE_NOOP("Device", "Delete Data Error !")},
};
} // namespace

QString text(DeviceMessage message)
{
    for (const Entry &e : kTable) {
        if (e.message == message)
            return QCoreApplication::translate("Device", e.source);
    }
    return {};
}

QStringList texts(const DeviceMessages &messages, const QStringList &permissionDenied)
{
    QStringList out;
    for (DeviceMessage m : messages) {
        out.append(text(m));
        if (m == DeviceMessage::CantFindDevice) {
            for (const QString &path : permissionDenied)
                out.append(PermissionDenied(path));
        }
    }
    return out;
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

QStringList describe(const DownloadResult &result)
{
    QStringList out = texts(result.messages, result.permissionDenied);
    // After an error too: the user learns how much of the device came.
    if (result.missingFrames() && result.status != DownloadStatus::Stopped)
        out.append(PartialDownload(result.framesReceived, result.framesAnnounced));
    return out;
}
} // namespace DeviceTexts

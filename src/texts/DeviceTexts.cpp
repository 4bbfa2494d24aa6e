#include "texts/DeviceTexts.h"

#include "device/DownloadEngine.h"
#include "interop/ReadingTime.h"

#include <QCoreApplication>

#include <algorithm>

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
        // One hint for all refused ports: without the dialout group every
        // serial port of the machine refuses, and each line is a message box.
        if (m == DeviceMessage::CantFindDevice && !permissionDenied.isEmpty())
            out.append(PermissionDenied(permissionDenied.join(QStringLiteral(", "))));
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

namespace
{
QString readingTime(const SampleRecord &s)
{
    return QStringLiteral("%1-%2-%3 %4:%5:%6")
        .arg(2000 + s.year)
        .arg(s.month, 2, 10, QLatin1Char('0'))
        .arg(s.day, 2, 10, QLatin1Char('0'))
        .arg(s.hour, 2, 10, QLatin1Char('0'))
        .arg(s.minute, 2, 10, QLatin1Char('0'))
        .arg(s.second, 2, 10, QLatin1Char('0'));
}
} // namespace

QStringList checkLines(const DownloadResult &result)
{
    QStringList out;
    out.append(QCoreApplication::translate("Device", "Frames announced: %1, arrived: %2")
                   .arg(result.framesAnnounced)
                   .arg(result.framesReceived));
    for (int id = 1; id <= int(result.readings.size()); ++id) {
        const auto &r = result.readings[std::size_t(id - 1)];
        if (r.empty())
            continue;
        // Some models send newest first, so the ends are found by time, not position.
        const auto [first, last] = std::minmax_element(
            r.begin(), r.end(), [](const auto &a, const auto &b) { return readingSeconds(a) < readingSeconds(b); });
        out.append(QCoreApplication::translate("Device", "ID %1: first reading %2, last reading %3")
                       .arg(id)
                       .arg(readingTime(*first), readingTime(*last)));
    }
    return out;
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

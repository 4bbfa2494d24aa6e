// SPDX-License-Identifier: GPL-3.0-or-later
#include "texts/DeviceTexts.h"

#include "device/DownloadResult.h"
#include "texts/ArchiveTexts.h"

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

QString text(const DeviceNotice &notice)
{
    switch (notice.kind) {
    case DeviceNotice::Kind::Message:
        return text(notice.message);
    case DeviceNotice::Kind::ConnectSucceeded:
        return ConnectSucceeded(notice.count);
    case DeviceNotice::Kind::PermissionDenied:
        return PermissionDenied(notice.ports.join(QStringLiteral(", ")));
    case DeviceNotice::Kind::PartialDownload:
        return PartialDownload(notice.count, notice.of);
    case DeviceNotice::Kind::ArchiveFailed:
        return ArchiveFailed(notice.detail);
    case DeviceNotice::Kind::ArchiveDamaged:
        return ArchiveDamaged(notice.detail);
    }
    return {};
}

QStringList texts(const DeviceNotices &notices)
{
    QStringList out;
    for (const DeviceNotice &n : notices)
        out.append(text(n));
    return out;
}

QStringList texts(const DeviceMessages &messages, const QStringList &permissionDenied)
{
    return texts(NoticesOf(messages, permissionDenied));
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
    for (const IdSpan &span : result.spans) {
        out.append(QCoreApplication::translate("Device", "ID %1: first reading %2, last reading %3")
                       .arg(span.id)
                       .arg(readingTime(span.first), readingTime(span.last)));
    }
    if (result.archived.ok)
        out.append(ArchivedCounts(result.archived.added, result.archived.present));
    if (result.archived.pending > 0)
        out.append(ArchiveTexts::notOnServer(result.archived.pending));
    return out;
}

QString ArchivedCounts(int added, int present)
{
    return QCoreApplication::translate("Device", "%1 nights archived, %2 already in the archive.")
        .arg(added)
        .arg(present);
}

QString ArchiveFailed(const QString &why)
{
    return QCoreApplication::translate(
               "Device", "The archive could not be written (%1). The downloaded readings are still here; save them "
                         "to keep them.")
        .arg(why);
}

QString ArchiveDamaged(const QString &keptAs)
{
    return QCoreApplication::translate("Device",
                                       "The archive was damaged: it is kept as %1 and a new archive was started.")
        .arg(keptAs);
}

QString PartialDownload(int received, int announced)
{
    return QCoreApplication::translate("Device", "Only %1 of the %2 announced frames arrived.")
        .arg(received)
        .arg(announced);
}

QStringList describe(const DownloadResult &result)
{
    return texts(NoticesOf(result));
}
} // namespace DeviceTexts

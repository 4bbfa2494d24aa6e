// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DeviceMessage.h"

#include <QString>
#include <QStringList>

struct DownloadResult;

// The words of the device layer's reports, translated through Qt (context "Device").
namespace DeviceTexts
{
QString text(DeviceMessage message);
QString text(const DeviceNotice &notice);
QStringList texts(const DeviceNotices &notices);
// With one hint naming every refused port after "Can't find right COM ...".
QStringList texts(const DeviceMessages &messages, const QStringList &permissionDenied = {});

QString ConnectSucceeded(int totalCount);      // "Connect succeed! Total 42 Frames!"
QString PermissionDenied(const QString &path); // the added hint on a refused port
QString PartialDownload(int received, int announced);
QString ArchivedCounts(int added, int present); // "2 nights archived, 1 already in the archive."
QString ArchiveFailed(const QString &why);
QString ArchiveDamaged(const QString &keptAs);

// Everything a finished download has to tell the user, in order.
QStringList describe(const DownloadResult &result);

// What lets a download be checked: frames announced and arrived, per ID with
// readings the earliest and latest reading's time (from its spans), then what
// the archive kept.
QStringList checkLines(const DownloadResult &result);
} // namespace DeviceTexts

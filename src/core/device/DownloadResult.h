// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/DownloadArchiving.h"
#include "device/DeviceMessage.h"
#include "device/DeviceReadings.h"

#include <QString>
#include <QStringList>

#include <vector>

class RecordStore;

// How a download ended; judged in one place, DownloadEngine.
enum class DownloadStatus {
    Ok,               // every announced frame arrived, or the device ended early with its end tag
    Partial,          // the transfer ended without an error, yet frames are missing
    DeviceNotFound,   // no port answered
    PermissionDenied, // no port answered, and at least one refused us
    NoData,           // the device holds no readings
    ReplyRejected,    // the count reply failed its checks
    Timeout,          // the transfer's fourth idle period
    LinkLost,         // the line hung up or the Bluetooth link went down
    WriteFailed,      // a request could not be written
    Overflow,         // more than a receive buffer arrived in one read
    Stopped,          // Stop or Cancel: what arrived is dropped
    Interrupted,      // ended from outside (a signal to quellix-cli): what arrived is kept
};

// The earliest and latest reading of one ID, by time (some models send newest first).
struct IdSpan {
    int id = 0;
    int count = 0;
    SampleRecord first;
    SampleRecord last;
};

struct DownloadResult {
    DownloadStatus status = DownloadStatus::Stopped;
    int framesAnnounced = 0;
    int framesReceived = 0;
    int totalCount = 0;  // of the count reply
    int deviceModel = 0; // of the handshake
    bool endTag = false;
    bool transferRan = false; // the workers ran (whatever ended them)
    long droppedRecords = 0;
    DeviceMessages messages;      // what to tell the user, in order
    QStringList permissionDenied; // ports that refused us
    QString portToRemember;       // for "DefaultCOM"; empty: nothing to write
    DeviceReadings readings;      // per ID (index ID - 1); moved to the store by ApplyDownload
    std::vector<IdSpan> spans;    // per ID with readings, kept when the readings move
    DownloadArchived archived;    // what the archive kept of the readings

    // The transfer ran and ended short of the announced frames without the
    // device's end tag (the one place "partial" is judged).
    bool missingFrames() const { return transferRan && !endTag && framesReceived < framesAnnounced; }
    // Every announced frame arrived (or the device ended early with its end tag).
    bool complete() const { return status == DownloadStatus::Ok; }
    // What arrived is kept: everything but a Stop or Cancel.
    bool keepsReadings() const { return status != DownloadStatus::Stopped; }
    int readingCount(int id) const;
    bool hasReadings() const;
    // Fills spans from readings.
    void summarise();
};

// Everything a finished download has to tell the user, in order: its messages
// and, after an error too, how much of the device came.
DeviceNotices NoticesOf(const DownloadResult &result);

// The one place where downloaded readings enter the record store: the device
// model, and the readings unless the download was stopped (they are moved out
// of result). True when readings were stored.
bool ApplyDownload(RecordStore &store, DownloadResult &result);

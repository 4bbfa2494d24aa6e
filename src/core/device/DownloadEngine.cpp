// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DownloadEngine.h"

#include "device/DeviceSession.h"

namespace
{
// How a search that found nothing to transfer ends the download.
DownloadStatus searchStatus(DeviceError error, bool refused)
{
    switch (error) {
    case DeviceError::NoData:
        return DownloadStatus::NoData;
    case DeviceError::Protocol:
        return DownloadStatus::ReplyRejected;
    case DeviceError::Cancelled:
        return DownloadStatus::Stopped;
    case DeviceError::NotFound:
    case DeviceError::NoAccess:
    case DeviceError::Busy:
    case DeviceError::Invalid:
    case DeviceError::Timeout:
    case DeviceError::Io:
    case DeviceError::Disconnected:
    case DeviceError::Overflow:
        break;
    }
    return refused ? DownloadStatus::PermissionDenied : DownloadStatus::DeviceNotFound;
}

// How a transfer that failed ends the download.
DownloadStatus transferStatus(DeviceError error)
{
    switch (error) {
    case DeviceError::Timeout:
        return DownloadStatus::Timeout;
    case DeviceError::Io:
        return DownloadStatus::WriteFailed;
    case DeviceError::Overflow:
        return DownloadStatus::Overflow;
    case DeviceError::Cancelled:
        return DownloadStatus::Stopped;
    case DeviceError::Protocol:
        return DownloadStatus::ReplyRejected;
    case DeviceError::NoData:
        return DownloadStatus::NoData;
    case DeviceError::Disconnected:
    case DeviceError::NotFound: // a USB port unplugged mid-transfer
    case DeviceError::NoAccess:
    case DeviceError::Busy:
    case DeviceError::Invalid:
        break;
    }
    return DownloadStatus::LinkLost;
}
} // namespace

DownloadEngine::DownloadEngine(DeviceSession &session) : session_(session) {}

DownloadEngine::~DownloadEngine()
{
    stop();
    wait();
}

void DownloadEngine::start(Events events)
{
    wait();
    rearm();
    thread_ = std::thread([this, events = std::move(events)] {
        DownloadResult result = run(events);
        if (events.finished)
            events.finished(result);
    });
}

void DownloadEngine::rearm()
{
    stop_.store(false);
    session_.resume();
}

void DownloadEngine::stop()
{
    stop_.store(true);
    session_.cancel();
}

void DownloadEngine::wait()
{
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
}

DownloadResult DownloadEngine::run(const Events &events)
{
    DownloadResult result;
    const DeviceResult<FoundDevice> found = session_.FindDevice();
    result.messages = session_.takeMessages();
    result.permissionDenied = session_.permissionDenied();
    result.portToRemember = session_.portToRemember();
    result.deviceModel = session_.deviceModel();
    result.totalCount = session_.totalCount();
    result.framesAnnounced = session_.frameCount();

    if (stop_.load()) {
        result.messages.clear();
        result.status = DownloadStatus::Stopped;
    } else if (!found) {
        result.status = searchStatus(found.error(), !result.permissionDenied.isEmpty());
        if (result.status == DownloadStatus::DeviceNotFound || result.status == DownloadStatus::PermissionDenied)
            return result; // nothing answered, nothing to end
    } else {
        Transfer::Callbacks callbacks;
        callbacks.framesReceived = events.progress;
        const bool paused = session_.clock().pause(500); // the device needs it before the first request
        if (paused && events.connected)
            events.connected(result.totalCount, result.framesAnnounced);
        if (!paused || stop_.load()) {
            result.status = DownloadStatus::Stopped;
        } else if (const DeviceResult<> started = session_.StartTransfer(std::move(callbacks)); !started) {
            result.status = DownloadStatus::LinkLost; // the line went away since the search
            result.messages.push_back(DeviceMessage::ReadFailed);
        } else {
            result.transferRan = true;
            session_.WaitTransfer();
            TransferResult transfer = session_.takeTransferResult();
            result.framesReceived = transfer.framesReceived;
            result.endTag = transfer.endTag;
            result.droppedRecords = transfer.droppedRecords;
            result.readings = std::move(transfer.readings);
            result.summarise();
            const DeviceMessages said = transfer.messages();
            result.messages.insert(result.messages.end(), said.begin(), said.end());
            if (transfer.stopped || stop_.load()) {
                // Whatever the workers noticed as the stop raced them is no failure to report.
                result.messages.clear();
                result.status = DownloadStatus::Stopped;
            } else if (transfer.receiverError) {
                result.status = transferStatus(*transfer.receiverError);
            } else if (transfer.requesterError) {
                result.status = transferStatus(*transfer.requesterError);
            } else if (result.missingFrames()) {
                result.status = DownloadStatus::Partial;
            } else {
                result.status = DownloadStatus::Ok;
            }
        }
    }
    if (events.ending)
        events.ending();
    session_.TransferEnd();
    return result;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DownloadEngine.h"

#include "device/DeviceSession.h"
#include "device/Transport.h"

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
    // The transfer hears the stop before its waits are cut short: otherwise its
    // receiver, polling without pauses, could spend its idle budget first and end
    // in a timeout that raced the stop (and report the whole count).
    {
        std::lock_guard lock(transferMutex_);
        if (transfer_)
            transfer_->requestStop();
    }
    session_.cancel();
}

DeviceResult<> DownloadEngine::startTransfer(const FoundDevice &found, Transfer::Callbacks callbacks)
{
    Transport *transport = session_.link().transport();
    if (!transport || !transport->isOpen())
        return DeviceFailure{DeviceError::Disconnected, QStringLiteral("the line went away")};
    std::lock_guard lock(transferMutex_);
    transfer_ = std::make_unique<Transfer>(*transport, &session_.clock(), found.info.model, found.counts.frameCount,
                                           std::move(callbacks));
    if (stop_.load())
        transfer_->requestStop(); // the stop came while the transfer was being made
    transfer_->start();
    return {};
}

void DownloadEngine::endTransfer()
{
    if (transfer_)
        transfer_->stop();
    std::lock_guard lock(transferMutex_);
    transfer_.reset();
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
        } else if (const DeviceResult<> started = startTransfer(found.value(), std::move(callbacks)); !started) {
            result.status = DownloadStatus::LinkLost; // the line went away since the search
            result.messages.push_back(DeviceMessage::ReadFailed);
        } else {
            result.transferRan = true;
            transfer_->wait();
            TransferResult transfer = transfer_->takeResult();
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
    endTransfer();
    session_.TransferEnd();
    return result;
}

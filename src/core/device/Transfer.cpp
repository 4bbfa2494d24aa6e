// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/Transfer.h"

#include "device/Protocol.h"
#include "device/Transport.h"
#include "device/WaitClock.h"
#include "model/DeviceModel.h"

#include <chrono>

namespace
{
constexpr int kIdlePollsPerPeriod = 50;
constexpr int kReRequestLimit = 3;
constexpr qint64 kNoiseBudget = 2 * Protocol::kReceiveBufferSize;
} // namespace

namespace
{
// The words for a transfer's error. Only the four errors the workers make can
// occur; a line that went away in any other way is told as a failed read.
DeviceMessage messageOf(DeviceError error)
{
    switch (error) {
    case DeviceError::Io:
        return DeviceMessage::WriteFailed;
    case DeviceError::Timeout:
        return DeviceMessage::ReadTimeout;
    case DeviceError::Disconnected:
        return DeviceMessage::NotConnected;
    case DeviceError::Overflow:
        return DeviceMessage::ReadOutOfBuffer;
    case DeviceError::NotFound:
    case DeviceError::NoAccess:
    case DeviceError::Busy:
    case DeviceError::Invalid:
    case DeviceError::Protocol:
    case DeviceError::NoData:
    case DeviceError::Cancelled:
        break;
    }
    return DeviceMessage::ReadFailed;
}
} // namespace

DeviceMessages TransferResult::messages() const
{
    DeviceMessages out;
    if (requesterError)
        out.push_back(messageOf(*requesterError));
    if (memoryError)
        out.push_back(DeviceMessage::NewMemoryError);
    if (receiverError)
        out.push_back(messageOf(*receiverError));
    return out;
}

Transfer::Transfer(Transport &transport, WaitClock *clock, int deviceModel, int frameCount, Callbacks callbacks)
    : transport_(transport), clock_(clock), model_(deviceModel), frameCount_(frameCount), mode_(transport.linkMode()),
      callbacks_(std::move(callbacks)), assembler_(readings_, deviceModel)
{
    assembler_.onFrameComplete = [this](int n) {
        signalFrameEvent();
        if (callbacks_.framesReceived && !stop_.load())
            callbacks_.framesReceived(n);
    };
}

Transfer::~Transfer()
{
    stop();
}

void Transfer::start()
{
    signalFrameEvent(); // the first request goes out at once
    requester_ = std::thread([this] { RequestLoop(); });
    receiver_ = std::thread([this] { ReceiveLoop(); });
}

void Transfer::requestStop()
{
    stop_.store(true);
    signalFrameEvent();
}

void Transfer::stop()
{
    requestStop();
    wait();
}

void Transfer::wait()
{
    std::lock_guard lock(joinMutex_);
    for (std::thread *t : {&requester_, &receiver_}) {
        if (t->joinable() && t->get_id() != std::this_thread::get_id())
            t->join();
    }
}

bool Transfer::running() const
{
    return requester_.joinable() || receiver_.joinable();
}

TransferResult Transfer::takeResult()
{
    TransferResult result;
    result.framesReceived = assembler_.framesReceived();
    result.frameCount = frameCount_;
    result.endTag = Protocol::IsEndTag(assembler_.frameTag());
    result.stopped = stop_.load();
    result.receiverError = receiverError_;
    result.requesterError = requesterError_;
    result.memoryError = assembler_.memoryError();
    result.droppedRecords = assembler_.droppedRecords();
    result.staleFrames = assembler_.staleFrames();
    result.readings = std::move(readings_);
    return result;
}

void Transfer::signalFrameEvent()
{
    {
        std::lock_guard lock(mutex_);
        eventSignalled_ = true;
    }
    event_.notify_all();
}

bool Transfer::waitFrameEvent()
{
    std::unique_lock lock(mutex_);
    event_.wait(lock, [this] { return eventSignalled_; });
    eventSignalled_ = false; // auto-reset
    return !ended();
}

bool Transfer::ended() const
{
    return stop_.load() || receiverDone_.load();
}

bool Transfer::pauseUntil(std::chrono::steady_clock::time_point t)
{
    if (clock_)
        return clock_->pauseUntil(t) || !clock_->cancelled();
    std::this_thread::sleep_until(t);
    return true;
}

void Transfer::RequestLoop()
{
    std::optional<DeviceError> error;
    int i = 0;
    if (assembler_.frameTag() != Protocol::TagEnd) {
        while (true) {
            if (assembler_.frameTag() == Protocol::TagEndAlt || i >= frameCount_)
                break;
            if (!waitFrameEvent())
                break;
            // The end tag may have arrived with the frame that woke us: ask for nothing more.
            if (assembler_.frameTag() == Protocol::TagEnd)
                break;
            if (mode_ == LinkMode::Bluetooth && !transport_.isOpen()) {
                error = DeviceError::Disconnected;
                break;
            }
            const auto command = Protocol::RequestFrameCommand(i, model_, mode_);
            // Any failed write of a request is one error for the user, whatever its cause.
            if (!transport_.Write(QByteArray(reinterpret_cast<const char *>(command.data()), int(command.size())))) {
                error = DeviceError::Io;
                break;
            }
            ++i;
            if (assembler_.frameTag() == Protocol::TagEnd)
                break;
        }
    }
    std::lock_guard lock(mutex_);
    requesterError_ = error;
}

void Transfer::ReceiveLoop()
{
    // The device needs a pause between polls.
    const auto interval = std::chrono::milliseconds(TraitsOfModel(model_).pollGapMs);
    const int waitMs = mode_ == LinkMode::Bluetooth ? 50 : 0;
    const auto now = [this] { return clock_ ? clock_->now() : std::chrono::steady_clock::now(); };

    int idlePolls = 0;
    int reRequests = 0;
    qint64 bytesWithoutFrame = 0;
    std::optional<DeviceError> error;
    auto lastPoll = now();
    QByteArray chunk;
    chunk.reserve(Protocol::kReceiveBufferSize);

    while (!stop_.load()) {
        const std::uint16_t tag = assembler_.frameTag();
        // An end tag ends the transfer once its own frame is in.
        if (Protocol::IsEndTag(tag) && !assembler_.midFrame())
            break;
        if (assembler_.framesReceived() >= frameCount_)
            break;

        // Sleep, not spin: a download must not keep a core busy.
        pauseUntil(lastPoll + interval);
        lastPoll = now();
        if (stop_.load())
            break;

        if (mode_ == LinkMode::Bluetooth && !transport_.isOpen()) {
            error = DeviceError::Disconnected;
            break;
        }
        chunk.clear();
        const bool ok = transport_.ReadAvailable(chunk, Protocol::kReceiveBufferSize, waitMs).ok();
        if (chunk.size() > Protocol::kReceiveBufferSize) {
            error = DeviceError::Overflow;
            break;
        }
        if (!chunk.isEmpty()) {
            idlePolls = 0;
            const int framesBefore = assembler_.framesReceived();
            assembler_.Feed(chunk);
            if (assembler_.framesReceived() != framesBefore)
                bytesWithoutFrame = 0;
            else
                bytesWithoutFrame += chunk.size();
            // More bytes than two whole frames and still no frame: a line that
            // babbles noise is no better than a silent one, and must not keep
            // the transfer alive for ever.
            if (bytesWithoutFrame <= kNoiseBudget)
                continue;
        } else if (!ok && mode_ == LinkMode::Bluetooth) {
            error = DeviceError::Disconnected;
            break;
        } else if (++idlePolls <= kIdlePollsPerPeriod) {
            // A failed serial read counts as a poll that brought nothing: a line
            // that hung up ends, like a silent one, in a timeout the user can retry.
            continue;
        }
        idlePolls = 0;
        bytesWithoutFrame = 0;
        if (Protocol::IsEndTag(tag))
            break; // the end frame stopped halfway; nothing more will come
        // Whatever half frame or misaligned bytes came before the silence are
        // stale: the re-requested frame must not inherit them.
        assembler_.discardPartial();
        if (mode_ == LinkMode::Serial || transport_.isOpen()) {
            const auto command = Protocol::RequestFrameCommand(assembler_.framesReceived(), model_, mode_);
            // Unchecked: a re-request that cannot be written ends, like a lost
            // one, in the next idle period.
            (void)transport_.Write(QByteArray(reinterpret_cast<const char *>(command.data()), int(command.size())));
        }
        if (++reRequests > kReRequestLimit) {
            error = DeviceError::Timeout;
            break;
        }
    }

    assembler_.trimBuffers();
    {
        std::lock_guard lock(mutex_);
        receiverError_ = error;
    }
    receiverDone_.store(true);
    signalFrameEvent(); // releases a requester still waiting for a frame
    if (!stop_.load() && callbacks_.framesReceived)
        callbacks_.framesReceived(frameCount_);
}

#include "device/Transfer.h"

#include "device/DeviceTexts.h"
#include "device/Protocol.h"
#include "device/Transport.h"

#include <chrono>

namespace
{
constexpr int kIdlePollsPerPeriod = 50;
constexpr int kReRequestLimit = 3;
} // namespace

QStringList TransferResult::messages() const
{
    QStringList out;
    if (!requesterError.isEmpty())
        out.append(requesterError);
    if (memoryError)
        out.append(DeviceTexts::NewMemoryError());
    if (!receiverError.isEmpty())
        out.append(receiverError);
    return out;
}

Transfer::Transfer(Transport &transport, RecordStore &store, int deviceModel, int frameCount, Callbacks callbacks)
    : transport_(transport), store_(store), model_(deviceModel), frameCount_(frameCount), mode_(transport.linkMode()),
      callbacks_(std::move(callbacks)), assembler_(store, deviceModel)
{
    assembler_.onFrameComplete = [this](int n) {
        signalFrameEvent();
        if (callbacks_.framesReceived)
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

void Transfer::stop()
{
    stop_.store(true);
    {
        std::lock_guard lock(mutex_);
        eventSignalled_ = true;
    }
    event_.notify_all();
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

void Transfer::RequestLoop()
{
    QString error;
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
                error = DeviceTexts::NotConnected();
                break;
            }
            const auto command = Protocol::RequestFrameCommand(i, model_, mode_);
            if (!transport_.Write(QByteArray(reinterpret_cast<const char *>(command.data()), int(command.size())))) {
                error = DeviceTexts::WriteFailed();
                break;
            }
            ++i;
            if (assembler_.frameTag() == Protocol::TagEnd)
                break;
        }
    }
    {
        std::lock_guard lock(mutex_);
        requesterError_ = error;
        requesterEnded_ = true;
    }
    event_.notify_all();
}

void Transfer::ReceiveLoop()
{
    using Clock = std::chrono::steady_clock;
    // The device needs a pause between polls: more than 5 ms for models 1, 3, 4, else more than 8 ms.
    const auto interval = std::chrono::milliseconds(Protocol::ReversesRecordBytes(model_) ? 6 : 9);
    const int waitMs = mode_ == LinkMode::Bluetooth ? 50 : 0;

    int idlePolls = 0;
    int reRequests = 0;
    QString error;
    auto lastPoll = Clock::now();
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
        std::this_thread::sleep_until(lastPoll + interval);
        lastPoll = Clock::now();

        if (mode_ == LinkMode::Bluetooth && !transport_.isOpen()) {
            error = DeviceTexts::NotConnected();
            break;
        }
        chunk.clear();
        const bool ok = transport_.ReadAvailable(chunk, Protocol::kReceiveBufferSize, waitMs);
        if (chunk.size() > Protocol::kReceiveBufferSize) {
            error = DeviceTexts::ReadOutOfBuffer();
            break;
        }
        if (!chunk.isEmpty()) {
            idlePolls = 0;
            assembler_.Feed(chunk);
            continue;
        }
        if (!ok) {
            // The line hung up: waiting for idle periods would only delay the news.
            error = mode_ == LinkMode::Bluetooth ? DeviceTexts::NotConnected() : DeviceTexts::ReadFailed();
            break;
        }
        if (++idlePolls <= kIdlePollsPerPeriod)
            continue;
        idlePolls = 0;
        if (Protocol::IsEndTag(tag))
            break; // the end frame stopped halfway; nothing more will come
        // Whatever half frame or misaligned bytes came before the silence are
        // stale: the re-requested frame must not inherit them.
        assembler_.discardPartial();
        if (mode_ == LinkMode::Serial || transport_.isOpen()) {
            const auto command = Protocol::RequestFrameCommand(assembler_.framesReceived(), model_, mode_);
            transport_.Write(QByteArray(reinterpret_cast<const char *>(command.data()), int(command.size())));
        }
        if (++reRequests > kReRequestLimit) {
            error = DeviceTexts::ReadTimeout();
            break;
        }
    }

    assembler_.trimBuffers();
    receiverDone_.store(true);
    signalFrameEvent(); // releases a requester still waiting for a frame
    if (stop_.load())
        return;

    if (callbacks_.framesReceived)
        callbacks_.framesReceived(frameCount_);
    TransferResult result;
    {
        std::unique_lock lock(mutex_);
        // Bounded: the requester's sends have a time limit of their own, but a
        // transfer must end even if a transport's write misbehaves.
        event_.wait_for(lock, std::chrono::seconds(5), [this] { return requesterEnded_ || stop_.load(); });
        result.requesterError = requesterError_;
    }
    if (stop_.load())
        return;
    result.framesReceived = assembler_.framesReceived();
    result.frameCount = frameCount_;
    result.endTag = Protocol::IsEndTag(assembler_.frameTag());
    result.receiverError = error;
    result.memoryError = assembler_.memoryError();
    result.droppedRecords = assembler_.droppedRecords();
    if (callbacks_.finished)
        callbacks_.finished(result);
}

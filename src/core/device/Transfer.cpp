#include "device/Transfer.h"

#include "device/DeviceTexts.h"
#include "device/Protocol.h"
#include "device/Transport.h"

#include <chrono>

namespace {
constexpr int kIdlePollsPerPeriod = 50;
constexpr int kReRequestLimit = 3;

bool isEndTag(std::uint16_t tag) { return tag == Protocol::TagEnd || tag == Protocol::TagEndAlt; }
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
    : m_transport(transport)
    , m_store(store)
    , m_model(deviceModel)
    , m_frameCount(frameCount)
    , m_mode(transport.linkMode())
    , m_callbacks(std::move(callbacks))
    , m_assembler(store, deviceModel)
{
    m_assembler.onFrameComplete = [this](int n) {
        signalFrameEvent();
        if (m_callbacks.framesReceived)
            m_callbacks.framesReceived(n);
    };
}

Transfer::~Transfer() { stop(); }

void Transfer::start()
{
    signalFrameEvent(); // the first request goes out at once
    m_requester = std::thread([this] { RequestLoop(); });
    m_receiver = std::thread([this] { ReceiveLoop(); });
}

void Transfer::stop()
{
    m_stop.store(true);
    {
        std::lock_guard lock(m_mutex);
        m_eventSignalled = true;
    }
    m_event.notify_all();
    wait();
}

void Transfer::wait()
{
    std::lock_guard lock(m_joinMutex);
    for (std::thread *t : {&m_requester, &m_receiver}) {
        if (t->joinable() && t->get_id() != std::this_thread::get_id())
            t->join();
    }
}

bool Transfer::running() const { return m_requester.joinable() || m_receiver.joinable(); }

void Transfer::signalFrameEvent()
{
    {
        std::lock_guard lock(m_mutex);
        m_eventSignalled = true;
    }
    m_event.notify_all();
}

bool Transfer::waitFrameEvent()
{
    std::unique_lock lock(m_mutex);
    m_event.wait(lock, [this] { return m_eventSignalled; });
    m_eventSignalled = false; // auto-reset
    return !ended();
}

bool Transfer::ended() const { return m_stop.load() || m_receiverDone.load(); }

void Transfer::RequestLoop()
{
    QString error;
    int i = 0;
    if (m_assembler.frameTag() != Protocol::TagEnd) {
        while (true) {
            if (m_assembler.frameTag() == Protocol::TagEndAlt || i >= m_frameCount)
                break;
            if (!waitFrameEvent())
                break;
            // The end tag may have arrived with the frame that woke us: ask for nothing more.
            if (m_assembler.frameTag() == Protocol::TagEnd)
                break;
            if (m_mode == LinkMode::Bluetooth && !m_transport.isOpen()) {
                error = DeviceTexts::NotConnected();
                break;
            }
            const auto command = Protocol::RequestFrameCommand(i, m_model, m_mode);
            if (!m_transport.Write(QByteArray(reinterpret_cast<const char *>(command.data()), int(command.size())))) {
                error = DeviceTexts::WriteFailed();
                break;
            }
            ++i;
            if (m_assembler.frameTag() == Protocol::TagEnd)
                break;
        }
    }
    {
        std::lock_guard lock(m_mutex);
        m_requesterError = error;
        m_requesterEnded = true;
    }
    m_event.notify_all();
}

void Transfer::ReceiveLoop()
{
    using Clock = std::chrono::steady_clock;
    // The device needs a pause between polls: more than 5 ms for models 1, 3, 4, else more than 8 ms.
    const auto interval = std::chrono::milliseconds(Protocol::ReversesRecordBytes(m_model) ? 6 : 9);
    const int waitMs = m_mode == LinkMode::Bluetooth ? 50 : 0;

    int idlePolls = 0;
    int reRequests = 0;
    QString error;
    auto lastPoll = Clock::now();
    QByteArray chunk;
    chunk.reserve(Protocol::kReceiveBufferSize);

    while (!m_stop.load()) {
        const std::uint16_t tag = m_assembler.frameTag();
        // An end tag ends the transfer once its own frame is in.
        if (isEndTag(tag) && !m_assembler.midFrame())
            break;
        if (m_assembler.framesReceived() >= m_frameCount)
            break;

        // Sleep, not spin: a download must not keep a core busy.
        std::this_thread::sleep_until(lastPoll + interval);
        lastPoll = Clock::now();

        if (m_mode == LinkMode::Bluetooth && !m_transport.isOpen()) {
            error = DeviceTexts::NotConnected();
            break;
        }
        chunk.clear();
        const bool ok = m_transport.ReadAvailable(chunk, Protocol::kReceiveBufferSize, waitMs);
        if (chunk.size() > Protocol::kReceiveBufferSize) {
            error = DeviceTexts::ReadOutOfBuffer();
            break;
        }
        if (!chunk.isEmpty()) {
            idlePolls = 0;
            m_assembler.Feed(chunk);
            continue;
        }
        if (!ok) {
            // The line hung up: waiting for idle periods would only delay the news.
            error = m_mode == LinkMode::Bluetooth ? DeviceTexts::NotConnected() : DeviceTexts::ReadFailed();
            break;
        }
        if (++idlePolls <= kIdlePollsPerPeriod)
            continue;
        idlePolls = 0;
        if (isEndTag(tag))
            break; // the end frame stopped halfway; nothing more will come
        // Whatever half frame or misaligned bytes came before the silence are
        // stale: the re-requested frame must not inherit them.
        m_assembler.discardPartial();
        if (m_mode == LinkMode::Serial || m_transport.isOpen()) {
            const auto command = Protocol::RequestFrameCommand(m_assembler.framesReceived(), m_model, m_mode);
            m_transport.Write(QByteArray(reinterpret_cast<const char *>(command.data()), int(command.size())));
        }
        if (++reRequests > kReRequestLimit) {
            error = DeviceTexts::ReadTimeout();
            break;
        }
    }

    m_assembler.trimBuffers();
    m_receiverDone.store(true);
    signalFrameEvent(); // releases a requester still waiting for a frame
    if (m_stop.load())
        return;

    if (m_callbacks.framesReceived)
        m_callbacks.framesReceived(m_frameCount);
    TransferResult result;
    {
        std::unique_lock lock(m_mutex);
        m_event.wait(lock, [this] { return m_requesterEnded || m_stop.load(); });
        result.requesterError = m_requesterError;
    }
    if (m_stop.load())
        return;
    result.framesReceived = m_assembler.framesReceived();
    result.frameCount = m_frameCount;
    result.endTag = isEndTag(m_assembler.frameTag());
    result.receiverError = error;
    result.memoryError = m_assembler.memoryError();
    result.droppedRecords = m_assembler.droppedRecords();
    if (m_callbacks.finished)
        m_callbacks.finished(result);
}

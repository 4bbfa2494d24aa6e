#include "device/FrameAssembler.h"

#include "model/RecordStore.h"

#include <new>

FrameAssembler::FrameAssembler(RecordStore &store, int deviceModel)
    : m_store(store)
    , m_model(deviceModel)
{
}

void FrameAssembler::reset()
{
    m_assemblePos = 0;
    m_synced = false;
    m_length = 0;
    m_frameTag.store(0);
    m_framesReceived.store(0);
}

void FrameAssembler::discardPartial()
{
    m_assemblePos = 0;
    m_synced = false;
    m_length = 0;
}

void FrameAssembler::trimBuffers()
{
    for (auto &buffer : m_store.deviceSamples)
        buffer.shrink_to_fit();
}

void FrameAssembler::Feed(const QByteArray &bytes)
{
    for (char c : bytes)
        FeedByte(std::uint8_t(c));
}

void FrameAssembler::FeedByte(std::uint8_t b)
{
    m_buffer[std::size_t(m_assemblePos)] = b;
    ++m_assemblePos;

    // The header is checked on byte pairs: after a lost byte the stream realigns
    // only when 55 AA falls on a pair boundary.
    if (m_assemblePos == 2) {
        m_synced = m_buffer[0] == 0x55 && m_buffer[1] == 0xAA;
        if (!m_synced) {
            m_assemblePos = 0;
            return;
        }
    }
    if (!m_synced)
        return;

    if (m_assemblePos == 5)
        m_frameTag.store(std::uint16_t(m_buffer[3] * 256 + m_buffer[4]));
    if (m_assemblePos == 7) {
        m_length = m_buffer[5] * 256 + m_buffer[6];
        if (m_length + Protocol::kFrameOverhead > Protocol::kReceiveBufferSize) {
            // Cannot fit the receive buffer: drop it and look for the next header.
            ++m_droppedFrames;
            m_assemblePos = 0;
            m_synced = false;
            return;
        }
    }
    if (m_assemblePos >= 7 && m_assemblePos == m_length + 7)
        storePayload();
    if (m_assemblePos >= 8 && m_assemblePos == m_length + 8) {
        m_assemblePos = 0;
        const int n = m_framesReceived.load() + 1;
        m_framesReceived.store(n);
        if (onFrameComplete)
            onFrameComplete(n);
    }
}

void FrameAssembler::storePayload()
{
    const int records = m_length / Protocol::kRecordSize;
    for (int k = 0; k < records; ++k) {
        const SampleRecord s = Protocol::DecodeSample(&m_buffer[std::size_t(7 + k * Protocol::kRecordSize)], m_model);
        if (s.id == 0)
            continue;
        const std::size_t index = std::size_t(s.id - 1);
        auto &buffer = m_store.deviceSamples[index];
        // One ID holds at most what one recording can show; a full device under a
        // single ID keeps every reading.
        if (int(buffer.size()) >= RecordStore::kCapacity) {
            ++m_dropped;
            continue;
        }
        try {
            buffer.push_back(s);
        } catch (const std::bad_alloc &) {
            m_memoryError = true;
            return; // the rest of this frame's records are dropped
        }
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/FrameAssembler.h"

#include <new>

FrameAssembler::FrameAssembler(DeviceReadings &readings, int deviceModel) : readings_(readings), model_(deviceModel) {}

void FrameAssembler::reset()
{
    assemblePos_ = 0;
    synced_ = false;
    length_ = 0;
    stale_ = false;
    frameTag_.store(0);
    framesReceived_.store(0);
}

void FrameAssembler::discardPartial()
{
    assemblePos_ = 0;
    synced_ = false;
    length_ = 0;
    stale_ = false;
}

void FrameAssembler::trimBuffers()
{
    for (auto &buffer : readings_)
        buffer.shrink_to_fit();
}

void FrameAssembler::Feed(const QByteArray &bytes)
{
    for (char c : bytes)
        FeedByte(std::uint8_t(c));
}

void FrameAssembler::FeedByte(std::uint8_t b)
{
    buffer_[std::size_t(assemblePos_)] = b;
    ++assemblePos_;

    // The header is checked on byte pairs: after a lost byte the stream realigns
    // only when 55 AA falls on a pair boundary.
    if (assemblePos_ == 2) {
        synced_ = buffer_[0] == 0x55 && buffer_[1] == 0xAA;
        if (!synced_) {
            assemblePos_ = 0;
            return;
        }
    }
    if (!synced_)
        return;

    if (assemblePos_ == 5) {
        const auto tag = std::uint16_t(buffer_[3] * 256 + buffer_[4]);
        // A frame that came late and was re-requested arrives twice; only the
        // frame we are waiting for counts, or an ID gets its readings twice and
        // the transfer ends a frame early.
        stale_ = !Protocol::IsEndTag(tag) && tag != std::uint16_t(framesReceived_.load());
        if (stale_)
            ++staleFrames_;
        else
            frameTag_.store(tag);
    }
    if (assemblePos_ == 7) {
        length_ = buffer_[5] * 256 + buffer_[6];
        if (length_ + Protocol::kFrameOverhead > Protocol::kReceiveBufferSize) {
            // Cannot fit the receive buffer: drop it and look for the next header.
            ++droppedFrames_;
            assemblePos_ = 0;
            synced_ = false;
            return;
        }
    }
    if (assemblePos_ >= 7 && assemblePos_ == length_ + 7 && !stale_)
        storePayload();
    if (assemblePos_ >= 8 && assemblePos_ == length_ + 8) {
        assemblePos_ = 0;
        if (stale_)
            return;
        const int n = framesReceived_.load() + 1;
        framesReceived_.store(n);
        if (onFrameComplete)
            onFrameComplete(n);
    }
}

void FrameAssembler::storePayload()
{
    const int records = length_ / Protocol::kRecordSize;
    for (int k = 0; k < records; ++k) {
        const SampleRecord s = Protocol::DecodeSample(&buffer_[7 + std::size_t(k) * Protocol::kRecordSize], model_);
        if (s.id == 0)
            continue;
        const auto index = std::size_t(s.id - 1);
        auto &buffer = readings_[index];
        // One ID holds at most what one recording can show; a full device under a
        // single ID keeps every reading.
        if (int(buffer.size()) >= RecordStore::kCapacity) {
            ++dropped_;
            continue;
        }
        try {
            buffer.push_back(s);
        } catch (const std::bad_alloc &) {
            memoryError_ = true;
            return; // the rest of this frame's records are dropped
        }
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DeviceReadings.h"
#include "device/Protocol.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>

// Turns the received byte stream into frames and appends each frame's readings
// to the per-ID buffers it is given. Used by the receiver worker only;
// frameTag and framesReceived may be read from any thread.
class FrameAssembler
{
public:
    FrameAssembler(DeviceReadings &readings, int deviceModel);

    // Called after each complete frame with the new framesReceived.
    std::function<void(int framesReceived)> onFrameComplete;

    void FeedByte(std::uint8_t b);
    void Feed(const QByteArray &bytes);

    // Forgets a partly assembled frame and the pair alignment, so the frame the
    // device sends again after a re-request starts clean.
    void discardPartial();

    // Gives back the growth slack of the per-ID buffers, so what a download holds
    // is its readings, whatever the number of IDs.
    void trimBuffers();

    // Back to the state of a new transfer (the readings stay).
    void reset();

    std::uint16_t frameTag() const { return frameTag_.load(); }
    int framesReceived() const { return framesReceived_.load(); }
    void setFramesReceived(int n) { framesReceived_.store(n); }
    // True while a frame is partly assembled.
    bool midFrame() const { return assemblePos_ != 0; }
    // Records dropped because their ID already held a full recording.
    long droppedRecords() const { return dropped_; }
    // Frames dropped because they did not fit the receive buffer.
    int droppedFrames() const { return droppedFrames_; }
    // Data frames discarded because their tag was not the frame expected next.
    int staleFrames() const { return staleFrames_; }
    // Set when a per-ID buffer could not grow ("new memory err!").
    bool memoryError() const { return memoryError_; }

private:
    void storePayload();

    DeviceReadings &readings_;
    int model_;
    std::array<std::uint8_t, Protocol::kReceiveBufferSize> buffer_{};
    int assemblePos_ = 0;
    bool synced_ = false;
    int length_ = 0;
    bool stale_ = false; // the frame being assembled is not the one expected
    std::atomic<std::uint16_t> frameTag_{0};
    std::atomic<int> framesReceived_{0};
    // Room of each ID, fixed by the first frame that brought it readings; 0 = not yet.
    long dropped_ = 0;
    int droppedFrames_ = 0;
    int staleFrames_ = 0;
    bool memoryError_ = false;
};

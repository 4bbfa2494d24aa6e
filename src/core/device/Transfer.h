// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DeviceError.h"
#include "device/DeviceMessage.h"
#include "device/DeviceReadings.h"
#include "device/FrameAssembler.h"
#include "device/LinkMode.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

class Transport;
class WaitClock;

// How a transfer ended.
struct TransferResult {
    int framesReceived = 0; // frames that really arrived
    int frameCount = 0;     // frames the device announced
    bool endTag = false;    // the device ended it with an end tag
    bool stopped = false;   // ended by stop()
    // None when it ended normally; else Timeout (the fourth idle period),
    // Disconnected (the Bluetooth link went down), Overflow (more than a
    // receive buffer at once) or Io (a request could not be written).
    std::optional<DeviceError> receiverError;
    std::optional<DeviceError> requesterError;
    bool memoryError = false; // a per-ID buffer could not grow
    long droppedRecords = 0;  // records beyond an ID's room
    int staleFrames = 0;      // late copies of frames already stored
    DeviceReadings readings;  // what arrived, per ID

    // What to tell the user, in order: the requester's error, then the receiver's.
    DeviceMessages messages() const;
    bool complete() const { return !receiverError && !requesterError; }
};

// One paced frame transfer on two workers: the requester sends one RequestFrame
// per completed frame, the receiver polls the transport, assembles frames into
// per-ID buffers of its own and re-requests after idle periods. The progress
// callback runs on the receiver's thread.
class Transfer
{
public:
    struct Callbacks {
        std::function<void(int framesReceived)> framesReceived;
    };

    // clock: the receiver's poll pacing (null: real time).
    Transfer(Transport &transport, WaitClock *clock, int deviceModel, int frameCount, Callbacks callbacks);
    ~Transfer(); // stops and joins
    Transfer(const Transfer &) = delete;
    Transfer &operator=(const Transfer &) = delete;

    // Signals the frame event once and starts the requester, then the receiver.
    void start();
    // Asks both workers to end and releases a requester blocked on the frame
    // event; returns at once. No progress is reported afterwards.
    void requestStop();
    // requestStop() and wait().
    void stop();
    // Waits until both workers have ended.
    void wait();
    bool running() const;

    // After wait(): how it ended, with the readings (moved out).
    TransferResult takeResult();

    int framesReceived() const { return assembler_.framesReceived(); }
    const FrameAssembler &assembler() const { return assembler_; }

    // The two halves; each runs on its own worker.
    void RequestLoop();
    void ReceiveLoop();

private:
    void signalFrameEvent();
    bool waitFrameEvent(); // false when stopping
    bool ended() const;
    bool pauseUntil(std::chrono::steady_clock::time_point t);

    Transport &transport_;
    WaitClock *clock_;
    int model_;
    int frameCount_;
    LinkMode mode_;
    Callbacks callbacks_;
    DeviceReadings readings_;
    FrameAssembler assembler_;

    std::mutex mutex_;
    std::condition_variable event_;
    bool eventSignalled_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<bool> receiverDone_{false};
    std::optional<DeviceError> requesterError_;
    std::optional<DeviceError> receiverError_;
    std::thread requester_;
    std::thread receiver_;
    std::mutex joinMutex_;
};

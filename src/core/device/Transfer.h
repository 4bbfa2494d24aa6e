#pragma once

#include "device/FrameAssembler.h"
#include "device/LinkMode.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class RecordStore;
class Transport;

// How a transfer ended, handed to the finished callback.
struct TransferResult {
    int framesReceived = 0;   // frames that really arrived
    int frameCount = 0;       // frames the device announced
    bool endTag = false;      // the device ended it with an end tag
    QString receiverError;    // empty when none
    QString requesterError;   // empty when none
    bool memoryError = false; // a per-ID buffer could not grow
    long droppedRecords = 0;  // records beyond an ID's room
    // Texts to show, in order: the requester's error, then the receiver's.
    QStringList messages() const;
    bool complete() const { return receiverError.isEmpty() && requesterError.isEmpty(); }
};

// One paced frame transfer on two workers: the requester sends one RequestFrame
// per completed frame, the receiver polls the transport, assembles frames into
// the record store and re-requests after idle periods. Callbacks run on the
// receiver's thread; the GUI turns them into queued calls.
class Transfer
{
public:
    struct Callbacks {
        std::function<void(int framesReceived)> framesReceived;
        // Called once, last, unless the transfer was stopped with stop().
        std::function<void(const TransferResult &)> finished;
    };

    Transfer(Transport &transport, RecordStore &store, int deviceModel, int frameCount, Callbacks callbacks);
    ~Transfer(); // stops and joins
    Transfer(const Transfer &) = delete;
    Transfer &operator=(const Transfer &) = delete;

    // Signals the frame event once and starts the requester, then the receiver.
    void start();
    // Releases a requester blocked on the frame event, ends both workers and
    // returns only after both have ended. No callback runs afterwards.
    void stop();
    // Waits until both workers ended by themselves (tests, command line).
    void wait();
    bool running() const;

    int framesReceived() const { return assembler_.framesReceived(); }
    const FrameAssembler &assembler() const { return assembler_; }

    // The two halves; each runs on its own worker.
    void RequestLoop();
    void ReceiveLoop();

private:
    void signalFrameEvent();
    bool waitFrameEvent(); // false when stopping
    bool ended() const;

    Transport &transport_;
    RecordStore &store_;
    int model_;
    int frameCount_;
    LinkMode mode_;
    Callbacks callbacks_;
    FrameAssembler assembler_;

    std::mutex mutex_;
    std::condition_variable event_;
    bool eventSignalled_ = false;
    bool requesterEnded_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<bool> receiverDone_{false};
    QString requesterError_;
    std::thread requester_;
    std::thread receiver_;
    std::mutex joinMutex_;
};

#pragma once

// Shared helpers of the device tests: a simulated oximeter on a real
// pseudo-terminal and a whole download through a DeviceSession.

#include "SimulatedOximeter.h"
#include "device/DeviceSession.h"
#include "model/RecordStore.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>

namespace harness {

inline SimulatedOximeter::Config config(int model = 2, int framePayload = 512)
{
    SimulatedOximeter::Config c;
    c.model = model;
    c.framePayload = framePayload;
    c.deleteDelayMs = 200;
    return c;
}

struct Download {
    SearchOutcome outcome = SearchOutcome::NotFound;
    QStringList searchMessages;
    bool finished = false;
    TransferResult result;
    std::vector<int> progress;
};

// Search and transfer on session as the download window does, then the transfer end.
inline Download download(DeviceSession &session, std::chrono::seconds limit = std::chrono::seconds(60))
{
    Download d;
    d.outcome = session.FindDevice();
    d.searchMessages = session.takeMessages();
    if (d.outcome != SearchOutcome::FoundWithData) {
        session.TransferEnd();
        return d;
    }
    auto done = std::make_shared<std::promise<TransferResult>>();
    auto progress = std::make_shared<std::vector<int>>();
    Transfer::Callbacks callbacks;
    callbacks.framesReceived = [progress](int n) { progress->push_back(n); };
    callbacks.finished = [done](const TransferResult &r) { done->set_value(r); };
    EXPECT_TRUE(session.StartTransfer(callbacks));
    auto future = done->get_future();
    if (future.wait_for(limit) == std::future_status::ready) {
        d.finished = true;
        d.result = future.get();
    }
    session.WaitTransfer();
    d.progress = *progress;
    session.TransferEnd();
    return d;
}


} // namespace harness

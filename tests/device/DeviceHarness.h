#pragma once

// Shared helpers of the device tests: a simulated oximeter on a real
// pseudo-terminal and a whole download through a DeviceSession.

#include "SimulatedOximeter.h"
#include "device/BluetoothLink.h"
#include "device/DeviceSession.h"
#include "model/RecordStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>

namespace harness
{

inline SimulatedOximeter::Config config(int model = 2, int framePayload = 512)
{
    SimulatedOximeter::Config c;
    c.model = model;
    c.framePayload = framePayload;
    c.deleteDelayMs = 200;
    return c;
}

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// The simulator on a Unix socket and a Bluetooth link connected to it; null on failure.
inline std::shared_ptr<BluetoothLink> bluetoothTo(SimulatedOximeter &sim, const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("bt.sock"));
    if (!sim.startUnix(path))
        return nullptr;
    auto link = std::make_shared<BluetoothLink>();
    if (!link->Connect(QStringLiteral("unix:") + path))
        return nullptr;
    return link;
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

// A whole download from sim on a pseudo-terminal into store.
// Success when the device was found with data and every announced frame arrived;
// otherwise says which step failed and with what messages.
inline ::testing::AssertionResult completed(const Download &d)
{
    if (d.outcome != SearchOutcome::FoundWithData)
        return ::testing::AssertionFailure()
               << "search outcome " << int(d.outcome) << ": " << d.searchMessages.join(u'|').toStdString();
    if (!d.finished)
        return ::testing::AssertionFailure() << "the transfer did not finish";
    if (!d.result.complete())
        return ::testing::AssertionFailure() << "incomplete transfer: " << d.result.messages().join(u'|').toStdString();
    return ::testing::AssertionSuccess();
}

inline Download downloadOverPty(SimulatedOximeter &sim, RecordStore &store)
{
    DeviceSession session(store);
    session.restrictToPort(sim.startPty());
    return download(session);
}

} // namespace harness

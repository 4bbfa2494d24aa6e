// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared helpers of the device tests: a simulated oximeter on a real
// pseudo-terminal and a whole download through the download engine.

#include "SimulatedLink.h"
#include "SimulatedOximeter.h"
#include "VirtualClock.h"
#include "device/DeviceSession.h"
#include "device/DownloadEngine.h"
#include "device/SerialConnector.h"
#include "device/SocketLink.h"
#include "model/RecordStore.h"
#include "texts/DeviceTexts.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <optional>
#include <thread>

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
inline std::shared_ptr<SocketLink> bluetoothTo(SimulatedOximeter &sim, const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("bt.sock"));
    if (!sim.startUnix(path))
        return nullptr;
    auto link = MakeSocketLink(QStringLiteral("unix:") + path);
    if (!link->Connect(QStringLiteral("unix:") + path))
        return nullptr;
    return link;
}

// The error of a device operation; nullopt when it succeeded.
template <typename T> std::optional<DeviceError> failed(const DeviceResult<T> &result)
{
    return result.ok() ? std::nullopt : std::optional<DeviceError>(result.error());
}

struct Download {
    DownloadResult result;
    std::vector<int> progress;
};

// A whole download on session through the engine; the readings go to store.
inline Download download(DeviceSession &session, RecordStore &store)
{
    Download d;
    DownloadEngine engine(session);
    DownloadEngine::Events events;
    events.progress = [&d](int n) { d.progress.push_back(n); }; // the receiver's thread only
    d.result = engine.run(events);
    store.deviceModel = d.result.deviceModel;
    store.deviceSamples = std::move(d.result.readings);
    return d;
}

// Success when every announced frame arrived (or the device ended early);
// otherwise says how it ended and with what messages.
inline ::testing::AssertionResult completed(const Download &d)
{
    if (d.result.status == DownloadStatus::Ok)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "status " << int(d.result.status) << ": "
                                         << DeviceTexts::describe(d.result).join(u'|').toStdString();
}

// Polls cond until it holds; false after limit.
template <typename Cond> bool waitFor(Cond cond, std::chrono::milliseconds limit = std::chrono::seconds(20))
{
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!cond()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The result a download hands to its finished event, or a failure after limit.
inline DownloadResult take(std::promise<DownloadResult> &done,
                           std::chrono::milliseconds limit = std::chrono::seconds(30))
{
    std::future<DownloadResult> f = done.get_future();
    if (f.wait_for(limit) != std::future_status::ready) {
        ADD_FAILURE() << "the download did not end";
        std::abort(); // its threads still use what the test owns
    }
    return f.get();
}

// A session on the simulated device in process, its fixed waits in virtual time.
struct InProcess {
    std::shared_ptr<VirtualClock> clock = std::make_shared<VirtualClock>();
    std::shared_ptr<SimulatedLink> link;
    std::unique_ptr<DeviceSession> session;

    explicit InProcess(SimulatedOximeter &sim)
        : link(std::make_shared<SimulatedLink>(sim, clock)), session(std::make_unique<DeviceSession>(clock))
    {
        session->useTransport(link);
    }
};

inline Download downloadOverPty(SimulatedOximeter &sim, RecordStore &store)
{
    DeviceSession session;
    session.useSerial(SerialSearch::only(sim.startPty()));
    return download(session, store);
}

} // namespace harness

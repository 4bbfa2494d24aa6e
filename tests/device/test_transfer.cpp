// SPDX-License-Identifier: GPL-3.0-or-later
// Whole downloads over a real pseudo-terminal (and a Unix socket for the
// Bluetooth link) from the simulated oximeter.
#include "DeviceHarness.h"

#include "app/ScriptedPrompts.h"
#include "device/BluetoothLink.h"
#include "device/Protocol.h"
#include "device/SocketLink.h"

#include "device/SerialPort.h"

#include <QFile>
#include <QTemporaryDir>

#include <future>
#include <thread>

using namespace std::chrono_literals;

namespace
{

int frameRequests(const SimulatedOximeter &sim, int frame, bool lowFirst = false)
{
    int n = 0;
    for (const QByteArray &c : sim.commands()) {
        if (std::uint8_t(c[2]) != Protocol::RequestFrame)
            continue;
        const int hi = std::uint8_t(c[lowFirst ? 4 : 3]);
        const int lo = std::uint8_t(c[lowFirst ? 3 : 4]);
        n += (hi * 256 + lo == frame) ? 1 : 0;
    }
    return n;
}

void expectHoldsExactly(RecordStore &store, const SimulatedOximeter &sim)
{
    for (int id = 1; id <= RecordStore::kIdCount; ++id) {
        const auto expected = sim.readings(id);
        ASSERT_EQ(store.deviceSampleCount(id), int(expected.size())) << "ID " << id;
        if (expected.empty())
            continue;
        store.SelectDeviceId(id, RecordStore::SelectSource::Download);
        ASSERT_EQ(store.currentSampleCount(), int(expected.size()));
        EXPECT_TRUE(store.currentSamples == expected) << "ID " << id;
    }
}

class ModelDownload : public ::testing::TestWithParam<int>
{
};

} // namespace

TEST_P(ModelDownload, BringsEveryReadingOfSeveralIds)
{
    const int model = GetParam();
    SimulatedOximeter sim(harness::config(model));
    sim.addNight(1, 900, 11);
    sim.addNight(5, 300, 55);
    sim.addNight(12, 417, 12);
    const QString pty = sim.startPty();
    ASSERT_FALSE(pty.isEmpty());

    RecordStore store;
    DeviceSession session;
    session.useSerial(SerialSearch::only(pty));
    const harness::Download d = harness::download(session, store);
    ASSERT_TRUE(harness::completed(d));
    EXPECT_EQ(d.result.framesAnnounced, sim.frameCount());
    EXPECT_EQ(d.result.framesReceived, sim.frameCount());
    EXPECT_EQ(store.deviceModel, model);
    // The buffers hold the readings and no growth slack.
    EXPECT_EQ(store.deviceSamples[0].capacity(), store.deviceSamples[0].size());
    // Progress rises frame by frame and ends full.
    ASSERT_FALSE(d.progress.empty());
    EXPECT_TRUE(std::is_sorted(d.progress.begin(), d.progress.end()));
    EXPECT_EQ(d.progress.back(), sim.frameCount());
    expectHoldsExactly(store, sim);

    // One request per frame, in order, then the stop command twice.
    const auto commands = sim.commands();
    ASSERT_GE(commands.size(), 4u);
    EXPECT_EQ(std::uint8_t(commands[0][2]), Protocol::QueryDeviceInfo);
    EXPECT_EQ(std::uint8_t(commands[1][2]), Protocol::QueryCounts);
    for (int f = 0; f < sim.frameCount(); ++f)
        EXPECT_EQ(frameRequests(sim, f, model == 3), 1) << "frame " << f;
    EXPECT_EQ(sim.commandCount(Protocol::StopTransfer), 2);
    EXPECT_EQ(std::uint8_t(commands.back()[2]), Protocol::StopTransfer);
}

INSTANTIATE_TEST_SUITE_P(Models, ModelDownload, ::testing::Values(2, 3, 4, 11));

TEST(Transfer, SurvivesThreeIdlePeriodsAndStrayByte)
{
    SimulatedOximeter::Config c = harness::config(2, 256);
    c.faults.stallFrame = 2;
    c.faults.stallRequests = 2;
    c.faults.strayByteBeforeFrame = {4}; // the third idle period
    SimulatedOximeter sim(c);
    sim.addNight(3, 300, 3);
    RecordStore store;
    const harness::Download d = harness::downloadOverPty(sim, store);
    ASSERT_TRUE(harness::completed(d));
    // Frame 2: the request and two re-requests; frame 4: lost once to the stray byte.
    EXPECT_EQ(frameRequests(sim, 2), 3);
    EXPECT_EQ(frameRequests(sim, 4), 2);
    expectHoldsExactly(store, sim);
}

TEST(Transfer, LateFrameSentTwiceIsStoredOnce)
{
    SimulatedOximeter::Config c = harness::config(2, 256); // 32 readings per frame
    // ID 4 fills frames 0-27 and the start of 28, ID 9 the rest of 28 up to 31.
    c.faults.lateFrames = {0, 28, 31};
    SimulatedOximeter sim(c);
    sim.addNight(4, 900, 4);
    sim.addNight(9, 100, 9);
    ASSERT_EQ(sim.frameCount(), 32);
    RecordStore store;
    const harness::Download d = harness::downloadOverPty(sim, store);
    ASSERT_TRUE(harness::completed(d));
    EXPECT_EQ(d.result.framesReceived, 32);
    for (int f : {0, 28, 31})
        EXPECT_EQ(frameRequests(sim, f), 2) << "frame " << f;
    expectHoldsExactly(store, sim);
}

TEST(Transfer, FourthIdlePeriodEndsWithTimeoutKeepingWhatArrived)
{
    SimulatedOximeter::Config c = harness::config(2, 256);
    c.faults.silentFromFrame = 2;
    SimulatedOximeter sim(c);
    sim.addNight(7, 200, 7);
    RecordStore store;
    const harness::Download d = harness::downloadOverPty(sim, store);
    EXPECT_EQ(d.result.status, DownloadStatus::Timeout);
    EXPECT_EQ(d.result.messages, DeviceMessages{DeviceMessage::ReadTimeout});
    EXPECT_EQ(d.result.framesReceived, 2);
    // The timeout comes right after the fourth re-request.
    EXPECT_EQ(frameRequests(sim, 2), 5);
    EXPECT_EQ(store.deviceSampleCount(7), 64);
    const auto expected = sim.readings(7);
    EXPECT_TRUE(std::equal(store.deviceSamples[6].begin(), store.deviceSamples[6].end(), expected.begin()));
}

TEST(Transfer, ALineBabblingNoiseEndsLikeASilentOne)
{
    SimulatedOximeter::Config c = harness::config(2, 256);
    c.faults.garbageFromFrame = 2; // then noise without end
    SimulatedOximeter sim(c);
    sim.addNight(7, 200, 7);
    RecordStore store;
    const harness::Download d = harness::downloadOverPty(sim, store);
    EXPECT_EQ(d.result.status, DownloadStatus::Timeout);
    EXPECT_EQ(d.result.framesReceived, 2);
    EXPECT_EQ(frameRequests(sim, 2), 5);       // the request and four re-requests
    EXPECT_EQ(store.deviceSampleCount(7), 64); // what arrived before is kept
}

TEST(Transfer, DeviceAnsweringOnlyTheHandshakeHasNoData)
{
    SimulatedOximeter::Config c = harness::config();
    c.faults.silentFromFrame = 0;
    c.faults.garbledCountReplies = 99; // its count replies never pass
    SimulatedOximeter sim(c);
    sim.addNight(3, 100, 3);
    harness::InProcess p(sim);
    RecordStore store;
    const harness::Download d = harness::download(*p.session, store);
    EXPECT_EQ(d.result.status, DownloadStatus::NoData);
    EXPECT_EQ(d.result.messages, DeviceMessages{DeviceMessage::NoData});
    EXPECT_FALSE(d.result.transferRan);
}

TEST(Transfer, DeviceUnpluggedDuringTheSearchIsNotFound)
{
    SimulatedOximeter::Config c = harness::config();
    c.faults.silent = true;
    SimulatedOximeter sim(c);
    DeviceSession session;
    session.useSerial(SerialSearch::only(sim.startPty()));
    DownloadEngine engine(session);
    std::promise<DownloadResult> done;
    DownloadEngine::Events events;
    events.finished = [&done](DownloadResult &r) { done.set_value(std::move(r)); };
    engine.start(events);
    ASSERT_TRUE(harness::waitFor([&sim] { return sim.commandCount(Protocol::QueryDeviceInfo) >= 1; }));
    sim.stop(); // the line goes away under the handshake
    const DownloadResult result = harness::take(done);
    EXPECT_EQ(result.status, DownloadStatus::DeviceNotFound);
    // The re-send that met the vanished line is said, then the search's end.
    ASSERT_FALSE(result.messages.empty());
    EXPECT_EQ(result.messages.back(), DeviceMessage::CantFindDevice);
}

TEST(Transfer, EarlyEndTagEndsBothLoopsAndKeepsItsRecords)
{
    SimulatedOximeter::Config c = harness::config(2, 64);
    c.faults.earlyEndFrame = 3;
    SimulatedOximeter sim(c);
    sim.addNight(2, 80, 2); // 10 frames of 8 records
    RecordStore store;
    const harness::Download d = harness::downloadOverPty(sim, store);
    ASSERT_TRUE(harness::completed(d));
    EXPECT_TRUE(d.result.endTag);
    EXPECT_EQ(d.result.framesReceived, 4);
    EXPECT_EQ(store.deviceSampleCount(2), 32);
    EXPECT_EQ(frameRequests(sim, 4), 0);
}

TEST(Transfer, StopMidTransferJoinsBothWorkersWithoutFinishing)
{
    SimulatedOximeter::Config c = harness::config(2, 512);
    c.pace = true;
    c.dataBaud = 9600; // about half a second per frame
    SimulatedOximeter sim(c);
    sim.addNight(1, 2000, 1);
    DeviceSession session;
    session.useSerial(SerialSearch::only(sim.startPty()));
    DownloadEngine engine(session);
    std::atomic<int> frames{0};
    std::atomic<int> announced{0};
    std::promise<DownloadResult> done;
    DownloadEngine::Events events;
    events.connected = [&announced](int, int frameCount) { announced.store(frameCount); };
    events.progress = [&frames](int n) { frames.store(n); };
    events.finished = [&done](DownloadResult &r) { done.set_value(std::move(r)); };
    engine.start(events);
    for (int i = 0; i < 500 && frames.load() < 1; ++i)
        std::this_thread::sleep_for(10ms);
    // The stop must land mid-transfer: not before the first frame, nor after
    // the receiver ended on its own and reported the whole count.
    ASSERT_GE(frames.load(), 1);
    ASSERT_LT(frames.load(), announced.load());
    const int atStop = frames.load();
    engine.stop();
    const DownloadResult result = harness::take(done);
    engine.wait();
    EXPECT_EQ(result.status, DownloadStatus::Stopped);
    EXPECT_TRUE(result.messages.empty());
    // No progress after the stop: the receiver ends without its closing report.
    EXPECT_LE(frames.load(), atStop + 1);
    EXPECT_LT(frames.load(), announced.load());
    // The device reads its line only between the frames it is still sending.
    for (int i = 0; i < 300 && sim.commandCount(Protocol::StopTransfer) < 2; ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(sim.commandCount(Protocol::StopTransfer), 2);
    EXPECT_LT(result.readingCount(1), 2000);
}

TEST(Transfer, CancelledSearchEndsAtOnceWithEveryPortClosed)
{
    SimulatedOximeter::Config quiet = harness::config();
    quiet.faults.silent = true;
    SimulatedOximeter first(quiet), second(quiet);
    QTemporaryDir dev;
    ASSERT_TRUE(QFile::link(first.startPty(), dev.filePath(QStringLiteral("ttyUSB0"))));
    ASSERT_TRUE(QFile::link(second.startPty(), dev.filePath(QStringLiteral("ttyUSB1"))));
    DeviceSession session;
    SerialSearch search;
    search.deviceRoot = dev.path();
    session.useSerial(search);
    DownloadEngine engine(session);
    std::promise<DownloadResult> done;
    DownloadEngine::Events events;
    events.finished = [&done](DownloadResult &r) { done.set_value(std::move(r)); };
    engine.start(events);
    ASSERT_TRUE(harness::waitFor([&first] { return first.commandCount(Protocol::QueryDeviceInfo) >= 2; }));
    engine.stop();
    const DownloadResult result = harness::take(done);
    EXPECT_EQ(result.status, DownloadStatus::Stopped);
    EXPECT_TRUE(result.messages.empty()); // a cancel is no failure to report
    // The handshake was cut short in its waits, and no other port was tried.
    EXPECT_LE(first.commandCount(Protocol::QueryDeviceInfo), 3);
    EXPECT_TRUE(second.commands().empty());
    // Every port is free again.
    for (const char *name : {"ttyUSB0", "ttyUSB1"}) {
        SerialPort probe;
        EXPECT_TRUE(probe.Open(dev.filePath(QString::fromLatin1(name)), 4800)) << name;
    }
    // And the session searches again after a cancel.
    SimulatedOximeter good(harness::config());
    good.addNight(2, 20, 2);
    RecordStore store;
    session.useSerial(SerialSearch::only(good.startPty()));
    EXPECT_TRUE(harness::completed(harness::download(session, store)));
    EXPECT_EQ(store.deviceSampleCount(2), 20);
}

TEST(Transfer, DeviceClosingTheLineEndsInATimeoutKeepingWhatArrived)
{
    SimulatedOximeter::Config c = harness::config(2, 128);
    c.faults.closeAtFrame = 3;
    SimulatedOximeter sim(c);
    sim.addNight(9, 160, 9);
    RecordStore store;
    DeviceSession session;
    session.useSerial(SerialSearch::only(sim.startPty()));
    const harness::Download d = harness::download(session, store);
    EXPECT_TRUE(sim.lineClosed());
    // A failed read is no message of its own: the polls that bring nothing end
    // the transfer as a silent line does, and the user is asked to retry.
    EXPECT_EQ(d.result.status, DownloadStatus::Timeout);
    EXPECT_EQ(d.result.messages, DeviceMessages{DeviceMessage::ReadTimeout});
    EXPECT_EQ(d.result.framesReceived, 3);
    EXPECT_EQ(store.deviceSampleCount(9), 48);
    // The re-requests cannot reach a closed line.
    EXPECT_EQ(frameRequests(sim, 3), 1);
}

TEST(Transfer, BluetoothLinkOverUnixSocket)
{
    QTemporaryDir dir;
    SimulatedOximeter sim(harness::config(3, 1024)); // model 3: high byte first on this link
    sim.addNight(4, 700, 4);
    sim.addNight(6, 200, 6);
    auto link = harness::bluetoothTo(sim, dir);
    ASSERT_TRUE(link);
    RecordStore store;
    DeviceSession session;
    session.useBluetooth(link);
    const harness::Download d = harness::download(session, store);
    ASSERT_TRUE(harness::completed(d));
    expectHoldsExactly(store, sim);
    for (int f = 0; f < sim.frameCount(); ++f)
        EXPECT_EQ(frameRequests(sim, f), 1) << f;
    // The program never closes the link itself.
    EXPECT_TRUE(link->IsConnected());
}

TEST(Transfer, BluetoothWithoutLinkIsNotFound)
{
    RecordStore store;
    DeviceSession session;
    session.useBluetooth(std::make_shared<BluetoothLink>()); // never connected
    EXPECT_EQ(harness::failed(session.FindDevice()), DeviceError::NotFound);
    EXPECT_FALSE(session.FindDeviceFor([](DeviceLink &) { ADD_FAILURE(); }));
    EXPECT_EQ(session.messages(), (DeviceMessages{DeviceMessage::CantFindDevice, DeviceMessage::NotConnected}));
}

TEST(Transfer, BluetoothLinkDroppedMidTransferSaysNotConnected)
{
    QTemporaryDir dir;
    SimulatedOximeter::Config c = harness::config(2, 128);
    c.faults.closeAtFrame = 2;
    SimulatedOximeter sim(c);
    sim.addNight(8, 100, 8);
    auto link = harness::bluetoothTo(sim, dir);
    ASSERT_TRUE(link);
    RecordStore store;
    DeviceSession session;
    session.useBluetooth(link);
    const harness::Download d = harness::download(session, store);
    EXPECT_EQ(d.result.status, DownloadStatus::LinkLost);
    EXPECT_EQ(d.result.messages, DeviceMessages{DeviceMessage::NotConnected});
    EXPECT_EQ(d.result.framesReceived, 2);
    EXPECT_EQ(store.deviceSampleCount(8), 32);
    EXPECT_FALSE(link->IsConnected());
}

// Whole downloads over a real pseudo-terminal (and a Unix socket for the
// Bluetooth link) from the simulated oximeter.
#include "DeviceHarness.h"

#include "app/ScriptedPrompts.h"
#include "device/BluetoothLink.h"
#include "device/DeviceTexts.h"
#include "device/Protocol.h"

#include <QTemporaryDir>

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
    ScriptedPrompts prompts;
    for (int id = 1; id <= RecordStore::kIdCount; ++id) {
        const auto expected = sim.readings(id);
        ASSERT_EQ(store.deviceSampleCount(id), int(expected.size())) << "ID " << id;
        if (expected.empty())
            continue;
        store.SelectDeviceId(id, RecordStore::SelectSource::Download, prompts);
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
    DeviceSession session(store);
    session.restrictToPort(pty);
    const harness::Download d = harness::download(session);
    ASSERT_TRUE(harness::completed(d));
    EXPECT_EQ(d.result.frameCount, sim.frameCount());
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
    ASSERT_TRUE(d.finished);
    EXPECT_TRUE(d.result.complete()) << d.result.messages().join(u'|').toStdString();
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
    ASSERT_TRUE(d.finished);
    EXPECT_EQ(d.result.receiverError, DeviceTexts::ReadTimeout());
    EXPECT_EQ(d.result.messages(), QStringList{QStringLiteral("Read data timeout,please retry")});
    EXPECT_EQ(d.result.framesReceived, 2);
    // The timeout comes right after the fourth re-request.
    EXPECT_EQ(frameRequests(sim, 2), 5);
    EXPECT_EQ(store.deviceSampleCount(7), 64);
    const auto expected = sim.readings(7);
    EXPECT_TRUE(std::equal(store.deviceSamples[6].begin(), store.deviceSamples[6].end(), expected.begin()));
}

TEST(Transfer, EarlyEndTagEndsBothLoopsAndKeepsItsRecords)
{
    SimulatedOximeter::Config c = harness::config(2, 64);
    c.faults.earlyEndFrame = 3;
    SimulatedOximeter sim(c);
    sim.addNight(2, 80, 2); // 10 frames of 8 records
    RecordStore store;
    const harness::Download d = harness::downloadOverPty(sim, store);
    ASSERT_TRUE(d.finished);
    EXPECT_TRUE(d.result.complete());
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
    RecordStore store;
    DeviceSession session(store);
    session.restrictToPort(sim.startPty());
    ASSERT_EQ(session.FindDevice(), SearchOutcome::FoundWithData);
    std::atomic<int> frames{0};
    std::atomic<bool> finished{false};
    Transfer::Callbacks callbacks;
    callbacks.framesReceived = [&frames](int n) { frames.store(n); };
    callbacks.finished = [&finished](const TransferResult &) { finished.store(true); };
    ASSERT_TRUE(session.StartTransfer(callbacks));
    for (int i = 0; i < 200 && frames.load() < 1; ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_GE(frames.load(), 1);
    session.StopTransfer();
    EXPECT_FALSE(session.transferRunning());
    EXPECT_FALSE(finished.load());
    const int atStop = frames.load();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(frames.load(), atStop); // nothing runs after the stop returned
    session.TransferEnd();
    EXPECT_EQ(sim.commandCount(Protocol::StopTransfer), 2);
    EXPECT_LT(store.deviceSampleCount(1), 2000);
}

TEST(Transfer, DeviceClosingTheLineEndsAtOnceKeepingWhatArrived)
{
    SimulatedOximeter::Config c = harness::config(2, 128);
    c.faults.closeAtFrame = 3;
    SimulatedOximeter sim(c);
    sim.addNight(9, 160, 9);
    RecordStore store;
    DeviceSession session(store);
    session.restrictToPort(sim.startPty());
    const auto start = std::chrono::steady_clock::now();
    const harness::Download d = harness::download(session);
    ASSERT_TRUE(d.finished);
    EXPECT_TRUE(sim.lineClosed());
    EXPECT_EQ(d.result.receiverError, DeviceTexts::ReadFailed());
    EXPECT_EQ(d.result.framesReceived, 3);
    EXPECT_EQ(store.deviceSampleCount(9), 48);
    // No idle periods were waited out (they would take several seconds).
    EXPECT_LT(std::chrono::steady_clock::now() - start, 6s);
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
    DeviceSession session(store);
    session.useBluetooth(link);
    const harness::Download d = harness::download(session);
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
    DeviceSession session(store);
    session.useBluetooth(std::make_shared<BluetoothLink>());
    EXPECT_EQ(session.FindDevice(), SearchOutcome::NotFound);
    EXPECT_FALSE(session.FindDeviceFor([](DeviceLink &) { ADD_FAILURE(); }));
    EXPECT_EQ(session.messages().last(), QStringLiteral("No Connected, please connect device!"));
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
    DeviceSession session(store);
    session.useBluetooth(link);
    const harness::Download d = harness::download(session);
    ASSERT_TRUE(d.finished);
    EXPECT_EQ(d.result.receiverError, QStringLiteral("No Connected, please connect device!"));
    EXPECT_EQ(d.result.framesReceived, 2);
    EXPECT_EQ(store.deviceSampleCount(8), 32);
    EXPECT_FALSE(link->IsConnected());
}

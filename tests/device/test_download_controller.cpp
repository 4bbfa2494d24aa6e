// SPDX-License-Identifier: GPL-3.0-or-later
// The download's phase machine in DownloadController, against the simulated
// device in process: the fixed waits of the search and the transfer end take
// no time, the transfer's polls run at their real pace.
#include "DeviceHarness.h"

#include "device/DeviceSession.h"
#include "device/DownloadController.h"
#include "device/Protocol.h"

#include <QTest>

#include <thread>

using namespace std::chrono_literals;

namespace
{

// Virtual time for the exchanges' long waits; the receiver's poll gaps (a few
// milliseconds) pass in real time as well, so the requester keeps its pace
// against them as it does on a line.
class PacedClock : public VirtualClock
{
protected:
    void waitUntil(TimePoint t) override
    {
        const auto left = t - now();
        if (left > 0ms && left <= 20ms)
            std::this_thread::sleep_for(left);
        VirtualClock::waitUntil(t);
    }
};

// A controller on the simulated device, and everything it reported, in order.
struct Watched {
    std::shared_ptr<PacedClock> clock = std::make_shared<PacedClock>();
    RecordStore store;
    SimulatedOximeter &sim;
    std::shared_ptr<SimulatedLink> link;
    DownloadController controller{store, clock};
    std::vector<DownloadPhase> phases;
    std::vector<int> progress;
    bool progressOutsideTransfer = false;
    DeviceNotices notices;
    std::optional<DownloadResult> result;
    std::optional<bool> maintenance;
    int cleared = 0;

    explicit Watched(SimulatedOximeter &device) : sim(device), link(std::make_shared<SimulatedLink>(device, clock))
    {
        controller.session().useTransport(link);
        QObject::connect(&controller, &DownloadController::phaseChanged,
                         [this](DownloadPhase p) { phases.push_back(p); });
        QObject::connect(&controller, &DownloadController::storeCleared, [this] { ++cleared; });
        QObject::connect(&controller, &DownloadController::progress, [this](int n) {
            progress.push_back(n);
            progressOutsideTransfer |= controller.phase() != DownloadPhase::Transferring;
        });
        QObject::connect(&controller, &DownloadController::notice,
                         [this](const DeviceNotice &n) { notices.push_back(n); });
        QObject::connect(&controller, &DownloadController::finished, [this](const DownloadResult &r) { result = r; });
        QObject::connect(&controller, &DownloadController::maintenanceFinished, [this](bool ok) { maintenance = ok; });
    }

    bool waitIdle()
    {
        return QTest::qWaitFor([this] { return controller.phase() == DownloadPhase::Idle; }, 30000);
    }
    bool download() { return controller.start() && waitIdle() && result.has_value(); }
};

DeviceNotice message(DeviceMessage m)
{
    DeviceNotice n;
    n.message = m;
    return n;
}

DeviceNotice connectSucceeded(int total)
{
    DeviceNotice n;
    n.kind = DeviceNotice::Kind::ConnectSucceeded;
    n.count = total;
    return n;
}

constexpr auto Searching = DownloadPhase::Searching;
constexpr auto Transferring = DownloadPhase::Transferring;
constexpr auto Ending = DownloadPhase::Ending;
constexpr auto Idle = DownloadPhase::Idle;

} // namespace

TEST(DownloadController, AWholeDownloadMovesThroughEveryPhaseIntoTheStore)
{
    SimulatedOximeter sim(harness::config(2, 512));
    sim.addNight(3, 700, 3);
    sim.addNight(12, 300, 12);
    Watched run(sim);
    run.store.deviceSamples[40] = {SampleRecord{}}; // of an earlier download
    ASSERT_TRUE(run.download());
    EXPECT_EQ(run.cleared, 1);
    EXPECT_EQ(run.phases, (std::vector<DownloadPhase>{Searching, Transferring, Ending, Idle}));
    EXPECT_EQ(run.result->status, DownloadStatus::Ok);
    EXPECT_EQ(run.notices, DeviceNotices{connectSucceeded(16)});
    EXPECT_EQ(run.notices[0].severity(), Severity::Information);
    ASSERT_FALSE(run.progress.empty());
    EXPECT_EQ(run.progress.back(), sim.frameCount());
    EXPECT_FALSE(run.progressOutsideTransfer);
    // The readings are in the store, and only the checked summary stays in the result.
    EXPECT_EQ(run.store.deviceSamples[2], sim.readings(3));
    EXPECT_EQ(run.store.deviceSamples[11], sim.readings(12));
    EXPECT_EQ(run.store.deviceSampleCount(41), 0);
    EXPECT_EQ(run.store.deviceModel, 2);
    EXPECT_TRUE(run.result->readings[2].empty());
    ASSERT_EQ(run.result->spans.size(), 2u);
    EXPECT_EQ(run.result->readingCount(12), 300);
    EXPECT_EQ(sim.commandCount(Protocol::StopTransfer), 2);
    // The same controller downloads again.
    run.phases.clear();
    ASSERT_TRUE(run.download());
    EXPECT_EQ(run.phases, (std::vector<DownloadPhase>{Searching, Transferring, Ending, Idle}));
    EXPECT_EQ(run.store.deviceSampleCount(3), 700);
}

TEST(DownloadController, EndingsWithoutATransferSayWhyWithWarnings)
{
    struct Case {
        const char *name;
        void (*fault)(SimulatedOximeter::Config &);
        int readings;
        DownloadStatus status;
        std::vector<DownloadPhase> phases;
        DeviceNotices notices;
        int stops;
    };
    const Case cases[] = {
        {"silent",
         [](SimulatedOximeter::Config &c) { c.faults.silent = true; },
         50,
         DownloadStatus::DeviceNotFound,
         {Searching, Idle},
         {message(DeviceMessage::CantFindDevice)},
         0},
        {"empty",
         [](SimulatedOximeter::Config &) {},
         0,
         DownloadStatus::NoData,
         {Searching, Ending, Idle},
         {message(DeviceMessage::NoData)},
         2},
    };
    for (const Case &c : cases) {
        SimulatedOximeter::Config config = harness::config();
        c.fault(config);
        SimulatedOximeter sim(config);
        if (c.readings > 0)
            sim.addNight(2, c.readings, 2);
        Watched run(sim);
        ASSERT_TRUE(run.download()) << c.name;
        EXPECT_EQ(run.result->status, c.status) << c.name;
        EXPECT_EQ(run.phases, c.phases) << c.name;
        EXPECT_EQ(run.notices, c.notices) << c.name;
        for (const DeviceNotice &n : run.notices)
            EXPECT_EQ(n.severity(), Severity::Warning) << c.name;
        EXPECT_EQ(sim.commandCount(Protocol::StopTransfer), c.stops) << c.name;
        EXPECT_EQ(sim.commandCount(Protocol::RequestFrame), 0) << c.name;
    }
}

TEST(DownloadController, ATimeoutKeepsWhatArrivedAndSaysHowShortItIs)
{
    SimulatedOximeter::Config config = harness::config(2, 256);
    config.faults.silentFromFrame = 2;
    SimulatedOximeter sim(config);
    sim.addNight(7, 200, 7);
    Watched run(sim);
    ASSERT_TRUE(run.download());
    EXPECT_EQ(run.result->status, DownloadStatus::Timeout);
    EXPECT_EQ(run.store.deviceSampleCount(7), 64);
    DeviceNotice shortfall;
    shortfall.kind = DeviceNotice::Kind::PartialDownload;
    shortfall.count = 2;
    shortfall.of = sim.frameCount();
    EXPECT_EQ(run.notices,
              (DeviceNotices{connectSucceeded(sim.frameCount()), message(DeviceMessage::ReadTimeout), shortfall}));
    EXPECT_EQ(run.notices[1].severity(), Severity::Warning);
}

// Stop drops what arrived (the window lists nothing); an interrupt keeps it.
TEST(DownloadController, StopAndInterruptEndTheTransferWithTheStopSequence)
{
    for (const bool interrupt : {false, true}) {
        SimulatedOximeter::Config config = harness::config(2, 64);
        config.faults.stallFrame = 3; // the device ignores frame 3 for a while
        config.faults.stallRequests = 3;
        SimulatedOximeter sim(config);
        sim.addNight(5, 400, 5);
        Watched run(sim);
        ASSERT_TRUE(run.controller.start());
        ASSERT_TRUE(QTest::qWaitFor([&run] { return !run.progress.empty() && run.progress.back() >= 3; }, 30000));
        ASSERT_EQ(run.controller.phase(), Transferring);
        if (interrupt)
            run.controller.interrupt();
        else
            run.controller.stop();
        EXPECT_EQ(run.controller.phase(), Ending);
        ASSERT_TRUE(run.waitIdle());
        ASSERT_TRUE(run.result.has_value());
        EXPECT_EQ(run.phases, (std::vector<DownloadPhase>{Searching, Transferring, Ending, Idle})) << interrupt;
        EXPECT_FALSE(run.progressOutsideTransfer);
        EXPECT_EQ(sim.commandCount(Protocol::StopTransfer), 2);
        if (interrupt) {
            EXPECT_EQ(run.result->status, DownloadStatus::Interrupted);
            EXPECT_EQ(run.store.deviceSampleCount(5), 24);
            // What was kept is said to be short; no failure is reported.
            DeviceNotice shortfall;
            shortfall.kind = DeviceNotice::Kind::PartialDownload;
            shortfall.count = 3;
            shortfall.of = sim.frameCount();
            EXPECT_EQ(run.notices, (DeviceNotices{connectSucceeded(sim.frameCount()), shortfall}));
        } else {
            EXPECT_EQ(run.notices, DeviceNotices{connectSucceeded(sim.frameCount())});
            EXPECT_EQ(run.result->status, DownloadStatus::Stopped);
            EXPECT_EQ(run.store.deviceSampleCount(5), 0);
        }
    }
}

TEST(DownloadController, MaintenanceReportsSuccessAsInformationAndFailureAsWarning)
{
    for (const std::uint16_t ackTag : {std::uint16_t(0xFFF9), std::uint16_t(0xFFFA)}) {
        SimulatedOximeter::Config config = harness::config();
        config.faults.clockAckTag = ackTag;
        SimulatedOximeter sim(config);
        Watched run(sim);
        EXPECT_TRUE(run.controller.setClock(Protocol::DateTimeWord(2010, 7, 21, 14, 35, 9)));
        EXPECT_FALSE(run.controller.start()); // one thing at a time
        ASSERT_TRUE(run.waitIdle());
        const bool ok = ackTag == 0xFFF9;
        EXPECT_EQ(run.maintenance, std::optional<bool>(ok));
        EXPECT_EQ(run.phases, (std::vector<DownloadPhase>{DownloadPhase::Maintenance, Idle}));
        ASSERT_EQ(run.notices.size(), 1u);
        EXPECT_EQ(run.notices[0], message(ok ? DeviceMessage::SetClockSucceeded : DeviceMessage::SetClockError));
        EXPECT_EQ(run.notices[0].severity(), ok ? Severity::Information : Severity::Warning);
        EXPECT_EQ(sim.commandCount(Protocol::StopTransfer), 2);
        EXPECT_EQ(run.cleared, 0); // maintenance leaves the store alone
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed waits and bounded re-sends of the exchanges, against the simulated
// device in process and in virtual time: the budgets are counted exactly and
// no test sleeps through them.
#include "DeviceHarness.h"

#include "device/Protocol.h"

using namespace std::chrono_literals;

TEST(VirtualTime, SilentDeviceGetsTheHandshakeAndFiveResends)
{
    SimulatedOximeter::Config c = harness::config();
    c.faults.silent = true;
    SimulatedOximeter sim(c);
    harness::InProcess p(sim);
    EXPECT_EQ(harness::failed(p.session->FindDevice()), DeviceError::NotFound);
    EXPECT_EQ(sim.commandCount(Protocol::QueryDeviceInfo), 6);
    EXPECT_EQ(p.clock->elapsed(), 400ms + 5 * 500ms);
    EXPECT_EQ(p.session->messages(), DeviceMessages{DeviceMessage::CantFindDevice});
}

TEST(VirtualTime, CountQueryWaitsASecondAndTakesACompleteReplyAtOnce)
{
    SimulatedOximeter::Config c = harness::config();
    c.faults.garbledCountReplies = 6; // every reply is complete but wrong
    SimulatedOximeter sim(c);
    sim.addNight(1, 10, 1);
    harness::InProcess p(sim);
    ASSERT_TRUE(p.session->link().QueryDeviceInfo());
    const auto before = p.clock->elapsed();
    EXPECT_EQ(harness::failed(p.session->link().QueryCounts()), DeviceError::Protocol);
    // A complete reply ends the waiting at once: one query, one second.
    EXPECT_EQ(sim.commandCount(Protocol::QueryCounts), 1);
    EXPECT_EQ(p.clock->elapsed() - before, 1000ms);
}

TEST(VirtualTime, DeleteWaitsElevenRoundsForItsAcknowledgement)
{
    for (const int delayMs : {3500, 12000}) {
        SimulatedOximeter::Config c = harness::config();
        c.deleteDelayMs = delayMs;
        SimulatedOximeter sim(c);
        sim.addNight(5, 30, 5);
        harness::InProcess p(sim);
        std::vector<bool> waiting;
        const DeviceResult<> cleared = p.session->DeleteProcedure(5, Protocol::DeleteDataType::Spo2AndPulse,
                                                                  [&waiting](bool w) { waiting.push_back(w); });
        EXPECT_EQ(waiting, (std::vector<bool>{true, false})) << delayMs;
        const auto handshakeAndCounts = 400ms + 1000ms;
        if (delayMs < 11000) {
            EXPECT_TRUE(cleared.ok());
            EXPECT_EQ(p.session->takeMessages(), DeviceMessages{DeviceMessage::DataCleared});
            // Read at 0, 1, 2, 3 s: nothing yet; at 4 s the acknowledgement is in.
            EXPECT_EQ(p.clock->elapsed(), handshakeAndCounts + 4000ms);
        } else {
            EXPECT_EQ(harness::failed(cleared), DeviceError::Timeout);
            EXPECT_EQ(p.session->takeMessages(), DeviceMessages{DeviceMessage::DeleteError});
            EXPECT_EQ(p.clock->elapsed(), handshakeAndCounts + 11000ms);
        }
    }
}

TEST(VirtualTime, SetClockSharesOneResendBudgetOnTheSerialLink)
{
    SimulatedOximeter sim(harness::config());
    harness::InProcess p(sim);
    EXPECT_TRUE(p.session->SetClockProcedure(Protocol::DateTimeWord(2010, 7, 21, 14, 35, 9)));
    EXPECT_EQ(sim.clock(), QDateTime(QDate(2010, 7, 21), QTime(14, 35, 9), Qt::UTC));
    EXPECT_EQ(p.session->takeMessages(), DeviceMessages{DeviceMessage::SetClockSucceeded});
    // The in-process device is on no port worth remembering as "DefaultCOM".
    EXPECT_EQ(p.session->portToRemember(), QString());
    // Handshake 400 ms, then each command and its 500 ms wait.
    EXPECT_EQ(p.clock->elapsed(), 400ms + 500ms + 500ms);
}

TEST(VirtualTime, TransferEndSendsStopTwiceHalfASecondApart)
{
    SimulatedOximeter sim(harness::config());
    harness::InProcess p(sim);
    ASSERT_TRUE(p.session->link().QueryDeviceInfo());
    const auto before = p.clock->elapsed();
    p.session->TransferEnd();
    EXPECT_EQ(sim.commandCount(Protocol::StopTransfer), 2);
    EXPECT_EQ(p.clock->elapsed() - before, 500ms + 500ms + 100ms);
}

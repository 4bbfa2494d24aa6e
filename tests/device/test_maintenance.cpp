// SPDX-License-Identifier: GPL-3.0-or-later
// Setting the device clock and erasing device data, against the simulated
// oximeter on a pseudo-terminal and on the Bluetooth (Unix socket) link.
#include "DeviceHarness.h"

#include "app/Settings.h"
#include "device/Protocol.h"
#include "device/SocketLink.h"

#include <QTemporaryDir>

namespace
{
using harness::bytes;

bool sent(const SimulatedOximeter &sim, const QByteArray &command)
{
    const auto all = sim.commands();
    return std::find(all.begin(), all.end(), command) != all.end();
}
} // namespace

TEST(SetClock, SendsDateThenTimeAndDeviceTakesIt)
{
    SimulatedOximeter sim(harness::config());
    RecordStore store;
    DeviceSession session;
    session.useSerial(SerialSearch::only(sim.startPty()));
    EXPECT_TRUE(session.SetClockProcedure(Protocol::DateTimeWord(2010, 7, 21, 14, 35, 9)));
    EXPECT_EQ(session.takeMessages(), DeviceMessages{DeviceMessage::SetClockSucceeded});
    EXPECT_EQ(sim.clock(), QDateTime(QDate(2010, 7, 21), QTime(14, 35, 9), Qt::UTC));
    EXPECT_TRUE(sent(sim, bytes({0x55, 0xAA, 0xF7, 0xCA, 0x55, 0x16})));
    EXPECT_TRUE(sent(sim, bytes({0x55, 0xAA, 0xF8, 0x37, 0x26, 0x55})));
    // The port to remember is reported; the device layer writes no setting.
    EXPECT_EQ(session.portToRemember(), session.port());
    EXPECT_FALSE(ReadSetupString(QStringLiteral("DefaultCOM")).has_value());
    session.TransferEnd();
    EXPECT_EQ(sim.commandCount(Protocol::StopTransfer), 2);
}

TEST(SetClock, WrongAcknowledgementStopsBeforeTheTime)
{
    SimulatedOximeter::Config c = harness::config();
    c.faults.clockAckTag = 0xFFFA;
    SimulatedOximeter sim(c);
    harness::InProcess p(sim);
    EXPECT_FALSE(p.session->SetClockProcedure(Protocol::DateTimeWord(2024, 2, 29, 23, 59, 58)));
    EXPECT_EQ(p.session->takeMessages(), DeviceMessages{DeviceMessage::SetClockError});
    EXPECT_EQ(sim.commandCount(Protocol::SetDate), 1);
    EXPECT_EQ(sim.commandCount(Protocol::SetTime), 0);
    EXPECT_FALSE(sim.clock().isValid());
}

TEST(SetClock, FailedReopenAtTheDataRateIsTheClockError)
{
    SimulatedOximeter::Config c = harness::config();
    c.dataBaud = 0; // no line can be set to it
    SimulatedOximeter sim(c);
    RecordStore store;
    DeviceSession session;
    session.useSerial(SerialSearch::only(sim.startPty()));
    EXPECT_FALSE(session.SetClockProcedure(Protocol::DateTimeWord(2010, 7, 21, 14, 35, 9)));
    EXPECT_EQ(session.takeMessages(), DeviceMessages{DeviceMessage::SetClockError});
    EXPECT_EQ(sim.commandCount(Protocol::QueryDeviceInfo), 1);
    EXPECT_EQ(sim.commandCount(Protocol::SetDate), 0);
}

TEST(SetClock, NoAnsweringPortSaysSo)
{
    RecordStore store;
    DeviceSession session;
    QTemporaryDir dir;
    SerialSearch search = SerialSearch::only(QStringLiteral("ttyUSB4"));
    search.deviceRoot = dir.path();
    session.useSerial(search);
    EXPECT_FALSE(session.SetClockProcedure(0));
    EXPECT_EQ(session.takeMessages(), DeviceMessages{DeviceMessage::CantFindDevice});
}

TEST(SetClock, OverBluetoothLink)
{
    QTemporaryDir dir;
    SimulatedOximeter sim(harness::config(4));
    auto link = harness::bluetoothTo(sim, dir);
    ASSERT_TRUE(link);
    RecordStore store;
    DeviceSession session;
    session.useBluetooth(link);
    EXPECT_TRUE(session.SetClockProcedure(Protocol::DateTimeWord(2031, 1, 2, 3, 4, 5)));
    EXPECT_EQ(sim.clock(), QDateTime(QDate(2031, 1, 2), QTime(3, 4, 5), Qt::UTC));
}

TEST(DeleteData, OneIdOfSpo2AndPulseIsForgottenByTheDevice)
{
    SimulatedOximeter sim(harness::config());
    sim.addNight(1, 30, 1);
    sim.addNight(5, 30, 5);
    {
        harness::InProcess p(sim);
        std::vector<bool> waiting;
        EXPECT_TRUE(p.session->DeleteProcedure(5, Protocol::DeleteDataType::Spo2AndPulse,
                                               [&waiting](bool w) { waiting.push_back(w); }));
        EXPECT_EQ(p.session->takeMessages(), DeviceMessages{DeviceMessage::DataCleared});
        EXPECT_EQ(waiting, (std::vector<bool>{true, false}));
        p.session->TransferEnd();
    }
    EXPECT_TRUE(sent(sim, bytes({0x55, 0xAA, 0xF4, 0x10, 0x05, 0x09})));
    EXPECT_TRUE(sim.readings(5).empty());
    EXPECT_EQ(sim.readings(1).size(), 30u);
    // The device no longer announces the erased readings (a real download, in process).
    RecordStore store;
    DeviceSession session;
    session.useTransport(std::make_shared<SimulatedLink>(sim, std::make_shared<WaitClock>()));
    const harness::Download d = harness::download(session, store);
    ASSERT_TRUE(harness::completed(d));
    EXPECT_EQ(store.deviceSampleCount(1), 30);
    EXPECT_EQ(store.deviceSampleCount(5), 0);
}

TEST(DeleteData, EmptyDeviceGetsNoDeleteCommand)
{
    SimulatedOximeter sim(harness::config());
    harness::InProcess p(sim);
    EXPECT_FALSE(p.session->DeleteProcedure(0, Protocol::DeleteDataType::All));
    EXPECT_EQ(p.session->takeMessages(), DeviceMessages{DeviceMessage::NoData});
    EXPECT_EQ(sim.commandCount(Protocol::DeleteData), 0);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Port lists and the search order, with simulated devices behind symbolic
// links in a private device folder (never the machine's real ports).
#include "DeviceHarness.h"

#include "app/Settings.h"
#include "device/PortList.h"
#include "device/Protocol.h"
#include "device/SerialPort.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

struct DevFolder {
    QTemporaryDir dir;
    QString root() const { return dir.path(); }
    void link(const QString &name, const QString &target) const
    {
        ASSERT_TRUE(QFile::link(target, dir.filePath(name))) << name.toStdString();
    }
    void plainFile(const QString &name) const
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
};

PortEntry entry(const QString &friendly)
{
    return {friendly, PortNameOf(friendly)};
}

// A search of the ports under root only.
SerialSearch searchIn(const QString &root, const QString &firstPort = {}, const PortLists &ports = {})
{
    SerialSearch search;
    search.deviceRoot = root;
    search.firstPort = firstPort;
    search.ports = ports;
    return search;
}

QString defaultCom()
{
    return ReadSetupString(QStringLiteral("DefaultCOM")).value_or(QString());
}

} // namespace

TEST(PortLists, PortNameIsInTheLastParentheses)
{
    EXPECT_EQ(PortNameOf(QStringLiteral("Silicon Labs CP210x USB to UART Bridge (COM7)")), QStringLiteral("COM7"));
    EXPECT_EQ(PortNameOf(QStringLiteral("USB-UART (CP2102) (ttyUSB0)")), QStringLiteral("ttyUSB0"));
    EXPECT_EQ(PortNameOf(QStringLiteral("Adapter (rev (2)) (ttyUSB4)")), QStringLiteral("ttyUSB4"));
    EXPECT_EQ(PortNameOf(QStringLiteral("Serial COM3 without parentheses")), QString());
    EXPECT_EQ(PortNameOf(QStringLiteral("Half open (ttyS0")), QString());
    EXPECT_EQ(PortNameOf(QStringLiteral("Closing ) before (ttyS1)")), QStringLiteral("ttyS1"));
}

TEST(PortLists, SplitByChipThenBluetoothCaseSensitive)
{
    const PortLists l = SplitPorts({
        QStringLiteral("Standard Serial over Bluetooth link (rfcomm0)"),
        QStringLiteral("CP2102 USB to UART Bridge (ttyUSB0)"),
        QStringLiteral("CP2104 Bluetooth dongle bridge (ttyUSB1)"),
        QStringLiteral("cp2102 lower case (ttyUSB2)"),
        QStringLiteral("bluetooth lower case (rfcomm1)"),
        QStringLiteral("No parentheses ttyS3"),
        QStringLiteral("16550A UART (ttyS0)"),
    });
    ASSERT_EQ(l.bridgePorts.size(), 2);
    EXPECT_EQ(l.bridgePorts[0].portName, QStringLiteral("ttyUSB0"));
    EXPECT_EQ(l.bridgePorts[1].portName, QStringLiteral("ttyUSB1")); // the chip test comes first
    ASSERT_EQ(l.bluetoothPorts.size(), 1);
    EXPECT_EQ(l.bluetoothPorts[0].portName, QStringLiteral("rfcomm0"));
    ASSERT_EQ(l.otherPorts.size(), 3);
    EXPECT_EQ(l.otherPorts[0].portName, QStringLiteral("ttyUSB2"));
    EXPECT_EQ(l.otherPorts[1].portName, QStringLiteral("rfcomm1"));
    EXPECT_EQ(l.otherPorts[2].portName, QStringLiteral("ttyS0"));
}

TEST(PortLists, BruteForceNamesInFamilyAndNumericOrder)
{
    DevFolder dev;
    for (const char *n : {"ttyS10", "ttyS2", "ttyS0", "ttyACM0", "ttyUSB11", "ttyUSB1", "ttyUSBx", "tty0", "rfcomm0"})
        dev.plainFile(QString::fromLatin1(n));
    EXPECT_EQ(BruteForcePortNames(dev.root()),
              (QStringList{"ttyUSB1", "ttyUSB11", "ttyACM0", "ttyS0", "ttyS2", "ttyS10"}));
    EXPECT_EQ(BruteForcePortNames(dev.root(), {QStringLiteral("ttyUSB11"), QStringLiteral("ttyS0")}),
              (QStringList{"ttyUSB1", "ttyACM0", "ttyS2", "ttyS10"}));
}

TEST(PortSearch, VanishedDefaultComFallsThroughToBridgeSilently)
{
    SimulatedOximeter sim(harness::config());
    sim.addNight(1, 100, 1);
    DevFolder dev;
    dev.link(QStringLiteral("ttyUSB3"), sim.startPty());
    WriteSetupValue(QStringLiteral("DefaultCOM"), QStringLiteral("ttyUSB7"));

    RecordStore store;
    DeviceSession session;
    PortLists ports;
    ports.bridgePorts = {entry(QStringLiteral("CP2102 USB to UART Bridge Controller (ttyUSB3)"))};
    session.useSerial(searchIn(dev.root(), defaultCom(), ports));
    EXPECT_EQ(harness::failed(session.FindDevice()), std::nullopt);
    EXPECT_TRUE(session.messages().empty());
    EXPECT_EQ(session.port(), QStringLiteral("ttyUSB3"));
    EXPECT_EQ(session.portToRemember(), QStringLiteral("ttyUSB3"));
    EXPECT_EQ(defaultCom(), QStringLiteral("ttyUSB7")); // the caller writes it
    EXPECT_EQ(session.totalCount(), sim.frameCount());
}

TEST(PortSearch, BridgesBeforeOtherPortsAndBusyPortsAreSkipped)
{
    SimulatedOximeter bridge(harness::config()), other(harness::config());
    bridge.addNight(1, 50, 1);
    other.addNight(2, 50, 2);
    DevFolder dev;
    dev.link(QStringLiteral("ttyUSB0"), bridge.startPty());
    dev.link(QStringLiteral("ttyACM0"), other.startPty());

    RecordStore store;
    DeviceSession session;
    const PortLists ports = SplitPorts({QStringLiteral("Modem (ttyACM0)"), QStringLiteral("CP2102 bridge (ttyUSB0)")});
    session.useSerial(searchIn(dev.root(), {}, ports));
    EXPECT_EQ(harness::failed(session.FindDevice()), std::nullopt);
    EXPECT_EQ(session.port(), QStringLiteral("ttyUSB0"));
    EXPECT_TRUE(other.commands().empty());
    session.TransferEnd();

    // Another program holds the bridge: it is not taken over, the search moves on.
    SerialPort holder;
    ASSERT_TRUE(holder.Open(dev.dir.filePath(QStringLiteral("ttyUSB0")), 4800));
    const std::size_t before = bridge.commands().size();
    session.useSerial(searchIn(dev.root(), {}, ports));
    EXPECT_EQ(harness::failed(session.FindDevice()), std::nullopt);
    EXPECT_EQ(session.port(), QStringLiteral("ttyACM0"));
    EXPECT_EQ(bridge.commands().size(), before);
}

TEST(PortSearch, BruteForceSkipsBluetoothPortsForDownloadOnly)
{
    SimulatedOximeter sim(harness::config());
    sim.addNight(3, 40, 3);
    DevFolder dev;
    dev.plainFile(QStringLiteral("ttyS0")); // not a terminal: out at once
    dev.link(QStringLiteral("ttyUSB9"), sim.startPty());

    RecordStore store;
    DeviceSession session;
    PortLists ports;
    ports.bluetoothPorts = {entry(QStringLiteral("Bluetooth serial (ttyUSB9)"))};
    session.useSerial(searchIn(dev.root(), {}, ports));
    EXPECT_EQ(harness::failed(session.FindDevice()), DeviceError::NotFound);
    EXPECT_EQ(session.messages(), DeviceMessages{DeviceMessage::CantFindDevice});
    EXPECT_TRUE(sim.commands().empty());
    EXPECT_TRUE(session.port().isEmpty());

    // The maintenance search does not compare with the Bluetooth ports.
    session.takeMessages();
    bool ran = false;
    EXPECT_TRUE(session.FindDeviceFor([&ran](DeviceLink &link) { ran = link.lastInfo().model == 2; }));
    EXPECT_TRUE(ran);
    EXPECT_EQ(session.portToRemember(), QStringLiteral("ttyUSB9"));

    // And the download search finds it by brute force once it is not a Bluetooth port.
    session.TransferEnd();
    session.useSerial(searchIn(dev.root()));
    EXPECT_EQ(harness::failed(session.FindDevice()), std::nullopt);
    EXPECT_EQ(session.port(), QStringLiteral("ttyUSB9"));
}

TEST(PortSearch, EachPortIsTriedOncePerSearch)
{
    SimulatedOximeter::Config quiet = harness::config();
    quiet.faults.silent = true;
    SimulatedOximeter dead(quiet);
    DevFolder dev;
    dev.link(QStringLiteral("ttyS0"), dead.startPty());
    RecordStore store;
    DeviceSession session;
    // Remembered, listed twice and found again by the brute-force pass: one handshake.
    session.useSerial(searchIn(dev.root(), QStringLiteral("ttyS0"),
                               SplitPorts({QStringLiteral("16550A UART (ttyS0)"), QStringLiteral("CP2102 (ttyS0)")})));
    EXPECT_EQ(harness::failed(session.FindDevice()), DeviceError::NotFound);
    EXPECT_EQ(dead.commandCount(Protocol::QueryDeviceInfo), 6);
    EXPECT_FALSE(session.FindDeviceFor([](DeviceLink &) { ADD_FAILURE(); }));
    EXPECT_EQ(dead.commandCount(Protocol::QueryDeviceInfo), 12);
}

TEST(PortSearch, SilentDeviceGetsFiveResendsThenNextPortAnswers)
{
    SimulatedOximeter::Config quiet = harness::config();
    quiet.faults.silent = true;
    SimulatedOximeter silent(quiet), good(harness::config());
    good.addNight(1, 10, 1);
    DevFolder dev;
    dev.link(QStringLiteral("ttyUSB0"), silent.startPty());
    dev.link(QStringLiteral("ttyUSB1"), good.startPty());
    RecordStore store;
    DeviceSession session;
    session.useSerial(searchIn(dev.root()));
    EXPECT_EQ(harness::failed(session.FindDevice()), std::nullopt);
    EXPECT_EQ(session.port(), QStringLiteral("ttyUSB1"));
    EXPECT_EQ(silent.commandCount(Protocol::QueryDeviceInfo), 6);
}

TEST(PortSearch, GarbledOrWrongLengthInfoReplyFailsTheHandshake)
{
    for (int variant = 0; variant < 2; ++variant) {
        SimulatedOximeter::Config c = harness::config();
        if (variant == 0)
            c.faults.garbledInfoReplies = 1;
        else
            c.faults.infoPayloadLength = 29;
        SimulatedOximeter sim(c);
        sim.addNight(1, 10, 1);
        RecordStore store;
        DeviceSession session;
        session.useSerial(SerialSearch::only(sim.startPty()));
        EXPECT_EQ(harness::failed(session.FindDevice()), DeviceError::NotFound) << variant;
        // A complete reply that fails a check is not sent for again.
        EXPECT_EQ(sim.commandCount(Protocol::QueryDeviceInfo), 1) << variant;
        EXPECT_EQ(sim.commandCount(Protocol::QueryCounts), 0) << variant;
    }
}

TEST(PortSearch, GarbledCountReplyReadsAsNoDataUntilATotalWasSeen)
{
    SimulatedOximeter::Config c = harness::config();
    c.faults.garbledCountReplies = 1;
    SimulatedOximeter sim(c);
    sim.addNight(1, 100, 1);
    RecordStore store;
    DeviceSession session;
    session.useSerial(SerialSearch::only(sim.startPty()));
    EXPECT_EQ(harness::failed(session.FindDevice()), DeviceError::NoData);
    EXPECT_EQ(session.takeMessages(), DeviceMessages{DeviceMessage::NoData});
    EXPECT_EQ(harness::failed(session.FindDevice()), std::nullopt);
    EXPECT_EQ(session.totalCount(), sim.frameCount());
    // The total of the earlier reply is kept, so a garbled reply now is a sync error.
    SimulatedOximeter::Config again = harness::config();
    again.faults.garbledCountReplies = 5;
    SimulatedOximeter sim2(again);
    sim2.addNight(1, 100, 1);
    session.useSerial(SerialSearch::only(sim2.startPty()));
    EXPECT_EQ(harness::failed(session.FindDevice()), DeviceError::Protocol);
    EXPECT_EQ(session.takeMessages(), DeviceMessages{DeviceMessage::SyncError});
}

TEST(PortSearch, RefusedPortAddsPermissionHint)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    SimulatedOximeter sim(harness::config());
    const QString pty = sim.startPty();
    ASSERT_EQ(::chmod(QFile::encodeName(pty).constData(), 0), 0);
    RecordStore store;
    DeviceSession session;
    session.useSerial(SerialSearch::only(pty));
    EXPECT_EQ(harness::failed(session.FindDevice()), DeviceError::NotFound);
    EXPECT_EQ(session.messages(), DeviceMessages{DeviceMessage::CantFindDevice});
    EXPECT_EQ(session.permissionDenied(), QStringList{pty});
}

TEST(SerialPortOpen, SaysWhyAPortCannotBeOpened)
{
    SimulatedOximeter sim(harness::config());
    DevFolder dev;
    dev.link(QStringLiteral("ttyUSB0"), sim.startPty());
    dev.plainFile(QStringLiteral("ttyS0"));
    SerialPort holder;
    ASSERT_TRUE(holder.Open(dev.dir.filePath(QStringLiteral("ttyUSB0")), 4800));
    const std::pair<const char *, DeviceError> cases[] = {
        {"ttyUSB7", DeviceError::NotFound}, // no such node
        {"ttyS0", DeviceError::Invalid},    // not a terminal
        {"ttyUSB0", DeviceError::Busy},     // held by another program
    };
    for (const auto &[name, error] : cases) {
        SerialPort port;
        const DeviceResult<> opened = port.Open(dev.dir.filePath(QLatin1String(name)), 4800);
        ASSERT_FALSE(opened) << name;
        EXPECT_EQ(opened.error(), error) << name;
        EXPECT_FALSE(opened.detail().isEmpty()) << name;
        EXPECT_FALSE(port.isOpen()) << name;
    }
}

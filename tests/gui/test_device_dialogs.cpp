// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimulatedOximeter.h"
#include "app/ScriptedPrompts.h"
#include "device/BluetoothAddress.h"
#include "device/BluetoothSearchDialog.h"
#include "device/ClockInput.h"
#include "device/DeleteChoice.h"
#include "device/DeleteDataDialog.h"
#include "device/DemoDevice.h"
#include "device/DeviceSession.h"
#include "device/DownloadRules.h"
#include "device/SerialConnector.h"
#include "device/SetClockDialog.h"
#include "device/SocketLink.h"
#include "model/RecordStore.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace
{

using ClockInput::Field;

const QString kNum = QStringLiteral("Please input a Num !");
const QString kLegal = QStringLiteral("Please input a legal value !");

TEST(ClockInput, RefusesNonDigitsAndValuesOutOfRange)
{
    EXPECT_EQ(ClockInput::checkChange(Field::Hour, QStringLiteral("7a")), kNum);
    EXPECT_EQ(ClockInput::checkChange(Field::Hour, QStringLiteral("-1")), kNum);
    EXPECT_EQ(ClockInput::checkChange(Field::Hour, QStringLiteral(" 7")), kNum);
    EXPECT_EQ(ClockInput::checkChange(Field::Hour, QStringLiteral("24")), kLegal);
    EXPECT_EQ(ClockInput::checkChange(Field::Hour, QStringLiteral("23")), std::nullopt);
    EXPECT_EQ(ClockInput::checkChange(Field::Minute, QStringLiteral("60")), kLegal);
    EXPECT_EQ(ClockInput::checkChange(Field::Minute, QStringLiteral("59")), std::nullopt);
    EXPECT_EQ(ClockInput::checkChange(Field::Second, QStringLiteral("60")), kLegal);
    EXPECT_EQ(ClockInput::checkChange(Field::Second, QStringLiteral("007")), std::nullopt);
    EXPECT_EQ(ClockInput::checkChange(Field::Second, QStringLiteral("99999999999999999999")), kLegal);
    // Empty while typing is fine, but not when the edit is left.
    EXPECT_EQ(ClockInput::checkChange(Field::Hour, QString()), std::nullopt);
    EXPECT_EQ(ClockInput::checkLeave(QString()), kNum);
    EXPECT_EQ(ClockInput::checkLeave(QStringLiteral("0")), std::nullopt);
}

TEST(SetClockDialog, EditsAreCheckedAsTypedAndGiveTheChosenTime)
{
    ScriptedPrompts prompts;
    const QTime now = QTime::currentTime();
    SetClockDialog dlg(prompts);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Set Date And Time"));
    EXPECT_EQ(dlg.dateEdit()->date(), QDate::currentDate());
    EXPECT_LE(std::abs(dlg.edit(Field::Hour)->text().toInt() * 3600 + dlg.edit(Field::Minute)->text().toInt() * 60 +
                       dlg.edit(Field::Second)->text().toInt() - now.msecsSinceStartOfDay() / 1000),
              2);
    EXPECT_TRUE(prompts.shown.isEmpty());

    QLineEdit *hour = dlg.edit(Field::Hour);
    hour->setText(QStringLiteral("7a"));
    EXPECT_EQ(hour->text(), QStringLiteral("0"));
    hour->setText(QStringLiteral("24"));
    EXPECT_EQ(hour->text(), QStringLiteral("0"));
    EXPECT_EQ(prompts.shown, (QStringList{kNum, kLegal}));

    prompts.shown.clear();
    QLineEdit *minute = dlg.edit(Field::Minute);
    minute->setText(QString());
    EXPECT_TRUE(prompts.shown.isEmpty());
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(minute, &out);
    EXPECT_EQ(minute->text(), QStringLiteral("0"));
    EXPECT_EQ(prompts.shown, QStringList{kNum});

    dlg.dateEdit()->setDate(QDate(2010, 7, 21));
    hour->setText(QStringLiteral("14"));
    minute->setText(QStringLiteral("35"));
    dlg.edit(Field::Second)->setText(QStringLiteral("9"));
    EXPECT_EQ(dlg.chosen(), QDateTime(QDate(2010, 7, 21), QTime(14, 35, 9)));
    // The device keeps six bits of year after 2000.
    EXPECT_EQ(dlg.dateEdit()->minimumDate(), QDate(2000, 1, 1));
    EXPECT_EQ(dlg.dateEdit()->maximumDate(), QDate(2063, 12, 31));
}

void holdReadings(RecordStore &store, int id, int count)
{
    SampleRecord s;
    s.id = std::uint8_t(id);
    store.deviceSamples[std::size_t(id - 1)].assign(std::size_t(count), s);
}

TEST(DeleteChoice, DataTypeDiffersFromAllOnlyForASingleId)
{
    RecordStore store;
    store.deviceModel = 2;
    holdReadings(store, 5, 10);
    holdReadings(store, 2, 3);
    holdReadings(store, 128, 1);
    DeleteChoice c(store);
    EXPECT_EQ(c.idItems(),
              (QStringList{QStringLiteral("All"), QStringLiteral("2"), QStringLiteral("5"), QStringLiteral("128")}));
    EXPECT_EQ(DeleteChoice::typeItems(), (QStringList{QStringLiteral("All"), QStringLiteral("SpO2&Pr")}));
    EXPECT_TRUE(c.idSelectable());
    EXPECT_EQ(c.id(), 0);
    c.chooseType(1);
    EXPECT_EQ(c.type(), 0); // snaps back while the ID is "All"
    c.chooseId(2);
    c.chooseType(1);
    EXPECT_EQ(c.id(), 5);
    EXPECT_EQ(c.type(), 1);
    c.chooseId(3);
    EXPECT_EQ(c.id(), 128);
    EXPECT_EQ(c.type(), 1); // another single ID keeps the type
    c.chooseId(0);
    EXPECT_EQ(c.id(), 0);
    EXPECT_EQ(c.type(), 0);
    c.chooseId(9); // out of the list
    EXPECT_EQ(c.idIndex(), 0);
}

TEST(DeleteChoice, OnlyModelsOneTwoAndFourteenEraseASingleId)
{
    RecordStore store;
    holdReadings(store, 4, 2);
    for (int model : {0, 1, 2, 3, 4, 11, 14, 15}) {
        store.deviceModel = model;
        DeleteChoice c(store);
        const bool single = model == 1 || model == 2 || model == 14;
        EXPECT_EQ(c.idSelectable(), single) << model;
        c.chooseId(1);
        EXPECT_EQ(c.id(), single ? 4 : 0) << model;
    }
}

TEST(DeleteDataDialog, TheCombosFollowTheRules)
{
    RecordStore store;
    store.deviceModel = 14;
    holdReadings(store, 7, 5);
    DeleteDataDialog dlg(store);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Delete Data"));
    EXPECT_TRUE(dlg.idCombo()->isEnabled());
    dlg.typeCombo()->setCurrentIndex(1);
    EXPECT_EQ(dlg.typeCombo()->currentIndex(), 0);
    dlg.idCombo()->setCurrentIndex(1);
    dlg.typeCombo()->setCurrentIndex(1);
    EXPECT_EQ(dlg.chosenId(), 7);
    EXPECT_EQ(dlg.chosenType(), 1);
    dlg.idCombo()->setCurrentIndex(0);
    EXPECT_EQ(dlg.typeCombo()->currentIndex(), 0);
    EXPECT_EQ(dlg.chosenType(), 0);
}

TEST(DownloadRules, PhasesDecideTheButtons)
{
    using P = DownloadPhase;
    const auto idle = DownloadRules::buttonsFor(P::Idle);
    EXPECT_TRUE(idle.start && idle.deleteData && idle.setDateAndTime && idle.cancel && idle.windowEnabled);
    EXPECT_FALSE(idle.stop || idle.busyCursor);
    const auto transferring = DownloadRules::buttonsFor(P::Transferring);
    EXPECT_TRUE(transferring.stop && transferring.cancel && transferring.windowEnabled);
    EXPECT_FALSE(transferring.start || transferring.deleteData || transferring.setDateAndTime);
    const auto maintenance = DownloadRules::buttonsFor(P::Maintenance);
    EXPECT_FALSE(maintenance.windowEnabled);
    EXPECT_TRUE(maintenance.busyCursor);
    // A search can be cancelled, and nothing else.
    const auto searching = DownloadRules::buttonsFor(P::Searching);
    EXPECT_TRUE(searching.cancel && searching.windowEnabled && searching.busyCursor);
    EXPECT_FALSE(searching.start || searching.stop || searching.deleteData || searching.setDateAndTime);
    const auto ending = DownloadRules::buttonsFor(P::Ending);
    EXPECT_FALSE(ending.start || ending.stop || ending.deleteData || ending.setDateAndTime || ending.cancel);
    EXPECT_TRUE(ending.busyCursor);
}

TEST(DownloadRules, StartAtOnceAndManualPorts)
{
    const PortLists none;
    const PortLists ports = SplitPorts({QStringLiteral("Bluetooth link (rfcomm0)"), QStringLiteral("Modem (ttyS1)"),
                                        QStringLiteral("CP2102 bridge (ttyUSB0)"), QStringLiteral("CP2104 (ttyUSB1)")});
    EXPECT_TRUE(DownloadRules::startsAtOnce(LinkMode::Serial, none));
    EXPECT_FALSE(DownloadRules::startsAtOnce(LinkMode::Bluetooth, none));
    EXPECT_TRUE(DownloadRules::startsAtOnce(LinkMode::Bluetooth, ports));
    EXPECT_EQ(DownloadRules::manualPortNames(LinkMode::Serial, ports),
              (QStringList{QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1"), QStringLiteral("ttyS1")}));
    EXPECT_EQ(DownloadRules::manualPortNames(LinkMode::Bluetooth, ports), QStringList{QStringLiteral("rfcomm0")});
}

TEST(BluetoothAddress, AcceptsDeviceAddressesAndTheSimulatorsSocket)
{
    EXPECT_TRUE(BluetoothAddress::isValid(QStringLiteral("00:1A:7D:DA:71:13")));
    EXPECT_TRUE(BluetoothAddress::isValid(QStringLiteral("aa:bb:cc:dd:ee:ff")));
    EXPECT_TRUE(BluetoothAddress::isValid(QStringLiteral("unix:/tmp/oxi.sock")));
    EXPECT_FALSE(BluetoothAddress::isValid(QStringLiteral("unix:")));
    EXPECT_FALSE(BluetoothAddress::isValid(QStringLiteral("00:1A:7D:DA:71")));
    EXPECT_FALSE(BluetoothAddress::isValid(QStringLiteral("00:1A:7D:DA:71:1G")));
    EXPECT_FALSE(BluetoothAddress::isValid(QString()));
    const QString line =
        BluetoothAddress::listLine(QStringLiteral("Oximeter (left)"), QStringLiteral("00:1A:7D:DA:71:13"));
    EXPECT_EQ(BluetoothAddress::fromListLine(line), QStringLiteral("00:1A:7D:DA:71:13"));
    EXPECT_EQ(BluetoothAddress::listLine(QString(), QStringLiteral("00:1A:7D:DA:71:13")),
              QStringLiteral("00:1A:7D:DA:71:13"));
    EXPECT_EQ(BluetoothAddress::fromListLine(QStringLiteral("00:1A:7D:DA:71:13")), QStringLiteral("00:1A:7D:DA:71:13"));
}

TEST(BluetoothSearchDialog, ConnectsATypedSimulatorAddress)
{
    SimulatedOximeter sim(SimulatedOximeter::Config{});
    const QString path =
        QDir::tempPath() + QStringLiteral("/quellix-bt-test-%1.sock").arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(sim.startUnix(path));
    BluetoothSearchDialog dlg(QStringLiteral("unix:") + path);
    if (!dlg.adapterPresent()) {
        EXPECT_TRUE(dlg.statusLabel()->text().contains(QLatin1String("No Bluetooth adapter")));
    }
    dlg.addressEdit()->setText(QStringLiteral("not an address"));
    dlg.connectChosen();
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_EQ(dlg.link(), nullptr);
    dlg.addressEdit()->setText(QStringLiteral("unix:") + path);
    dlg.connectChosen();
    ASSERT_TRUE(QTest::qWaitFor([&dlg] { return dlg.result() == QDialog::Accepted; }, 5000));
    ASSERT_NE(dlg.link(), nullptr);
    EXPECT_TRUE(dlg.link()->IsConnected());
}

TEST(BluetoothSearchDialog, ClosingWhileConnectingDoesNotWaitForTheConnect)
{
    // A listener that accepts nobody: the connect would run into its long limit.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.sock"));
    sockaddr_un sa{};
    sa.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    std::memcpy(sa.sun_path, native.constData(), std::size_t(native.size()));
    const int listenFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(listenFd, reinterpret_cast<const sockaddr *>(&sa), sizeof(sa)), 0);
    ASSERT_EQ(::listen(listenFd, 0), 0);
    std::vector<int> pending;
    for (int i = 0; i < 64; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&sa), sizeof(sa)) != 0) {
            ::close(fd);
            break;
        }
        pending.push_back(fd);
    }
    {
        BluetoothSearchDialog dlg(QStringLiteral("unix:") + path);
        dlg.show();
        dlg.connectChosen();
        EXPECT_FALSE(dlg.isEnabled()); // connecting
        QTest::qWait(100);
        dlg.close(); // as the window manager does
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(dlg.link(), nullptr);
    } // the destructor joins the connecting thread, which gave up at once
    for (int fd : pending)
        ::close(fd);
    ::close(listenFd);
}

TEST(DemoDevice, HoldsRealisticNightsOnAPortTheSearchFinds)
{
    DemoDevice demo;
    ASSERT_TRUE(demo.start());
    EXPECT_TRUE(demo.portName().startsWith(QLatin1String("pts/")));
    EXPECT_TRUE(demo.bluetoothAddress().startsWith(QLatin1String("unix:")));
    int total = 0;
    for (const auto &n : DemoDevice::kNights) {
        const auto r = demo.serialDevice().readings(n.id);
        ASSERT_EQ(int(r.size()), n.seconds);
        EXPECT_GE(n.seconds, 3 * 3600); // whole nights, not a few readings
        total += n.seconds;
    }
    EXPECT_EQ(demo.serialDevice().totalReadings(), total);

    RecordStore store;
    DeviceSession session;
    session.useSerial(SerialSearch::only(demo.portName()));
    EXPECT_TRUE(session.FindDevice().ok());
    EXPECT_EQ(session.frameCount(), demo.serialDevice().frameCount());
    session.TransferEnd();
}

} // namespace

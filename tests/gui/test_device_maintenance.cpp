// SPDX-License-Identifier: GPL-3.0-or-later
#include "download_fixture.h"

#include "device/DeleteDataDialog.h"
#include "device/DeletingDataWindow.h"
#include "device/SocketLink.h"
#include "test_env.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace
{

constexpr std::uint8_t kStop = 0xF3;
const QString kNotFound = QStringLiteral("Can't find right COM or the device is power off !");

class Maintenance : public DownloadFixture
{
protected:
    // A window left idle by a device without readings.
    DownloadDialog *idleWindow()
    {
        DownloadDialog *w = openWindow();
        EXPECT_TRUE(waitShown(QStringLiteral("no data!")));
        EXPECT_TRUE(waitIdle(w));
        EXPECT_TRUE(QTest::qWaitFor([this] { return commands(kStop) == 2; }, 5000));
        prompts.shown.clear();
        return w;
    }
    static std::optional<QDateTime> clock2010() { return QDateTime(QDate(2010, 7, 21), QTime(14, 35, 9)); }
};

TEST_F(Maintenance, SetDateAndTimeSendsBothCommandsAndReportsSuccess)
{
    startDevice(config(), {});
    DownloadDialog *w = idleWindow();
    w->setClockChooser(&Maintenance::clock2010);
    QTest::mouseClick(w->clockButton(), Qt::LeftButton);
    EXPECT_EQ(w->phase(), DownloadPhase::Maintenance);
    EXPECT_FALSE(w->isEnabled());
    ASSERT_TRUE(waitShown(QStringLiteral("Set Date and Time Succeed !")));
    ASSERT_TRUE(waitIdle(w));
    const std::vector<QByteArray> sent = sim->commands();
    const QByteArray date = bytes({0x55, 0xAA, 0xF7, 0xCA, 0x55, 0x16});
    const QByteArray time = bytes({0x55, 0xAA, 0xF8, 0x37, 0x26, 0x55});
    const auto at = [&sent](const QByteArray &c) { return std::find(sent.begin(), sent.end(), c) - sent.begin(); };
    ASSERT_LT(at(date), std::ptrdiff_t(sent.size()));
    ASSERT_LT(at(time), std::ptrdiff_t(sent.size()));
    EXPECT_LT(at(date), at(time));
    EXPECT_EQ(sim->clock(), QDateTime(QDate(2010, 7, 21), QTime(14, 35, 9)));
    // The transfer end follows the command.
    EXPECT_EQ(commands(kStop), 4);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Set Date and Time Succeed !")});
    EXPECT_TRUE(w->isEnabled());
    EXPECT_TRUE(w->startButton()->isEnabled());
}

TEST_F(Maintenance, AWrongAcknowledgementTagStopsBeforeSetTime)
{
    auto c = config();
    c.faults.clockAckTag = 0xFFFA;
    startDevice(c, {});
    DownloadDialog *w = idleWindow();
    w->setClockChooser(&Maintenance::clock2010);
    QTest::mouseClick(w->clockButton(), Qt::LeftButton);
    ASSERT_TRUE(waitShown(QStringLiteral("Set Date and Time Error !")));
    ASSERT_TRUE(waitIdle(w));
    EXPECT_EQ(commands(0xF7), 1);
    EXPECT_EQ(commands(0xF8), 0);
    EXPECT_FALSE(sim->clock().isValid());
    EXPECT_FALSE(prompts.shown.contains(QStringLiteral("Set Date and Time Succeed !")));
}

TEST_F(Maintenance, NoPortAnsweringTheClockCommandSaysSo)
{
    DownloadDialog *w = openWindow();
    ASSERT_TRUE(waitShown(kNotFound));
    ASSERT_TRUE(waitIdle(w));
    prompts.shown.clear();
    w->setClockChooser(&Maintenance::clock2010);
    QTest::mouseClick(w->clockButton(), Qt::LeftButton);
    ASSERT_TRUE(waitShown(kNotFound));
    ASSERT_TRUE(waitIdle(w));
    EXPECT_EQ(prompts.shown, QStringList{kNotFound});
}

TEST_F(Maintenance, DeletingOneIdOfOneTypeSendsItsCommandAndShowsTheWaitingWindow)
{
    startDevice(config(), {{2, 300}, {5, 400}});
    DownloadDialog *w = openWindow();
    ASSERT_TRUE(waitFinished(w));
    prompts.shown.clear();
    w->setDeleteChooser([] {
        return std::optional<DeleteRequest>(DeleteRequest{5, Protocol::DeleteDataType::Spo2AndPulse});
    });

    bool waitingShown = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&waitingShown] {
        for (QWidget *t : QApplication::topLevelWidgets())
            if (qobject_cast<DeletingDataWindow *>(t) && t->isVisible())
                waitingShown = true;
    });
    probe.start(10);
    QTest::mouseClick(w->deleteButton(), Qt::LeftButton);
    ASSERT_TRUE(waitShown(QStringLiteral("Device data cleared !")));
    ASSERT_TRUE(waitIdle(w));
    probe.stop();
    EXPECT_TRUE(waitingShown);
    // Closed with the end of the command, before the window went idle.
    for (QWidget *t : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<DeletingDataWindow *>(t) && t->isVisible());

    EXPECT_TRUE(sent(bytes({0x55, 0xAA, 0xF4, 0x10, 0x05, 0x09})));
    EXPECT_TRUE(sim->readings(5).empty());
    EXPECT_EQ(sim->readings(2).size(), 300u);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Device data cleared !")});
    EXPECT_EQ(commands(kStop), 4); // after the download and after the delete
    // The downloaded list stays and can still be opened.
    EXPECT_EQ(w->idList()->count(), 2);
    EXPECT_EQ(w->startButton()->text(), QStringLiteral("Done"));
}

TEST_F(Maintenance, AModelThreeDeviceErasesEverythingThroughTheDialog)
{
    startDevice(config(3), {{4, 150}, {6, 100}});
    DownloadDialog *w = openWindow();
    ASSERT_TRUE(waitFinished(w));
    ASSERT_EQ(store.deviceModel, 3);
    // Model 3 sends each record's bytes reversed and each ID newest first.
    ASSERT_EQ(store.deviceSampleCount(4), 150);
    EXPECT_EQ(store.deviceSamples[3].front(), sim->readings(4).back());
    EXPECT_EQ(store.deviceSamples[3].back(), sim->readings(4).front());
    prompts.shown.clear();

    // The real dialog: its ID list is disabled for this model, so only "All" remains.
    bool idListDisabled = false;
    QStringList idItems;
    QTimer::singleShot(0, [&] {
        auto *dlg = qobject_cast<DeleteDataDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        idListDisabled = !dlg->idCombo()->isEnabled();
        for (int i = 0; i < dlg->idCombo()->count(); ++i)
            idItems << dlg->idCombo()->itemText(i);
        dlg->idCombo()->setCurrentIndex(1);   // refused
        dlg->typeCombo()->setCurrentIndex(1); // snaps back: the ID is "All"
        dlg->accept();
    });
    QTest::mouseClick(w->deleteButton(), Qt::LeftButton);
    EXPECT_TRUE(idListDisabled);
    EXPECT_EQ(idItems, (QStringList{QStringLiteral("All"), QStringLiteral("4"), QStringLiteral("6")}));
    ASSERT_TRUE(waitShown(QStringLiteral("Device data cleared !")));
    ASSERT_TRUE(waitIdle(w));
    EXPECT_TRUE(sent(bytes({0x55, 0xAA, 0xF4, 0x00, 0x00, 0xF4})));
    EXPECT_EQ(sim->totalReadings(), 0);
}

TEST_F(Maintenance, DeletingFromADeviceWithoutDataSaysNoData)
{
    startDevice(config(), {});
    DownloadDialog *w = idleWindow();
    w->setDeleteChooser([] { return std::optional<DeleteRequest>(DeleteRequest{}); });
    QTest::mouseClick(w->deleteButton(), Qt::LeftButton);
    ASSERT_TRUE(waitShown(QStringLiteral("no data!")));
    ASSERT_TRUE(waitIdle(w));
    EXPECT_EQ(commands(0xF4), 0);
    // Cancelling the dialog does nothing at all: the next command is the first
    // the device hears after it.
    const std::size_t before = sim->commands().size();
    w->setDeleteChooser([] { return std::optional<DeleteRequest>(); });
    QTest::mouseClick(w->deleteButton(), Qt::LeftButton);
    EXPECT_EQ(w->phase(), DownloadPhase::Idle);
    w->setClockChooser(&Maintenance::clock2010);
    QTest::mouseClick(w->clockButton(), Qt::LeftButton);
    ASSERT_TRUE(waitShown(QStringLiteral("Set Date and Time Succeed !")));
    ASSERT_TRUE(waitIdle(w));
    const std::vector<QByteArray> after = sim->commands();
    ASSERT_GT(after.size(), before);
    EXPECT_EQ(std::uint8_t(after[before][2]), 0xFD); // the clock command's handshake
    EXPECT_EQ(commands(0xF4), 0);
}

class BluetoothDownload : public DownloadFixture
{
protected:
    QString socketPath;

    void startSocketDevice(SimulatedOximeter::Config c, const std::map<int, int> &counts)
    {
        sim = std::make_unique<SimulatedOximeter>(c);
        std::uint32_t seed = 9;
        for (const auto &[id, count] : counts)
            sim->addNight(id, count, seed++);
        socketPath = testenv::root() + QStringLiteral("/oxi.sock");
        ASSERT_TRUE(sim->startUnix(socketPath));
        frame.deviceCommands().setBluetoothPicker([this]() -> std::shared_ptr<SocketLink> {
            auto link = MakeSocketLink(QStringLiteral("unix:") + socketPath);
            if (!link->Connect(QStringLiteral("unix:") + socketPath))
                return nullptr;
            return link;
        });
    }
};

TEST_F(BluetoothDownload, WithoutBluetoothPortsTheWindowWaitsForStart)
{
    startSocketDevice(config(), {{8, 500}});
    frame.action(CommandId::FindBluetoothRadio)->trigger();
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("CONNECT SUCCEED")});
    DownloadDialog *w = frame.deviceCommands().downloadWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(context().linkMode, LinkMode::Bluetooth);
    // A start at once would be queued by now.
    QCoreApplication::processEvents();
    EXPECT_EQ(w->phase(), DownloadPhase::Idle);
    EXPECT_TRUE(sim->commands().empty());
    EXPECT_EQ(prompts.shown.size(), 1);

    QTest::mouseClick(w->startButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFinished(w));
    ASSERT_EQ(w->idList()->count(), 1);
    EXPECT_EQ(w->idList()->item(0)->text(), QStringLiteral("ID   8     total        500 Groups"));
    w->idList()->setCurrentRow(0);
    QTest::mouseClick(w->startButton(), Qt::LeftButton);
    EXPECT_EQ(store.currentSampleCount(), 500);
    EXPECT_EQ(frame.displayMode(), DisplayMode::Trend);
}

TEST_F(BluetoothDownload, ARecordingOnScreenSurvivesTheClockCommandAndCancel)
{
    startSocketDevice(config(), {{8, 50}});
    ASSERT_TRUE(frame.openSavedFile(testenv::dataFile(QStringLiteral("valid-night-id7.dat"))));
    const std::vector<SampleRecord> before = store.currentSamples;
    ASSERT_GT(before.size(), 0u);
    prompts.shown.clear();

    frame.action(CommandId::FindBluetoothRadio)->trigger();
    DownloadDialog *w = frame.deviceCommands().downloadWindow();
    ASSERT_NE(w, nullptr);

    // Cancel in the clock dialog still runs the transfer end: two stop commands.
    w->setClockChooser([] { return std::optional<QDateTime>(); });
    QTest::mouseClick(w->clockButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->phase() == DownloadPhase::Idle && commands(kStop) == 2; }, 5000));
    EXPECT_EQ(commands(0xF7), 0);

    w->setClockChooser([] { return std::optional<QDateTime>(QDateTime(QDate(2026, 12, 7), QTime(20, 15, 0))); });
    QTest::mouseClick(w->clockButton(), Qt::LeftButton);
    ASSERT_TRUE(waitShown(QStringLiteral("Set Date and Time Succeed !")));
    ASSERT_TRUE(waitIdle(w));
    EXPECT_EQ(sim->clock(), QDateTime(QDate(2026, 12, 7), QTime(20, 15, 0)));
    EXPECT_EQ(store.currentSamples, before);

    QTest::mouseClick(w->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(store.currentSamples, before);
    EXPECT_EQ(store.currentSampleCount(), int(before.size()));
    EXPECT_EQ(context().linkMode, LinkMode::Serial);
    // The recording stays on screen with its commands.
    EXPECT_EQ(frame.displayMode(), DisplayMode::Trend);
    EXPECT_FALSE(frame.dataCommandsDisabled());
}

TEST_F(BluetoothDownload, AFailedSearchLeavesTheLinkModeAtBluetoothAndOpensNothing)
{
    frame.deviceCommands().setBluetoothPicker([] { return std::shared_ptr<SocketLink>(); });
    frame.action(CommandId::FindBluetoothRadio)->trigger();
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(frame.deviceCommands().downloadWindow(), nullptr);
    EXPECT_EQ(context().linkMode, LinkMode::Bluetooth);
    // So a device arrival opens nothing until "New data capture" is used.
    frame.deviceCommands().deviceArrived();
    EXPECT_EQ(frame.deviceCommands().downloadWindow(), nullptr);
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
#include "download_fixture.h"

#include "ReplayDevice.h"
#include "app/Settings.h"
#include "device/DeviceSession.h"
#include "device/DownloadEngine.h"
#include "device/RawDump.h"
#include "device/SerialConnector.h"
#include "device/SerialPort.h"
#include "device/SocketLink.h"
#include "test_env.h"
#include "views/TrendView.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace
{

using namespace CommandId;

constexpr std::uint8_t kStop = 0xF3;

class DownloadWindow : public DownloadFixture
{
};

TEST_F(DownloadWindow, WholeDownloadListsEachIdAndDoneMakesTheChosenOneCurrentInTrend)
{
    startDevice(config(), {{3, 700}, {12, 1100}});
    // A recording on screen before the download must go.
    ASSERT_TRUE(frame.openSavedFile(testenv::dataFile(QStringLiteral("valid-night-id7.dat"))));
    prompts.shown.clear();

    DownloadDialog *w = openWindow();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(waitFinished(w));
    const int frames = sim->frameCount();
    EXPECT_EQ(frames, 29); // 1,800 readings, 64 a frame

    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Connect succeed! Total 29 Frames!")});
    EXPECT_EQ(w->highestProgress(), frames);
    EXPECT_EQ(w->progressBar()->value(), 0);
    ASSERT_EQ(w->idList()->count(), 2);
    EXPECT_EQ(w->idList()->item(0)->text(), QStringLiteral("ID   3     total        700 Groups"));
    EXPECT_EQ(w->idList()->item(1)->text(), QStringLiteral("ID  12     total       1100 Groups"));
    EXPECT_EQ(w->startButton()->text(), QStringLiteral("Done"));
    EXPECT_TRUE(w->startButton()->isEnabled());
    EXPECT_FALSE(w->stopButton()->isEnabled());
    EXPECT_TRUE(w->deleteButton()->isEnabled());
    EXPECT_TRUE(w->clockButton()->isEnabled());
    // The transfer end told the device to stop, twice.
    EXPECT_EQ(commands(kStop), 2);
    // The search closed the old view; the data commands came back with the data.
    EXPECT_EQ(frame.displayMode(), DisplayMode::None);
    EXPECT_FALSE(frame.dataCommandsDisabled());
    EXPECT_FALSE(frame.otherIdDisabled());

    w->idList()->setCurrentRow(1);
    QPointer<DownloadDialog> guard(w);
    QTest::mouseClick(w->startButton(), Qt::LeftButton);
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(w->chosenId(), 12);
    EXPECT_TRUE(QTest::qWaitFor([&guard] { return guard.isNull(); }, 2000));

    const std::vector<SampleRecord> expected = sim->readings(12);
    ASSERT_EQ(store.currentSampleCount(), 1100);
    EXPECT_EQ(store.currentSamples.front(), expected.front());
    EXPECT_EQ(store.currentSamples.back(), expected.back());
    EXPECT_EQ(store.currentPatient.idNumber, 12);
    EXPECT_EQ(frame.displayMode(), DisplayMode::Trend);
    EXPECT_NE(qobject_cast<TrendView *>(frame.activeView()), nullptr);
    EXPECT_EQ(frame.deviceCommands().downloadWindow(), nullptr);
}

TEST_F(DownloadWindow, DoneWithoutASelectionAsksForOneAndStaysOpen)
{
    startDevice(config(), {{4, 200}});
    DownloadDialog *w = openWindow();
    ASSERT_TRUE(waitFinished(w));
    prompts.shown.clear();
    QTest::mouseClick(w->startButton(), Qt::LeftButton);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Please select patient ID")});
    EXPECT_EQ(frame.deviceCommands().downloadWindow(), w);
    EXPECT_EQ(w->result(), 0);
    EXPECT_EQ(store.currentSampleCount(), 0);
    // A selection then goes through.
    w->idList()->setCurrentRow(0);
    QTest::mouseClick(w->startButton(), Qt::LeftButton);
    EXPECT_EQ(store.currentSampleCount(), 200);
}

TEST_F(DownloadWindow, StopMidTransferReturnsToStartAndStartDownloadsAgain)
{
    auto c = config(2, 64);   // 8 readings a frame: 75 frames
    c.faults.stallFrame = 20; // two idle periods on frame 20 give time to press Stop
    c.faults.stallRequests = 2;
    startDevice(c, {{9, 600}});
    DownloadDialog *w = openWindow();
    ASSERT_TRUE(QTest::qWaitFor([w] { return w->phase() == DownloadPhase::Transferring && w->highestProgress() >= 20; },
                                20000));
    EXPECT_TRUE(w->stopButton()->isEnabled());
    EXPECT_FALSE(w->startButton()->isEnabled());
    EXPECT_FALSE(w->deleteButton()->isEnabled());
    EXPECT_FALSE(w->clockButton()->isEnabled());
    QTest::mouseClick(w->stopButton(), Qt::LeftButton);
    ASSERT_TRUE(waitIdle(w));
    EXPECT_EQ(commands(kStop), 2);
    EXPECT_EQ(w->idList()->count(), 0);
    EXPECT_EQ(w->startButton()->text(), QStringLiteral("Start"));
    EXPECT_TRUE(w->startButton()->isEnabled());
    EXPECT_FALSE(w->stopButton()->isEnabled());
    EXPECT_EQ(w->progressBar()->value(), 0);
    EXPECT_FALSE(prompts.shown.contains(QStringLiteral("Read data timeout,please retry")));
    // Nothing of the stopped transfer turns up later: all it reported was
    // queued before its end, which has arrived.
    QCoreApplication::processEvents();
    EXPECT_EQ(w->idList()->count(), 0);
    EXPECT_FALSE(w->finishedOnce());

    QTest::mouseClick(w->startButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFinished(w));
    ASSERT_EQ(w->idList()->count(), 1);
    EXPECT_EQ(w->idList()->item(0)->text(), QStringLiteral("ID   9     total        600 Groups"));
    EXPECT_EQ(store.deviceSampleCount(9), 600); // nothing of the first try counted twice
}

TEST_F(DownloadWindow, TimeoutStillListsWhatArrivedAndOffersDone)
{
    auto c = config();
    c.faults.silentFromFrame = 10; // 640 of 700 readings arrive
    startDevice(c, {{3, 700}});
    DownloadDialog *w = openWindow();
    ASSERT_TRUE(waitFinished(w));
    EXPECT_TRUE(prompts.shown.contains(QStringLiteral("Read data timeout,please retry")));
    ASSERT_EQ(w->idList()->count(), 1);
    EXPECT_EQ(w->idList()->item(0)->text(), QStringLiteral("ID   3     total        640 Groups"));
    EXPECT_EQ(w->startButton()->text(), QStringLiteral("Done"));
    EXPECT_EQ(commands(kStop), 2);
    w->idList()->setCurrentRow(0);
    QTest::mouseClick(w->startButton(), Qt::LeftButton);
    EXPECT_EQ(store.currentSampleCount(), 640);
    EXPECT_EQ(frame.displayMode(), DisplayMode::Trend);
}

TEST_F(DownloadWindow, AShortDownloadIsCheckedAndItsRawDumpReplaysTheSameShortfall)
{
    auto c = config();
    c.faults.silentFromFrame = 10;
    startDevice(c, {{3, 700}});
    DownloadDialog *w = openWindow();
    EXPECT_FALSE(w->saveDumpButton()->isEnabled()); // nothing has been exchanged yet
    ASSERT_TRUE(waitFinished(w));
    const QStringList check = w->checkLabel()->text().split(u'\n');
    ASSERT_EQ(check.size(), 3);
    EXPECT_EQ(check[0], QStringLiteral("Frames announced: 11, arrived: 10"));
    EXPECT_TRUE(check[1].startsWith(QLatin1String("ID 3: first reading "))) << check[1].toStdString();
    EXPECT_EQ(check[2], QStringLiteral("1 nights archived, 0 already in the archive."));
    // The described list line is unchanged beside it.
    EXPECT_EQ(w->idList()->item(0)->text(), QStringLiteral("ID   3     total        640 Groups"));

    ASSERT_TRUE(w->saveDumpButton()->isEnabled());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("field.dump"));
    prompts.files = {dir.filePath(QStringLiteral("no/such/dir/x.dump")), path};
    prompts.shown.clear();
    QTest::mouseClick(w->saveDumpButton(), Qt::LeftButton);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].startsWith(QLatin1String("Cannot write "))) << prompts.shown[0].toStdString();
    QTest::mouseClick(w->saveDumpButton(), Qt::LeftButton);
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.lastRequest.defaultSuffix, QStringLiteral("dump"));
    const auto events = RawDump::load(path);
    ASSERT_TRUE(events.ok()) << events.detail().toStdString();

    // On a desk: the replayed device ends the download the same way.
    SimulatedOximeter replaying(config());
    replaying.setReplay(std::make_shared<ReplayDevice>(events.value()));
    DeviceSession session;
    session.useSerial(SerialSearch::only(replaying.startPty()));
    DownloadEngine engine(session);
    const DownloadResult again = engine.run({});
    EXPECT_EQ(again.status, DownloadStatus::Timeout);
    EXPECT_EQ(again.framesAnnounced, 11);
    EXPECT_EQ(again.framesReceived, 10);
    EXPECT_EQ(again.readingCount(3), 640);
}

TEST_F(DownloadWindow, ADeviceWithoutDataSaysSoAndEndsTheTransfer)
{
    startDevice(config(), {});
    DownloadDialog *w = openWindow();
    ASSERT_TRUE(waitShown(QStringLiteral("no data!")));
    ASSERT_TRUE(waitIdle(w));
    EXPECT_TRUE(QTest::qWaitFor([this] { return commands(kStop) == 2; }, 5000));
    EXPECT_EQ(w->idList()->count(), 0);
    EXPECT_EQ(w->startButton()->text(), QStringLiteral("Start"));
    EXPECT_TRUE(w->startButton()->isEnabled());
    EXPECT_EQ(commands(0xFA), 0); // no frame was asked for
    EXPECT_TRUE(frame.dataCommandsDisabled());
}

TEST_F(DownloadWindow, NoPortAtAllSaysTheDeviceCannotBeFound)
{
    DownloadDialog *w = openWindow();
    ASSERT_TRUE(waitShown(QStringLiteral("Can't find right COM or the device is power off !")));
    ASSERT_TRUE(waitIdle(w));
    EXPECT_TRUE(w->startButton()->isEnabled());
    EXPECT_TRUE(w->deleteButton()->isEnabled());
    EXPECT_TRUE(w->clockButton()->isEnabled());
    EXPECT_FALSE(w->stopButton()->isEnabled());
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(w->idList()->count(), 0);
    // Cancel with nothing on screen greys the data commands again.
    QTest::mouseClick(w->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(w->result(), QDialog::Rejected);
    EXPECT_TRUE(frame.dataCommandsDisabled());
    EXPECT_TRUE(frame.otherIdDisabled());
}

TEST_F(DownloadWindow, TheSearchRunsWhileTheMainWindowKeepsWorking)
{
    auto c = config();
    c.faults.silent = true; // every handshake waits out its re-sends
    startDevice(c, {{3, 100}});
    DownloadDialog *w = openWindow();
    ASSERT_TRUE(QTest::qWaitFor([w] { return w->phase() == DownloadPhase::Searching; }, 2000));
    // Only Cancel can be pressed while the device is searched for.
    EXPECT_TRUE(w->cancelButton()->isEnabled());
    EXPECT_FALSE(w->startButton()->isEnabled() || w->deleteButton()->isEnabled() || w->clockButton()->isEnabled());
    EXPECT_EQ(w->cursor().shape(), Qt::BusyCursor);
    // The event loop runs: timers fire while the device is being searched.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(20);
    // Ten ticks long before the search could have ended (three seconds of re-sends).
    ASSERT_TRUE(QTest::qWaitFor([&ticks] { return ticks >= 10; }, 20000));
    EXPECT_EQ(w->phase(), DownloadPhase::Searching);
    ASSERT_TRUE(waitShown(QStringLiteral("Can't find right COM or the device is power off !")));
    EXPECT_TRUE(w->isEnabled());
    EXPECT_NE(w->cursor().shape(), Qt::BusyCursor);
}

TEST_F(DownloadWindow, CancelStopsARunningSearchAndClosesTheWindow)
{
    auto c = config();
    c.faults.silent = true; // the handshake would wait out five re-sends
    startDevice(c, {{3, 100}});
    DownloadDialog *w = openWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return sim->commandCount(0xFD) >= 1; }, 3000));
    ASSERT_EQ(w->phase(), DownloadPhase::Searching);
    QTest::mouseClick(w->cancelButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return frame.deviceCommands().downloadWindow() == nullptr; }, 3000));
    // The handshake was cut short, nothing was reported, and the port is free.
    EXPECT_LE(sim->commandCount(0xFD), 2);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'|').toStdString();
    SerialPort probe;
    EXPECT_TRUE(probe.Open(portPath, 4800));
}

TEST_F(DownloadWindow, OneWindowOnlyWhateverOpensIt)
{
    DownloadDialog *w = openWindow();
    ASSERT_NE(w, nullptr);
    // A device plugged in while the window is open opens no second one.
    frame.deviceCommands().deviceArrived();
    frame.action(NewDataCapture)->trigger();
    EXPECT_EQ(frame.deviceCommands().downloadWindow(), w);
    EXPECT_EQ(frame.findChildren<DownloadDialog *>().size(), 1);
    ASSERT_TRUE(waitIdle(w));
    ASSERT_TRUE(waitShown(QStringLiteral("Can't find right COM or the device is power off !")));
    QTest::mouseClick(w->cancelButton(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([this] { return frame.deviceCommands().downloadWindow() == nullptr; }, 2000));

    // On the Bluetooth link a port appearing opens nothing.
    context().linkMode = LinkMode::Bluetooth;
    frame.deviceCommands().deviceArrived();
    EXPECT_EQ(frame.deviceCommands().downloadWindow(), nullptr);
    // A device arrival on the serial link opens the window by itself.
    context().linkMode = LinkMode::Serial;
    frame.deviceCommands().deviceArrived();
    EXPECT_NE(frame.deviceCommands().downloadWindow(), nullptr);
}

TEST_F(DownloadWindow, ArrivalDuringAnotherModalWindowWaitsUntilItCloses)
{
    startDevice(config(), {{4, 300}});
    ASSERT_TRUE(frame.openSavedFile(testenv::dataFile(QStringLiteral("valid-night-id7.dat"))));
    const DisplayMode shownMode = frame.displayMode();
    ASSERT_NE(shownMode, DisplayMode::None);
    // A print preview or file dialog: modal, in its own event loop, on top of the view.
    QDialog other(&frame);
    bool openedInside = false;
    QTimer::singleShot(0, &other, [&] {
        frame.deviceCommands().deviceArrived();
        QTest::qWait(600); // retries come and go while it is open
        openedInside = frame.deviceCommands().downloadWindow() != nullptr || frame.displayMode() != shownMode;
        other.reject();
    });
    other.exec();
    EXPECT_FALSE(openedInside);
    EXPECT_EQ(frame.displayMode(), shownMode);
    // Once it has closed, the arrival opens the download as usual.
    ASSERT_TRUE(QTest::qWaitFor([this] { return frame.deviceCommands().downloadWindow() != nullptr; }, 3000));
    ASSERT_TRUE(waitFinished(frame.deviceCommands().downloadWindow()));
    EXPECT_EQ(frame.deviceCommands().downloadWindow()->idList()->count(), 1);
}

TEST_F(DownloadWindow, ExtendShowsTheManualPortListAndAChoiceWritesPort)
{
    const QString bridge = QStringLiteral("CP2102 USB to UART Bridge (ttyUSB3)");
    const QString other = QStringLiteral("Modem (ttyS4)");
    const QString bt = QStringLiteral("Bluetooth serial (rfcomm0)");
    context().enumeratePorts = [=] { return SplitPorts({other, bt, bridge}); };
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("port"), QStringLiteral("5")));
    DownloadDialog *w = openWindow();
    ASSERT_TRUE(waitShown(QStringLiteral("Can't find right COM or the device is power off !")));
    ASSERT_TRUE(waitIdle(w));

    QPushButton *extend = w->extendButton();
    EXPECT_FALSE(extend->isVisibleTo(w));
    EXPECT_FALSE(extend->isEnabled());
    EXPECT_FALSE(w->portCombo()->isVisibleTo(w));
    w->show();
    const int standardHeight = w->height();
    extend->setVisible(true);
    extend->setEnabled(true);
    QTest::mouseClick(extend, Qt::LeftButton);
    EXPECT_TRUE(w->extended());
    EXPECT_EQ(extend->text(), QStringLiteral("<<Standard"));
    EXPECT_TRUE(w->portCombo()->isVisible());
    EXPECT_GT(w->height(), standardHeight);
    QStringList items;
    for (int i = 0; i < w->portCombo()->count(); ++i)
        items << w->portCombo()->itemText(i);
    EXPECT_EQ(items, (QStringList{QStringLiteral("ttyUSB3"), QStringLiteral("ttyS4")}));
    // Filling the list is no choice; choosing is.
    EXPECT_EQ(ReadSetupInt(QStringLiteral("port"), -1), 5);
    w->portCombo()->setCurrentIndex(1);
    EXPECT_EQ(ReadSetupInt(QStringLiteral("port"), -1), 0); // no leading digits

    QTest::mouseClick(extend, Qt::LeftButton);
    EXPECT_FALSE(w->extended());
    EXPECT_EQ(extend->text(), QStringLiteral("Extend >>"));
    EXPECT_FALSE(w->portCombo()->isVisible());
}

} // namespace

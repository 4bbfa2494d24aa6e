// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ScriptedPrompts.h"
#include "model/RecordStore.h"
#include "shell/BackgroundView.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"
#include "test_env.h"
#include "views/AnalysisView.h"
#include "views/TableView.h"
#include "views/TrendView.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QToolBar>

#include <gtest/gtest.h>

namespace
{

using namespace CommandId;

const QString kPage = QStringLiteral("Page:          ");

class MainFrame : public ::testing::Test
{
protected:
    RecordStore store;
    ScriptedPrompts prompts;
    MainWindow frame{store, prompts, 1033};

    bool enabled(CommandId::Id id)
    {
        QAction *a = frame.action(id);
        EXPECT_NE(a, nullptr) << id;
        return a && a->isEnabled();
    }
    void open(const char *name)
    {
        ASSERT_TRUE(frame.openSavedFile(testenv::dataFile(QLatin1String(name))));
        prompts.shown.clear(); // no patient details are stored for the sample IDs
    }
    template <class View> bool shows() const
    {
        return qobject_cast<View *>(frame.activeView()) != nullptr && frame.centralArea() == frame.activeView();
    }
};

TEST_F(MainFrame, StartsWithNoViewAndEveryDataCommandGreyed)
{
    EXPECT_EQ(frame.displayMode(), DisplayMode::None);
    EXPECT_TRUE(frame.dataCommandsDisabled());
    EXPECT_TRUE(frame.otherIdDisabled());
    EXPECT_EQ(frame.centralArea(), frame.background());
    for (CommandId::Id id : {ModeTrend, ModeTable, ModeAnalysis, Close, PatientInfo, PatientTitle, SaveData,
                             OpenOtherIdData, EventTimeExport, Print, PrintPreview, RollStep, PageUp, PageDown})
        EXPECT_FALSE(enabled(id)) << id;
    for (CommandId::Id id : {NewDataCapture, FindBluetoothRadio, OpenSavedData, Exit, AnalysisSetup, UnitSetup, About,
                             LanguageButton, Help, ModeOverview})
        EXPECT_TRUE(enabled(id)) << id;
    EXPECT_EQ(frame.pageReadoutText(), kPage);
    const QSize available = frame.screen()->availableGeometry().size();
    EXPECT_EQ(frame.minimumSize(), QSize(1024, 768).boundedTo(available));
}

TEST_F(MainFrame, MenusHoldEveryCommandInOrder)
{
    const QList<QAction *> menus = frame.menuBar()->actions();
    QStringList titles;
    for (QAction *m : menus)
        titles << m->text();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("File(&F)"), QStringLiteral("Edit"), QStringLiteral("Mode"),
                                   QStringLiteral("Options"), QStringLiteral("About(&A)")}));
    auto ids = [](QAction *menu) {
        QList<int> out;
        for (QAction *a : menu->menu()->actions())
            if (!a->isSeparator())
                out << a->data().toInt();
        return out;
    };
    EXPECT_EQ(ids(menus[0]),
              (QList<int>{NewDataCapture, FindBluetoothRadio, OpenOtherIdData, SaveData, OpenSavedData, Recordings,
                          ImportIntoArchive, EventTimeExport, Close, PrintPreview, Print, Exit}));
    EXPECT_EQ(ids(menus[1]), (QList<int>{PatientInfo, PatientTitle}));
    EXPECT_EQ(ids(menus[2]), (QList<int>{ModeTrend, ModeTable, ModeAnalysis, ModeOverview}));
    EXPECT_EQ(ids(menus[3]), (QList<int>{RollStep, AnalysisSetup, UnitSetup, KeepInArchive, ArchiveOptions}));
    EXPECT_TRUE(frame.action(KeepInArchive)->isCheckable());
    EXPECT_TRUE(frame.action(KeepInArchive)->isChecked()) << "on unless turned off";
    EXPECT_EQ(ids(menus[4]), (QList<int>{About}));

    EXPECT_EQ(frame.action(NewDataCapture)->text(), QStringLiteral("NewDataCapture (&N)"));
    EXPECT_EQ(frame.action(OpenSavedData)->text(), QStringLiteral("Open Saved Data(&O)..."));
    EXPECT_EQ(frame.action(EventTimeExport)->text(), QStringLiteral("Check out the SpO2 event time..."));
    EXPECT_EQ(frame.action(PrintPreview)->text(), QStringLiteral("PrintPreView"));
    // The tab sets "(A)..." in the menu's shortcut column.
    EXPECT_EQ(frame.action(About)->text(), QStringLiteral("About \t(&A)..."));
    EXPECT_EQ(frame.action(About)->toolTip(), QStringLiteral("About"));
    EXPECT_EQ(frame.action(Print)->toolTip(), QStringLiteral("Print"));

    EXPECT_EQ(frame.action(NewDataCapture)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(frame.action(OpenSavedData)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(frame.action(SaveData)->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(frame.action(Print)->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    EXPECT_EQ(frame.action(Help)->shortcut(), QKeySequence(QStringLiteral("F1")));
    EXPECT_TRUE(frame.actions().contains(frame.action(Help))) << "F1 works without a menu item";
}

TEST_F(MainFrame, ToolbarButtonsInOrderWithTheLanguageButtonBeforeAbout)
{
    QList<int> ids;
    for (QAction *a : frame.toolBar()->actions())
        ids << (a->isSeparator() ? 0 : a->data().toInt());
    EXPECT_EQ(ids, (QList<int>{NewDataCapture, OpenSavedData, FindBluetoothRadio, Print, 0, PageUp, PageDown,
                               LanguageButton, About}));
    EXPECT_FALSE(frame.action(LanguageButton)->icon().isNull());
}

TEST_F(MainFrame, OpeningAFileShowsTheTrendAndEnablesTheDataCommands)
{
    open("valid-night-id7.dat");
    frame.activeView()->showPage(6);
    open("valid-night-id7.dat");
    EXPECT_EQ(frame.displayMode(), DisplayMode::Trend);
    EXPECT_TRUE(shows<TrendView>());
    EXPECT_EQ(frame.activeView()->position(), 0);
    for (CommandId::Id id : {Close, PatientInfo, PatientTitle, SaveData, EventTimeExport, ModeTable, ModeAnalysis,
                             Print, PrintPreview, RollStep, PageUp, PageDown})
        EXPECT_TRUE(enabled(id)) << id;
    EXPECT_FALSE(enabled(ModeTrend));
    EXPECT_FALSE(enabled(OpenOtherIdData)) << "a file brings no downloaded IDs";
}

TEST_F(MainFrame, ModeSwitchesGreyOnlyTheModeShown)
{
    open("valid-night-id7.dat");

    frame.action(ModeTable)->trigger();
    EXPECT_EQ(frame.displayMode(), DisplayMode::Table);
    EXPECT_TRUE(shows<TableView>());
    EXPECT_TRUE(enabled(ModeTrend));
    EXPECT_FALSE(enabled(ModeTable));
    EXPECT_TRUE(enabled(ModeAnalysis));

    frame.activeView()->showPage(3);
    frame.action(ModeAnalysis)->trigger();
    EXPECT_EQ(frame.displayMode(), DisplayMode::Analysis);
    EXPECT_TRUE(shows<AnalysisView>());
    EXPECT_EQ(frame.activeView()->position(), 0);
    EXPECT_TRUE(enabled(ModeTrend));
    EXPECT_TRUE(enabled(ModeTable));
    EXPECT_FALSE(enabled(ModeAnalysis));
    // The clinical figures of the same run reach the page.
    const AnalysisPicture picture = static_cast<AnalysisView *>(frame.activeView())->picture();
    ASSERT_TRUE(picture.clinical.has_value());
    EXPECT_EQ(*picture.clinical, computeClinicalSummary(store.currentSamples.data(), store.currentSampleCount()));
    EXPECT_EQ(picture.clinical->validSeconds, store.currentSampleCount());

    frame.action(ModeTrend)->trigger();
    EXPECT_EQ(frame.displayMode(), DisplayMode::Trend);
    EXPECT_TRUE(shows<TrendView>());

    // The Overview leaves the recording open: every mode of it stays at hand.
    frame.action(ModeOverview)->trigger();
    EXPECT_EQ(frame.displayMode(), DisplayMode::Overview);
    for (CommandId::Id id : {ModeTrend, ModeTable, ModeAnalysis, SaveData, Close})
        EXPECT_TRUE(enabled(id)) << id;
    EXPECT_FALSE(enabled(ModeOverview));
    frame.action(ModeTable)->trigger();
    EXPECT_TRUE(shows<TableView>());
    EXPECT_GT(store.currentSampleCount(), 0);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(MainFrame, CloseReturnsToTheBackgroundButKeepsTheRecording)
{
    store.deviceSamples[1].resize(3);
    open("valid-night-id7.dat");
    frame.setDataArrived(true);
    EXPECT_TRUE(enabled(OpenOtherIdData));
    frame.activeView()->pageChanged(2, 4);

    // The downloaded readings are kept nowhere: Close asks first.
    prompts.answers = {Prompts::Answer::Discard};
    frame.action(Close)->trigger();
    EXPECT_TRUE(prompts.answers.empty());
    EXPECT_EQ(frame.displayMode(), DisplayMode::None);
    EXPECT_EQ(frame.activeView(), nullptr);
    EXPECT_EQ(frame.centralArea(), frame.background());
    EXPECT_EQ(frame.pageReadoutText(), kPage);
    for (CommandId::Id id : {ModeTrend, ModeTable, ModeAnalysis, Close, SaveData, OpenOtherIdData, Print, RollStep})
        EXPECT_FALSE(enabled(id)) << id;
    EXPECT_EQ(store.currentSampleCount(), 5) << "Close does not clear the store";
    EXPECT_EQ(store.deviceSampleCount(2), 3);

    // The mode commands do nothing without a view, even when called directly.
    frame.onModeTable();
    EXPECT_EQ(frame.displayMode(), DisplayMode::None);

    open("valid-empty.dat");
    EXPECT_EQ(frame.displayMode(), DisplayMode::Trend) << "reopening after Close shows the trend";
}

TEST_F(MainFrame, OpeningKeepsTableButLeavesAnalysisForTrend)
{
    open("valid-night-id7.dat");
    frame.action(ModeTable)->trigger();
    open("valid-narrow-title.dat");
    EXPECT_EQ(frame.displayMode(), DisplayMode::Table);
    EXPECT_TRUE(shows<TableView>());

    frame.action(ModeAnalysis)->trigger();
    open("valid-night-id7.dat");
    EXPECT_EQ(frame.displayMode(), DisplayMode::Trend);
    EXPECT_TRUE(shows<TrendView>());
}

TEST_F(MainFrame, RefusedFileLeavesTheViewAndModeAlone)
{
    open("valid-night-id7.dat");
    frame.action(ModeTable)->trigger();
    DataView *before = frame.activeView();
    EXPECT_FALSE(frame.openSavedFile(testenv::dataFile(QStringLiteral("bad-pulse-29.dat"))));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("can't open the file")});
    EXPECT_EQ(frame.activeView(), before);
    EXPECT_EQ(frame.displayMode(), DisplayMode::Table);
    EXPECT_EQ(store.currentSampleCount(), 5);
}

TEST_F(MainFrame, PageReadoutFollowsTheActiveView)
{
    EXPECT_EQ(MainWindow::pageReadout(4, 9), kPage + QStringLiteral("5/9 "));
    EXPECT_EQ(MainWindow::pageReadout(0, 0), kPage);
    EXPECT_EQ(MainWindow::pageReadout(3, -1), kPage);

    open("valid-night-id7.dat");
    Q_EMIT frame.activeView()->pageChanged(4, 9);
    EXPECT_EQ(frame.pageReadoutText(), kPage + QStringLiteral("5/9 "));

    // A mode switch starts the readout afresh, and the old view no longer drives it.
    QPointer<DataView> old = frame.activeView();
    frame.action(ModeTable)->trigger();
    EXPECT_EQ(frame.pageReadoutText(), kPage);
    if (old)
        Q_EMIT old->pageChanged(1, 2);
    EXPECT_EQ(frame.pageReadoutText(), kPage);
    Q_EMIT frame.activeView()->pageChanged(0, 1);
    EXPECT_EQ(frame.pageReadoutText(), kPage + QStringLiteral("1/1 "));
}

TEST_F(MainFrame, ShownWindowReadsOutTheNewViewsPagesAfterAModeSwitch)
{
    frame.resize(1200, 900);
    frame.show();
    open("valid-night-id7.dat");
    const auto readout = [&] {
        const int count = frame.activeView()->pageCount();
        return kPage + QStringLiteral("%1/%2 ").arg(frame.activeView()->position() + 1).arg(count);
    };
    EXPECT_EQ(frame.pageReadoutText(), readout());
    frame.action(ModeTable)->trigger();
    EXPECT_EQ(frame.pageReadoutText(), readout()) << "the reset must not hide the table's own readout";
    frame.action(ModeTrend)->trigger();
    EXPECT_EQ(frame.pageReadoutText(), readout());
}

TEST_F(MainFrame, OpenAndSaveCommandsGoThroughTheFileDialogs)
{
    prompts.files.push_back(testenv::dataFile(QStringLiteral("valid-night-id7.dat")));
    frame.action(OpenSavedData)->trigger();
    EXPECT_EQ(frame.displayMode(), DisplayMode::Trend);
    EXPECT_EQ(prompts.lastRequest.defaultSuffix, QStringLiteral("dat"));
    EXPECT_EQ(store.reportTitle, QString::fromUtf8("Sleep lab \u2013 room 4 \u00e9t\u00e9"));

    const QString saved = testenv::root() + QStringLiteral("/copy.dat");
    prompts.files.push_back(saved);
    frame.action(SaveData)->trigger();
    QFile a(saved), b(testenv::dataFile(QStringLiteral("valid-night-id7.dat")));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll()) << "saving an opened file gives back the same bytes";
    EXPECT_EQ(store.patientFlags[6].infoSaved, 1);

    // Cancelling the open dialog changes nothing.
    frame.action(Close)->trigger();
    frame.action(OpenSavedData)->trigger();
    EXPECT_EQ(frame.displayMode(), DisplayMode::None);
}

TEST_F(MainFrame, TitleNamesTheRecordingAndMarksItUnsaved)
{
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Quellix"));
    // A download lists its IDs before one is shown: nothing to mark yet, and
    // nothing for Qt to warn about (a mark on a title without its [*] place).
    static QStringList messages;
    messages.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &m) { messages << m; });
    frame.setDataArrived(true);
    qInstallMessageHandler(previous);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Quellix"));
    EXPECT_FALSE(frame.isWindowModified());

    open("valid-night-id7.dat");
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("valid-night-id7.dat[*] - Quellix"));
    EXPECT_FALSE(frame.isWindowModified());

    // Downloaded readings are unsaved until Save Data has written them.
    PatientRecord::setText(store.currentPatient.name, QStringLiteral("Ann Lee"));
    frame.setDataArrived(true);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Ann Lee (ID 7)[*] - Quellix"));
    EXPECT_TRUE(frame.isWindowModified());
    prompts.files.push_back(testenv::root() + QStringLiteral("/ann.dat"));
    frame.action(SaveData)->trigger();
    EXPECT_FALSE(frame.isWindowModified());
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Ann Lee (ID 7)[*] - Quellix"));

    // Without a name: the ID, then the file it was saved as.
    store.currentPatient = PatientRecord{};
    store.currentPatient.idNumber = 7;
    frame.setDataArrived(true);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("ID 7[*] - Quellix"));
    prompts.files.push_back(testenv::root() + QStringLiteral("/night.dat"));
    frame.action(SaveData)->trigger();
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("night.dat[*] - Quellix"));
    EXPECT_FALSE(frame.isWindowModified());

    frame.setDataArrived(true);
    frame.action(Close)->trigger();
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Quellix"));
    EXPECT_FALSE(frame.isWindowModified());
}

TEST_F(MainFrame, FileDialogsStartInTheFolderUsedLast)
{
    QSettings(QStringLiteral("quellix"), QStringLiteral("setup")).remove(QStringLiteral("LastFolder"));
    const QString sample = testenv::dataFile(QStringLiteral("valid-night-id7.dat"));
    const QString elsewhere = testenv::root() + QStringLiteral("/elsewhere");
    ASSERT_TRUE(QDir().mkpath(elsewhere));

    prompts.files.push_back(sample);
    frame.action(OpenSavedData)->trigger();
    EXPECT_TRUE(prompts.lastRequest.directory.isEmpty());
    prompts.files.push_back(elsewhere + QStringLiteral("/copy.dat"));
    frame.action(SaveData)->trigger();
    EXPECT_EQ(prompts.lastRequest.directory, QFileInfo(sample).absolutePath());
    // Cancelled dialogs keep the folder.
    frame.action(EventTimeExport)->trigger();
    EXPECT_EQ(prompts.lastRequest.directory, elsewhere);
    frame.action(OpenSavedData)->trigger();
    EXPECT_EQ(prompts.lastRequest.directory, elsewhere);

    // Kept for the next start; a folder removed since is not offered.
    RecordStore nextStore;
    ScriptedPrompts nextPrompts;
    MainWindow next(nextStore, nextPrompts, 1033);
    next.action(OpenSavedData)->trigger();
    EXPECT_EQ(nextPrompts.lastRequest.directory, elsewhere);
    ASSERT_TRUE(QDir(elsewhere).removeRecursively());
    next.action(OpenSavedData)->trigger();
    EXPECT_TRUE(nextPrompts.lastRequest.directory.isEmpty());
}

TEST_F(MainFrame, ViewCommandsReachTheViewWithoutComplaint)
{
    open("valid-night-id7.dat");
    prompts.shown.clear();
    for (CommandId::Id id : {PageUp, PageDown})
        frame.action(id)->trigger();
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST(MainWindowSize, MinimumStaysWithinTheScreenOnSmallScreens)
{
    const QSize noDecoration(0, 0);
    EXPECT_EQ(MainWindow::minimumFrameSize(QSize(1920, 1040), QSize(2, 30)), QSize(1024, 768));
    EXPECT_EQ(MainWindow::minimumFrameSize(QSize(1024, 768), noDecoration), QSize(1024, 768));
    EXPECT_EQ(MainWindow::minimumFrameSize(QSize(1024, 738), QSize(2, 30)), QSize(1022, 708));
    EXPECT_EQ(MainWindow::minimumFrameSize(QSize(800, 600), noDecoration), QSize(800, 600));
    EXPECT_EQ(MainWindow::minimumFrameSize(QSize(1280, 720), QSize(0, 24)), QSize(1024, 696));
    EXPECT_EQ(MainWindow::minimumFrameSize(QSize(10, 10), QSize(20, 20)), QSize(0, 0));

    // The test screen itself is below 1024 x 768 in one direction or both.
    RecordStore store;
    ScriptedPrompts prompts;
    MainWindow frame(store, prompts, 1033);
    frame.show();
    const QRect available = frame.screen()->availableGeometry();
    const QSize decoration = frame.frameGeometry().size() - frame.size();
    EXPECT_LE(frame.minimumWidth() + decoration.width(), available.width());
    EXPECT_LE(frame.minimumHeight() + decoration.height(), available.height());
    frame.setGeometry(available);
    EXPECT_LE(frame.width(), available.width());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(MainFrame, BackgroundShowsTheNameInLightGrey)
{
    frame.resize(1024, 768);
    BackgroundView *bg = frame.background();
    const QImage image = bg->grab().toImage();
    const QPoint c = image.rect().center();
    int grey = 0;
    for (int y = c.y() - 50; y < c.y() + 50; ++y)
        for (int x = c.x() - 150; x < c.x() + 150; ++x)
            if (image.pixelColor(x, y) == QColor(196, 196, 196))
                ++grey;
    EXPECT_GT(grey, 200) << "the name is drawn in the middle";
    EXPECT_NE(image.pixelColor(5, 5), QColor(196, 196, 196));

    bg->setBackgroundColour(Qt::black);
    const QImage plain = bg->grab().toImage();
    EXPECT_EQ(plain.pixelColor(plain.rect().center()), QColor(Qt::black)) << "a colour replaces bitmap and name";
}

TEST_F(MainFrame, ExitClosesTheWindow)
{
    frame.show();
    ASSERT_TRUE(frame.isVisible());
    frame.action(Exit)->trigger();
    EXPECT_FALSE(frame.isVisible());
}

} // namespace

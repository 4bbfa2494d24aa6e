// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/AnalysisResults.h"
#include "analysis/RecordingStatistics.h"
#include "app/StartupOptions.h"
#include "clinical/ClinicalSummary.h"
#include "help/HelpWindow.h"
#include "shell/CommandIds.h"
#include "shell/DisplayMode.h"
#include "views/DataView.h"

#include <QMainWindow>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class ArchiveAccess;
class SummaryRefresh;
class BackgroundView;
class RecordingsWindow;
class StartPage;
struct ImportTally;
class LanguageSwitch;
class DeviceCommands;
class DownloadDialog;
class FolderPrompts;
class Prompts;
class QAction;
class QLabel;
class QTimer;
class QMenu;
class QStackedWidget;
class QToolBar;
class RecordStore;

// The main window: menus, toolbar, status bar and one view at a time in the
// central area: of the current recording (trend, table or analysis), or the
// overview of the archive's nights.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(RecordStore &store, Prompts &prompts, int languageId, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The action of a command identifier (CommandId), nullptr when unknown.
    QAction *action(CommandId::Id commandId) const;
    QToolBar *toolBar() const { return toolBar_; }
    QWidget *centralArea() const;

    DisplayMode displayMode() const { return displayMode_; }
    bool dataCommandsDisabled() const { return dataCommandsDisabled_; }
    bool otherIdDisabled() const { return otherIdDisabled_; }
    DataView *activeView() const { return view_; }
    BackgroundView *background() const { return background_; }
    // Shown on the background while no recording is open.
    StartPage *startPage() const { return startPage_; }
    // The Recordings window, while it is open.
    RecordingsWindow *recordingsWindow() const;
    int languageId() const { return languageId_; }
    // New data capture, Find bluetooth radio and device arrival.
    DeviceCommands &deviceCommands() const { return *deviceCommands_; }

    // The least size of the window: 1024 x 768, or what the screen's available
    // area leaves beside the window's decoration when that is smaller.
    static QSize minimumFrameSize(const QSize &available, const QSize &decoration);

    // The text of the page pane: "Page:" alone, or followed by "index+1/count ".
    static QString pageReadout(int index, int count);
    QString pageReadoutText() const;

    // The command line's --demo and --port, for the download.
    void setStartupOptions(const StartupOptions &options) { options_ = options; }
    const StartupOptions &startupOptions() const { return options_; }

    // The figures of the last analysis run (Mode > Analysis, the event-time export).
    const AnalysisResults &analysisResults() const { return analysisResults_; }
    const ClinicalSummary &clinicalSummary() const { return clinicalSummary_; }
    // The translations a language switch installs; the application hands over
    // the one it started with, otherwise the window keeps its own.
    void setLanguageSwitch(LanguageSwitch *languageSwitch) { languageSwitch_ = languageSwitch; }
    // Switches every text of the program to languageId (1033, 1036, 2052) and
    // stores it as "Language"; false, with nothing changed, when it has no translation.
    bool switchLanguage(int languageId);

    // Re-applies the enabling rules to every command.
    void updateCommandStates();

    // For the download and the file commands: readings have arrived.
    void setDataArrived(bool fromDownload);
    // Shows the current recording: a table when the mode is Table, else a trend.
    void showRecording();
    // Opens a saved recording by name (the command line's FILE.dat).
    bool openSavedFile(const QString &path);
    // Opens a night of the archive as the current recording, with the details archived with it.
    bool openArchivedNight(qint64 night);
    // Marks readings of the open night as artefact, or clears one mark, in the
    // archive and on every page; only an archived night opened alone keeps marks.
    bool markArtefact(ReadingSpan span);
    bool clearArtefactMark(ReadingSpan span);
    // Archives .dat, CSV and EDF files, each in its own transaction, with progress and
    // Cancel, asking what the files do not tell; then tells the counts and opens the newest night.
    ImportTally importIntoArchive(const QStringList &files);
    // Lists the latest nights of the archive on the start page again.
    void refreshStartPage();

    // The manual of the current language with its pictures, copied out of the
    // program to files a browser can open; empty when that failed.
    QString extractManual() const;
    // The help window F1 opened, while it is open.
    HelpWindow *helpWindow() const { return helpWindow_; }
    // How the manual is opened in a browser; tests replace it.
    void setUrlOpener(std::function<bool(const QUrl &)> opener) { urlOpener_ = std::move(opener); }

public Q_SLOTS:
    void setPageReadout(int index, int count);

    void onNewDataCapture();
    void onFindBluetoothRadio();
    void onOpenOtherIdData();
    void onSaveData();
    void onOpenSavedData();
    void onEventTimeExport();
    void onClose();
    void onPrintPreview();
    void onPrint();
    void onExit();
    void onPatientInfo();
    void onPatientTitle();
    void onModeTrend();
    void onModeTable();
    void onModeAnalysis();
    void onModeOverview();
    void onRollStep();
    void onAnalysisSetup();
    void onUnitSetup();
    void onAbout();
    void onHelp();
    void openManualInBrowser();
    void onLanguage();
    void onKeepInArchive(); // "Keep every download in the archive"
    void onPageUp();
    void onPageDown();
    void onRecordings();
    void onImportIntoArchive();
    void onArchiveOptions(); // Options > Archive...

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    LanguageSwitch &languageSwitch();
    void createActions();
    // Sends what waits for the clinic server and shows what the archive holds now.
    void syncWithServer();
    // Another desk changed the server's nights, or they may have changed.
    void showArchiveChanges();
    void updateServerStatus();
    // False, having said why, when the server account may only read.
    bool archiveWritable();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    // text is the untranslated source, kept so the command can be retranslated.
    QAction *addCommand(CommandId::Id id, const char *text, void (MainWindow::*handler)());
    QMenu *addMenu(const char *title);
    static QString toolBarTitle();
    void retranslateUi();
    void switchMode(DisplayMode mode);
    void openView(DisplayMode mode);
    DataView *overviewView();
    // The Overview, when shown, reads the archive's nights again.
    void reloadOverview();
    void closeAllViews();
    void runAnalysis();
    bool storeMarks(const std::vector<ReadingSpan> &marks);
    // Repaints the view so its header shows new details, title or units.
    void refreshView();
    void checkScreenSize(const QRect &geometry);
    void updateMinimumSize();
    // Connects to what a new download window reports.
    void followDownload(DownloadDialog *window);
    // Close without asking: the data commands grey, the background shows.
    void closeRecording();
    // Save Data; true when the recording was written.
    bool saveData();
    // Before the downloaded readings go out of reach: true when nothing
    // unkept would be lost, or the user saved it or chose to discard it.
    bool mayDiscardDownload();
    // The recording shown came from file (a name, or empty) and is unsaved or not.
    void setRecordingState(const QString &file, bool unsaved);
    // "<recording>[*] - Quellix", or "Quellix" while no recording is shown.
    void updateTitle();
    // Tells once that a damaged archive was put aside.
    void reportArchiveDamage();
    // Drops the nights no longer in the archive from the current recording's.
    void forgetRemovedNights();

    RecordStore &store_;
    std::unique_ptr<FolderPrompts> folderPrompts_; // wraps the prompts given
    Prompts &prompts_;                             // *folderPrompts_
    QString recordingFile_;                        // file name of the recording shown, if any
    int languageId_;
    DisplayMode displayMode_ = DisplayMode::None;
    // A recording is open: the Overview may be shown without one.
    bool recordingShown_ = false;
    bool dataCommandsDisabled_ = true;
    bool otherIdDisabled_ = true;
    bool downloadDiscarded_ = false; // the user chose to let the unkept download go
    StartupOptions options_;
    DeviceCommands *deviceCommands_ = nullptr; // a child of this window

    std::map<CommandId::Id, QAction *> actions_;
    QStackedWidget *central_ = nullptr;
    BackgroundView *background_ = nullptr;
    StartPage *startPage_ = nullptr;
    std::unique_ptr<ArchiveAccess> archive_;
    SummaryRefresh *summaryRefresh_ = nullptr;
    QPointer<RecordingsWindow> recordingsWindow_;
    QPointer<DataView> view_;
    QToolBar *toolBar_ = nullptr;
    QLabel *pagePane_ = nullptr;
    QLabel *serverPane_ = nullptr; // which nights are listed, and how many wait for the server
    QTimer *serverTimer_ = nullptr;
    bool serverReadOnly_ = false;
    std::function<bool(const QUrl &)> urlOpener_;
    QPointer<HelpWindow> helpWindow_;
    AnalysisResults analysisResults_;
    RecordingStatistics recordingStatistics_;
    ClinicalSummary clinicalSummary_;
    std::map<CommandId::Id, const char *> commandTexts_;
    std::vector<std::pair<QMenu *, const char *>> menuTitles_;
    int pageIndex_ = 0;
    int pageCount_ = 0;
    LanguageSwitch *languageSwitch_ = nullptr;
    std::unique_ptr<LanguageSwitch> ownLanguageSwitch_;
    std::optional<int> lastUnitSetup_; // the "UnitSetup" value the views were last drawn with
};

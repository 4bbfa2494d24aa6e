#pragma once

#include "app/StartupOptions.h"
#include "views/DataView.h"

#include <QMainWindow>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <map>

class BackgroundView;
class DeviceCommands;
class DownloadDialog;
class Prompts;
class QAction;
class QLabel;
class QMenu;
class QStackedWidget;
class QToolBar;
class RecordStore;

// The main window: menus, toolbar, status bar and one view of the current
// recording at a time (trend, table or analysis) in the central area.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(RecordStore &store, Prompts &prompts, int languageId, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The action of a command identifier (CommandId), nullptr when unknown.
    QAction *action(int commandId) const;
    QToolBar *toolBar() const { return toolBar_; }
    QWidget *centralArea() const;

    int displayMode() const { return displayMode_; }
    bool dataCommandsDisabled() const { return dataCommandsDisabled_; }
    bool otherIdDisabled() const { return otherIdDisabled_; }
    DataView *activeView() const { return view_; }
    BackgroundView *background() const { return background_; }
    int languageId() const { return languageId_; }
    // New data capture, Find bluetooth radio and device arrival.
    DeviceCommands &deviceCommands() const { return *deviceCommands_; }

    // The text of the page pane: "Page:" alone, or followed by "index+1/count ".
    static QString pageReadout(int index, int count);
    QString pageReadoutText() const;

    // The command line's --demo and --port, for the download.
    void setStartupOptions(const StartupOptions &options) { options_ = options; }
    const StartupOptions &startupOptions() const { return options_; }

    // Re-applies the enabling rules to every command.
    void updateCommandStates();

    // For the download and the file commands: readings have arrived.
    void setDataArrived(bool fromDownload);
    // Shows the current recording: a table when the mode is Table, else a trend.
    void showRecording();
    // Opens a saved recording by name (the command line's FILE.dat).
    bool openSavedFile(const QString &path);

    // The manual of the current language, copied out of the program to a file
    // a browser can open; empty when it cannot be written.
    QString extractManual() const;
    // How the manual is opened; tests replace it.
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
    void onRollStep();
    void onAnalysisSetup();
    void onUnitSetup();
    void onAbout();
    void onHelp();
    void onLanguage();
    void onPageUp();
    void onPageDown();

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    QAction *addCommand(int id, const QString &text, void (MainWindow::*handler)());
    void switchMode(int mode);
    void openView(int mode);
    void closeAllViews();
    void runAnalysis();
    void notAvailableYet(const QString &what);
    void checkScreenSize(const QRect &geometry);
    // Connects to what a new download window reports.
    void followDownload(DownloadDialog *window);

    RecordStore &store_;
    Prompts &prompts_;
    int languageId_;
    int displayMode_ = 0;
    bool dataCommandsDisabled_ = true;
    bool otherIdDisabled_ = true;
    StartupOptions options_;
    DeviceCommands *deviceCommands_ = nullptr; // a child of this window

    std::map<int, QAction *> actions_;
    QStackedWidget *central_ = nullptr;
    BackgroundView *background_ = nullptr;
    QPointer<DataView> view_;
    QToolBar *toolBar_ = nullptr;
    QLabel *pagePane_ = nullptr;
    std::function<bool(const QUrl &)> urlOpener_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/MainWindow.h"

#include "analysis/EventTimeFile.h"
#include "app/BoundedRead.h"
#include "app/Language.h"
#include "app/LanguageSwitch.h"
#include "app/Prompts.h"
#include "app/Settings.h"
#include "app/Texts.h"
#include "archive/ArchiveAccess.h"
#include "archive/ArchiveOptionsDialog.h"
#include "archive/ArchiveTasks.h"
#include "archive/ArchiveThread.h"
#include "archive/DownloadArchiving.h"
#include "archive/NightRecording.h"
#include "archive/RecordingsWindow.h"
#include "archive/StartPage.h"
#include "archive/SummaryRefresh.h"
#include "device/DeviceCommands.h"
#include "device/DownloadDialog.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/AnalysisSetupDialog.h"
#include "dialogs/ExportProgress.h"
#include "dialogs/ImportColumnsDialog.h"
#include "dialogs/ImportPatientDialog.h"
#include "dialogs/LanguageDialog.h"
#include "dialogs/OtherIdDialog.h"
#include "dialogs/PatientInfoDialog.h"
#include "dialogs/ReportTitleDialog.h"
#include "dialogs/UnitSetupDialog.h"
#include "help/HelpWindow.h"
#include "help/Manual.h"
#include "import/ImportFile.h"
#include "model/RecordStore.h"
#include "model/SavedData.h"
#include "shell/BackgroundView.h"
#include "shell/CommandIds.h"
#include "shell/FolderPrompts.h"
#include "shell/Resources.h"
#include "texts/ArchiveTexts.h"
#include "views/AnalysisFigures.h"
#include "views/AnalysisView.h"
#include "views/OverviewView.h"
#include "views/TableView.h"
#include "views/TrendMarks.h"
#include "views/TrendView.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QProgressDialog>
#include <QScreen>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace
{

// The flag-like button of a language: its short name on its own colours.
QIcon languageIcon(int languageId)
{
    QString label = QStringLiteral("EN");
    QColor fill(30, 70, 140);
    if (languageId == Language::French) {
        label = QStringLiteral("FR");
        fill = QColor(0, 85, 164);
    } else if (languageId == Language::ChineseSimplified) {
        label = QStringLiteral("中");
        fill = QColor(222, 41, 16);
    }
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1, 3, 22, 18), 3, 3);
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(1, 3, 22, 18), Qt::AlignCenter, label);
    return QIcon(pm);
}

QIcon themed(const char *name, QStyle::StandardPixmap fallback, const QStyle *style)
{
    return QIcon::fromTheme(QLatin1String(name), style->standardIcon(fallback));
}

// A menu text may carry its shortcut column after a tab; a toolbar tip shows
// only what comes before it.
void setCommandText(QAction *a, const QString &text)
{
    a->setText(text);
    const qsizetype tab = text.indexOf(u'\t');
    a->setToolTip(tab < 0 ? QString() : QString(text.left(tab)).remove(u'&').trimmed());
}

} // namespace

MainWindow::MainWindow(RecordStore &store, Prompts &prompts, int languageId, QWidget *parent)
    : QMainWindow(parent), store_(store), folderPrompts_(std::make_unique<FolderPrompts>(prompts)),
      prompts_(*folderPrompts_), languageId_(languageId),
      archive_(std::make_unique<ArchiveAccess>(QString(), Settings().clinicServer())),
      urlOpener_([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
    initQuellixResources();
    updateTitle();
    updateMinimumSize();
    setAcceptDrops(true);

    central_ = new QStackedWidget(this);
    background_ = new BackgroundView(central_);
    background_->setBitmap(BackgroundView::defaultBitmap());
    central_->addWidget(background_);
    setCentralWidget(central_);

    deviceCommands_ = new DeviceCommands(*this, store_, prompts_);
    connect(deviceCommands_, &DeviceCommands::downloadWindowOpened, this, &MainWindow::followDownload);
    deviceCommands_->setDiscardCheck([this] { return mayDiscardDownload(); });
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    updateCommandStates();

    // The start page keeps to the left: the program's name stays in view beside it.
    startPage_ = new StartPage(action(CommandId::NewDataCapture), action(CommandId::OpenSavedData), background_);
    startPage_->setFixedWidth(340);
    auto *startLayout = new QHBoxLayout(background_);
    startLayout->setContentsMargins(12, 12, 12, 12);
    startLayout->addWidget(startPage_);
    startLayout->addStretch(1);
    connect(startPage_, &StartPage::nightChosen, this, &MainWindow::openArchivedNight);
    summaryRefresh_ = new SummaryRefresh(this);
    connect(summaryRefresh_, &SummaryRefresh::progress, this, [this](int done, int total) {
        statusBar()->showMessage(tr("Computing the archive's figures again: %1 of %2 nights").arg(done).arg(total));
    });
    connect(summaryRefresh_, &SummaryRefresh::finished, this, [this] {
        statusBar()->showMessage(tr("Ready"));
        if (central_->currentWidget() == background_)
            startPage_->setNights(archive_->recent(10));
        if (recordingsWindow_)
            recordingsWindow_->reload();
        reloadOverview();
    });

    // The clinic server: a password asked for this session only, other desks'
    // nights as they come, and what waits sent at start and every 30 s.
    archive_->setPasswordPrompt([this]() -> std::optional<QString> {
        bool ok = false;
        const QString password = QInputDialog::getText(this, tr("Clinic server"), tr("Password for the clinic server:"),
                                                       QLineEdit::Password, QString(), &ok);
        return ok ? std::optional<QString>(password) : std::nullopt;
    });
    archive_->setChangedElsewhere([this] { showArchiveChanges(); });
    serverTimer_ = new QTimer(this);
    serverTimer_->setInterval(30000);
    connect(serverTimer_, &QTimer::timeout, this, &MainWindow::syncWithServer);
    if (!Settings().clinicServer().isEmpty()) {
        serverTimer_->start();
        QTimer::singleShot(0, this, &MainWindow::syncWithServer);
    }

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        connect(screen, &QScreen::geometryChanged, this, &MainWindow::checkScreenSize);
        connect(screen, &QScreen::availableGeometryChanged, this, &MainWindow::updateMinimumSize);
    }
}

MainWindow::~MainWindow() = default;

QAction *MainWindow::addCommand(CommandId::Id id, const char *text, void (MainWindow::*handler)())
{
    auto *a = new QAction(this);
    setCommandText(a, tr(text));
    commandTexts_[id] = text;
    a->setData(id);
    a->setObjectName(QStringLiteral("command%1").arg(id));
    connect(a, &QAction::triggered, this, handler);
    actions_[id] = a;
    return a;
}

QAction *MainWindow::action(CommandId::Id commandId) const
{
    const auto it = actions_.find(commandId);
    return it == actions_.end() ? nullptr : it->second;
}

QWidget *MainWindow::centralArea() const
{
    return central_->currentWidget();
}

void MainWindow::createActions()
{
    using namespace CommandId;
    const QStyle *s = style();
    addCommand(NewDataCapture, QT_TR_NOOP("NewDataCapture (&N)"), &MainWindow::onNewDataCapture);
    action(NewDataCapture)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    action(NewDataCapture)->setIcon(themed("document-new", QStyle::SP_FileIcon, s));
    addCommand(FindBluetoothRadio, QT_TR_NOOP("Find bluetooth radio"), &MainWindow::onFindBluetoothRadio);
    action(FindBluetoothRadio)->setIcon(themed("network-wireless", QStyle::SP_DriveNetIcon, s));
    addCommand(OpenOtherIdData, QT_TR_NOOP("Open Other ID Data"), &MainWindow::onOpenOtherIdData);
    addCommand(SaveData, QT_TR_NOOP("Save Data(&S)..."), &MainWindow::onSaveData);
    action(SaveData)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addCommand(OpenSavedData, QT_TR_NOOP("Open Saved Data(&O)..."), &MainWindow::onOpenSavedData);
    action(OpenSavedData)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    action(OpenSavedData)->setIcon(themed("document-open", QStyle::SP_DialogOpenButton, s));
    addCommand(Recordings, QT_TR_NOOP("Recordings..."), &MainWindow::onRecordings);
    action(Recordings)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    addCommand(ImportIntoArchive, QT_TR_NOOP("Import into archive..."), &MainWindow::onImportIntoArchive);
    addCommand(EventTimeExport, QT_TR_NOOP("Check out the SpO2 event time..."), &MainWindow::onEventTimeExport);
    addCommand(Close, QT_TR_NOOP("Close"), &MainWindow::onClose);
    addCommand(PrintPreview, QT_TR_NOOP("PrintPreView"), &MainWindow::onPrintPreview);
    addCommand(Print, QT_TR_NOOP("Print"), &MainWindow::onPrint);
    action(Print)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    action(Print)->setIcon(themed("document-print", QStyle::SP_FileDialogDetailedView, s));
    addCommand(Exit, QT_TR_NOOP("Exit(&X)"), &MainWindow::onExit);

    addCommand(PatientInfo, QT_TR_NOOP("Patient Info"), &MainWindow::onPatientInfo);
    addCommand(PatientTitle, QT_TR_NOOP("Patient Title"), &MainWindow::onPatientTitle);

    addCommand(ModeTrend, QT_TR_NOOP("Trend"), &MainWindow::onModeTrend);
    addCommand(ModeTable, QT_TR_NOOP("Table"), &MainWindow::onModeTable);
    addCommand(ModeAnalysis, QT_TR_NOOP("Analysis"), &MainWindow::onModeAnalysis);
    addCommand(ModeOverview, QT_TR_NOOP("Overview"), &MainWindow::onModeOverview);

    addCommand(RollStep, QT_TR_NOOP("Roll Step"), &MainWindow::onRollStep);
    addCommand(AnalysisSetup, QT_TR_NOOP("Analysis Setup"), &MainWindow::onAnalysisSetup);
    addCommand(UnitSetup, QT_TR_NOOP("Unit Setup"), &MainWindow::onUnitSetup);
    addCommand(KeepInArchive, QT_TR_NOOP("Keep every download in the archive"), &MainWindow::onKeepInArchive);
    action(KeepInArchive)->setCheckable(true);
    action(KeepInArchive)->setChecked(Settings().keepInArchive());
    addCommand(ArchiveOptions, QT_TR_NOOP("Archive..."), &MainWindow::onArchiveOptions);

    addCommand(About, QT_TR_NOOP("About \t(&A)..."), &MainWindow::onAbout);
    action(About)->setIcon(themed("help-about", QStyle::SP_MessageBoxInformation, s));

    addCommand(PageUp, QT_TR_NOOP("PageUp"), &MainWindow::onPageUp);
    action(PageUp)->setIcon(themed("go-up", QStyle::SP_ArrowUp, s));
    addCommand(PageDown, QT_TR_NOOP("PageDown"), &MainWindow::onPageDown);
    action(PageDown)->setIcon(themed("go-down", QStyle::SP_ArrowDown, s));
    addCommand(LanguageButton, QT_TR_NOOP("Language"), &MainWindow::onLanguage);
    action(LanguageButton)->setIcon(languageIcon(languageId_));

    // Help has no menu item; F1 reaches it from anywhere in the window.
    addCommand(Help, QT_TR_NOOP("Help"), &MainWindow::onHelp);
    action(Help)->setShortcut(QKeySequence(Qt::Key_F1));
    action(Help)->setShortcutContext(Qt::WindowShortcut);
    addAction(action(Help));
}

QMenu *MainWindow::addMenu(const char *title)
{
    QMenu *menu = menuBar()->addMenu(tr(title));
    menuTitles_.emplace_back(menu, title);
    return menu;
}

void MainWindow::createMenus()
{
    using namespace CommandId;
    QMenu *file = addMenu(QT_TR_NOOP("File(&F)"));
    for (CommandId::Id id : {NewDataCapture, FindBluetoothRadio, OpenOtherIdData, SaveData, OpenSavedData, Recordings,
                             ImportIntoArchive, EventTimeExport, Close, PrintPreview, Print})
        file->addAction(action(id));
    file->addSeparator();
    file->addAction(action(Exit));

    QMenu *edit = addMenu(QT_TR_NOOP("Edit"));
    edit->addAction(action(PatientInfo));
    edit->addAction(action(PatientTitle));

    QMenu *mode = addMenu(QT_TR_NOOP("Mode"));
    for (CommandId::Id id : {ModeTrend, ModeTable, ModeAnalysis, ModeOverview})
        mode->addAction(action(id));

    QMenu *options = addMenu(QT_TR_NOOP("Options"));
    for (CommandId::Id id : {RollStep, AnalysisSetup, UnitSetup})
        options->addAction(action(id));
    options->addSeparator();
    options->addAction(action(KeepInArchive));
    options->addAction(action(ArchiveOptions));

    QMenu *about = addMenu(QT_TR_NOOP("About(&A)"));
    about->addAction(action(About));

    for (QMenu *m : {file, edit, mode, options, about})
        connect(m, &QMenu::aboutToShow, this, &MainWindow::updateCommandStates);
}

void MainWindow::createToolBar()
{
    using namespace CommandId;
    toolBar_ = addToolBar(toolBarTitle());
    toolBar_->setObjectName(QStringLiteral("mainToolBar"));
    toolBar_->setIconSize(QSize(20, 20));
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    for (CommandId::Id id : {NewDataCapture, OpenSavedData, FindBluetoothRadio, Print})
        toolBar_->addAction(action(id));
    toolBar_->addSeparator();
    for (CommandId::Id id : {PageUp, PageDown, LanguageButton, About})
        toolBar_->addAction(action(id));
}

void MainWindow::createStatusBar()
{
    pagePane_ = new QLabel(pageReadout(0, 0), this);
    pagePane_->setObjectName(QStringLiteral("pagePane"));
    pagePane_->setMinimumWidth(70);
    statusBar()->addPermanentWidget(pagePane_);
    serverPane_ = new QLabel(this);
    serverPane_->setObjectName(QStringLiteral("serverPane"));
    serverPane_->hide();
    statusBar()->addPermanentWidget(serverPane_);
    statusBar()->showMessage(tr("Ready"));
}

QString MainWindow::toolBarTitle()
{
    return tr("Toolbar");
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QMainWindow::changeEvent(event);
}

void MainWindow::retranslateUi()
{
    for (const auto &[id, text] : commandTexts_)
        setCommandText(action(id), tr(text));
    for (const auto &[menu, title] : menuTitles_)
        menu->setTitle(tr(title));
    toolBar_->setWindowTitle(toolBarTitle());
    statusBar()->showMessage(tr("Ready"));
    setPageReadout(pageIndex_, pageCount_);
}

QString MainWindow::pageReadout(int index, int count)
{
    QString label = Text(TextNo::PagePane);
    if (count > 0)
        return label + QString::asprintf("%d/%d ", index + 1, count);
    return label;
}

QString MainWindow::pageReadoutText() const
{
    return pagePane_->text();
}

void MainWindow::setPageReadout(int index, int count)
{
    pageIndex_ = index;
    pageCount_ = count;
    pagePane_->setText(pageReadout(index, count));
}

void MainWindow::updateCommandStates()
{
    using namespace CommandId;
    for (CommandId::Id id : {Close, PatientInfo, PatientTitle, SaveData, EventTimeExport})
        action(id)->setEnabled(!dataCommandsDisabled_);
    // Close leaves the Overview too, when it was opened without a recording.
    action(Close)->setEnabled(!dataCommandsDisabled_ || displayMode_ == DisplayMode::Overview);
    action(OpenOtherIdData)->setEnabled(!otherIdDisabled_);

    action(ModeTrend)->setEnabled(recordingShown_ && displayMode_ != DisplayMode::Trend);
    action(ModeTable)->setEnabled(recordingShown_ && displayMode_ != DisplayMode::Table);
    action(ModeAnalysis)->setEnabled(recordingShown_ && displayMode_ != DisplayMode::Analysis);
    // The archive's nights need no open recording.
    action(ModeOverview)->setEnabled(displayMode_ != DisplayMode::Overview);

    // Commands a view carries out need a view.
    const bool hasView = !view_.isNull();
    for (CommandId::Id id : {Print, PrintPreview, RollStep, PageUp, PageDown})
        action(id)->setEnabled(hasView);
    action(ImportIntoArchive)->setEnabled(!serverReadOnly_);
}

void MainWindow::closeAllViews()
{
    if (view_) {
        DataView *old = view_;
        view_ = nullptr;
        // A closing view must no longer drive the page readout.
        disconnect(old, nullptr, this, nullptr);
        central_->removeWidget(old);
        old->hide();
        old->deleteLater();
    }
    central_->setCurrentWidget(background_);
    if (isVisible())
        refreshStartPage();
}

void MainWindow::openView(DisplayMode mode)
{
    closeAllViews();
    DataView *view = nullptr;
    if (mode == DisplayMode::Trend)
        view = new TrendView(store_, central_);
    else if (mode == DisplayMode::Overview)
        view = overviewView();
    else if (mode == DisplayMode::Analysis)
        view = new AnalysisView(store_, analysisResults_, recordingStatistics_, &clinicalSummary_, central_);
    else
        view = new TableView(store_, central_);
    view->setPrompts(&prompts_);
    // Reset the readout before the view is shown: showing it announces its page.
    setPageReadout(0, 0);
    connect(view, &DataView::pageChanged, this, &MainWindow::setPageReadout);
    if (auto *trend = qobject_cast<TrendView *>(view)) {
        connect(trend, &TrendView::markRequested, this, &MainWindow::markArtefact);
        connect(trend, &TrendView::clearMarkRequested, this, &MainWindow::clearArtefactMark);
    }
    view_ = view;
    central_->addWidget(view);
    central_->setCurrentWidget(view);
    view->setFocus();
    displayMode_ = mode;
    if (mode != DisplayMode::Overview)
        recordingShown_ = true;
    updateCommandStates();
}

void MainWindow::switchMode(DisplayMode mode)
{
    if (mode == DisplayMode::Analysis)
        runAnalysis();
    openView(mode);
    if (isVisible())
        showMaximized();
}

void MainWindow::followDownload(DownloadDialog *window)
{
    connect(window, &DownloadDialog::recordingCleared, this, &MainWindow::closeRecording);
    connect(window, &DownloadDialog::dataArrived, this, [this] {
        setDataArrived(true);
        // The download's nights are in the archive now; the start page lists them.
        if (central_->currentWidget() == background_)
            refreshStartPage();
        // The download's nights were queued for the server; sent off this thread.
        syncWithServer();
    });
    connect(window, &DownloadDialog::recordingChosen, this, [this] {
        // A download always ends in Trend: its search closed every view before.
        showRecording();
        setDataArrived(true);
    });
    connect(window, &DownloadDialog::cancelled, this, [this] {
        if (!recordingShown_)
            closeRecording(); // greys the data commands again
    });
}

void MainWindow::showRecording()
{
    openView(displayMode_ == DisplayMode::Table ? DisplayMode::Table : DisplayMode::Trend);
}

void MainWindow::setDataArrived(bool fromDownload)
{
    dataCommandsDisabled_ = false;
    if (fromDownload) {
        otherIdDisabled_ = false;
        downloadDiscarded_ = false;
    }
    updateCommandStates();
    if (fromDownload)
        setRecordingState({}, true);
}

bool MainWindow::openSavedFile(const QString &path)
{
    if (!SavedData::open(store_, path, prompts_))
        return false;
    showRecording();
    setDataArrived(false);
    setRecordingState(QFileInfo(path).fileName(), false);
    return true;
}

void MainWindow::setRecordingState(const QString &file, bool unsaved)
{
    recordingFile_ = file;
    // The title first: Qt marks only a title that has its [*] place.
    updateTitle();
    setWindowModified(unsaved && windowTitle().contains(QLatin1String("[*]")));
}

void MainWindow::updateTitle()
{
    const QString program = QStringLiteral("Quellix");
    // A download lists its IDs before one is shown: no recording to name yet.
    if (dataCommandsDisabled_ || !recordingShown_) {
        setWindowModified(false);
        setWindowTitle(program);
        return;
    }
    const PatientRecord &patient = store_.currentPatient;
    const QString name = patient.nameText().trimmed();
    QString recording;
    if (!name.isEmpty())
        recording = QStringLiteral("%1 (ID %2)").arg(name).arg(patient.idNumber);
    else if (!recordingFile_.isEmpty())
        recording = recordingFile_;
    else
        recording = QStringLiteral("ID %1").arg(patient.idNumber);
    setWindowTitle(recording + QStringLiteral("[*] - ") + program);
}

void MainWindow::refreshView()
{
    if (view_)
        view_->refresh();
}

QSize MainWindow::minimumFrameSize(const QSize &available, const QSize &decoration)
{
    // The layout is made for 1024 x 768; on a smaller screen the window must still
    // fit, or its edges and the status bar end up out of reach.
    const QSize room = (available - decoration).expandedTo(QSize(0, 0));
    return QSize(1024, 768).boundedTo(room);
}

void MainWindow::updateMinimumSize()
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) {
        setMinimumSize(1024, 768);
        return;
    }
    // Title bar and borders are known once the window is shown.
    const QSize decoration = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    setMinimumSize(minimumFrameSize(s->availableGeometry().size(), decoration));
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    updateMinimumSize();
    if (central_->currentWidget() == background_)
        refreshStartPage();
}

void MainWindow::checkScreenSize(const QRect &geometry)
{
    if (geometry.width() < 1024 || geometry.height() < 768)
        prompts_.warning(tr("The Reslution is to small to run the program!"));
}

// ---- File menu ----

void MainWindow::onNewDataCapture()
{
    deviceCommands_->newDataCapture();
}

void MainWindow::onFindBluetoothRadio()
{
    deviceCommands_->findBluetoothRadio();
}

void MainWindow::onOpenOtherIdData()
{
    if (otherIdDisabled_)
        return;
    OtherIdDialog dialog(store_, prompts_, this);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenId() == 0)
        return;
    showRecording();
    setDataArrived(false);
    setRecordingState({}, store_.patientFlags[std::size_t(dialog.chosenId() - 1)].dataSaved == 0);
}

void MainWindow::onSaveData()
{
    saveData();
}

bool MainWindow::saveData()
{
    if (dataCommandsDisabled_)
        return false;
    ExportProgress progress(this);
    const auto result = SavedData::saveCommand(store_, prompts_, Settings().unitSetup(), &progress);
    if (result == SavedData::SaveCommandResult::Written)
        statusBar()->showMessage(tr("Recording saved."), 5000);
    const bool written =
        result == SavedData::SaveCommandResult::Written || result == SavedData::SaveCommandResult::WrittenBadId;
    if (written)
        setRecordingState(QFileInfo(folderPrompts_->lastFile()).fileName(), false);
    if (view_)
        view_->refresh();
    return written;
}

bool MainWindow::mayDiscardDownload()
{
    // Out of reach already (closed, or another download's), or kept somewhere.
    if (otherIdDisabled_ || downloadDiscarded_ || !hasUnkeptDownload(store_))
        return true;
    switch (prompts_.saveDiscardCancel(tr("The downloaded recording is not saved. Discard it?"))) {
    case Prompts::Answer::Save:
        return saveData();
    case Prompts::Answer::Discard:
        downloadDiscarded_ = true;
        return true;
    default:
        return false;
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (mayDiscardDownload())
        event->accept();
    else
        event->ignore();
}

void MainWindow::onOpenSavedData()
{
    if (!mayDiscardDownload() || !SavedData::openCommand(store_, prompts_))
        return;
    showRecording();
    setDataArrived(false);
    setRecordingState(QFileInfo(folderPrompts_->lastFile()).fileName(), false);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!SavedData::droppedDatFile(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

// A .dat file dropped on the window opens like Open Saved Data.
void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = SavedData::droppedDatFile(event->mimeData()->urls());
    if (path.isEmpty() || !mayDiscardDownload())
        return;
    event->acceptProposedAction();
    openSavedFile(path);
}

void MainWindow::onEventTimeExport()
{
    if (dataCommandsDisabled_)
        return;
    // The file always follows the settings in force now.
    runAnalysis();
    if (EventTimeFile::exportCommand(store_, analysisResults_, prompts_, Settings().unitSetup()) ==
        EventTimeFile::Outcome::Written)
        statusBar()->showMessage(tr("Event times saved."), 5000);
}

void MainWindow::onClose()
{
    if (mayDiscardDownload())
        closeRecording();
}

void MainWindow::closeRecording()
{
    closeAllViews();
    otherIdDisabled_ = true;
    dataCommandsDisabled_ = true;
    displayMode_ = DisplayMode::None;
    recordingShown_ = false;
    setPageReadout(0, 0);
    updateCommandStates();
    setRecordingState({}, false);
}

void MainWindow::onPrintPreview()
{
    if (view_)
        view_->printPreview();
}

void MainWindow::onPrint()
{
    if (view_)
        view_->print();
}

void MainWindow::onExit()
{
    close();
}

// ---- Edit menu ----

void MainWindow::onPatientInfo()
{
    if (dataCommandsDisabled_)
        return;
    PatientInfoDialog dialog(store_, prompts_, Settings().unitSetup(), this);
    connect(&dialog, &PatientInfoDialog::detailsChanged, this, &MainWindow::refreshView);
    if (dialog.exec() == QDialog::Accepted) {
        // The recording's archived nights carry the details saved for it.
        const QString archive = deviceCommands_->context().archiveFile();
        if (!store_.currentNights.empty() && archiveWritable()) {
            const QString server = Settings().clinicServer();
            ArchiveResult<> done;
            const auto update = [&] { done = updateArchivedPatient(store_, archive, server); };
            // A server away must not freeze the window: it waits on a thread
            // of its own, and the edit waits here for the next sync.
            if (server.isEmpty())
                update();
            else
                ArchiveThread().run(update);
            if (!done)
                prompts_.warning(tr("The patient details could not be written to the archive: %1")
                                     .arg(ArchiveTexts::text(done, {archive, {}, 0})));
        }
    }
    // Saved or not, the header shows what is now in memory.
    refreshView();
    updateTitle();
}

void MainWindow::onPatientTitle()
{
    if (dataCommandsDisabled_)
        return;
    ReportTitleDialog dialog(store_.reportTitle, prompts_, this);
    if (dialog.exec() == QDialog::Accepted && dialog.title() != store_.reportTitle) {
        store_.reportTitle = dialog.title();
        // The title is saved with the readings.
        setWindowModified(true);
    }
    refreshView();
}

// ---- Mode menu ----

void MainWindow::onModeTrend()
{
    if (recordingShown_)
        switchMode(DisplayMode::Trend);
}

void MainWindow::onModeTable()
{
    if (recordingShown_)
        switchMode(DisplayMode::Table);
}

void MainWindow::onModeAnalysis()
{
    if (recordingShown_)
        switchMode(DisplayMode::Analysis);
}

void MainWindow::onModeOverview()
{
    if (displayMode_ != DisplayMode::Overview)
        switchMode(DisplayMode::Overview);
}

DataView *MainWindow::overviewView()
{
    auto *view = new OverviewView(store_, *archive_, central_);
    reportArchiveDamage();
    // Opening a night from the page is opening it from the archive.
    connect(view, &OverviewView::nightChosen, this, &MainWindow::openArchivedNight);
    return view;
}

void MainWindow::reloadOverview()
{
    if (auto *overview = qobject_cast<OverviewView *>(view_.data()))
        overview->reload();
}

void MainWindow::runAnalysis()
{
    AnalysisFigures figures = analyseCurrentRecording(store_);
    analysisResults_ = std::move(figures.results);
    recordingStatistics_ = figures.statistics;
    clinicalSummary_ = figures.clinical;
}

// ---- Options menu ----

// Not const: every command handler has the one type addCommand takes.
void MainWindow::onKeepInArchive() // NOLINT(readability-make-member-function-const)
{
    Settings().setKeepInArchive(action(CommandId::KeepInArchive)->isChecked());
}

void MainWindow::onRollStep()
{
    if (view_)
        view_->editRollStep();
}

void MainWindow::onAnalysisSetup()
{
    AnalysisSetupDialog dialog(prompts_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The page shown is redrawn with the new rules at once; other modes only store them.
    if (displayMode_ == DisplayMode::Analysis)
        switchMode(DisplayMode::Analysis);
}

void MainWindow::onUnitSetup()
{
    if (!lastUnitSetup_)
        lastUnitSetup_ = Settings().unitSetup();
    UnitSetupDialog dialog(this);
    dialog.exec();
    // Only a real change redraws the header in the new units.
    const int now = Settings().unitSetup();
    if (now != *lastUnitSetup_) {
        lastUnitSetup_ = now;
        refreshView();
    }
}

void MainWindow::onLanguage()
{
    LanguageDialog dialog(languageId_, this);
    if (dialog.exec() == QDialog::Accepted)
        switchLanguage(dialog.chosenId());
}

LanguageSwitch &MainWindow::languageSwitch()
{
    if (languageSwitch_)
        return *languageSwitch_;
    if (!ownLanguageSwitch_)
        ownLanguageSwitch_ = std::make_unique<LanguageSwitch>();
    return *ownLanguageSwitch_;
}

bool MainWindow::switchLanguage(int languageId)
{
    // A language without a translation leaves everything as it was.
    if (languageId <= 0 || !languageSwitch().apply(languageId))
        return false;
    languageId_ = languageId;
    Settings().setLanguage(languageId);
    action(CommandId::LanguageButton)->setIcon(languageIcon(languageId));
    // The translators announce the change to every window; this one follows at once.
    retranslateUi();
    if (view_)
        view_->refresh();
    return true;
}

// ---- About, help, paging ----

void MainWindow::onAbout()
{
    AboutDialog dialog(this);
    dialog.exec();
}

QString MainWindow::extractManual() const
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath() + QStringLiteral("/quellix");
    return Manual::writeTo(languageId_, dir + QStringLiteral("/manual"));
}

void MainWindow::onHelp()
{
    if (!Manual::exists(languageId_)) {
        prompts_.warning(tr("Can't open file"));
        return;
    }
    // A window left open in another language gives way to the current one.
    if (helpWindow_ && helpWindow_->languageId() != languageId_)
        delete helpWindow_.data();
    if (!helpWindow_) {
        helpWindow_ = new HelpWindow(languageId_, this);
        connect(helpWindow_, &HelpWindow::openInBrowserRequested, this, &MainWindow::openManualInBrowser);
    }
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

void MainWindow::openManualInBrowser()
{
    const QString file = extractManual();
    if (file.isEmpty() || !urlOpener_ || !urlOpener_(QUrl::fromLocalFile(file)))
        prompts_.warning(tr("Can't open file"));
}

void MainWindow::onPageUp()
{
    if (view_)
        view_->pageUp();
}

void MainWindow::onPageDown()
{
    if (view_)
        view_->pageDown();
}

// ---- The archive ----

void MainWindow::reportArchiveDamage()
{
    const QString notice = archive_->takeDamagedNotice();
    if (!notice.isEmpty())
        prompts_.notice(notice);
}

void MainWindow::refreshStartPage()
{
    const std::vector<NightInfo> recent = archive_->recent(10);
    startPage_->setNights(recent);
    reportArchiveDamage();
    // Figures an older Quellix computed are computed again in the background.
    if (!summaryRefresh_->running() &&
        std::any_of(recent.begin(), recent.end(), [](const NightInfo &n) { return !n.summaryIsCurrent(); }))
        summaryRefresh_->start(archive_->path());
}

bool MainWindow::openArchivedNight(qint64 night)
{
    // Opening a night takes the downloaded recording's place, as Open does.
    if (!mayDiscardDownload())
        return false;
    QString error;
    const std::optional<StoredNight> stored = archive_->night(night, &error);
    reportArchiveDamage();
    if (!stored) {
        prompts_.warningWithDetail(tr("The night could not be opened from the archive."), error);
        return false;
    }
    loadNight(store_, *stored);
    showRecording();
    setDataArrived(false);
    setRecordingState({}, false);
    return true;
}

bool MainWindow::markArtefact(ReadingSpan span)
{
    std::vector<ReadingSpan> marks = store_.currentMarks;
    marks.push_back(span);
    return storeMarks(marks);
}

bool MainWindow::clearArtefactMark(ReadingSpan span)
{
    return storeMarks(MarksWithout(store_.currentMarks, span));
}

bool MainWindow::storeMarks(const std::vector<ReadingSpan> &marks)
{
    // A .dat file or a download of several nights has no one place to keep them.
    if (!Settings().keepInArchive() || store_.currentNights.size() != 1) {
        prompts_.warning(tr("Marks are kept with nights in the archive: open this night from File > Recordings..."));
        return false;
    }
    if (!archiveWritable())
        return false;
    QString error;
    std::optional<std::vector<ReadingSpan>> stored = archive_->setMarks(store_.currentNights.front(), marks, &error);
    reportArchiveDamage();
    if (!stored) {
        prompts_.warningWithDetail(tr("The marks could not be stored in the archive."), error);
        return false;
    }
    store_.currentMarks = std::move(*stored);
    runAnalysis();
    refreshView();
    // The list's figures of the night were computed again with the marks.
    if (recordingsWindow_)
        recordingsWindow_->reload();
    return true;
}

void MainWindow::forgetRemovedNights()
{
    std::vector<qint64> &open = store_.currentNights;
    if (open.empty())
        return;
    QString error;
    const auto nights = archive_->list(&error);
    if (!nights)
        return;
    // A removed night is no longer where the open recording's details go.
    std::erase_if(open, [&nights](qint64 n) {
        return std::none_of(nights->begin(), nights->end(), [n](const NightInfo &i) { return i.night == n; });
    });
}

RecordingsWindow *MainWindow::recordingsWindow() const
{
    return recordingsWindow_;
}

void MainWindow::onRecordings()
{
    refreshStartPage(); // also starts computing older figures again
    if (!recordingsWindow_) {
        recordingsWindow_ = new RecordingsWindow(*archive_, prompts_, this);
        recordingsWindow_->setAttribute(Qt::WA_DeleteOnClose);
        connect(recordingsWindow_, &RecordingsWindow::nightChosen, this, &MainWindow::openArchivedNight);
        connect(recordingsWindow_, &RecordingsWindow::nightPatientChanged, this,
                [this](qint64 night, const PatientRecord &patient) {
                    // The night on screen shows its new details at once.
                    const auto &open = store_.currentNights;
                    if (std::find(open.begin(), open.end(), night) == open.end())
                        return;
                    store_.currentPatient = patient;
                    refreshView();
                    updateTitle();
                });
        connect(recordingsWindow_, &RecordingsWindow::archiveChanged, this, [this] {
            forgetRemovedNights();
            if (central_->currentWidget() == background_)
                refreshStartPage();
            reloadOverview();
        });
        reportArchiveDamage();
    }
    recordingsWindow_->show();
    recordingsWindow_->raise();
    recordingsWindow_->activateWindow();
}

ImportTally MainWindow::importIntoArchive(const QStringList &files)
{
    if (!archiveWritable())
        return {};
    QProgressDialog progress(tr("Archiving the files..."), tr("Cancel"), 0, int(files.size()), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    ImportHooks hooks;
    hooks.progress = [&progress](int done) {
        progress.setValue(done); // a modal dialog takes its events here, Cancel too
        return !progress.wasCanceled();
    };
    hooks.patient = [this](const QString &nameInFile) -> std::optional<FileImport::Patient> {
        ImportPatientDialog dialog(nameInFile, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.patient();
    };
    hooks.columns = [this](const QString &file) -> std::optional<CsvImport::Options> {
        const BoundedRead in = readAtMost(file, ImportFile::kMaxCsvBytes);
        if (!in.ok || in.data.isEmpty())
            return std::nullopt;
        ImportColumnsDialog dialog(in.data, this);
        dialog.setWindowTitle(QFileInfo(file).fileName());
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.options();
    };
    hooks.acceptRefused = [this](const QString &file, const QString &rows) {
        return prompts_.question(
                   tr("More than 10 % of %1 was refused (%2). Import it all the same?").arg(file, rows)) ==
               Prompts::Answer::Ok;
    };
    ImportTally tally = importFiles(*archive_, files, hooks);
    progress.reset();
    reportArchiveDamage();
    if (recordingsWindow_)
        recordingsWindow_->reload();
    if (central_->currentWidget() == background_)
        refreshStartPage();
    reloadOverview();
    const QString summary = importSummary(tally, int(files.size()));
    if (tally.failed.isEmpty())
        prompts_.information(summary);
    else
        prompts_.warning(summary);
    if (const qint64 newest = newestNight(*archive_, tally.nights); newest > 0)
        openArchivedNight(newest);
    return tally;
}

void MainWindow::onImportIntoArchive()
{
    const QStringList files = QFileDialog::getOpenFileNames(
        this, tr("Import into archive"), FolderPrompts::lastFolder(),
        tr("Recordings (*.dat *.csv *.txt *.edf)") + QStringLiteral(";;") + tr("Data file(*.dat)"));
    if (!files.isEmpty())
        importIntoArchive(files);
}

// ---- The clinic server ----

bool MainWindow::archiveWritable()
{
    if (!serverReadOnly_)
        return true;
    prompts_.warning(ArchiveTexts::readOnlyAccount());
    return false;
}

void MainWindow::updateServerStatus()
{
    const ArchiveAccess::ServerState state = archive_->serverState();
    serverReadOnly_ = state.connected && state.readOnly;
    action(CommandId::ImportIntoArchive)->setEnabled(!serverReadOnly_);
    serverPane_->setVisible(state.used);
    if (!state.used)
        return;
    QString text = ArchiveTexts::listedFrom(state.connected);
    if (state.pending > 0)
        text += QStringLiteral(" \u2014 ") + ArchiveTexts::notOnServer(state.pending);
    serverPane_->setText(text);
    serverPane_->setToolTip(state.connected ? QString() : state.away);
}

void MainWindow::syncWithServer()
{
    // Not inside another archive call, whose wait lets this timer fire.
    if (archive_->busy() || Settings().clinicServer().isEmpty())
        return;
    QString error;
    archive_->sync(&error);
    showArchiveChanges();
}

void MainWindow::showArchiveChanges()
{
    if (archive_->busy())
        return;
    updateServerStatus();
    if (recordingsWindow_)
        recordingsWindow_->reload();
    if (central_->currentWidget() == background_)
        startPage_->setNights(archive_->recent(10));
}

void MainWindow::onArchiveOptions()
{
    ArchiveOptionsDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString server = Settings().clinicServer();
    archive_->setServer(server);
    if (server.isEmpty())
        serverTimer_->stop();
    else
        serverTimer_->start();
    syncWithServer();
    if (server.isEmpty())
        showArchiveChanges();
}

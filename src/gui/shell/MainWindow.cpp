#include "shell/MainWindow.h"

#include "app/Language.h"
#include "app/Prompts.h"
#include "app/Texts.h"
#include "device/DeviceCommands.h"
#include "device/DownloadDialog.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/OtherIdDialog.h"
#include "model/RecordStore.h"
#include "model/SavedData.h"
#include "shell/BackgroundView.h"
#include "shell/CommandIds.h"
#include "shell/Resources.h"
#include "views/TableView.h"
#include "views/TrendView.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

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

} // namespace

MainWindow::MainWindow(RecordStore &store, Prompts &prompts, int languageId, QWidget *parent)
    : QMainWindow(parent), store_(store), prompts_(prompts), languageId_(languageId),
      urlOpener_([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
    initQuellixResources();
    setWindowTitle(QStringLiteral("Quellix"));
    setMinimumSize(1024, 768);

    central_ = new QStackedWidget(this);
    background_ = new BackgroundView(central_);
    background_->setBitmap(BackgroundView::defaultBitmap());
    central_->addWidget(background_);
    setCentralWidget(central_);

    deviceCommands_ = new DeviceCommands(*this, store_, prompts_);
    connect(deviceCommands_, &DeviceCommands::downloadWindowOpened, this, &MainWindow::followDownload);
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    updateCommandStates();

    if (QScreen *screen = QGuiApplication::primaryScreen())
        connect(screen, &QScreen::geometryChanged, this, &MainWindow::checkScreenSize);
}

MainWindow::~MainWindow() = default;

QAction *MainWindow::addCommand(int id, const QString &text, void (MainWindow::*handler)())
{
    auto *a = new QAction(text, this);
    a->setData(id);
    a->setObjectName(QStringLiteral("command%1").arg(id));
    connect(a, &QAction::triggered, this, handler);
    actions_[id] = a;
    return a;
}

QAction *MainWindow::action(int commandId) const
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
    addCommand(NewDataCapture, tr("NewDataCapture (&N)"), &MainWindow::onNewDataCapture);
    action(NewDataCapture)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    action(NewDataCapture)->setIcon(themed("document-new", QStyle::SP_FileIcon, s));
    addCommand(FindBluetoothRadio, tr("Find bluetooth radio"), &MainWindow::onFindBluetoothRadio);
    action(FindBluetoothRadio)->setIcon(themed("network-wireless", QStyle::SP_DriveNetIcon, s));
    addCommand(OpenOtherIdData, tr("Open Other ID Data"), &MainWindow::onOpenOtherIdData);
    addCommand(SaveData, tr("Save Data(&S)..."), &MainWindow::onSaveData);
    action(SaveData)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addCommand(OpenSavedData, tr("Open Saved Data(&O)..."), &MainWindow::onOpenSavedData);
    action(OpenSavedData)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    action(OpenSavedData)->setIcon(themed("document-open", QStyle::SP_DialogOpenButton, s));
    addCommand(EventTimeExport, tr("Check out the SpO2 event time..."), &MainWindow::onEventTimeExport);
    addCommand(Close, tr("Close"), &MainWindow::onClose);
    addCommand(PrintPreview, tr("PrintPreView"), &MainWindow::onPrintPreview);
    addCommand(Print, tr("Print"), &MainWindow::onPrint);
    action(Print)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    action(Print)->setIcon(themed("document-print", QStyle::SP_FileDialogDetailedView, s));
    addCommand(Exit, tr("Exit(&X)"), &MainWindow::onExit);

    addCommand(PatientInfo, tr("Patient Info"), &MainWindow::onPatientInfo);
    addCommand(PatientTitle, tr("Patient Title"), &MainWindow::onPatientTitle);

    addCommand(ModeTrend, tr("Trend"), &MainWindow::onModeTrend);
    addCommand(ModeTable, tr("Table"), &MainWindow::onModeTable);
    addCommand(ModeAnalysis, tr("Analysis"), &MainWindow::onModeAnalysis);

    addCommand(RollStep, tr("Roll Step"), &MainWindow::onRollStep);
    addCommand(AnalysisSetup, tr("Analysis Setup"), &MainWindow::onAnalysisSetup);
    addCommand(UnitSetup, tr("Unit Setup"), &MainWindow::onUnitSetup);

    addCommand(About, tr("About (&A)..."), &MainWindow::onAbout);
    action(About)->setIcon(themed("help-about", QStyle::SP_MessageBoxInformation, s));

    addCommand(PageUp, tr("PageUp"), &MainWindow::onPageUp);
    action(PageUp)->setIcon(themed("go-up", QStyle::SP_ArrowUp, s));
    addCommand(PageDown, tr("PageDown"), &MainWindow::onPageDown);
    action(PageDown)->setIcon(themed("go-down", QStyle::SP_ArrowDown, s));
    addCommand(LanguageButton, tr("Language"), &MainWindow::onLanguage);
    action(LanguageButton)->setIcon(languageIcon(languageId_));

    // Help has no menu item; F1 reaches it from anywhere in the window.
    addCommand(Help, tr("Help"), &MainWindow::onHelp);
    action(Help)->setShortcut(QKeySequence(Qt::Key_F1));
    action(Help)->setShortcutContext(Qt::WindowShortcut);
    addAction(action(Help));
}

void MainWindow::createMenus()
{
    using namespace CommandId;
    QMenuBar *bar = menuBar();
    QMenu *file = bar->addMenu(tr("File(&F)"));
    for (int id : {NewDataCapture, FindBluetoothRadio, OpenOtherIdData, SaveData, OpenSavedData, EventTimeExport, Close,
                   PrintPreview, Print})
        file->addAction(action(id));
    file->addSeparator();
    file->addAction(action(Exit));

    QMenu *edit = bar->addMenu(tr("Edit"));
    edit->addAction(action(PatientInfo));
    edit->addAction(action(PatientTitle));

    QMenu *mode = bar->addMenu(tr("Mode"));
    for (int id : {ModeTrend, ModeTable, ModeAnalysis})
        mode->addAction(action(id));

    QMenu *options = bar->addMenu(tr("Options"));
    for (int id : {RollStep, AnalysisSetup, UnitSetup})
        options->addAction(action(id));

    QMenu *about = bar->addMenu(tr("About(&A)"));
    about->addAction(action(About));

    for (QMenu *m : {file, edit, mode, options, about})
        connect(m, &QMenu::aboutToShow, this, &MainWindow::updateCommandStates);
}

void MainWindow::createToolBar()
{
    using namespace CommandId;
    toolBar_ = addToolBar(tr("Toolbar"));
    toolBar_->setObjectName(QStringLiteral("mainToolBar"));
    toolBar_->setIconSize(QSize(20, 20));
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : {NewDataCapture, OpenSavedData, FindBluetoothRadio, Print})
        toolBar_->addAction(action(id));
    toolBar_->addSeparator();
    for (int id : {PageUp, PageDown, LanguageButton, About})
        toolBar_->addAction(action(id));
}

void MainWindow::createStatusBar()
{
    pagePane_ = new QLabel(pageReadout(0, 0), this);
    pagePane_->setObjectName(QStringLiteral("pagePane"));
    pagePane_->setMinimumWidth(70);
    statusBar()->addPermanentWidget(pagePane_);
    statusBar()->showMessage(tr("Ready"));
}

QString MainWindow::pageReadout(int index, int count)
{
    const QString label = Text(TextNo::PagePane);
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
    pagePane_->setText(pageReadout(index, count));
}

void MainWindow::updateCommandStates()
{
    using namespace CommandId;
    for (int id : {Close, PatientInfo, PatientTitle, SaveData, EventTimeExport})
        action(id)->setEnabled(!dataCommandsDisabled_);
    action(OpenOtherIdData)->setEnabled(!otherIdDisabled_);

    const bool none = displayMode_ == DisplayMode::None;
    action(ModeTrend)->setEnabled(!none && displayMode_ != DisplayMode::Trend);
    action(ModeTable)->setEnabled(!none && displayMode_ != DisplayMode::Table);
    action(ModeAnalysis)->setEnabled(!none && displayMode_ != DisplayMode::Analysis);

    // Commands a view carries out need a view.
    const bool hasView = !view_.isNull();
    for (int id : {Print, PrintPreview, RollStep, PageUp, PageDown})
        action(id)->setEnabled(hasView);
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
}

void MainWindow::openView(int mode)
{
    closeAllViews();
    store_.viewPosition = 0;
    store_.viewCursor = 0;
    DataView *view = nullptr;
    if (mode == DisplayMode::Trend)
        view = new TrendView(store_, central_);
    else
        view = new TableView(store_, central_);
    view->setPrompts(&prompts_);
    // Reset the readout before the view is shown: showing it announces its page.
    setPageReadout(0, 0);
    connect(view, &DataView::pageChanged, this, &MainWindow::setPageReadout);
    view_ = view;
    central_->addWidget(view);
    central_->setCurrentWidget(view);
    view->setFocus();
    displayMode_ = mode;
    updateCommandStates();
}

void MainWindow::switchMode(int mode)
{
    if (mode == DisplayMode::Analysis)
        runAnalysis();
    openView(mode);
    if (isVisible())
        showMaximized();
}

void MainWindow::followDownload(DownloadDialog *window)
{
    connect(window, &DownloadDialog::recordingCleared, this, &MainWindow::onClose);
    connect(window, &DownloadDialog::dataArrived, this, [this] { setDataArrived(true); });
    connect(window, &DownloadDialog::recordingChosen, this, [this] {
        // A download always ends in Trend: its search closed every view before.
        showRecording();
        setDataArrived(true);
    });
    connect(window, &DownloadDialog::cancelled, this, [this] {
        if (displayMode_ == DisplayMode::None)
            onClose(); // greys the data commands again
    });
}

void MainWindow::showRecording()
{
    openView(displayMode_ == DisplayMode::Table ? DisplayMode::Table : DisplayMode::Trend);
}

void MainWindow::setDataArrived(bool fromDownload)
{
    dataCommandsDisabled_ = false;
    if (fromDownload)
        otherIdDisabled_ = false;
    updateCommandStates();
}

bool MainWindow::openSavedFile(const QString &path)
{
    if (!SavedData::open(store_, path, prompts_))
        return false;
    showRecording();
    setDataArrived(false);
    return true;
}

void MainWindow::notAvailableYet(const QString &what)
{
    prompts_.information(tr("%1 is not available yet.").arg(what));
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
}

void MainWindow::onSaveData()
{
    if (dataCommandsDisabled_)
        return;
    const auto result = SavedData::saveCommand(store_, prompts_);
    if (result == SavedData::SaveCommandResult::Written)
        statusBar()->showMessage(tr("Recording saved."), 5000);
    if (view_)
        view_->refresh();
}

void MainWindow::onOpenSavedData()
{
    if (!SavedData::openCommand(store_, prompts_))
        return;
    showRecording();
    setDataArrived(false);
}

void MainWindow::onEventTimeExport()
{
    notAvailableYet(tr("Check out the SpO2 event time"));
}

void MainWindow::onClose()
{
    closeAllViews();
    otherIdDisabled_ = true;
    dataCommandsDisabled_ = true;
    displayMode_ = DisplayMode::None;
    setPageReadout(0, 0);
    updateCommandStates();
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
    notAvailableYet(tr("Patient Info"));
}

void MainWindow::onPatientTitle()
{
    notAvailableYet(tr("Patient Title"));
}

// ---- Mode menu ----

void MainWindow::onModeTrend()
{
    if (displayMode_ != DisplayMode::None)
        switchMode(DisplayMode::Trend);
}

void MainWindow::onModeTable()
{
    if (displayMode_ != DisplayMode::None)
        switchMode(DisplayMode::Table);
}

void MainWindow::onModeAnalysis()
{
    if (displayMode_ != DisplayMode::None)
        switchMode(DisplayMode::Analysis);
}

void MainWindow::runAnalysis()
{
    // The event analysis fills in here; until then the page says nothing about events.
    statusBar()->showMessage(tr("The event analysis is not available yet."), 5000);
}

// ---- Options menu ----

void MainWindow::onRollStep()
{
    if (view_)
        view_->editRollStep();
}

void MainWindow::onAnalysisSetup()
{
    notAvailableYet(tr("Analysis Setup"));
}

void MainWindow::onUnitSetup()
{
    notAvailableYet(tr("Unit Setup"));
}

void MainWindow::onLanguage()
{
    notAvailableYet(tr("Language"));
}

// ---- About, help, paging ----

void MainWindow::onAbout()
{
    AboutDialog dialog(this);
    dialog.exec();
}

QString MainWindow::extractManual() const
{
    QString resource = QStringLiteral(":/manual/Manual-%1.html").arg(languageId_);
    if (!QFile::exists(resource))
        resource = QStringLiteral(":/manual/Manual-%1.html").arg(Language::English);
    QFile in(resource);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath() + QStringLiteral("/quellix");
    dir += QStringLiteral("/manual");
    if (!QDir().mkpath(dir))
        return {};
    const QString target = dir + QLatin1Char('/') + QFileInfo(resource).fileName();
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    const QByteArray bytes = in.readAll();
    if (out.write(bytes) != bytes.size())
        return {};
    return target;
}

void MainWindow::onHelp()
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

#include "shell/CMainFrame.h"

#include "app/Language.h"
#include "app/Prompts.h"
#include "app/Texts.h"
#include "device/DeviceCommands.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/COtherIDSelect.h"
#include "model/RecordStore.h"
#include "model/SavedData.h"
#include "shell/ClientBackground.h"
#include "shell/CommandIds.h"
#include "shell/Resources.h"
#include "views/CQX740TableView.h"
#include "views/CQX740TrendView.h"

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

namespace {

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

CMainFrame::CMainFrame(RecordStore &store, Prompts &prompts, int languageId, QWidget *parent)
    : QMainWindow(parent), store_(store), prompts_(prompts), languageId_(languageId),
      urlOpener_([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
    initQuellixResources();
    setWindowTitle(QStringLiteral("Quellix"));
    setMinimumSize(1024, 768);

    central_ = new QStackedWidget(this);
    background_ = new ClientBackground(central_);
    background_->setBitmap(ClientBackground::defaultBitmap());
    central_->addWidget(background_);
    setCentralWidget(central_);

    deviceCommands_ = new DeviceCommands(*this, store_, prompts_);
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    updateCommandStates();

    if (QScreen *screen = QGuiApplication::primaryScreen())
        connect(screen, &QScreen::geometryChanged, this, &CMainFrame::checkScreenSize);
}

CMainFrame::~CMainFrame() = default;

QAction *CMainFrame::addCommand(int id, const QString &text, void (CMainFrame::*handler)())
{
    auto *a = new QAction(text, this);
    a->setData(id);
    a->setObjectName(QStringLiteral("command%1").arg(id));
    connect(a, &QAction::triggered, this, handler);
    actions_[id] = a;
    return a;
}

QAction *CMainFrame::action(int commandId) const
{
    const auto it = actions_.find(commandId);
    return it == actions_.end() ? nullptr : it->second;
}

QWidget *CMainFrame::centralArea() const
{
    return central_->currentWidget();
}

void CMainFrame::createActions()
{
    using namespace CommandId;
    const QStyle *s = style();
    addCommand(NewDataCapture, tr("NewDataCapture (&N)"), &CMainFrame::onNewDataCapture);
    action(NewDataCapture)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    action(NewDataCapture)->setIcon(themed("document-new", QStyle::SP_FileIcon, s));
    addCommand(FindBluetoothRadio, tr("Find bluetooth radio"), &CMainFrame::onFindBluetoothRadio);
    action(FindBluetoothRadio)->setIcon(themed("network-wireless", QStyle::SP_DriveNetIcon, s));
    addCommand(OpenOtherIdData, tr("Open Other ID Data"), &CMainFrame::onOpenOtherIdData);
    addCommand(SaveData, tr("Save Data(&S)..."), &CMainFrame::onSaveData);
    action(SaveData)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addCommand(OpenSavedData, tr("Open Saved Data(&O)..."), &CMainFrame::onOpenSavedData);
    action(OpenSavedData)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    action(OpenSavedData)->setIcon(themed("document-open", QStyle::SP_DialogOpenButton, s));
    addCommand(EventTimeExport, tr("Check out the SpO2 event time..."), &CMainFrame::onEventTimeExport);
    addCommand(Close, tr("Close"), &CMainFrame::onClose);
    addCommand(PrintPreview, tr("PrintPreView"), &CMainFrame::onPrintPreview);
    addCommand(Print, tr("Print"), &CMainFrame::onPrint);
    action(Print)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    action(Print)->setIcon(themed("document-print", QStyle::SP_FileDialogDetailedView, s));
    addCommand(Exit, tr("Exit(&X)"), &CMainFrame::onExit);

    addCommand(PatientInfo, tr("Patient Info"), &CMainFrame::onPatientInfo);
    addCommand(PatientTitle, tr("Patient Title"), &CMainFrame::onPatientTitle);

    addCommand(ModeTrend, tr("Trend"), &CMainFrame::onModeTrend);
    addCommand(ModeTable, tr("Table"), &CMainFrame::onModeTable);
    addCommand(ModeAnalysis, tr("Analysis"), &CMainFrame::onModeAnalysis);

    addCommand(RollStep, tr("Roll Step"), &CMainFrame::onRollStep);
    addCommand(AnalysisSetup, tr("Analysis Setup"), &CMainFrame::onAnalysisSetup);
    addCommand(UnitSetup, tr("Unit Setup"), &CMainFrame::onUnitSetup);

    addCommand(About, tr("About (&A)..."), &CMainFrame::onAbout);
    action(About)->setIcon(themed("help-about", QStyle::SP_MessageBoxInformation, s));

    addCommand(PageUp, tr("PageUp"), &CMainFrame::onPageUp);
    action(PageUp)->setIcon(themed("go-up", QStyle::SP_ArrowUp, s));
    addCommand(PageDown, tr("PageDown"), &CMainFrame::onPageDown);
    action(PageDown)->setIcon(themed("go-down", QStyle::SP_ArrowDown, s));
    addCommand(LanguageButton, tr("Language"), &CMainFrame::onLanguage);
    action(LanguageButton)->setIcon(languageIcon(languageId_));

    // Help has no menu item; F1 reaches it from anywhere in the window.
    addCommand(Help, tr("Help"), &CMainFrame::onHelp);
    action(Help)->setShortcut(QKeySequence(Qt::Key_F1));
    action(Help)->setShortcutContext(Qt::WindowShortcut);
    addAction(action(Help));
}

void CMainFrame::createMenus()
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
        connect(m, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
}

void CMainFrame::createToolBar()
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

void CMainFrame::createStatusBar()
{
    pagePane_ = new QLabel(pageReadout(0, 0), this);
    pagePane_->setObjectName(QStringLiteral("pagePane"));
    pagePane_->setMinimumWidth(70);
    statusBar()->addPermanentWidget(pagePane_);
    statusBar()->showMessage(tr("Ready"));
}

QString CMainFrame::pageReadout(int index, int count)
{
    const QString label = Text(TextNo::PagePane);
    if (count > 0)
        return label + QString::asprintf("%d/%d ", index + 1, count);
    return label;
}

QString CMainFrame::pageReadoutText() const
{
    return pagePane_->text();
}

void CMainFrame::setPageReadout(int index, int count)
{
    pagePane_->setText(pageReadout(index, count));
}

void CMainFrame::updateCommandStates()
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

void CMainFrame::closeAllViews()
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

void CMainFrame::openView(int mode)
{
    closeAllViews();
    store_.viewPosition = 0;
    store_.viewCursor = 0;
    DataView *view = nullptr;
    if (mode == DisplayMode::Trend)
        view = new CQX740TrendView(store_, central_);
    else
        view = new CQX740TableView(store_, central_);
    view->setPrompts(&prompts_);
    // Reset the readout before the view is shown: showing it announces its page.
    setPageReadout(0, 0);
    connect(view, &DataView::pageChanged, this, &CMainFrame::setPageReadout);
    view_ = view;
    central_->addWidget(view);
    central_->setCurrentWidget(view);
    view->setFocus();
    displayMode_ = mode;
    updateCommandStates();
}

void CMainFrame::switchMode(int mode)
{
    if (mode == DisplayMode::Analysis)
        runAnalysis();
    openView(mode);
    if (isVisible())
        showMaximized();
}

void CMainFrame::showRecording()
{
    openView(displayMode_ == DisplayMode::Table ? DisplayMode::Table : DisplayMode::Trend);
}

void CMainFrame::setDataArrived(bool fromDownload)
{
    dataCommandsDisabled_ = false;
    if (fromDownload)
        otherIdDisabled_ = false;
    updateCommandStates();
}

bool CMainFrame::openSavedFile(const QString &path)
{
    if (!SavedData::open(store_, path, prompts_))
        return false;
    showRecording();
    setDataArrived(false);
    return true;
}

void CMainFrame::notAvailableYet(const QString &what)
{
    prompts_.information(tr("%1 is not available yet.").arg(what));
}

void CMainFrame::checkScreenSize(const QRect &geometry)
{
    if (geometry.width() < 1024 || geometry.height() < 768)
        prompts_.warning(tr("The Reslution is to small to run the program!"));
}

// ---- File menu ----

void CMainFrame::onNewDataCapture()
{
    deviceCommands_->newDataCapture();
}

void CMainFrame::onFindBluetoothRadio()
{
    deviceCommands_->findBluetoothRadio();
}

void CMainFrame::onOpenOtherIdData()
{
    if (otherIdDisabled_)
        return;
    COtherIDSelect dialog(store_, prompts_, this);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenId() == 0)
        return;
    showRecording();
    setDataArrived(false);
}

void CMainFrame::onSaveData()
{
    if (dataCommandsDisabled_)
        return;
    const auto result = SavedData::saveCommand(store_, prompts_);
    if (result == SavedData::SaveCommandResult::Written)
        statusBar()->showMessage(tr("Recording saved."), 5000);
    if (view_)
        view_->refresh();
}

void CMainFrame::onOpenSavedData()
{
    if (!SavedData::openCommand(store_, prompts_))
        return;
    showRecording();
    setDataArrived(false);
}

void CMainFrame::onEventTimeExport()
{
    notAvailableYet(tr("Check out the SpO2 event time"));
}

void CMainFrame::onClose()
{
    closeAllViews();
    otherIdDisabled_ = true;
    dataCommandsDisabled_ = true;
    displayMode_ = DisplayMode::None;
    setPageReadout(0, 0);
    updateCommandStates();
}

void CMainFrame::onPrintPreview()
{
    if (view_)
        view_->printPreview();
}

void CMainFrame::onPrint()
{
    if (view_)
        view_->print();
}

void CMainFrame::onExit()
{
    close();
}

// ---- Edit menu ----

void CMainFrame::onPatientInfo()
{
    notAvailableYet(tr("Patient Info"));
}

void CMainFrame::onPatientTitle()
{
    notAvailableYet(tr("Patient Title"));
}

// ---- Mode menu ----

void CMainFrame::onModeTrend()
{
    if (displayMode_ != DisplayMode::None)
        switchMode(DisplayMode::Trend);
}

void CMainFrame::onModeTable()
{
    if (displayMode_ != DisplayMode::None)
        switchMode(DisplayMode::Table);
}

void CMainFrame::onModeAnalysis()
{
    if (displayMode_ != DisplayMode::None)
        switchMode(DisplayMode::Analysis);
}

void CMainFrame::runAnalysis()
{
    // The event analysis fills in here; until then the page says nothing about events.
    statusBar()->showMessage(tr("The event analysis is not available yet."), 5000);
}

// ---- Options menu ----

void CMainFrame::onRollStep()
{
    if (view_)
        view_->editRollStep();
}

void CMainFrame::onAnalysisSetup()
{
    notAvailableYet(tr("Analysis Setup"));
}

void CMainFrame::onUnitSetup()
{
    notAvailableYet(tr("Unit Setup"));
}

void CMainFrame::onLanguage()
{
    notAvailableYet(tr("Language"));
}

// ---- About, help, paging ----

void CMainFrame::onAbout()
{
    CAboutDlg dialog(this);
    dialog.exec();
}

QString CMainFrame::extractManual() const
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

void CMainFrame::onHelp()
{
    const QString file = extractManual();
    if (file.isEmpty() || !urlOpener_ || !urlOpener_(QUrl::fromLocalFile(file)))
        prompts_.warning(tr("Can't open file"));
}

void CMainFrame::onPageUp()
{
    if (view_)
        view_->pageUp();
}

void CMainFrame::onPageDown()
{
    if (view_)
        view_->pageDown();
}

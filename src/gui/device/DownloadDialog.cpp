// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DownloadDialog.h"

#include "app/Prompts.h"
#include "app/Settings.h"
#include "app/Texts.h"
#include "device/DeleteDataDialog.h"
#include "device/DeletingDataWindow.h"
#include "device/DeviceContext.h"
#include "device/DownloadController.h"
#include "device/DownloadRules.h"
#include "device/Protocol.h"
#include "device/RawDump.h"
#include "device/SetClockDialog.h"
#include "model/RecordStore.h"
#include "texts/DeviceTexts.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

DownloadDialog::DownloadDialog(RecordStore &store, Prompts &prompts, DeviceContext &context, QWidget *parent)
    : QDialog(parent), store_(store), prompts_(prompts), context_(context),
      controller_(std::make_unique<DownloadController>(store))
{
    setObjectName(QStringLiteral("newDataCapture"));
    setWindowTitle(tr("New Data Capture"));
    buildControls();

    clockChooser_ = [this]() -> std::optional<QDateTime> {
        SetClockDialog dialog(prompts_, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.chosen();
    };
    deleteChooser_ = [this]() -> std::optional<DeleteRequest> {
        DeleteDataDialog dialog(store_, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return DeleteRequest{dialog.chosenId(), Protocol::DeleteDataType(dialog.chosenType())};
    };

    DownloadController *c = controller_.get();
    c->setKeepRawDump(true);
    c->setArchivePath(Settings().keepInArchive() ? context_.archiveFile() : QString());
    // Sent by the main window's sync, off this thread.
    c->setArchiveServer(Settings().clinicServer(), false);
    connect(c, &DownloadController::phaseChanged, this, &DownloadDialog::showPhase);
    connect(c, &DownloadController::storeCleared, this, &DownloadDialog::recordingCleared);
    connect(c, &DownloadController::transferStarted, this, [this](int, int frames) { transferStarted(frames); });
    connect(c, &DownloadController::progress, this, &DownloadDialog::framesArrived);
    connect(c, &DownloadController::finished, this, &DownloadDialog::downloadFinished);
    connect(c, &DownloadController::maintenanceFinished, this, &DownloadDialog::transferEnded);
    connect(c, &DownloadController::notice, this, &DownloadDialog::showNotice);
    connect(c, &DownloadController::deleting, this, &DownloadDialog::showDeletingWindow);

    // Opening: the standard layout, the remembered port and the port lists.
    setStandardLayout(true);
    ports_ = context_.prepare(c->session());
    showPhase(DownloadPhase::Idle);
    if (DownloadRules::startsAtOnce(context_.linkMode, ports_))
        QMetaObject::invokeMethod(this, &DownloadDialog::start, Qt::QueuedConnection);
}

DownloadDialog::~DownloadDialog()
{
    // Work still running ends before the window goes.
    controller_.reset();
    showDeletingWindow(false);
}

DownloadPhase DownloadDialog::phase() const
{
    return controller_->phase();
}

void DownloadDialog::buildControls()
{
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("idList"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    // The lines are laid out in columns with spaces.
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list_->setMinimumHeight(180);
    auto *dataGroup = new QGroupBox(tr("Data Info"), this);
    auto *dataLayout = new QVBoxLayout(dataGroup);
    dataLayout->addWidget(list_);
    // Under the list, so the described list lines stay as they are.
    checkLabel_ = new QLabel(dataGroup);
    checkLabel_->setObjectName(QStringLiteral("downloadCheck"));
    checkLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    dataLayout->addWidget(checkLabel_);
    saveDumpButton_ = new QPushButton(tr("Save raw dump..."), dataGroup);
    saveDumpButton_->setObjectName(QStringLiteral("saveRawDump"));
    saveDumpButton_->setEnabled(false);
    connect(saveDumpButton_, &QPushButton::clicked, this, &DownloadDialog::onSaveRawDump);
    dataLayout->addWidget(saveDumpButton_, 0, Qt::AlignRight);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, 1);
    progress_->setValue(0);

    startButton_ = new QPushButton(tr("Start"), this);
    startButton_->setObjectName(QStringLiteral("start"));
    startButton_->setDefault(true);
    stopButton_ = new QPushButton(tr("Stop"), this);
    stopButton_->setObjectName(QStringLiteral("stop"));
    deleteButton_ = new QPushButton(tr("DeleteData"), this);
    deleteButton_->setObjectName(QStringLiteral("deleteData"));
    clockButton_ = new QPushButton(tr("SetDateAndTime"), this);
    clockButton_->setObjectName(QStringLiteral("setDateAndTime"));
    cancelButton_ = new QPushButton(tr("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancel"));
    // Reached only when made visible; kept for the manual port choice.
    extendButton_ = new QPushButton(tr("Extend >>"), this);
    extendButton_->setObjectName(QStringLiteral("extend"));
    extendButton_->setVisible(false);
    extendButton_->setEnabled(false);

    connect(startButton_, &QPushButton::clicked, this, &DownloadDialog::onStartOrDone);
    connect(stopButton_, &QPushButton::clicked, this, &DownloadDialog::onStop);
    connect(deleteButton_, &QPushButton::clicked, this, &DownloadDialog::onDeleteData);
    connect(clockButton_, &QPushButton::clicked, this, &DownloadDialog::onSetDateAndTime);
    connect(cancelButton_, &QPushButton::clicked, this, &DownloadDialog::reject);
    connect(extendButton_, &QPushButton::clicked, this, &DownloadDialog::onLayoutSwitch);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {startButton_, stopButton_, deleteButton_, clockButton_, cancelButton_, extendButton_})
        buttons->addWidget(b);

    line_ = new QFrame(this);
    line_->setFrameShape(QFrame::HLine);
    line_->setFrameShadow(QFrame::Sunken);

    manualGroup_ = new QGroupBox(tr("Manual Setup"), this);
    portCombo_ = new QComboBox(manualGroup_);
    portCombo_->setObjectName(QStringLiteral("port"));
    auto *manualLayout = new QHBoxLayout(manualGroup_);
    manualLayout->addWidget(new QLabel(tr("PORT"), manualGroup_));
    manualLayout->addWidget(portCombo_, 1);
    connect(portCombo_, &QComboBox::currentIndexChanged, this,
            [this](int) { Settings().setPort(portCombo_->currentText()); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(dataGroup, 1);
    layout->addWidget(progress_);
    layout->addLayout(buttons);
    layout->addWidget(line_);
    layout->addWidget(manualGroup_);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void DownloadDialog::showPhase(DownloadPhase phase)
{
    const DownloadButtons b = DownloadRules::buttonsFor(phase);
    startButton_->setEnabled(b.start);
    stopButton_->setEnabled(b.stop);
    deleteButton_->setEnabled(b.deleteData);
    clockButton_->setEnabled(b.setDateAndTime);
    cancelButton_->setEnabled(b.cancel);
    const std::shared_ptr<const RawDump> dump = controller_->rawDump();
    saveDumpButton_->setEnabled(phase == DownloadPhase::Idle && dump && !dump->isEmpty());
    setEnabled(b.windowEnabled);
    if (b.busyCursor)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
    startButton_->setText(startIsDone_ ? Text(TextNo::Done) : tr("Start"));
    // The bar says what the device is busy with while it cannot move.
    switch (phase) {
    case DownloadPhase::Searching:
        progress_->setFormat(tr("Searching for the device ..."));
        break;
    case DownloadPhase::Maintenance:
        progress_->setFormat(tr("Waiting for the device ..."));
        break;
    default:
        progress_->setFormat(QStringLiteral("%p%"));
        break;
    }
}

void DownloadDialog::onStartOrDone()
{
    if (phase() != DownloadPhase::Idle)
        return;
    if (startIsDone_)
        finishWithChosenId();
    else
        start();
}

void DownloadDialog::start()
{
    if (phase() != DownloadPhase::Idle || cancelling_)
        return;
    list_->clear();
    checkLabel_->clear();
    startIsDone_ = false;
    highestProgress_ = 0;
    progress_->setValue(0);
    controller_->start(); // empties the store: recordingCleared
}

void DownloadDialog::transferStarted(int frameCount)
{
    progress_->setRange(0, std::max(1, frameCount));
}

void DownloadDialog::framesArrived(int frames)
{
    progress_->setValue(std::min(frames, progress_->maximum()));
    highestProgress_ = std::max(highestProgress_, frames);
}

void DownloadDialog::downloadFinished(const DownloadResult &result)
{
    transferEnded();
    if (cancelling_) {
        finishCancel();
        return;
    }
    // A stopped download lists nothing.
    if (result.status == DownloadStatus::Stopped)
        return;
    if (result.transferRan)
        checkLabel_->setText(DeviceTexts::checkLines(result).join(u'\n'));
    // Whatever arrived is listed, even when the transfer ended in an error.
    if (result.hasReadings()) {
        list_->addItems(store_.otherIdLines());
        Q_EMIT dataArrived();
    }
    startIsDone_ = result.transferRan;
    showPhase(phase());
}

void DownloadDialog::onSaveRawDump()
{
    const std::shared_ptr<const RawDump> dump = controller_->rawDump();
    if (!dump || dump->isEmpty() || phase() != DownloadPhase::Idle)
        return;
    Prompts::FileRequest request;
    request.defaultSuffix = QStringLiteral("dump");
    request.initialName = QStringLiteral("download.dump");
    request.filter = tr("Raw dump (*.dump)");
    const QString path = prompts_.saveFileName(request);
    if (path.isEmpty())
        return;
    if (const DumpResult<> saved = dump->save(path); !saved)
        prompts_.warning(tr("Cannot write %1: %2").arg(path, saved.detail()));
}

void DownloadDialog::transferEnded()
{
    // Only the transfer's own state is cleared: the recording on screen
    // (currentSamples) is left exactly as it was.
    progress_->setRange(0, 1);
    progress_->setValue(0);
    showPhase(phase());
}

void DownloadDialog::onStop()
{
    if (phase() != DownloadPhase::Transferring)
        return;
    list_->clear();
    controller_->stop(); // the end arrives as a stopped download
}

void DownloadDialog::finishWithChosenId()
{
    const QListWidgetItem *item = list_->currentItem();
    const int row = item && item->isSelected() ? list_->row(item) : -1;
    const int id = row >= 0 ? RecordStore::idFromOtherIdLine(item->text()) : 0;
    if (id < 1 || id > RecordStore::kIdCount || store_.deviceSampleCount(id) == 0) {
        prompts_.warning(Text(TextNo::SelectPatientId));
        return;
    }
    store_.SelectDeviceId(id, RecordStore::SelectSource::Download);
    chosenId_ = id;
    Q_EMIT recordingChosen(id);
    accept();
}

void DownloadDialog::reject()
{
    if (cancelling_)
        return;
    switch (phase()) {
    case DownloadPhase::Searching:
    case DownloadPhase::Transferring:
        cancelling_ = true;
        controller_->stop(); // closes the window once the download has ended
        return;
    case DownloadPhase::Ending:
        cancelling_ = true; // closes the window once the transfer end is over
        return;
    case DownloadPhase::Idle:
        cancelling_ = true;
        finishCancel();
        return;
    case DownloadPhase::Maintenance:
        return; // the window is disabled while the device is busy
    }
}

void DownloadDialog::finishCancel()
{
    context_.linkMode = LinkMode::Serial;
    // Only the transfer's own state goes; a recording on screen stays whole.
    Q_EMIT cancelled();
    QDialog::reject();
}

void DownloadDialog::showNotice(const DeviceNotice &notice)
{
    if (cancelling_)
        return; // the window is closing
    if (notice.severity() == Severity::Information)
        prompts_.information(DeviceTexts::text(notice));
    else
        prompts_.warning(DeviceTexts::text(notice));
}

void DownloadDialog::onSetDateAndTime()
{
    if (phase() != DownloadPhase::Idle)
        return;
    const std::optional<QDateTime> when = clockChooser_ ? clockChooser_() : std::nullopt;
    std::optional<std::uint32_t> word;
    if (when) {
        const QDate d = when->date();
        const QTime t = when->time();
        word = Protocol::DateTimeWord(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
    }
    // Cancelled in its dialog, the command still ends the transfer.
    controller_->setClock(word);
}

void DownloadDialog::onDeleteData()
{
    if (phase() != DownloadPhase::Idle)
        return;
    const std::optional<DeleteRequest> request = deleteChooser_ ? deleteChooser_() : std::nullopt;
    if (request)
        controller_->deleteData(request->id, request->type);
}

void DownloadDialog::showDeletingWindow(bool show)
{
    if (show) {
        if (!deleting_)
            deleting_ = new DeletingDataWindow;
        deleting_->showCentred();
    } else if (deleting_) {
        deleting_->close();
        deleting_->deleteLater();
        deleting_ = nullptr;
    }
}

void DownloadDialog::setStandardLayout(bool standard)
{
    manualGroup_->setVisible(!standard);
    extendButton_->setText(standard ? tr("Extend >>") : tr("<<Standard"));
    adjustSize();
}

void DownloadDialog::onLayoutSwitch()
{
    setStandardLayout(extended_);
    extended_ = !extended_;
    refillPortCombo();
}

void DownloadDialog::refillPortCombo()
{
    // Filling the list is no choice of the user's: nothing is written.
    const QSignalBlocker block(portCombo_);
    portCombo_->clear();
    portCombo_->addItems(DownloadRules::manualPortNames(context_.linkMode, ports_));
    if (portCombo_->count() > 0)
        portCombo_->setCurrentIndex(0);
}

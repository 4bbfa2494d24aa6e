#include "device/DownloadDialog.h"

#include "app/Prompts.h"
#include "app/Settings.h"
#include "app/Texts.h"
#include "device/DeleteDataDialog.h"
#include "device/DeletingDataWindow.h"
#include "device/DeviceContext.h"
#include "device/DeviceSession.h"
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
    : QDialog(parent), store_(store), prompts_(prompts), context_(context), session_(std::make_unique<DeviceSession>()),
      engine_(std::make_unique<DownloadEngine>(*session_))
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

    // Opening: the standard layout, the remembered port and the port lists.
    setStandardLayout(true);
    context_.prepare(*session_);
    setPhase(DownloadPhase::Idle);
    if (DownloadRules::startsAtOnce(context_.linkMode, session_->ports))
        QMetaObject::invokeMethod(this, &DownloadDialog::start, Qt::QueuedConnection);
}

DownloadDialog::~DownloadDialog()
{
    // Work still running ends before the session it uses.
    engine_.reset();
    job_.join();
    session_.reset();
    showDeletingWindow(false);
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

void DownloadDialog::setPhase(DownloadPhase phase)
{
    phase_ = phase;
    const DownloadButtons b = DownloadRules::buttonsFor(phase);
    startButton_->setEnabled(b.start);
    stopButton_->setEnabled(b.stop);
    deleteButton_->setEnabled(b.deleteData);
    clockButton_->setEnabled(b.setDateAndTime);
    cancelButton_->setEnabled(b.cancel);
    saveDumpButton_->setEnabled(phase == DownloadPhase::Idle && dumpReady_);
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
    if (phase_ != DownloadPhase::Idle)
        return;
    if (startIsDone_)
        done();
    else
        start();
}

void DownloadDialog::start()
{
    if (phase_ != DownloadPhase::Idle || cancelling_)
        return;
    // No view may show old data, and nothing of an earlier download may remain.
    store_.ClearAllData();
    Q_EMIT recordingCleared();
    list_->clear();
    checkLabel_->clear();
    dump_ = std::make_shared<RawDump>();
    dumpReady_ = false;
    session_->setDump(dump_);
    startIsDone_ = false;
    highestProgress_ = 0;
    progress_->setValue(0);
    setPhase(DownloadPhase::Searching);

    // The engine reports from its own threads; each report comes here as a
    // queued call, and those of an ended download carry an older generation.
    const int generation = ++generation_;
    QPointer<DownloadDialog> self(this);
    const auto post = [self](std::function<void(DownloadDialog &)> call) {
        QMetaObject::invokeMethod(
            self,
            [self, call = std::move(call)] {
                if (self)
                    call(*self);
            },
            Qt::QueuedConnection);
    };
    DownloadEngine::Events events;
    events.connected = [post, generation](int total, int frames) {
        post([=](DownloadDialog &w) { w.transferStarted(generation, total, frames); });
    };
    events.progress = [post, generation](int frames) {
        post([=](DownloadDialog &w) { w.framesArrived(generation, frames); });
    };
    events.ending = [post, generation] { post([=](DownloadDialog &w) { w.transferEnding(generation); }); };
    events.finished = [post, generation](DownloadResult &result) {
        auto shared = std::make_shared<DownloadResult>(std::move(result));
        post([=](DownloadDialog &w) { w.downloadFinished(generation, *shared); });
    };
    engine_->start(std::move(events));
}

void DownloadDialog::transferStarted(int generation, int totalCount, int frameCount)
{
    if (generation != generation_ || phase_ != DownloadPhase::Searching)
        return;
    progress_->setRange(0, std::max(1, frameCount));
    setPhase(DownloadPhase::Transferring);
    // Stays up while the workers run; progress and the end arrive behind it.
    prompts_.information(DeviceTexts::ConnectSucceeded(totalCount));
}

void DownloadDialog::framesArrived(int generation, int frames)
{
    if (generation != generation_)
        return;
    progress_->setValue(std::min(frames, progress_->maximum()));
    highestProgress_ = std::max(highestProgress_, frames);
}

void DownloadDialog::transferEnding(int generation)
{
    if (generation == generation_ && phase_ != DownloadPhase::Idle)
        setPhase(DownloadPhase::Ending);
}

void DownloadDialog::downloadFinished(int generation, DownloadResult &result)
{
    engine_->wait();
    if (!result.portToRemember.isEmpty())
        Settings().setDefaultCom(result.portToRemember);
    if (result.deviceModel != 0)
        store_.deviceModel = result.deviceModel;
    // The exchange is over; maintenance commands after it are not part of it.
    session_->setDump(nullptr);
    dumpReady_ = dump_ && !dump_->isEmpty();
    transferEnded();
    if (cancelling_) {
        finishCancel();
        return;
    }
    // A stopped download (Stop, or a stale report) lists nothing.
    if (generation != generation_ || result.status == DownloadStatus::Stopped)
        return;
    ++generation_;

    if (result.transferRan)
        checkLabel_->setText(DeviceTexts::checkLines(result).join(u'\n'));
    // Whatever arrived is listed, even when the transfer ended in an error.
    if (result.hasReadings()) {
        store_.deviceSamples = std::move(result.readings);
        const QStringList lines = store_.otherIdLines();
        list_->addItems(lines);
        Q_EMIT dataArrived();
    }
    startIsDone_ = result.transferRan;
    setPhase(DownloadPhase::Idle);
    showMessages(DeviceTexts::describe(result), true);
}

void DownloadDialog::onSaveRawDump()
{
    if (!dump_ || !dumpReady_ || phase_ != DownloadPhase::Idle)
        return;
    Prompts::FileRequest request;
    request.defaultSuffix = QStringLiteral("dump");
    request.initialName = QStringLiteral("download.dump");
    request.filter = tr("Raw dump (*.dump)");
    const QString path = prompts_.saveFileName(request);
    if (path.isEmpty())
        return;
    QString why;
    if (!dump_->save(path, &why))
        prompts_.warning(tr("Cannot write %1: %2").arg(path, why));
}

void DownloadDialog::transferEnded()
{
    // Only the transfer's own state is cleared: the recording on screen
    // (currentSamples) is left exactly as it was.
    progress_->setRange(0, 1);
    progress_->setValue(0);
    setPhase(DownloadPhase::Idle);
}

void DownloadDialog::onStop()
{
    if (phase_ != DownloadPhase::Transferring)
        return;
    ++generation_; // what the workers still post is stale
    list_->clear();
    setPhase(DownloadPhase::Ending);
    engine_->stop(); // the end arrives as a stopped download
}

void DownloadDialog::done()
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
    switch (phase_) {
    case DownloadPhase::Searching:
    case DownloadPhase::Transferring:
        cancelling_ = true;
        ++generation_;
        setPhase(DownloadPhase::Ending);
        engine_->stop(); // closes the window once the download has ended
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

void DownloadDialog::showMessages(const QStringList &messages, bool warning)
{
    for (const QString &m : messages) {
        if (warning)
            prompts_.warning(m);
        else
            prompts_.information(m);
    }
}

void DownloadDialog::onSetDateAndTime()
{
    if (phase_ != DownloadPhase::Idle)
        return;
    const std::optional<QDateTime> when = clockChooser_ ? clockChooser_() : std::nullopt;
    setPhase(DownloadPhase::Maintenance);
    DeviceSession *session = session_.get();
    std::function<void()> work = [session] { session->TransferEnd(); };
    if (when) {
        const QDate d = when->date();
        const QTime t = when->time();
        const std::uint32_t word =
            Protocol::DateTimeWord(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
        work = [session, word] {
            session->SetClockProcedure(word);
            session->TransferEnd();
        };
    }
    job_.run(std::move(work), [this] {
        transferEnded();
        showMaintenanceMessages(DeviceMessage::SetClockSucceeded);
    });
}

void DownloadDialog::onDeleteData()
{
    if (phase_ != DownloadPhase::Idle)
        return;
    const std::optional<DeleteRequest> request = deleteChooser_ ? deleteChooser_() : std::nullopt;
    if (!request)
        return;
    setPhase(DownloadPhase::Maintenance);
    DeviceSession *session = session_.get();
    QPointer<DownloadDialog> self(this);
    const auto waiting = [self](bool on) {
        QMetaObject::invokeMethod(
            self,
            [self, on] {
                if (self)
                    self->showDeletingWindow(on);
            },
            Qt::QueuedConnection);
    };
    const DeleteRequest r = *request;
    job_.run(
        [session, r, waiting] {
            session->DeleteProcedure(r.id, r.type, waiting);
            session->TransferEnd();
        },
        [this] {
            showDeletingWindow(false);
            transferEnded();
            showMaintenanceMessages(DeviceMessage::DataCleared);
        });
}

void DownloadDialog::showMaintenanceMessages(DeviceMessage success)
{
    // The caller remembers the port; the device layer writes no settings.
    if (!session_->portToRemember().isEmpty())
        Settings().setDefaultCom(session_->portToRemember());
    const QString successText = DeviceTexts::text(success);
    for (const QString &text : DeviceTexts::texts(session_->takeMessages(), session_->permissionDenied())) {
        if (text == successText)
            prompts_.information(text);
        else
            prompts_.warning(text);
    }
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
    portCombo_->addItems(DownloadRules::manualPortNames(context_.linkMode, session_->ports));
    if (portCombo_->count() > 0)
        portCombo_->setCurrentIndex(0);
}

#include "device/DownloadDialog.h"

#include "app/Prompts.h"
#include "app/Settings.h"
#include "app/Texts.h"
#include "device/DeleteDataDialog.h"
#include "device/DeletingDataWindow.h"
#include "device/DeviceContext.h"
#include "device/DeviceSession.h"
#include "device/DeviceTexts.h"
#include "device/Protocol.h"
#include "device/SetClockDialog.h"
#include "model/RecordStore.h"
#include "shell/MainWindow.h"

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

DownloadDialog::DownloadDialog(RecordStore &store, Prompts &prompts, DeviceContext &context, MainWindow &frame,
                               QWidget *parent)
    : QDialog(parent), store_(store), prompts_(prompts), context_(context), mainWindow_(frame),
      session_(std::make_unique<DeviceSession>(store))
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
        return DeleteRequest{dialog.chosenId(), dialog.chosenType()};
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
            [this](int) { WriteSetupValue(QStringLiteral("port"), portCombo_->currentText()); });

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
    mainWindow_.onClose();
    list_->clear();
    startIsDone_ = false;
    earlyResult_.reset();
    highestProgress_ = 0;
    progress_->setValue(0);
    setPhase(DownloadPhase::Searching);

    const int generation = ++generation_;
    QPointer<DownloadDialog> self(this);
    Transfer::Callbacks callbacks;
    callbacks.framesReceived = [self, generation](int frames) {
        QMetaObject::invokeMethod(
            self,
            [self, generation, frames] {
                if (self)
                    self->framesArrived(generation, frames);
            },
            Qt::QueuedConnection);
    };
    callbacks.finished = [self, generation](const TransferResult &result) {
        QMetaObject::invokeMethod(
            self,
            [self, generation, result] {
                if (self)
                    self->transferFinished(generation, result);
            },
            Qt::QueuedConnection);
    };
    auto outcome = std::make_shared<SearchOutcome>(SearchOutcome::NotFound);
    auto started = std::make_shared<bool>(false);
    DeviceSession *session = session_.get();
    job_.run(
        [session, outcome, started, callbacks = std::move(callbacks)]() mutable {
            *outcome = session->FindDevice();
            if (*outcome == SearchOutcome::FoundWithData)
                *started = session->StartTransfer(std::move(callbacks));
        },
        [this, outcome, started] { searchFinished(*outcome, *started); });
}

void DownloadDialog::searchFinished(SearchOutcome outcome, bool transferStarted)
{
    const QStringList messages = session_->takeMessages();
    switch (outcome) {
    case SearchOutcome::NotFound:
        setPhase(DownloadPhase::Idle);
        showMessages(messages, true);
        return;
    case SearchOutcome::CountsFailed: // the device answered: tell it to stop and let the port go
    case SearchOutcome::FoundWithoutData:
        setPhase(DownloadPhase::Idle);
        showMessages(messages, true);
        transferEnd({});
        return;
    case SearchOutcome::FoundWithData:
        break;
    }
    if (!transferStarted) {
        showMessages(messages + QStringList{DeviceTexts::CantFindDevice()}, true);
        transferEnd({});
        return;
    }
    progress_->setRange(0, std::max(1, session_->frameCount()));
    setPhase(DownloadPhase::Transferring);
    if (earlyResult_) {
        const TransferResult result = *earlyResult_;
        earlyResult_.reset();
        const int generation = generation_;
        QMetaObject::invokeMethod(
            this, [this, generation, result] { transferFinished(generation, result); }, Qt::QueuedConnection);
    }
    showMessages(messages, true);
    // Stays up while the workers run; progress and the end arrive behind it.
    prompts_.information(DeviceTexts::ConnectSucceeded(session_->totalCount()));
}

void DownloadDialog::framesArrived(int generation, int frames)
{
    if (generation != generation_)
        return;
    progress_->setValue(std::min(frames, progress_->maximum()));
    highestProgress_ = std::max(highestProgress_, frames);
}

void DownloadDialog::transferFinished(int generation, const TransferResult &result)
{
    if (generation != generation_)
        return;
    if (phase_ == DownloadPhase::Searching) {
        earlyResult_ = result; // handled once the search has reported
        return;
    }
    if (phase_ != DownloadPhase::Transferring)
        return;
    ++generation_;

    // Whatever arrived is listed, even when the transfer ended in an error.
    const QStringList lines = store_.otherIdLines();
    list_->clear();
    list_->addItems(lines);
    if (!lines.isEmpty())
        mainWindow_.setDataArrived(true);
    startIsDone_ = true;

    QStringList messages = result.messages();
    if (result.complete() && !result.endTag && result.framesReceived < result.frameCount)
        messages.append(DeviceTexts::PartialDownload(result.framesReceived, result.frameCount));
    transferEnd({});
    showMessages(messages, true);
}

void DownloadDialog::transferEnd(std::function<void()> then)
{
    // The workers are ended before the stop command goes out and the port closes.
    setPhase(phase_ == DownloadPhase::Maintenance ? DownloadPhase::Maintenance : DownloadPhase::Ending);
    DeviceSession *session = session_.get();
    job_.run([session] { session->TransferEnd(); },
             [this, then = std::move(then)] {
                 transferEnded();
                 if (then)
                     then();
                 if (cancelling_)
                     finishCancel();
             });
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
    transferEnd({});
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
    store_.SelectDeviceId(id, RecordStore::SelectSource::Download, prompts_);
    // A download always ends in Trend: the search closed every view before.
    mainWindow_.showRecording();
    mainWindow_.setDataArrived(true);
    chosenId_ = id;
    accept();
}

void DownloadDialog::reject()
{
    if (cancelling_)
        return;
    switch (phase_) {
    case DownloadPhase::Transferring:
        cancelling_ = true;
        ++generation_;
        transferEnd({}); // closes the window when done
        return;
    case DownloadPhase::Ending:
        cancelling_ = true; // closes the window once the transfer end is over
        return;
    case DownloadPhase::Idle:
        cancelling_ = true;
        finishCancel();
        return;
    case DownloadPhase::Searching:
    case DownloadPhase::Maintenance:
        return; // the window is disabled while the device is busy
    }
}

void DownloadDialog::finishCancel()
{
    context_.linkMode = LinkMode::Serial;
    // Only the transfer's own state goes; a recording on screen stays whole.
    if (mainWindow_.displayMode() == 0)
        mainWindow_.onClose();
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
        const QStringList messages = session_->takeMessages();
        for (const QString &m : messages) {
            if (m == DeviceTexts::SetClockSucceeded())
                prompts_.information(m);
            else
                prompts_.warning(m);
        }
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
            const QStringList messages = session_->takeMessages();
            for (const QString &m : messages) {
                if (m == DeviceTexts::DataCleared())
                    prompts_.information(m);
                else
                    prompts_.warning(m);
            }
        });
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

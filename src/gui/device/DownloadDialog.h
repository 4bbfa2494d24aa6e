// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DownloadPhase.h"
#include "device/PortList.h"
#include "device/Protocol.h"

#include <QDateTime>
#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class DeletingDataWindow;
class DownloadController;
class Prompts;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class RecordStore;
struct DeviceContext;
struct DeviceNotice;
struct DownloadResult;

// What the Delete Data dialog hands to the delete procedure.
struct DeleteRequest {
    int id = 0; // 0: every ID on the device
    Protocol::DeleteDataType type = Protocol::DeleteDataType::All;
};

// "New Data Capture": starts the download as soon as it opens, shows its
// progress, lists each downloaded ID and makes the chosen one the current
// recording. The download itself runs in a DownloadController; the window
// shows what it reports and forwards the buttons. The window reports what
// happened by its signals; the main window decides what follows.
class DownloadDialog : public QDialog
{
    Q_OBJECT
public:
    DownloadDialog(RecordStore &store, Prompts &prompts, DeviceContext &context, QWidget *parent = nullptr);
    ~DownloadDialog() override;

    DownloadPhase phase() const;
    bool finishedOnce() const { return startIsDone_; }
    int chosenId() const { return chosenId_; }
    DownloadController &controller() { return *controller_; }

    QListWidget *idList() const { return list_; }
    QProgressBar *progressBar() const { return progress_; }
    QPushButton *startButton() const { return startButton_; }
    QPushButton *stopButton() const { return stopButton_; }
    QPushButton *deleteButton() const { return deleteButton_; }
    QPushButton *clockButton() const { return clockButton_; }
    QPushButton *cancelButton() const { return cancelButton_; }
    QPushButton *extendButton() const { return extendButton_; }
    QPushButton *saveDumpButton() const { return saveDumpButton_; }
    QLabel *checkLabel() const { return checkLabel_; }
    QComboBox *portCombo() const { return portCombo_; }
    bool extended() const { return extended_; }
    int highestProgress() const { return highestProgress_; }

    // The values the clock and delete buttons ask for; the defaults run the
    // dialogs. nullopt: the user cancelled.
    void setClockChooser(std::function<std::optional<QDateTime>()> chooser) { clockChooser_ = std::move(chooser); }
    void setDeleteChooser(std::function<std::optional<DeleteRequest>()> chooser)
    {
        deleteChooser_ = std::move(chooser);
    }

Q_SIGNALS:
    // A download starts: the record store was emptied, so no view may show old data.
    void recordingCleared();
    // Readings arrived and are listed.
    void dataArrived();
    // Done: id is now the current recording.
    void recordingChosen(int id);
    // Closed with Cancel.
    void cancelled();

public Q_SLOTS:
    void onStartOrDone();
    void onStop();
    void onSetDateAndTime();
    void onDeleteData();
    void onLayoutSwitch();
    // Writes every byte of the last download's exchange to a file the user picks.
    void onSaveRawDump();
    void reject() override;

private:
    void buildControls();
    void showPhase(DownloadPhase phase);
    void start();
    void finishWithChosenId();
    void transferStarted(int frameCount);
    void framesArrived(int frames);
    void downloadFinished(const DownloadResult &result);
    // Back to idle once the transfer end has run.
    void transferEnded();
    void finishCancel();
    void showNotice(const DeviceNotice &notice);
    void showDeletingWindow(bool show);
    void setStandardLayout(bool standard);
    void refillPortCombo();

    RecordStore &store_;
    Prompts &prompts_;
    DeviceContext &context_;
    PortLists ports_; // as listed when the window opened
    std::unique_ptr<DownloadController> controller_;

    QListWidget *list_ = nullptr;
    QLabel *checkLabel_ = nullptr; // frames and reading times of the last download
    QProgressBar *progress_ = nullptr;
    QPushButton *startButton_ = nullptr;
    QPushButton *stopButton_ = nullptr;
    QPushButton *deleteButton_ = nullptr;
    QPushButton *clockButton_ = nullptr;
    QPushButton *cancelButton_ = nullptr;
    QPushButton *extendButton_ = nullptr;
    QPushButton *saveDumpButton_ = nullptr;
    QFrame *line_ = nullptr;
    QGroupBox *manualGroup_ = nullptr;
    QComboBox *portCombo_ = nullptr;
    QPointer<DeletingDataWindow> deleting_;

    bool startIsDone_ = false;
    bool extended_ = false;
    bool cancelling_ = false;
    int chosenId_ = 0;
    int highestProgress_ = 0;
    std::function<std::optional<QDateTime>()> clockChooser_;
    std::function<std::optional<DeleteRequest>()> deleteChooser_;
};

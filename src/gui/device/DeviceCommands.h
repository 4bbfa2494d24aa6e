// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/DeviceContext.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class SocketLink;
class DownloadDialog;
class QWidget;
class DemoDevice;
class DeviceArrivalMonitor;
class Prompts;
class RecordStore;

// The main window's ways into a download: "New data capture", "Find bluetooth
// radio" and a serial port being plugged in. Never more than one download
// window at a time. Each new download window is announced, so the main window
// can connect to what it reports.
class DeviceCommands : public QObject
{
    Q_OBJECT
public:
    // window: the parent of the windows these commands open.
    DeviceCommands(QWidget &window, RecordStore &store, Prompts &prompts);
    ~DeviceCommands() override;

    DeviceContext &context() { return context_; }
    DownloadDialog *downloadWindow() const;

    // Starts the udev monitor; false when udev cannot be reached.
    bool startArrivalMonitor();
    // Starts the built-in simulated oximeter and tries its port first.
    bool startDemo();
    DemoDevice *demo() const { return demo_.get(); }

    // How "Find bluetooth radio" obtains a connected link (null: none);
    // the default runs the search dialog.
    void setBluetoothPicker(std::function<std::shared_ptr<SocketLink>()> picker) { picker_ = std::move(picker); }
    // Asked before a new download may start: false keeps the readings in memory.
    void setDiscardCheck(std::function<bool()> check) { discardCheck_ = std::move(check); }

Q_SIGNALS:
    void downloadWindowOpened(DownloadDialog *window);

public Q_SLOTS:
    void newDataCapture();
    void findBluetoothRadio();
    void deviceArrived();

private:
    void openDownloadWindow();
    // True while another modal window (a print preview, a file dialog, a
    // message) runs its own event loop: the download's start would clear the
    // recording and delete the view under it.
    bool modalInTheWay() const;

    QWidget &owner_;
    RecordStore &store_;
    Prompts &prompts_;
    DeviceContext context_;
    QPointer<DownloadDialog> window_;
    DeviceArrivalMonitor *monitor_ = nullptr;
    std::unique_ptr<DemoDevice> demo_;
    std::function<std::shared_ptr<SocketLink>()> picker_;
    std::function<bool()> discardCheck_;
    QTimer arrivalRetry_; // an arrival held back by a modal window is tried again
};

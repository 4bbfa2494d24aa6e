// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceCommands.h"

#include "app/Prompts.h"
#include "device/BluetoothSearchDialog.h"
#include "device/DemoDevice.h"
#include "device/DeviceArrivalMonitor.h"
#include "device/DownloadDialog.h"
#include "device/SocketLink.h"

#include <QApplication>
#include <QThread>

DeviceCommands::DeviceCommands(QWidget &window, RecordStore &store, Prompts &prompts)
    : QObject(&window), owner_(window), store_(store), prompts_(prompts)
{
    picker_ = [this]() -> std::shared_ptr<SocketLink> {
        BluetoothSearchDialog dialog(demo_ ? demo_->bluetoothAddress() : QString(), &owner_);
        if (dialog.exec() != QDialog::Accepted)
            return nullptr;
        return dialog.link();
    };
    arrivalRetry_.setSingleShot(true);
    arrivalRetry_.setInterval(250);
    connect(&arrivalRetry_, &QTimer::timeout, this, &DeviceCommands::deviceArrived);
}

DeviceCommands::~DeviceCommands()
{
    // The window's work ends before the demo device behind it goes.
    delete window_.data();
}

bool DeviceCommands::startArrivalMonitor()
{
    if (!monitor_) {
        monitor_ = new DeviceArrivalMonitor(this);
        connect(monitor_, &DeviceArrivalMonitor::deviceArrived, this, &DeviceCommands::deviceArrived);
    }
    return monitor_->start();
}

bool DeviceCommands::startDemo()
{
    demo_ = std::make_unique<DemoDevice>();
    if (!demo_->start()) {
        demo_.reset();
        return false;
    }
    context_.firstPort = demo_->portName();
    return true;
}

void DeviceCommands::newDataCapture()
{
    context_.linkMode = LinkMode::Serial;
    openDownloadWindow();
}

void DeviceCommands::findBluetoothRadio()
{
    context_.linkMode = LinkMode::Bluetooth;
    std::shared_ptr<SocketLink> link = picker_ ? picker_() : nullptr;
    if (!link || !link->IsConnected())
        return; // the link mode stays Bluetooth
    context_.bluetooth = std::move(link);
    prompts_.information(tr("CONNECT SUCCEED"));
    openDownloadWindow();
}

void DeviceCommands::deviceArrived()
{
    // A port appearing opens the download only on the serial link.
    if (context_.linkMode != LinkMode::Serial)
        return;
    if (modalInTheWay()) {
        arrivalRetry_.start(); // once that window has closed
        return;
    }
    newDataCapture();
}

bool DeviceCommands::modalInTheWay() const
{
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != window_.data())
        return true;
    // A nested event loop without a modal widget is a native dialog's.
    return QThread::currentThread()->loopLevel() > 1;
}

void DeviceCommands::openDownloadWindow()
{
    if (window_) {
        window_->raise();
        window_->activateWindow();
        return;
    }
    // The new download empties the record store.
    if (discardCheck_ && !discardCheck_())
        return;
    auto *window = new DownloadDialog(store_, prompts_, context_, &owner_);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window_ = window;
    Q_EMIT downloadWindowOpened(window); // before its search starts
    window->open();                      // modal to the main window, which keeps repainting
}

DownloadDialog *DeviceCommands::downloadWindow() const
{
    return window_.data();
}

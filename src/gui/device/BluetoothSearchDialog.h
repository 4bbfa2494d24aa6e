// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/BackgroundJob.h"

#include <QDialog>

#include <memory>

class SocketLink;
class QBluetoothDeviceDiscoveryAgent;
class QBluetoothDeviceInfo;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;

// "Find bluetooth radio": lists the Bluetooth devices nearby, connects the
// chosen one (RFCOMM channel 1) and hands the link to the download window.
// An address may also be typed, unix:PATH reaching the simulated device.
class BluetoothSearchDialog : public QDialog
{
    Q_OBJECT
public:
    explicit BluetoothSearchDialog(const QString &suggestedAddress, QWidget *parent = nullptr);
    ~BluetoothSearchDialog() override;

    // The connected link after the dialog ended with OK.
    std::shared_ptr<SocketLink> link() const { return link_; }
    bool adapterPresent() const { return adapterPresent_; }
    QLabel *statusLabel() const { return status_; }
    QLineEdit *addressEdit() const { return address_; }

public Q_SLOTS:
    void connectChosen();
    // Also when closed from the window manager: a running connect is abandoned.
    void reject() override;
    // Starts (again) the search for devices nearby.
    void search();

private:
    void addDevice(const QBluetoothDeviceInfo &info);

    QListWidget *devices_ = nullptr;
    QLineEdit *address_ = nullptr;
    QLabel *status_ = nullptr;
    QDialogButtonBox *buttons_ = nullptr;
    QBluetoothDeviceDiscoveryAgent *agent_ = nullptr;
    bool adapterPresent_ = false;
    std::shared_ptr<SocketLink> link_;
    std::shared_ptr<SocketLink> connecting_; // while a connect runs
    BackgroundJob job_{this};
};

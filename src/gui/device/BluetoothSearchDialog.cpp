// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/BluetoothSearchDialog.h"

#include "device/BluetoothAddress.h"
#include "device/SocketLink.h"

#include <QBluetoothDeviceDiscoveryAgent>
#include <QBluetoothLocalDevice>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

BluetoothSearchDialog::BluetoothSearchDialog(const QString &suggestedAddress, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("findBluetoothRadio"));
    setWindowTitle(tr("Find bluetooth radio"));
    devices_ = new QListWidget(this);
    devices_->setMinimumSize(360, 160);
    address_ = new QLineEdit(suggestedAddress, this);
    address_->setPlaceholderText(QStringLiteral("AA:BB:CC:DD:EE:FF"));
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    buttons_ = new QDialogButtonBox(this);
    QPushButton *connectButton = buttons_->addButton(tr("Connect"), QDialogButtonBox::AcceptRole);
    connectButton->setDefault(true);
    buttons_->addButton(QDialogButtonBox::Cancel);
    connect(buttons_, &QDialogButtonBox::accepted, this, &BluetoothSearchDialog::connectChosen);
    connect(buttons_, &QDialogButtonBox::rejected, this, &BluetoothSearchDialog::reject);
    connect(devices_, &QListWidget::currentTextChanged, this,
            [this](const QString &line) { address_->setText(BluetoothAddress::fromListLine(line)); });
    connect(devices_, &QListWidget::itemDoubleClicked, this, &BluetoothSearchDialog::connectChosen);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Devices nearby:"), this));
    layout->addWidget(devices_, 1);
    layout->addWidget(new QLabel(tr("Address:"), this));
    layout->addWidget(address_);
    layout->addWidget(status_);
    layout->addWidget(buttons_);

    adapterPresent_ = !QBluetoothLocalDevice::allDevices().isEmpty();
    if (!adapterPresent_) {
        status_->setText(tr("No Bluetooth adapter was found on this computer, so no device can be searched for. "
                            "Plug in or switch on an adapter and try again."));
        return;
    }
    agent_ = new QBluetoothDeviceDiscoveryAgent(this);
    connect(agent_, &QBluetoothDeviceDiscoveryAgent::deviceDiscovered, this, &BluetoothSearchDialog::addDevice);
    connect(agent_, &QBluetoothDeviceDiscoveryAgent::finished, this,
            [this] { status_->setText(tr("Search finished: %n device(s) found.", nullptr, devices_->count())); });
    connect(agent_, &QBluetoothDeviceDiscoveryAgent::errorOccurred, this,
            [this] { status_->setText(tr("The Bluetooth search failed: %1").arg(agent_->errorString())); });
    QPushButton *again = buttons_->addButton(tr("Search again"), QDialogButtonBox::ActionRole);
    connect(again, &QPushButton::clicked, this, &BluetoothSearchDialog::search);
    search();
}

void BluetoothSearchDialog::search()
{
    if (!agent_)
        return;
    agent_->stop();
    devices_->clear();
    status_->setText(tr("Searching for Bluetooth devices ..."));
    agent_->start(QBluetoothDeviceDiscoveryAgent::ClassicMethod);
}

BluetoothSearchDialog::~BluetoothSearchDialog()
{
    if (agent_)
        agent_->stop();
    // The job joins its thread next; the connect must not make us wait for it.
    if (connecting_)
        connecting_->abandonConnect();
}

void BluetoothSearchDialog::reject()
{
    if (connecting_)
        connecting_->abandonConnect();
    job_.drop(); // closed while connecting: the outcome is nobody's
    connecting_.reset();
    QDialog::reject();
}

void BluetoothSearchDialog::addDevice(const QBluetoothDeviceInfo &info)
{
    const QString line = BluetoothAddress::listLine(info.name(), info.address().toString());
    if (devices_->findItems(line, Qt::MatchExactly).isEmpty())
        devices_->addItem(line);
}

void BluetoothSearchDialog::connectChosen()
{
    const QString address = address_->text().trimmed();
    if (!BluetoothAddress::isValid(address)) {
        status_->setText(tr("Choose a device in the list, or type its address as AA:BB:CC:DD:EE:FF."));
        return;
    }
    if (job_.running())
        return;
    if (agent_)
        agent_->stop(); // a running inquiry slows the connection down
    setEnabled(false);
    setCursor(Qt::BusyCursor);
    status_->setText(tr("Connecting to %1 ...").arg(address));
    auto link = MakeSocketLink(address);
    connecting_ = link;
    job_.run<DeviceResult<>>([link, address](const BackgroundJob::Post &) { return link->Connect(address); },
                             [this, link, address](DeviceResult<> &connected) {
                                 connecting_.reset();
                                 setEnabled(true);
                                 unsetCursor();
                                 if (!connected) {
                                     status_->setText(
                                         tr("Could not connect to %1: %2").arg(address, connected.detail()));
                                     return;
                                 }
                                 link_ = link;
                                 accept();
                             });
}

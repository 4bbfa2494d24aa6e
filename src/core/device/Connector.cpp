// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/Connector.h"

#include "device/SocketLink.h"
#include "device/Transport.h"

namespace
{
const QString kInProcess = QStringLiteral("in-process");

DeviceFailure lineDown(const char *why)
{
    return {DeviceError::Disconnected, QLatin1String(why)};
}
} // namespace

void Connector::setLog(std::shared_ptr<HexLog> log)
{
    log_ = std::move(log);
    tap();
}

void Connector::setDump(std::shared_ptr<RawDump> dump)
{
    dump_ = std::move(dump);
    tap();
}

BluetoothConnector::BluetoothConnector(std::shared_ptr<SocketLink> link) : link_(std::move(link)) {}

QStringList BluetoothConnector::candidates(bool /*forDownload*/) const
{
    return {link_ ? link_->address() : QString()};
}

DeviceResult<Transport *> BluetoothConnector::open(const QString & /*line*/, int /*baud*/)
{
    if (!link_ || !link_->IsConnected())
        return lineDown("the Bluetooth link is down");
    (void)link_->ConnectSocket(); // a link still down fails the handshake
    return static_cast<Transport *>(link_.get());
}

DeviceResult<Transport *> BluetoothConnector::reopen(const QString & /*line*/, int /*baud*/)
{
    // The link has no line speed of its own.
    return static_cast<Transport *>(link_.get());
}

Transport *BluetoothConnector::transport() const
{
    return link_.get();
}

void BluetoothConnector::tap()
{
    if (!link_)
        return;
    link_->setLog(log());
    link_->setDump(dump());
}

FixedConnector::FixedConnector(std::shared_ptr<Transport> transport) : transport_(std::move(transport)) {}

QStringList FixedConnector::candidates(bool /*forDownload*/) const
{
    return {kInProcess};
}

QString FixedConnector::firstLine() const
{
    return kInProcess;
}

DeviceResult<Transport *> FixedConnector::open(const QString & /*line*/, int /*baud*/)
{
    if (!transport_ || !transport_->isOpen())
        return lineDown("the line is not open");
    return transport_.get();
}

void FixedConnector::tap()
{
    if (!transport_)
        return;
    transport_->setLog(log());
    transport_->setDump(dump());
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceSession.h"

#include "device/Connector.h"
#include "device/PortSearch.h"
#include "device/SerialConnector.h"
#include "device/Transport.h"

DeviceSession::DeviceSession(std::shared_ptr<WaitClock> clock)
    : clock_(clock ? std::move(clock) : std::make_shared<WaitClock>())
{
    link_.setClock(clock_.get());
    useConnector(std::make_unique<SerialConnector>());
}

DeviceSession::~DeviceSession()
{
    connector_->close();
}

void DeviceSession::cancel()
{
    clock_->cancel();
}

void DeviceSession::resume()
{
    clock_->reset();
}

LinkMode DeviceSession::linkMode() const
{
    return connector_->linkMode();
}

void DeviceSession::useConnector(std::unique_ptr<Connector> connector)
{
    connector_ = std::move(connector);
    connector_->setLog(log_);
    connector_->setDump(dump_);
    link_.setTransport(connector_->transport());
}

void DeviceSession::useSerial(const SerialSearch &search)
{
    useConnector(std::make_unique<SerialConnector>(search));
}

void DeviceSession::useBluetooth(std::shared_ptr<SocketLink> link)
{
    useConnector(std::make_unique<BluetoothConnector>(std::move(link)));
}

void DeviceSession::useTransport(std::shared_ptr<Transport> transport)
{
    useConnector(std::make_unique<FixedConnector>(std::move(transport)));
}

QString DeviceSession::port() const
{
    return connector_->firstLine();
}

void DeviceSession::setLog(std::shared_ptr<HexLog> log)
{
    log_ = std::move(log);
    connector_->setLog(log_);
}

void DeviceSession::setDump(std::shared_ptr<RawDump> dump)
{
    dump_ = std::move(dump);
    connector_->setDump(dump_);
}

DeviceResult<FoundDevice> DeviceSession::FindDevice()
{
    portToRemember_.clear();
    const QString remembered = connector_->firstLine();
    PortSearch search(*connector_, link_, *clock_);
    const DeviceResult<ConnectedDevice> connected = search.run(true, true);
    permissionDenied_ = search.refused();
    if (!connected) {
        link_.tell(DeviceMessage::CantFindDevice);
        return DeviceFailure{DeviceError::NotFound, connected.detail()};
    }
    if (connector_->remembersLine() && connected.value().line != remembered)
        portToRemember_ = connected.value().line;

    const DeviceResult<Protocol::Counts> counts = link_.QueryCounts();
    if (counts) {
        counts_ = counts.value();
        totalCount_ = counts_.totalCount();
    }
    // The last good count decides "no data": a rejected reply after an empty
    // device is still an empty device.
    if (totalCount_ == 0) {
        link_.tell(DeviceMessage::NoData);
        return DeviceFailure{DeviceError::NoData, QStringLiteral("the device holds no readings")};
    }
    if (!counts) {
        link_.tell(DeviceMessage::SyncError);
        return counts.failure();
    }
    return FoundDevice{connected.value().info, counts_};
}

DeviceResult<> DeviceSession::FindDeviceFor(const std::function<void(DeviceLink &)> &action, MaintenanceReopen reopen)
{
    portToRemember_.clear();
    const bool reopenInSearch = reopen == MaintenanceReopen::InSearch;
    PortSearch search(*connector_, link_, *clock_);
    const DeviceResult<ConnectedDevice> connected = search.run(false, reopenInSearch);
    permissionDenied_ = search.refused();
    if (!connected) {
        if (linkMode() == LinkMode::Serial)
            link_.tell(DeviceMessage::CantFindDevice);
        else if (!search.reached() && connected.error() != DeviceError::Cancelled)
            link_.tell(DeviceMessage::NotConnected);
        // A Bluetooth device that does not answer on a link that is up ends without a message.
        return connected.failure();
    }
    if (reopenInSearch && connector_->remembersLine())
        portToRemember_ = connected.value().line;
    action(link_);
    return {};
}

DeviceResult<> DeviceSession::SetClockProcedure(std::uint32_t word)
{
    DeviceResult<> done;
    // The clock command owns its reopen: a port that answered the handshake but
    // cannot take the data rate is this command's error, not a reason to move on.
    const DeviceResult<> found = FindDeviceFor(
        [&](DeviceLink &link) {
            const DeviceResult<Transport *> reopened = connector_->reopen(port(), int(link.lastInfo().dataBaud));
            if (!reopened) {
                link.tell(DeviceMessage::SetClockError);
                done = reopened.failure();
                return;
            }
            if (connector_->remembersLine())
                portToRemember_ = port();
            done = link.SetDeviceClock(word);
        },
        MaintenanceReopen::InAction);
    return found ? done : found;
}

DeviceResult<> DeviceSession::DeleteProcedure(int id, Protocol::DeleteDataType type,
                                              const std::function<void(bool)> &waiting)
{
    DeviceResult<> done;
    const DeviceResult<> found = FindDeviceFor([&](DeviceLink &link) {
        if (const DeviceResult<Protocol::Counts> counts = link.QueryCounts(); counts)
            totalCount_ = counts.value().totalCount();
        if (totalCount_ > 0) {
            done = link.DeleteDeviceData(id, type, waiting);
        } else {
            link.tell(DeviceMessage::NoData);
            done = DeviceFailure{DeviceError::NoData, QStringLiteral("the device holds no readings")};
        }
    });
    return found ? done : found;
}

void DeviceSession::TransferEnd()
{
    // The end always runs whole: the device must hear the stop even after a cancel.
    resume();
    Transport *transport = link_.transport();
    if (transport && transport->isOpen()) {
        link_.pause(500);
        link_.SendStop();
    }
    connector_->close();
    counts_ = Protocol::Counts{};
}

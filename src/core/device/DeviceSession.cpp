// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceSession.h"

#include "device/HexLog.h"
#include "device/RawDump.h"
#include "device/SerialPort.h"
#include "device/SocketLink.h"

namespace
{
constexpr int kHandshakeBaud = 4800;
} // namespace

DeviceSession::DeviceSession(std::shared_ptr<WaitClock> clock)
    : clock_(clock ? std::move(clock) : std::make_shared<WaitClock>())
{
    link_.setClock(clock_.get());
}

void DeviceSession::cancel()
{
    // The transfer hears the stop before its waits are cut short: otherwise its
    // receiver, polling without pauses, could spend its idle budget first and end
    // in a timeout that raced the stop (and report the whole count).
    RequestStopTransfer();
    clock_->cancel();
}

void DeviceSession::resume()
{
    clock_->reset();
}

DeviceSession::~DeviceSession()
{
    StopTransfer();
    closePort();
}

void DeviceSession::useSerial()
{
    mode_ = LinkMode::Serial;
    link_.setTransport(serial_.get());
}

void DeviceSession::useBluetooth(std::shared_ptr<SocketLink> link)
{
    mode_ = LinkMode::Bluetooth;
    bluetooth_ = std::move(link);
    if (bluetooth_ && log_)
        bluetooth_->setLog(log_);
    if (bluetooth_ && dump_)
        bluetooth_->setDump(dump_);
    link_.setTransport(bluetooth_.get());
}

void DeviceSession::useTransport(std::shared_ptr<Transport> transport)
{
    mode_ = LinkMode::Serial;
    fixed_ = std::move(transport);
    if (fixed_ && dump_)
        fixed_->setDump(dump_);
    savedPort = QStringLiteral("in-process");
    ports = PortLists{};
    bruteForce = false;
    link_.setTransport(fixed_.get());
}

QString DeviceSession::portPath(const QString &portName) const
{
    if (portName.startsWith(u'/'))
        return portName;
    return devRoot_ + u'/' + portName;
}

void DeviceSession::EnumeratePorts()
{
    ports = ::EnumeratePorts();
}

void DeviceSession::restrictToPort(const QString &portName)
{
    savedPort = portName.startsWith(QLatin1String("/dev/")) ? portName.mid(5) : portName;
    ports = PortLists{};
    bruteForce = false;
}

void DeviceSession::setLog(std::shared_ptr<HexLog> log)
{
    log_ = std::move(log);
    if (serial_)
        serial_->setLog(log_);
    if (bluetooth_)
        bluetooth_->setLog(log_);
}

void DeviceSession::setDump(std::shared_ptr<RawDump> dump)
{
    dump_ = std::move(dump);
    for (Transport *t : std::initializer_list<Transport *>{serial_.get(), bluetooth_.get(), fixed_.get()}) {
        if (t)
            t->setDump(dump_);
    }
}

DeviceMessages DeviceSession::takeMessages()
{
    DeviceMessages out;
    out.swap(link_.messages);
    return out;
}

bool DeviceSession::transferRunning() const
{
    return transfer_ && transfer_->running();
}

TransferResult DeviceSession::takeTransferResult()
{
    return transfer_ ? transfer_->takeResult() : TransferResult{};
}

DeviceResult<> DeviceSession::openPort(const QString &portName, int baud)
{
    if (fixed_) {
        link_.setTransport(fixed_.get());
        if (!fixed_->isOpen())
            return DeviceFailure{DeviceError::Disconnected, QStringLiteral("the line is not open")};
        return {};
    }
    closePort();
    if (!serial_) {
        serial_ = std::make_unique<SerialPort>();
        serial_->setLog(log_);
    }
    serial_->setDump(dump_);
    link_.setTransport(serial_.get());
    const QString path = portPath(portName);
    DeviceResult<> opened = serial_->Open(path, baud);
    if (opened) {
        // A replay keeps apart what each port answered.
        if (dump_)
            dump_->opened(path);
        return opened;
    }
    if (opened.error() == DeviceError::NoAccess && !permissionDenied_.contains(path))
        permissionDenied_.append(path);
    return opened;
}

void DeviceSession::closePort()
{
    if (serial_)
        serial_->close();
}

DeviceResult<> DeviceSession::tryPort(const QString &portName, bool reopenAtDataBaud)
{
    if (DeviceResult<> opened = openPort(portName, kHandshakeBaud); !opened)
        return opened;
    const DeviceResult<Protocol::DeviceInfo> info = link_.QueryDeviceInfo();
    if (!info) {
        closePort();
        return info.failure();
    }
    if (reopenAtDataBaud) {
        if (DeviceResult<> reopened = openPort(portName, int(info.value().dataBaud)); !reopened) {
            closePort();
            return reopened;
        }
    }
    return {};
}

QStringList DeviceSession::searchOrder(bool skipBluetoothInBruteForce) const
{
    // Saved port, bridges, other ports, then every device node; the search stops
    // at the first that answers, so later groups are only reached when the
    // earlier ones found nothing.
    // Each port once: a dead port costs a whole handshake budget.
    QStringList order;
    QStringList paths;
    const auto add = [this, &order, &paths](const QString &name) {
        const QString path = portPath(name);
        if (!name.isEmpty() && !paths.contains(path)) {
            order.append(name);
            paths.append(path);
        }
    };
    add(savedPort);
    for (const PortEntry &e : ports.bridgePorts)
        add(e.portName);
    for (const PortEntry &e : ports.otherPorts)
        add(e.portName);
    QStringList skip;
    if (skipBluetoothInBruteForce) {
        for (const PortEntry &e : ports.bluetoothPorts)
            skip.append(e.portName);
    }
    if (bruteForce) {
        for (const QString &name : BruteForcePortNames(devRoot_, skip))
            add(name);
    }
    return order;
}

DeviceResult<FoundDevice> DeviceSession::FindDevice()
{
    permissionDenied_.clear();
    portToRemember_.clear();
    const DeviceFailure notFound{DeviceError::NotFound, QStringLiteral("no line answered")};
    FoundDevice found;
    if (mode_ == LinkMode::Bluetooth) {
        if (!bluetooth_ || !bluetooth_->IsConnected()) {
            link_.messages.push_back(DeviceMessage::CantFindDevice);
            return notFound;
        }
        link_.setTransport(bluetooth_.get());
        (void)bluetooth_->ConnectSocket(); // a link still down fails the handshake
        if (!link_.pause(100) || !link_.QueryDeviceInfo()) {
            link_.messages.push_back(DeviceMessage::CantFindDevice);
            return notFound;
        }
    } else {
        const QString remembered = savedPort;
        bool answered = false;
        for (const QString &name : searchOrder(true)) {
            if (cancelled())
                break;
            savedPort = name;
            if (tryPort(name, true)) {
                answered = true;
                break;
            }
        }
        if (!answered) {
            savedPort = remembered;
            link_.messages.push_back(DeviceMessage::CantFindDevice);
            return notFound;
        }
        if (savedPort != remembered)
            portToRemember_ = savedPort;
    }
    found.info = link_.lastInfo();

    const DeviceResult<Protocol::Counts> counts = link_.QueryCounts();
    if (counts) {
        counts_ = counts.value();
        totalCount_ = counts_.totalCount();
    }
    // The last good count decides "no data": a rejected reply after an empty
    // device is still an empty device.
    if (totalCount_ == 0) {
        link_.messages.push_back(DeviceMessage::NoData);
        return DeviceFailure{DeviceError::NoData, QStringLiteral("the device holds no readings")};
    }
    if (!counts) {
        link_.messages.push_back(DeviceMessage::SyncError);
        return counts.failure();
    }
    found.counts = counts_;
    return found;
}

DeviceResult<> DeviceSession::FindDeviceFor(const std::function<void(DeviceLink &)> &action, MaintenanceReopen reopen)
{
    permissionDenied_.clear();
    portToRemember_.clear();
    if (mode_ == LinkMode::Bluetooth) {
        if (!bluetooth_ || !bluetooth_->IsConnected()) {
            link_.messages.push_back(DeviceMessage::NotConnected);
            return DeviceFailure{DeviceError::Disconnected, QStringLiteral("the Bluetooth link is down")};
        }
        link_.setTransport(bluetooth_.get());
        (void)bluetooth_->ConnectSocket(); // a link still down fails the handshake
        // The device needs it after a connect, as in the download search.
        if (!link_.pause(100))
            return CancelledExchange();
        if (const DeviceResult<Protocol::DeviceInfo> info = link_.QueryDeviceInfo(); !info)
            return info.failure(); // ends without a message
        action(link_);
        return {};
    }
    const QString remembered = savedPort;
    const bool reopenInSearch = reopen == MaintenanceReopen::InSearch;
    for (const QString &name : searchOrder(false)) {
        if (cancelled())
            break;
        savedPort = name;
        if (!tryPort(name, reopenInSearch))
            continue;
        if (reopenInSearch)
            portToRemember_ = savedPort;
        action(link_);
        return {};
    }
    savedPort = remembered;
    link_.messages.push_back(DeviceMessage::CantFindDevice);
    return DeviceFailure{DeviceError::NotFound, QStringLiteral("no line answered")};
}

DeviceResult<> DeviceSession::SetClockProcedure(std::uint32_t word)
{
    DeviceResult<> done = DeviceFailure{DeviceError::NotFound, {}};
    // The clock command owns its reopen: a port that answered the handshake but
    // cannot take the data rate is this command's error, not a reason to move on.
    const DeviceResult<> found = FindDeviceFor(
        [&](DeviceLink &link) {
            if (mode_ == LinkMode::Serial) {
                done = openPort(savedPort, int(link.lastInfo().dataBaud));
                if (!done) {
                    link.messages.push_back(DeviceMessage::SetClockError);
                    return;
                }
                portToRemember_ = savedPort;
            }
            done = link.SetDeviceClock(word);
        },
        MaintenanceReopen::InAction);
    return found ? done : found;
}

DeviceResult<> DeviceSession::DeleteProcedure(int id, Protocol::DeleteDataType type,
                                              const std::function<void(bool)> &waiting)
{
    DeviceResult<> done = DeviceFailure{DeviceError::NotFound, {}};
    const DeviceResult<> found = FindDeviceFor([&](DeviceLink &link) {
        if (const DeviceResult<Protocol::Counts> counts = link.QueryCounts(); counts)
            totalCount_ = counts.value().totalCount();
        if (totalCount_ > 0) {
            done = link.DeleteDeviceData(id, type, waiting);
        } else {
            link.messages.push_back(DeviceMessage::NoData);
            done = DeviceFailure{DeviceError::NoData, QStringLiteral("the device holds no readings")};
        }
    });
    return found ? done : found;
}

DeviceResult<> DeviceSession::StartTransfer(Transfer::Callbacks callbacks)
{
    Transport *transport = link_.transport();
    if (!transport || !transport->isOpen())
        return DeviceFailure{DeviceError::Disconnected, QStringLiteral("the line went away")};
    if (transfer_)
        return DeviceFailure{DeviceError::Busy, QStringLiteral("a transfer runs")};
    std::lock_guard lock(transferMutex_);
    transfer_ =
        std::make_unique<Transfer>(*transport, clock_.get(), deviceModel(), counts_.frameCount, std::move(callbacks));
    transfer_->start();
    return {};
}

void DeviceSession::RequestStopTransfer()
{
    std::lock_guard lock(transferMutex_);
    if (transfer_)
        transfer_->requestStop();
}

void DeviceSession::StopTransfer()
{
    if (transfer_)
        transfer_->stop();
}

void DeviceSession::WaitTransfer()
{
    if (transfer_)
        transfer_->wait();
}

void DeviceSession::TransferEnd()
{
    StopTransfer();
    {
        std::lock_guard lock(transferMutex_);
        transfer_.reset();
    }
    // The end always runs whole: the device must hear the stop even after a cancel.
    resume();
    Transport *transport = link_.transport();
    if (transport && transport->isOpen()) {
        link_.pause(500);
        link_.SendStop();
    }
    closePort();
    counts_ = Protocol::Counts{};
}

#include "device/DeviceSession.h"

#include "app/Settings.h"
#include "device/BluetoothLink.h"
#include "device/DeviceTexts.h"
#include "device/HexLog.h"
#include "device/SerialPort.h"
#include "model/RecordStore.h"

namespace
{
constexpr int kHandshakeBaud = 4800;
} // namespace

DeviceSession::DeviceSession(RecordStore &store) : store_(store) {}

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

void DeviceSession::useBluetooth(std::shared_ptr<BluetoothLink> link)
{
    mode_ = LinkMode::Bluetooth;
    bluetooth_ = std::move(link);
    if (bluetooth_ && log_)
        bluetooth_->setLog(log_);
    link_.setTransport(bluetooth_.get());
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

void DeviceSession::loadSavedPort()
{
    savedPort = ReadSetupString(QStringLiteral("DefaultCOM")).value_or(QString());
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

QStringList DeviceSession::takeMessages()
{
    QStringList out = link_.messages;
    link_.messages.clear();
    return out;
}

bool DeviceSession::transferRunning() const
{
    return transfer_ && transfer_->running();
}

bool DeviceSession::openPort(const QString &portName, int baud)
{
    closePort();
    if (!serial_) {
        serial_ = std::make_unique<SerialPort>();
        serial_->setLog(log_);
    }
    link_.setTransport(serial_.get());
    const QString path = portPath(portName);
    if (serial_->Open(path, baud))
        return true;
    if (serial_->lastError() == SerialPort::OpenError::PermissionDenied && !permissionDenied_.contains(path))
        permissionDenied_.append(path);
    return false;
}

void DeviceSession::closePort()
{
    if (serial_)
        serial_->close();
}

DeviceSession::TryResult DeviceSession::tryPort(const QString &portName, bool reopenAtDataBaud)
{
    if (!openPort(portName, kHandshakeBaud))
        return TryResult::NoAnswer;
    if (!link_.QueryDeviceInfo()) {
        closePort();
        return TryResult::NoAnswer;
    }
    if (reopenAtDataBaud && !openPort(portName, int(link_.dataBaud))) {
        closePort();
        return TryResult::NoAnswer;
    }
    return TryResult::Found;
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

void DeviceSession::addPermissionHint()
{
    for (const QString &path : permissionDenied_)
        link_.messages.append(DeviceTexts::PermissionDenied(path));
}

SearchOutcome DeviceSession::FindDevice()
{
    permissionDenied_.clear();
    if (mode_ == LinkMode::Bluetooth) {
        if (!bluetooth_ || !bluetooth_->IsConnected()) {
            link_.messages.append(DeviceTexts::CantFindDevice());
            return SearchOutcome::NotFound;
        }
        link_.setTransport(bluetooth_.get());
        bluetooth_->ConnectSocket();
        DeviceLink::Pause(100);
        if (!link_.QueryDeviceInfo()) {
            link_.messages.append(DeviceTexts::CantFindDevice());
            return SearchOutcome::NotFound;
        }
    } else {
        const QString remembered = savedPort;
        bool found = false;
        for (const QString &name : searchOrder(true)) {
            savedPort = name;
            if (tryPort(name, true) == TryResult::Found) {
                found = true;
                break;
            }
        }
        if (!found) {
            savedPort = remembered;
            link_.messages.append(DeviceTexts::CantFindDevice());
            addPermissionHint();
            return SearchOutcome::NotFound;
        }
        if (savedPort != remembered)
            WriteSetupValue(QStringLiteral("DefaultCOM"), savedPort);
    }
    store_.deviceModel = link_.deviceModel;

    const DeviceLink::CountsResult counts = link_.QueryCounts();
    if (link_.totalCount == 0) {
        link_.messages.append(DeviceTexts::NoData());
        return SearchOutcome::FoundWithoutData;
    }
    if (counts == DeviceLink::CountsResult::Failed) {
        link_.messages.append(DeviceTexts::SyncError());
        return SearchOutcome::CountsFailed;
    }
    return SearchOutcome::FoundWithData;
}

bool DeviceSession::FindDeviceFor(const std::function<void(DeviceLink &)> &action, MaintenanceReopen reopen)
{
    permissionDenied_.clear();
    if (mode_ == LinkMode::Bluetooth) {
        if (!bluetooth_ || !bluetooth_->IsConnected()) {
            link_.messages.append(DeviceTexts::NotConnected());
            return false;
        }
        link_.setTransport(bluetooth_.get());
        bluetooth_->ConnectSocket();
        DeviceLink::Pause(100); // the device needs it after a connect, as in the download search
        if (!link_.QueryDeviceInfo())
            return false; // ends without a message
        action(link_);
        return true;
    }
    const QString remembered = savedPort;
    const bool reopenInSearch = reopen == MaintenanceReopen::InSearch;
    for (const QString &name : searchOrder(false)) {
        savedPort = name;
        if (tryPort(name, reopenInSearch) != TryResult::Found)
            continue;
        if (reopenInSearch)
            WriteSetupValue(QStringLiteral("DefaultCOM"), savedPort);
        action(link_);
        return true;
    }
    savedPort = remembered;
    link_.messages.append(DeviceTexts::CantFindDevice());
    addPermissionHint();
    return false;
}

bool DeviceSession::SetClockProcedure(std::uint32_t word)
{
    bool ok = false;
    // The clock command owns its reopen: a port that answered the handshake but
    // cannot take the data rate is this command's error, not a reason to move on.
    FindDeviceFor(
        [&](DeviceLink &link) {
            if (mode_ == LinkMode::Serial) {
                if (!openPort(savedPort, int(link.dataBaud))) {
                    link.messages.append(DeviceTexts::SetClockError());
                    return;
                }
                WriteSetupValue(QStringLiteral("DefaultCOM"), savedPort);
            }
            ok = link.SetDeviceClock(word);
        },
        MaintenanceReopen::InAction);
    return ok;
}

bool DeviceSession::DeleteProcedure(int id, int type, const std::function<void(bool)> &waiting)
{
    bool ok = false;
    FindDeviceFor([&](DeviceLink &link) {
        link.QueryCounts();
        if (link.totalCount > 0)
            ok = link.DeleteDeviceData(id, type, waiting);
        else
            link.messages.append(DeviceTexts::NoData());
    });
    return ok;
}

bool DeviceSession::StartTransfer(Transfer::Callbacks callbacks)
{
    Transport *transport = link_.transport();
    if (!transport || !transport->isOpen() || transfer_)
        return false;
    DeviceLink::Pause(500);
    transfer_ = std::make_unique<Transfer>(*transport, store_, link_.deviceModel, link_.counts.frameCount,
                                           std::move(callbacks));
    transfer_->start();
    return true;
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
    transfer_.reset();
    Transport *transport = link_.transport();
    if (transport && transport->isOpen()) {
        DeviceLink::Pause(500);
        link_.SendStop();
    }
    closePort();
    link_.counts = Protocol::Counts{};
}

#include "device/DeviceSession.h"

#include "app/Settings.h"
#include "device/BluetoothLink.h"
#include "device/DeviceTexts.h"
#include "device/HexLog.h"
#include "device/SerialPort.h"
#include "model/RecordStore.h"

namespace {
constexpr int kHandshakeBaud = 4800;
} // namespace

DeviceSession::DeviceSession(RecordStore &store)
    : m_store(store)
{
}

DeviceSession::~DeviceSession()
{
    StopTransfer();
    closePort();
}

void DeviceSession::useSerial()
{
    m_mode = LinkMode::Serial;
    m_link.setTransport(m_serial.get());
}

void DeviceSession::useBluetooth(std::shared_ptr<BluetoothLink> link)
{
    m_mode = LinkMode::Bluetooth;
    m_bluetooth = std::move(link);
    if (m_bluetooth && m_log)
        m_bluetooth->setLog(m_log);
    m_link.setTransport(m_bluetooth.get());
}

QString DeviceSession::portPath(const QString &portName) const
{
    if (portName.startsWith(u'/'))
        return portName;
    return m_devRoot + u'/' + portName;
}

void DeviceSession::EnumeratePorts() { ports = ::EnumeratePorts(); }

void DeviceSession::loadSavedPort() { savedPort = ReadSetupString(QStringLiteral("DefaultCOM")).value_or(QString()); }

void DeviceSession::restrictToPort(const QString &portName)
{
    savedPort = portName.startsWith(QLatin1String("/dev/")) ? portName.mid(5) : portName;
    ports = PortLists{};
    bruteForce = false;
}

void DeviceSession::setLog(std::shared_ptr<HexLog> log)
{
    m_log = std::move(log);
    if (m_serial)
        m_serial->setLog(m_log);
    if (m_bluetooth)
        m_bluetooth->setLog(m_log);
}

QStringList DeviceSession::takeMessages()
{
    QStringList out = m_link.messages;
    m_link.messages.clear();
    return out;
}

bool DeviceSession::transferRunning() const { return m_transfer && m_transfer->running(); }

bool DeviceSession::openPort(const QString &portName, int baud)
{
    closePort();
    if (!m_serial) {
        m_serial = std::make_unique<SerialPort>();
        m_serial->setLog(m_log);
    }
    m_link.setTransport(m_serial.get());
    const QString path = portPath(portName);
    if (m_serial->Open(path, baud))
        return true;
    if (m_serial->lastError() == SerialPort::OpenError::PermissionDenied && !m_permissionDenied.contains(path))
        m_permissionDenied.append(path);
    return false;
}

void DeviceSession::closePort()
{
    if (m_serial)
        m_serial->close();
}

DeviceSession::TryResult DeviceSession::tryPort(const QString &portName, bool reopenAtDataBaud)
{
    if (!openPort(portName, kHandshakeBaud))
        return TryResult::NoAnswer;
    if (!m_link.QueryDeviceInfo()) {
        closePort();
        return TryResult::NoAnswer;
    }
    if (reopenAtDataBaud && !openPort(portName, int(m_link.dataBaud))) {
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
    QStringList order;
    const auto add = [&order](const QString &name) {
        if (!name.isEmpty())
            order.append(name);
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
        for (const QString &name : BruteForcePortNames(m_devRoot, skip))
            add(name);
    }
    return order;
}

void DeviceSession::addPermissionHint()
{
    for (const QString &path : m_permissionDenied)
        m_link.messages.append(DeviceTexts::PermissionDenied(path));
}

SearchOutcome DeviceSession::FindDevice()
{
    m_permissionDenied.clear();
    if (m_mode == LinkMode::Bluetooth) {
        if (!m_bluetooth || !m_bluetooth->IsConnected()) {
            m_link.messages.append(DeviceTexts::CantFindDevice());
            return SearchOutcome::NotFound;
        }
        m_link.setTransport(m_bluetooth.get());
        m_bluetooth->ConnectSocket();
        DeviceLink::Pause(100);
        if (!m_link.QueryDeviceInfo()) {
            m_link.messages.append(DeviceTexts::CantFindDevice());
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
            m_link.messages.append(DeviceTexts::CantFindDevice());
            addPermissionHint();
            return SearchOutcome::NotFound;
        }
        if (savedPort != remembered)
            WriteSetupValue(QStringLiteral("DefaultCOM"), savedPort);
    }
    m_store.deviceModel = m_link.deviceModel;

    const DeviceLink::CountsResult counts = m_link.QueryCounts();
    if (m_link.totalCount == 0) {
        m_link.messages.append(DeviceTexts::NoData());
        return SearchOutcome::FoundWithoutData;
    }
    if (counts == DeviceLink::CountsResult::Failed) {
        m_link.messages.append(DeviceTexts::SyncError());
        return SearchOutcome::CountsFailed;
    }
    return SearchOutcome::FoundWithData;
}

bool DeviceSession::FindDeviceFor(const std::function<void(DeviceLink &)> &action)
{
    m_permissionDenied.clear();
    if (m_mode == LinkMode::Bluetooth) {
        if (!m_bluetooth || !m_bluetooth->IsConnected()) {
            m_link.messages.append(DeviceTexts::NotConnected());
            return false;
        }
        m_link.setTransport(m_bluetooth.get());
        m_bluetooth->ConnectSocket();
        if (!m_link.QueryDeviceInfo())
            return false; // ends without a message
        action(m_link);
        return true;
    }
    const QString remembered = savedPort;
    for (const QString &name : searchOrder(false)) {
        savedPort = name;
        if (tryPort(name, true) != TryResult::Found)
            continue;
        WriteSetupValue(QStringLiteral("DefaultCOM"), savedPort);
        action(m_link);
        return true;
    }
    savedPort = remembered;
    m_link.messages.append(DeviceTexts::CantFindDevice());
    addPermissionHint();
    return false;
}

bool DeviceSession::SetClockProcedure(std::uint32_t word)
{
    bool ok = false;
    FindDeviceFor([&](DeviceLink &link) { ok = link.SetDeviceClock(word); });
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
    Transport *transport = m_link.transport();
    if (!transport || !transport->isOpen() || m_transfer)
        return false;
    DeviceLink::Pause(500);
    m_transfer = std::make_unique<Transfer>(*transport, m_store, m_link.deviceModel, m_link.counts.frameCount,
                                            std::move(callbacks));
    m_transfer->start();
    return true;
}

void DeviceSession::StopTransfer()
{
    if (m_transfer)
        m_transfer->stop();
}

void DeviceSession::WaitTransfer()
{
    if (m_transfer)
        m_transfer->wait();
}

void DeviceSession::TransferEnd()
{
    StopTransfer();
    m_transfer.reset();
    Transport *transport = m_link.transport();
    if (transport && transport->isOpen()) {
        DeviceLink::Pause(500);
        m_link.SendStop();
    }
    closePort();
    m_link.counts = Protocol::Counts{};
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/SerialConnector.h"

#include "device/RawDump.h"
#include "device/SerialPort.h"

SerialSearch SerialSearch::only(const QString &portName)
{
    SerialSearch search;
    search.firstPort = portName.startsWith(QLatin1String("/dev/")) ? portName.mid(5) : portName;
    search.bruteForce = false;
    return search;
}

SerialConnector::SerialConnector(SerialSearch search)
    : search_(std::move(search)), port_(std::make_unique<SerialPort>())
{
}

SerialConnector::~SerialConnector() = default;

QString SerialConnector::pathOf(const QString &line) const
{
    if (line.startsWith(u'/'))
        return line;
    return search_.deviceRoot + u'/' + line;
}

QStringList SerialConnector::candidates(bool forDownload) const
{
    // First port, bridges, other ports, then every device node; the search
    // stops at the first that answers, so later groups are only reached when
    // the earlier ones found nothing. Each port once: a dead port costs a
    // whole handshake budget.
    QStringList order;
    QStringList paths;
    const auto add = [this, &order, &paths](const QString &name) {
        const QString path = pathOf(name);
        if (!name.isEmpty() && !paths.contains(path)) {
            order.append(name);
            paths.append(path);
        }
    };
    add(search_.firstPort);
    for (const PortEntry &e : search_.ports.bridgePorts)
        add(e.portName);
    for (const PortEntry &e : search_.ports.otherPorts)
        add(e.portName);
    QStringList skip;
    if (forDownload) {
        for (const PortEntry &e : search_.ports.bluetoothPorts)
            skip.append(e.portName);
    }
    if (search_.bruteForce) {
        for (const QString &name : BruteForcePortNames(search_.deviceRoot, skip))
            add(name);
    }
    return order;
}

DeviceResult<Transport *> SerialConnector::open(const QString &line, int baud)
{
    close();
    tap();
    const QString path = pathOf(line);
    if (DeviceResult<> opened = port_->Open(path, baud); !opened)
        return opened.failure();
    // A replay keeps apart what each port answered.
    if (dump())
        dump()->opened(path);
    return static_cast<Transport *>(port_.get());
}

void SerialConnector::close()
{
    port_->close();
}

Transport *SerialConnector::transport() const
{
    return port_.get();
}

void SerialConnector::tap()
{
    port_->setLog(log());
    port_->setDump(dump());
}

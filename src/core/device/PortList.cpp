// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/PortList.h"

#include <QDir>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>

QString PortNameOf(const QString &friendlyName)
{
    // The last group: a description may hold parentheses of its own, as in
    // "USB-UART (CP2102) (ttyUSB0)".
    const qsizetype close = friendlyName.lastIndexOf(u')');
    if (close < 0)
        return {};
    const qsizetype open = friendlyName.lastIndexOf(u'(', close);
    if (open < 0)
        return {};
    return friendlyName.mid(open + 1, close - open - 1);
}

PortLists SplitPorts(const QStringList &friendlyNames)
{
    PortLists lists;
    for (const QString &name : friendlyNames) {
        const QString port = PortNameOf(name);
        if (port.isEmpty())
            continue;
        const PortEntry entry{name, port};
        if (name.contains(QLatin1String("CP210")))
            lists.bridgePorts.append(entry);
        else if (name.contains(QLatin1String("Bluetooth")))
            lists.bluetoothPorts.append(entry);
        else
            lists.otherPorts.append(entry);
    }
    return lists;
}

QStringList SerialPortFriendlyNames()
{
    QStringList names;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString port = info.portName();
        if (port.isEmpty() || port.contains(u'(') || port.contains(u')'))
            continue;
        QString description = info.description().trimmed();
        if (description.isEmpty())
            description = info.manufacturer().trimmed();
        // Bridges the system describes without their chip name still count as bridges.
        if (info.hasVendorIdentifier() && info.vendorIdentifier() == 0x10C4 &&
            !description.contains(QLatin1String("CP210")))
            description = QStringLiteral("CP210x %1").arg(description).trimmed();
        if (port.startsWith(QLatin1String("rfcomm")) && !description.contains(QLatin1String("Bluetooth")))
            description =
                QStringLiteral("Bluetooth %1").arg(description.isEmpty() ? QStringLiteral("serial link") : description);
        if (description.isEmpty())
            description = QStringLiteral("Serial port");
        names.append(QStringLiteral("%1 (%2)").arg(description, port));
    }
    return names;
}

PortLists EnumeratePorts()
{
    return SplitPorts(SerialPortFriendlyNames());
}

QStringList BruteForcePortNames(const QString &devRoot, const QStringList &skip)
{
    QStringList out;
    const QDir dir(devRoot);
    for (const QString &family : {QStringLiteral("ttyUSB"), QStringLiteral("ttyACM"), QStringLiteral("ttyS")}) {
        const QRegularExpression pattern(QStringLiteral("^%1(\\d+)$").arg(family));
        std::vector<std::pair<long, QString>> found;
        const QStringList entries = dir.entryList({family + u'*'}, QDir::Files | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &entry : entries) {
            const auto m = pattern.match(entry);
            if (m.hasMatch() && !skip.contains(entry))
                found.emplace_back(m.captured(1).toLong(), entry);
        }
        std::sort(found.begin(), found.end());
        for (const auto &f : found)
            out.append(f.second);
    }
    return out;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One serial port as listed: "<description> (<port name>)" and the port name,
// the path below the device folder (ttyUSB0, rfcomm0, pts/3).
struct PortEntry {
    QString friendlyName;
    QString portName;
};

// The system's serial ports split three ways, each in enumeration order.
struct PortLists {
    QList<PortEntry> bridgePorts;    // name contains "CP210"
    QList<PortEntry> bluetoothPorts; // "Bluetooth", not "CP210"
    QList<PortEntry> otherPorts;     // neither
    bool isEmpty() const { return bridgePorts.isEmpty() && bluetoothPorts.isEmpty() && otherPorts.isEmpty(); }
};

// The text between the first "(" and the first ")" after it; empty when either is missing.
QString PortNameOf(const QString &friendlyName);

// Files friendly names into the three lists (case-sensitive tests, "CP210" first);
// names without a port name in parentheses are skipped.
PortLists SplitPorts(const QStringList &friendlyNames);

// The friendly names of the present serial ports, from QSerialPortInfo.
QStringList SerialPortFriendlyNames();

// SplitPorts(SerialPortFriendlyNames()).
PortLists EnumeratePorts();

// The brute-force candidates: every ttyUSB*, ttyACM* and ttyS* node in devRoot,
// each family in numeric order, leaving out the port names in skip.
QStringList BruteForcePortNames(const QString &devRoot, const QStringList &skip = {});

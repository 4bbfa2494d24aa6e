// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/BluetoothAddress.h"

#include <QRegularExpression>

namespace BluetoothAddress
{

bool isValid(const QString &address)
{
    if (address.startsWith(QLatin1String("unix:")))
        return address.size() > 5;
    static const QRegularExpression mac(QStringLiteral("^[0-9A-Fa-f]{2}(:[0-9A-Fa-f]{2}){5}$"));
    return mac.match(address).hasMatch();
}

QString listLine(const QString &name, const QString &address)
{
    if (name.trimmed().isEmpty())
        return address;
    return QStringLiteral("%1 (%2)").arg(name.trimmed(), address);
}

QString fromListLine(const QString &line)
{
    const int open = line.lastIndexOf(u'(');
    const int close = line.lastIndexOf(u')');
    if (open < 0 || close < open)
        return line.trimmed();
    return line.mid(open + 1, close - open - 1).trimmed();
}

} // namespace BluetoothAddress

// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/ClockInput.h"

#include <QCoreApplication>

namespace ClockInput
{

int limit(Field field)
{
    return field == Field::Hour ? 24 : 60;
}

QString NotANumber()
{
    return QCoreApplication::translate("SetClockDialog", "Please input a Num !");
}
QString IllegalValue()
{
    return QCoreApplication::translate("SetClockDialog", "Please input a legal value !");
}

std::optional<QString> checkChange(Field field, const QString &text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return NotANumber();
    }
    if (text.isEmpty())
        return std::nullopt;
    // Long digit strings are out of range too, never an overflow.
    bool ok = false;
    const qlonglong value = text.size() > 9 ? limit(field) : text.toLongLong(&ok);
    if (value >= limit(field))
        return IllegalValue();
    return std::nullopt;
}

std::optional<QString> checkLeave(const QString &text)
{
    if (text.isEmpty())
        return NotANumber();
    return std::nullopt;
}

} // namespace ClockInput

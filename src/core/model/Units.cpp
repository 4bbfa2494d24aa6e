// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Units.h"

#include "model/FixedText.h"

#include <QString>

namespace Units
{

double convertHeight(double value, int fromSystem, int toSystem)
{
    if (isMetric(fromSystem) == isMetric(toSystem))
        return value;
    return isMetric(toSystem) ? value * 2.54 : value / 2.54;
}

double convertWeight(double value, int fromSystem, int toSystem)
{
    if (isMetric(fromSystem) == isMetric(toSystem))
        return value;
    return isMetric(toSystem) ? value * 454 / 1000 : value / 454 * 1000;
}

int whole(double value)
{
    // The same rounding as the headers' "%.0f", so dialog and page agree.
    return FixedText(value, 0).toInt();
}

} // namespace Units

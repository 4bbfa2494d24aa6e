// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/UnitText.h"

#include "model/FixedText.h"
#include "model/Units.h"

QString HeightText(float height, int unitSystem, int unitSetup)
{
    const double v = Units::convertHeight(height, unitSystem, unitSetup);
    return FixedText(v, 0) + (Units::isMetric(unitSetup) ? QStringLiteral(" cm") : QStringLiteral(" in"));
}

QString WeightText(float weight, int unitSystem, int unitSetup)
{
    const double v = Units::convertWeight(weight, unitSystem, unitSetup);
    return FixedText(v, 0) + (Units::isMetric(unitSetup) ? QStringLiteral(" kg") : QStringLiteral(" lb"));
}

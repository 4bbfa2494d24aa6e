#include "model/UnitText.h"

#include "model/Units.h"

QString HeightText(float height, int unitSystem, int unitSetup)
{
    const double v = Units::convertHeight(height, unitSystem, unitSetup);
    return QString::asprintf(Units::isMetric(unitSetup) ? "%.0f cm" : "%.0f in", v);
}

QString WeightText(float weight, int unitSystem, int unitSetup)
{
    const double v = Units::convertWeight(weight, unitSystem, unitSetup);
    return QString::asprintf(Units::isMetric(unitSetup) ? "%.0f kg" : "%.0f lb", v);
}

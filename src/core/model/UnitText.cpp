#include "model/UnitText.h"

namespace
{

// Any non-zero value means metric, in the record and in the setting alike.
bool SameSystem(int unitSystem, int unitSetup)
{
    return (unitSystem != 0) == (unitSetup != 0);
}

} // namespace

QString HeightText(float height, int unitSystem, int unitSetup)
{
    double v = height;
    if (unitSetup != 0) {
        if (!SameSystem(unitSystem, unitSetup))
            v = v * 2.54;
        return QString::asprintf("%.0f cm", v);
    }
    if (!SameSystem(unitSystem, unitSetup))
        v = v / 2.54;
    return QString::asprintf("%.0f in", v);
}

QString WeightText(float weight, int unitSystem, int unitSetup)
{
    double v = weight;
    if (unitSetup != 0) {
        if (!SameSystem(unitSystem, unitSetup))
            v = v * 454 / 1000;
        return QString::asprintf("%.0f kg", v);
    }
    if (!SameSystem(unitSystem, unitSetup))
        v = v / 454 * 1000;
    return QString::asprintf("%.0f lb", v);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Height and weight of a patient record shown in the unit system of the
// "UnitSetup" setting (0 British, otherwise metric), converted from the system
// the record was saved in and rounded to whole numbers: "178 cm", "154 lb".
QString HeightText(float height, int unitSystem, int unitSetup);
QString WeightText(float weight, int unitSystem, int unitSetup);

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Heights and weights are kept in the unit system in force when they were entered
// (a PatientRecord's unitSystem) and shown in the one of the "UnitSetup" setting.
// Both use the same coding: 0 British (inches, pounds), any other value Metric
// (centimetres, kilograms).
namespace Units
{

inline bool isMetric(int system)
{
    return system != 0;
}

// value, entered under fromSystem, in the units of toSystem.
double convertHeight(double value, int fromSystem, int toSystem);
double convertWeight(double value, int fromSystem, int toSystem);

// A shown value: rounded to a whole number as "%.0f" prints it.
int whole(double value);

} // namespace Units

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/ImportedNight.h"

#include <QByteArray>

// Readings from EDF and EDF+ (continuous or discontinuous) files: the SpO2 and
// pulse signals, told by their labels (SpO2, SaO2, Pulse, PR, HR; a
// plethysmogram is left out) or else by their physical dimension (%, bpm), at
// any sample rate, taken as each second's last sample. EDF+D records are placed
// at their own times; an EDF+ file gives the patient's name.
namespace EdfImport
{

ImportedNight read(const QByteArray &data);

} // namespace EdfImport

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"

#include <QImage>
#include <QString>
#include <QStringList>

class RecordStore;

// The pictures of the user manual, painted by the program's own views from a
// generated night, so the manual always shows the program as it is.
namespace ManualPictures
{

// The night the pictures show: eight hours of ID 3 with a filled-in patient.
void fillSampleNight(RecordStore &store);

// The nights the overview picture shows: a year of Jane Example's nights up to
// 2026-03-14, as the archive lists them. Treatment from the fourth month on
// brings the ODI down; some days have no night, a few nights are short and a
// few dates have two nights.
NightList sampleYear();

// File names the manual refers to as "images/NAME".
QStringList names();

// The picture of a name from names(); a null image for any other name.
QImage render(const QString &name);

} // namespace ManualPictures

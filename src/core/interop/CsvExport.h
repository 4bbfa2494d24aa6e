// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SampleRecord.h"

#include <QByteArray>

// Readings as comma-separated values (RFC 4180, CR LF line ends): the header
// "time,spo2,pulse_rate", then one row per reading with its local time as
// YYYY-MM-DDTHH:MM:SS.
namespace CsvExport
{

QByteArray encode(const SampleRecord *samples, int count);

} // namespace CsvExport

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SampleRecord.h"

#include <QDateTime>

#include <cstdint>
#include <vector>

// A realistic night of one-per-second readings made from a seed: SpO2 mostly
// 94..98 with desaturation dips, pulse 50..100 with falls. The same seed always
// gives the same readings.
std::vector<SampleRecord> GenerateNight(std::uint32_t seed, int id, int count,
                                        const QDateTime &start = QDateTime(QDate(2026, 3, 14), QTime(22, 30, 0)));

// The date fields of a reading at the given time.
SampleRecord StampedSample(int id, const QDateTime &when);

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/TrendGeometry.h"

#include "clinical/SignalQuality.h"

#include <optional>
#include <vector>

// The readings under columns x0..x1 (either order) of the page shown, clipped
// to its plot and to the recording; nothing when no reading lies there.
std::optional<ReadingSpan> ReadingsBetweenColumns(const TrendLayout &layout, int viewPosition, int x0, int x1,
                                                  int sampleCount);

// The marked span that holds reading, if any.
std::optional<ReadingSpan> MarkHolding(const std::vector<ReadingSpan> &marks, int reading);

// marks without span (an exact match); the others stay in their order.
std::vector<ReadingSpan> MarksWithout(const std::vector<ReadingSpan> &marks, ReadingSpan span);

// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DeviceModel.h"

namespace
{
struct Row {
    int model;
    DeviceModelTraits traits;
};

// Models not listed behave as the default row.
constexpr Row kModels[] = {
    {1,
     {.recordBytesReversed = true,
      .requestLowByteFirstSerial = false,
      .newestFirst = true,
      .pollGapMs = 6,
      .deletesById = true}},
    {2,
     {.recordBytesReversed = false,
      .requestLowByteFirstSerial = false,
      .newestFirst = false,
      .pollGapMs = 9,
      .deletesById = true}},
    {3,
     {.recordBytesReversed = true,
      .requestLowByteFirstSerial = true,
      .newestFirst = true,
      .pollGapMs = 6,
      .deletesById = false}},
    {4,
     {.recordBytesReversed = true,
      .requestLowByteFirstSerial = false,
      .newestFirst = true,
      .pollGapMs = 6,
      .deletesById = false}},
    {11,
     {.recordBytesReversed = false,
      .requestLowByteFirstSerial = false,
      .newestFirst = true,
      .pollGapMs = 9,
      .deletesById = false}},
    {14,
     {.recordBytesReversed = false,
      .requestLowByteFirstSerial = false,
      .newestFirst = false,
      .pollGapMs = 9,
      .deletesById = true}},
};
} // namespace

DeviceModelTraits TraitsOfModel(int model)
{
    for (const Row &row : kModels) {
        if (row.model == model)
            return row.traits;
    }
    return {};
}

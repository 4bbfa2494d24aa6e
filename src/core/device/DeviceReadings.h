// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/RecordStore.h"

#include <array>
#include <vector>

// What a download brought, per patient ID (index ID - 1), in the order the
// device sent it. Filled by the receiver, handed to the record store by the
// thread that owns the store.
using DeviceReadings = std::array<std::vector<SampleRecord>, RecordStore::kIdCount>;

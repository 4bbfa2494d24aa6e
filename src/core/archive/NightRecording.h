// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"

class RecordStore;

// Makes an archived night the current recording, as opening its .dat would,
// but with the details archived with it in the header; the night becomes the
// one Save Info updates.
void loadNight(RecordStore &store, const StoredNight &night);

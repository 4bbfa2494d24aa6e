// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What sets one oximeter model apart from another, by the model code of the
// device-information reply. The one place these differences live.
struct DeviceModelTraits {
    bool recordBytesReversed = false;       // each 8-byte record comes last byte first
    bool requestLowByteFirstSerial = false; // RequestFrame takes the frame number low byte first (serial link)
    bool newestFirst = false;               // each ID's readings are listed newest first
    int pollGapMs = 9;                      // least time between two receive polls
    bool deletesById = false;               // Delete Data can pick one ID
};

DeviceModelTraits TraitsOfModel(int model);

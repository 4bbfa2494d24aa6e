// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the main window shows: nothing yet, one of the three views of the
// current recording, or the overview of the archive's nights.
enum class DisplayMode {
    None,
    Trend,
    Table,
    Analysis,
    Overview,
};

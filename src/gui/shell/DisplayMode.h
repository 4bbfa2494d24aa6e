// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the main window shows: nothing yet, or one of its three views.
enum class DisplayMode {
    None,
    Trend,
    Table,
    Analysis,
};

#pragma once

// What the main window shows: nothing yet, or one of its three views.
enum class DisplayMode {
    None,
    Trend,
    Table,
    Analysis,
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Makes the manuals embedded in the gui library reachable under ":/manual".
// The library is static, so its resources register only when asked to.
void initQuellixResources();

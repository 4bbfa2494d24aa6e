// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Resources.h"

#include <QtGlobal>

#include <mutex>

void initQuellixResources()
{
    static std::once_flag once;
    std::call_once(once, [] { Q_INIT_RESOURCE(resources); });
}

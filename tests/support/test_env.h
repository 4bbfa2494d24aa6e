// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace testenv
{

// Folder private to this test process; settings, data and runtime files live below it.
QString root();

// Points XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_RUNTIME_DIR and HOME at fresh folders
// below root(). Called by the test main before the application object exists.
void isolate();

// Absolute path of a committed test file under tests/data.
QString dataFile(const QString &name);

} // namespace testenv

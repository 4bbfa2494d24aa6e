// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/RecordingFile.h"

#include <QStringList>

// Parts an earlier, longer save of outPath left behind (found before the new
// parts were written): named on standard error, removed only when asked.
void settleStaleParts(const QStringList &stale, const QString &outPath, bool remove);

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Parts left behind by an earlier, longer save under the same name: saving a
// shorter recording as "night.dat" rewrites "night.dat" (and "-2" ... up to
// its own parts) but not the "-3", "-4" the earlier save made.
namespace SurplusParts
{

// The files after part `parts` of a recording saved as path (partPath(path,
// parts + 1), parts + 2, ...) that belong to the recording those names hold
// now. A file counts only when it opens as a .dat file and continues the part
// before it: that part holds a full file's readings, both have the same header
// ID and title, and the file's first reading is the second after that part's
// last. The search stops at the first file that does not, so an unrelated
// "night-3.dat" is never taken. Call it before part `parts` is rewritten.
QStringList find(const QString &path, int parts);

} // namespace SurplusParts

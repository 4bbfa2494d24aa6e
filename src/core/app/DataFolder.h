// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The program's data folder "bldb" with its empty marker file "pationtrec.dat",
// kept in the user's data folder because the program folder is not writable.
namespace DataFolder
{

QString markerPath();

// Creates the folder and the empty file when the file cannot be read; an
// existing file is left as it is. False when it could not be created.
bool ensure();

} // namespace DataFolder

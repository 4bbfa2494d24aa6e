// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>

// The program's own settings files: QSettings("quellix", application) in the
// user's config folder.
namespace SettingsFile
{

// Where the file of application lives.
QString path(const QString &application);

// The value stored under key; invalid when it is missing or the file cannot be
// read. Anything but a regular file (a FIFO, a folder) is never opened: it reads
// as empty, as a damaged file does.
QVariant readValue(const QString &application, const QString &key);

// Writes one value and reads it back. A damaged file is rewritten with what
// could still be read plus the new value; the damaged one is kept as
// "<file>.damaged". Writers in other processes are serialised by a lock file
// beside the settings file, so none of their updates is lost.
bool writeValue(const QString &application, const QString &key, const QVariant &value);

} // namespace SettingsFile

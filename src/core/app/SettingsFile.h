#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

// The program's own settings files: QSettings("quellix", application).
namespace SettingsFile
{

QSettings open(const QString &application);

// Writes one value and reads it back. A damaged file is rewritten with what
// could still be read plus the new value; the damaged one is kept as
// "<file>.damaged".
bool writeValue(const QString &application, const QString &key, const QVariant &value);

} // namespace SettingsFile

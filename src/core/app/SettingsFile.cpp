#include "app/SettingsFile.h"

#include <QFile>

namespace SettingsFile
{

QSettings open(const QString &application)
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quellix"), application);
}

bool writeValue(const QString &application, const QString &key, const QVariant &value)
{
    {
        QSettings s = open(application);
        // QSettings drops what it cannot parse when it writes: keep the damaged
        // file beside the repaired one.
        s.allKeys();
        if (s.status() == QSettings::FormatError) {
            const QString aside = s.fileName() + QStringLiteral(".damaged");
            QFile::remove(aside);
            QFile::copy(s.fileName(), aside);
        }
        s.setValue(key, value);
        s.sync();
    }
    // The status of the write alone: read the file back.
    const QSettings check = open(application);
    return check.status() == QSettings::NoError && check.value(key) == value;
}

} // namespace SettingsFile

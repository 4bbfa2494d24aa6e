// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SettingsFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>

namespace SettingsFile
{

namespace
{

// Long enough for any other writer to finish, short enough not to hang a
// command on a lock nobody releases.
constexpr int kLockWaitMs = 10000;

QSettings open(const QString &application)
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quellix"), application);
}

// QSettings opens whatever is there: a FIFO blocks it until a writer appears.
bool unreadable(const QString &file)
{
    const QFileInfo info(file);
    return info.exists() && !info.isFile();
}

// QSettings drops what it cannot parse when it writes: keep the damaged file
// beside the repaired one. What is not a file at all is moved aside whole.
bool keepDamaged(const QString &application, const QString &file)
{
    const QString aside = file + QStringLiteral(".damaged");
    if (unreadable(file)) {
        QFile::remove(aside);
        return QDir().rename(file, aside);
    }
    QSettings s = open(application);
    s.allKeys();
    if (s.status() == QSettings::FormatError) {
        QFile::remove(aside);
        QFile::copy(file, aside);
    }
    return true;
}

// QSettings notices another process's write by the file's size and time of
// change, and that time only moves with the kernel's coarse clock: a rewrite of
// the same size a few milliseconds after the last one looks unchanged, and a
// writer would then save its stale copy over it. Every write therefore leaves a
// time of change later than the one before.
void advanceTime(const QString &file, const QDateTime &before)
{
    if (!before.isValid() || QFileInfo(file).lastModified() > before)
        return;
    QFile f(file);
    if (f.open(QIODevice::ReadOnly))
        f.setFileTime(before.addMSecs(1), QFileDevice::FileModificationTime);
}

} // namespace

QString path(const QString &application)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/quellix/") +
           application + QStringLiteral(".conf");
}

QVariant readValue(const QString &application, const QString &key)
{
    if (unreadable(path(application)))
        return {};
    return open(application).value(key);
}

bool writeValue(const QString &application, const QString &key, const QVariant &value)
{
    const QString file = path(application);
    QDir().mkpath(QFileInfo(file).absolutePath());
    // QSettings locks only its own sync, after it has read the file; the lock is
    // held here from the read to the check, and may not be QSettings' own.
    QLockFile lock(file + QStringLiteral(".writer.lock"));
    if (!lock.tryLock(kLockWaitMs))
        return false;
    if (!keepDamaged(application, file))
        return false;
    const QDateTime before = QFileInfo(file).lastModified();
    {
        QSettings s = open(application);
        s.setValue(key, value);
        s.sync();
    }
    advanceTime(file, before);
    // The status of the write alone: read the file back.
    const QSettings check = open(application);
    return check.status() == QSettings::NoError && check.value(key) == value;
}

} // namespace SettingsFile

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance()
{
    // Only the holder removes the lock; a refused second copy must leave it alone.
    if (held_)
        lock_->unlock();
}

QString SingleInstance::lockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/quellix.lock");
}

bool SingleInstance::acquire()
{
    if (held_)
        return true;
    lock_ = std::make_unique<QLockFile>(lockPath());
    // Never treat a live owner's lock as stale by age; a dead owner's lock is
    // still recognised by its process ID, and tryLock takes it over.
    lock_->setStaleLockTime(0);
    held_ = lock_->tryLock(0);
    return held_;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "test_env.h"

#include <QDir>
#include <QString>

#include <sys/mount.h>

// A small tmpfs of its own where the machine lets the test mount one (root, or a
// container with the rights), unmounted again at the end.
class SmallFileSystem
{
public:
    explicit SmallFileSystem(const QString &name, const char *options)
        : path_(testenv::root() + QLatin1Char('/') + name)
    {
        QDir().mkpath(path_);
        mounted_ = ::mount("tmpfs", path_.toLocal8Bit().constData(), "tmpfs", MS_NOSUID | MS_NODEV, options) == 0;
    }
    ~SmallFileSystem()
    {
        if (mounted_)
            ::umount2(path_.toLocal8Bit().constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    bool mounted() const { return mounted_; }
    QString file(const char *name) const { return path_ + QLatin1Char('/') + QLatin1String(name); }
    bool makeReadOnly()
    {
        return ::mount(nullptr, path_.toLocal8Bit().constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QString path_;
    bool mounted_ = false;
};

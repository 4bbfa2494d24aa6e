// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A small tmpfs of its own where the machine lets the test mount one (root, or a
// container with the rights), unmounted again at the end: a disk that fills up.
#include "test_env.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <sys/mount.h>
#include <sys/statvfs.h>

namespace testfs
{

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
    QStringList entries() const { return QDir(path_).entryList(QDir::Files | QDir::Hidden); }

    qint64 freeBytes() const
    {
        struct statvfs s {
        };
        return ::statvfs(path_.toLocal8Bit().constData(), &s) == 0 ? qint64(s.f_bavail) * qint64(s.f_frsize) : 0;
    }
    // Fills the disk with a file named "filler" until only bytes are left free.
    bool leaveFree(qint64 bytes)
    {
        QFile filler(file("filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Append))
            return false;
        const QByteArray page(4096, 'f');
        while (freeBytes() - page.size() >= bytes) {
            if (filler.write(page) != page.size() || !filler.flush())
                return false;
        }
        return freeBytes() >= bytes && freeBytes() < bytes + page.size();
    }

private:
    QString path_;
    bool mounted_ = false;
};

inline QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace testfs

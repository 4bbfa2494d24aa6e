// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CheckedFile.h"

#include "app/SystemError.h"

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{

bool saysNothing(const QString &text)
{
    return text.isEmpty() || text == QLatin1String("Unknown error");
}

} // namespace

CheckedFile::CheckedFile(const QString &path) : file_(path) {}

CheckedFile::~CheckedFile()
{
    cancel();
}

bool CheckedFile::open()
{
    // Unbuffered: a byte the disk refuses is known at the write, not at commit().
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file_.errorString(), QStringLiteral("cannot create the file"));
    return true;
}

bool CheckedFile::write(QByteArrayView bytes)
{
    if (failed_ || !file_.isOpen())
        return fail(QString(), QStringLiteral("the file is not open"));
    const char *p = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        errno = 0;
        const qint64 n = file_.write(p, left);
        if (n <= 0) {
            const int e = errno;
            const QString system = n < 0 ? file_.errorString() : QString();
            return fail(saysNothing(system) && e != 0 ? SystemErrorText(e) : system,
                        QStringLiteral("the disk took %1 of %2 bytes").arg(bytes.size() - left).arg(bytes.size()));
        }
        p += n;
        left -= n;
    }
    return true;
}

bool CheckedFile::finish()
{
    if (failed_ || !file_.isOpen())
        return fail(QString(), QStringLiteral("the file is not open"));
    if (finished_)
        return true;
    if (!file_.flush())
        return fail(file_.errorString(), QStringLiteral("the last bytes could not be written"));
#ifdef Q_OS_UNIX
    // QSaveFile syncs too but ignores the answer; a disk that cannot keep the
    // bytes (EIO, a quota) must fail the write here.
    if (::fsync(file_.handle()) != 0 && errno != EINVAL && errno != ENOTSUP)
        return fail(SystemErrorText(errno), QStringLiteral("the disk did not keep the file"));
#endif
    finished_ = true;
    return true;
}

bool CheckedFile::commit()
{
    if (!finish())
        return false;
    if (!file_.commit())
        return fail(file_.errorString(), QStringLiteral("the file could not replace the earlier one"));
    return true;
}

void CheckedFile::cancel()
{
    if (file_.isOpen()) {
        file_.cancelWriting();
        file_.commit(); // after cancelWriting() this only removes the new file
    }
}

bool CheckedFile::fail(const QString &systemText, const QString &fallback)
{
    if (!failed_)
        reason_ = saysNothing(systemText) ? fallback : systemText;
    failed_ = true;
    cancel();
    return false;
}

FileResult writeFileChecked(const QString &path, QByteArrayView bytes)
{
    CheckedFile file(path);
    if (file.open() && file.write(bytes) && file.commit())
        return {};
    return fileFailure(FileError::CannotCreate, file.reason());
}

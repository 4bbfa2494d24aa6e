// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BoundedRead.h"

#include "app/SystemError.h"

#include <QFile>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#endif

BoundedRead readAtMost(const QString &path, qint64 limit, int silentMs)
{
    BoundedRead r;
#ifdef Q_OS_UNIX
    // Non-blocking, so opening a FIFO without a writer does not hang; a FIFO
    // that never had a writer then reads as empty.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        r.error = SystemErrorText(errno);
        return r;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    // The buffer grows as bytes arrive, so a large limit costs nothing for a
    // small file.
    qint64 got = 0;
    while (got < limit) {
        if (got == r.data.size())
            r.data.resize(qsizetype(std::min(limit, std::max<qint64>(64 * 1024, got * 2))));
        const ssize_t n = ::read(fd, r.data.data() + got, size_t(r.data.size() - got));
        if (n > 0) {
            got += n;
            continue;
        }
        if (n == 0)
            break;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            pollfd p{fd, POLLIN, 0};
            const int ready = ::poll(&p, 1, silentMs);
            if (ready == 0) {
                r.error = QStringLiteral("no data arrived for %1 s").arg(silentMs / 1000);
                return r;
            }
            continue;
        }
        r.error = SystemErrorText(errno);
        return r;
    }
    r.data.truncate(qsizetype(got));
#else
    Q_UNUSED(silentMs);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        r.error = f.errorString();
        return r;
    }
    r.data = f.read(limit);
#endif
    r.ok = true;
    return r;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/RawDump.h"

#include "app/CheckedFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
constexpr char kHeader[] = "# quellix raw dump 1";

char directionChar(RawDump::Direction d)
{
    switch (d) {
    case RawDump::Direction::Written:
        return '>';
    case RawDump::Direction::Read:
        return '<';
    case RawDump::Direction::Opened:
        return '@';
    }
    return '?';
}
} // namespace

RawDump::RawDump()
{
    clock_.start();
}

void RawDump::add(Direction direction, const QByteArray &bytes)
{
    if (bytes.isEmpty() && direction != Direction::Opened)
        return;
    std::lock_guard lock(mutex_);
    events_.push_back({clock_.nsecsElapsed() / 1000, direction, bytes});
}

std::vector<RawDump::Event> RawDump::events() const
{
    std::lock_guard lock(mutex_);
    return events_;
}

bool RawDump::isEmpty() const
{
    std::lock_guard lock(mutex_);
    return events_.empty();
}

QByteArray RawDump::format(const std::vector<Event> &events)
{
    QByteArray out(kHeader);
    out += '\n';
    for (const Event &e : events) {
        out += QByteArray::number(e.offsetUs / 1000000) + '.' +
               QByteArray::number(e.offsetUs % 1000000).rightJustified(6, '0');
        out += ' ';
        out += directionChar(e.direction);
        out += ' ';
        out += e.direction == Direction::Opened ? e.bytes : e.bytes.toHex(' ').toUpper();
        out += '\n';
    }
    return out;
}

DumpResult<std::vector<RawDump::Event>> RawDump::parse(const QByteArray &text)
{
    const auto fail = [](int line, const QString &why) -> Failure<DumpError> {
        return {DumpError::Malformed, QStringLiteral("line %1: %2").arg(line).arg(why)};
    };
    const QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || lines.first().trimmed() != kHeader)
        return fail(1, QStringLiteral("not a raw dump"));
    std::vector<Event> events;
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const int space1 = line.indexOf(' ');
        if (space1 < 0 || line.size() < space1 + 3 || line[space1 + 2] != ' ')
            return fail(i + 1, QStringLiteral("expected <seconds> <direction> <data>"));
        const QByteArray time = line.left(space1);
        const int dot = time.indexOf('.');
        bool okWhole = false, okFraction = false;
        const qint64 whole = (dot < 0 ? time : time.left(dot)).toLongLong(&okWhole);
        const QByteArray fraction = dot < 0 ? QByteArray("0") : time.mid(dot + 1).leftJustified(6, '0');
        const qint64 micros = fraction.size() == 6 ? fraction.toLongLong(&okFraction) : -1;
        if (!okWhole || !okFraction || whole < 0 || micros < 0)
            return fail(i + 1, QStringLiteral("bad time offset"));
        if (whole > (std::numeric_limits<qint64>::max() - micros) / 1000000)
            return fail(i + 1, QStringLiteral("time offset out of range"));
        Event e;
        e.offsetUs = whole * 1000000 + micros;
        const QByteArray data = line.mid(space1 + 3);
        switch (line[space1 + 1]) {
        case '>':
        case '<': {
            e.direction = line[space1 + 1] == '>' ? Direction::Written : Direction::Read;
            for (const QByteArray &pair : data.split(' ')) {
                bool ok = false;
                const uint value = pair.toUInt(&ok, 16);
                if (pair.size() != 2 || !ok)
                    return fail(i + 1, QStringLiteral("bad byte \"%1\"").arg(QString::fromLatin1(pair)));
                e.bytes.append(char(value));
            }
            break;
        }
        case '@':
            e.direction = Direction::Opened;
            e.bytes = data;
            break;
        default:
            return fail(i + 1, QStringLiteral("unknown direction"));
        }
        events.push_back(std::move(e));
    }
    return events;
}

DumpResult<> RawDump::save(const QString &path) const
{
    if (const FileResult r = writeFileChecked(path, format(events())); !r)
        return Failure<DumpError>{DumpError::WriteFailed, r.detail()};
    return {};
}

DumpResult<std::vector<RawDump::Event>> RawDump::load(const QString &path)
{
    const auto fail = [](const QString &why, DumpError error = DumpError::Unreadable) -> Failure<DumpError> {
        return {error, why};
    };
    // Opened without blocking and checked on the open file: a FIFO would wait
    // for a writer, and a device such as /dev/zero never ends.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(qt_error_string(errno));
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(file.errorString());
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return fail(QStringLiteral("not a regular file"));
    if (st.st_size > kMaxFileSize)
        return fail(QStringLiteral("larger than %1 bytes").arg(kMaxFileSize), DumpError::TooLarge);
    // Read no more than the limit even if the file grows meanwhile.
    const QByteArray text = file.read(kMaxFileSize + 1);
    if (text.size() > kMaxFileSize)
        return fail(QStringLiteral("larger than %1 bytes").arg(kMaxFileSize), DumpError::TooLarge);
    return parse(text);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimulatedOximeter.h"

#include "DeviceWire.h"
#include "ReplayDevice.h"
#include "SimulatedNight.h"
#include "device/SerialPort.h"
#include "model/DeviceModel.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <termios.h>
#include <unistd.h>

namespace
{
using Clock = std::chrono::steady_clock;
} // namespace

SimulatedOximeter::SimulatedOximeter(Config config) : config_(std::move(config))
{
    if (config_.framePayload < 8)
        config_.framePayload = 8;
}

SimulatedOximeter::~SimulatedOximeter()
{
    stop();
}

void SimulatedOximeter::setReadings(int id, std::vector<SampleRecord> readings)
{
    std::lock_guard lock(mutex_);
    for (auto &r : readings)
        r.id = std::uint8_t(id);
    if (readings.empty())
        readings_.erase(id);
    else
        readings_[id] = std::move(readings);
    wire_ = sendOrder();
}

void SimulatedOximeter::addNight(int id, int count, std::uint32_t seed)
{
    setReadings(id, GenerateNight(seed, id, count));
}

std::vector<SampleRecord> SimulatedOximeter::readings(int id) const
{
    std::lock_guard lock(mutex_);
    const auto it = readings_.find(id);
    return it == readings_.end() ? std::vector<SampleRecord>{} : it->second;
}

std::vector<int> SimulatedOximeter::ids() const
{
    std::lock_guard lock(mutex_);
    std::vector<int> out;
    for (const auto &[id, r] : readings_)
        out.push_back(id);
    return out;
}

int SimulatedOximeter::totalReadings() const
{
    std::lock_guard lock(mutex_);
    int n = 0;
    for (const auto &[id, r] : readings_)
        n += int(r.size());
    return n;
}

std::vector<SampleRecord> SimulatedOximeter::sendOrder() const
{
    // Called with the mutex held. Some models list each ID's readings newest first.
    std::vector<SampleRecord> wire;
    for (int k = 0; k < config_.faults.zeroIdRecords; ++k) {
        SampleRecord s;
        s.spo2 = 97;
        s.pulseRate = 60;
        wire.push_back(s);
    }
    for (const auto &[id, r] : readings_) {
        if (TraitsOfModel(config_.model).newestFirst)
            wire.insert(wire.end(), r.rbegin(), r.rend());
        else
            wire.insert(wire.end(), r.begin(), r.end());
    }
    return wire;
}

int SimulatedOximeter::frameCount() const
{
    std::lock_guard lock(mutex_);
    const int perFrame = config_.framePayload / 8;
    return int((wire_.size() + std::size_t(perFrame) - 1) / std::size_t(perFrame));
}

std::vector<QByteArray> SimulatedOximeter::commands() const
{
    std::lock_guard lock(mutex_);
    return commands_;
}

int SimulatedOximeter::commandCount(std::uint8_t code) const
{
    std::lock_guard lock(mutex_);
    int n = 0;
    for (const QByteArray &c : commands_)
        n += std::uint8_t(c[2]) == code ? 1 : 0;
    return n;
}

QDateTime SimulatedOximeter::clock() const
{
    std::lock_guard lock(mutex_);
    return clock_;
}

void SimulatedOximeter::setCommandLog(std::function<void(const QString &)> log)
{
    std::lock_guard lock(mutex_);
    log_ = std::move(log);
}

QString SimulatedOximeter::startPty()
{
    stop();
    masterFd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (masterFd_ < 0)
        return {};
    if (::grantpt(masterFd_) != 0 || ::unlockpt(masterFd_) != 0) {
        ::close(masterFd_);
        masterFd_ = -1;
        return {};
    }
    char name[128] = {};
    ::ptsname_r(masterFd_, name, sizeof(name));
    // Our own handle on the terminal keeps it alive between the program's opens,
    // and puts it in raw mode before anyone writes to it.
    slaveFd_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveFd_ >= 0) {
        termios t{};
        ::tcgetattr(slaveFd_, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(slaveFd_, TCSANOW, &t);
    }
    ::fcntl(masterFd_, F_SETFL, ::fcntl(masterFd_, F_GETFL) | O_NONBLOCK);
    socket_ = false;
    stop_.store(false);
    lineClosed_.store(false);
    thread_ = std::thread([this] { serve(); });
    return QString::fromLocal8Bit(name);
}

bool SimulatedOximeter::startUnix(const QString &path)
{
    stop();
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un sa{};
    if (native.isEmpty() || std::size_t(native.size()) >= sizeof(sa.sun_path))
        return false;
    sa.sun_family = AF_UNIX;
    std::memcpy(sa.sun_path, native.constData(), std::size_t(native.size()));
    ::unlink(native.constData());
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0)
        return false;
    if (::bind(listenFd_, reinterpret_cast<sockaddr *>(&sa), sizeof(sa)) != 0 || ::listen(listenFd_, 4) != 0) {
        ::close(listenFd_);
        listenFd_ = -1;
        return false;
    }
    socket_ = true;
    socketPath_ = path;
    stop_.store(false);
    lineClosed_.store(false);
    thread_ = std::thread([this] { serve(); });
    return true;
}

void SimulatedOximeter::stop()
{
    stop_.store(true);
    if (thread_.joinable())
        thread_.join();
    for (int *fd : {&connFd_, &listenFd_, &slaveFd_, &masterFd_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    if (socket_ && !socketPath_.isEmpty())
        ::unlink(QFile::encodeName(socketPath_).constData());
    socketPath_.clear();
}

int SimulatedOximeter::lineBaud() const
{
    if (socket_ || slaveFd_ < 0)
        return int(config_.dataBaud);
    return SerialPort::LineSpeed(slaveFd_);
}

void SimulatedOximeter::serve()
{
    QByteArray input;
    while (!stop_.load() && !lineClosed_.load()) {
        int fd = socket_ ? connFd_ : masterFd_;
        if (socket_ && fd < 0) {
            pollfd p{listenFd_, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0) {
                connFd_ = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
                input.clear();
            }
            continue;
        }
        if (garbage_.load()) // a babbling line: noise that never makes a frame
            send(QByteArray(128, char(0x13)));
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, garbage_.load() ? 5 : 20) <= 0)
            continue;
        char buf[512];
        const ssize_t n = ::read(fd, buf, sizeof(buf));
        if (n <= 0) {
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            if (socket_) { // the program went away; wait for the next connection
                ::close(connFd_);
                connFd_ = -1;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            continue;
        }
        input.append(buf, int(n));
        consume(input);
    }
}

void SimulatedOximeter::consume(QByteArray &input)
{
    // Commands are six bytes starting 55 AA with a good check byte.
    while (input.size() >= 6 && !lineClosed_.load()) {
        if (std::uint8_t(input[0]) != 0x55 || std::uint8_t(input[1]) != 0xAA) {
            input.remove(0, 1);
            continue;
        }
        const auto b = [&input](int i) { return std::uint8_t(input[i]); };
        if (std::uint8_t(b(2) + b(3) + b(4)) != b(5)) {
            input.remove(0, 1);
            continue;
        }
        const QByteArray command = input.left(6);
        input.remove(0, 6);
        handle(command);
    }
}

void SimulatedOximeter::attach(std::function<void(const QByteArray &bytes, int delayMs)> sink)
{
    std::lock_guard lock(inProcessMutex_);
    sink_ = std::move(sink);
    inProcessInput_.clear();
    lineClosed_.store(false);
}

void SimulatedOximeter::receive(const QByteArray &bytes)
{
    std::lock_guard lock(inProcessMutex_);
    if (!sink_)
        return;
    inProcessInput_.append(bytes);
    consume(inProcessInput_);
}

void SimulatedOximeter::handle(const QByteArray &command)
{
    const auto b = [&command](int i) { return std::uint8_t(command[i]); };
    std::function<void(const QString &)> log;
    {
        std::lock_guard lock(mutex_);
        commands_.push_back(command);
        log = log_;
    }
    if (log)
        log(DeviceWire::Hex(command));
    if (replay_) {
        const QByteArray bytes = replay_->answer(command);
        if (!bytes.isEmpty())
            send(bytes);
        return;
    }
    const Faults &f = config_.faults;
    if (f.silent)
        return;

    switch (b(2)) {
    case DeviceWire::QueryInfo: {
        QByteArray reply = DeviceWire::InfoReply(config_.model, config_.dataBaud, f.infoPayloadLength);
        if (infoReplies_++ < f.garbledInfoReplies)
            reply[1] = char(0x5A);
        send(reply);
        break;
    }
    case DeviceWire::QueryCounts: {
        QByteArray reply = DeviceWire::CountReply(frameCount());
        if (countReplies_++ < f.garbledCountReplies)
            reply[0] = char(0x56);
        send(reply);
        break;
    }
    case DeviceWire::RequestFrame: {
        // Some models on a serial line send the frame number low byte first.
        const bool lowFirst = !socket_ && TraitsOfModel(config_.model).requestLowByteFirstSerial;
        const int frame = lowFirst ? b(3) + b(4) * 256 : b(3) * 256 + b(4);
        if (f.silentFromFrame >= 0 && frame >= f.silentFromFrame)
            return;
        if (f.garbageFromFrame >= 0 && frame >= f.garbageFromFrame) {
            garbage_.store(true);
            return;
        }
        if (frame == f.stallFrame && stalls_[frame]++ < f.stallRequests)
            return;
        if (f.lateFrames.contains(frame)) {
            const int seen = ++lateRequests_[frame];
            if (seen == 1)
                return;
            if (seen == 2)
                sendFrame(frame);
        }
        sendFrame(frame);
        break;
    }
    case DeviceWire::Delete: {
        const int id = (b(3) & 0x0F) * 256 + b(4);
        // In process the link delays the acknowledgement on its own clock.
        const auto until = Clock::now() + std::chrono::milliseconds(sink_ ? 0 : config_.deleteDelayMs);
        while (Clock::now() < until && !stop_.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        {
            std::lock_guard lock(mutex_);
            if (id == 0)
                readings_.clear();
            else
                readings_.erase(id);
            wire_ = sendOrder();
        }
        send(DeviceWire::Acknowledgement(DeviceWire::DeleteAck), config_.deleteDelayMs);
        break;
    }
    case DeviceWire::SetDate:
    case DeviceWire::SetTime: {
        {
            std::lock_guard lock(mutex_);
            if (b(2) == DeviceWire::SetDate) {
                pendingDate_ = std::uint32_t(b(3)) | (std::uint32_t(b(4)) << 8);
                haveDate_ = true;
            } else if (haveDate_) {
                const std::uint32_t w = pendingDate_ | (std::uint32_t(b(3)) << 16) | (std::uint32_t(b(4)) << 24);
                const auto bits = [w](int shift, int width) { return int((w >> shift) & ((1u << width) - 1)); };
                clock_ = QDateTime(QDate(2000 + bits(0, 6), bits(6, 4), bits(10, 5)),
                                   QTime(bits(15, 5), bits(20, 6), bits(26, 6)), Qt::UTC);
            }
        }
        send(DeviceWire::Acknowledgement(f.clockAckTag));
        break;
    }
    default: // StopTransfer and anything unknown: nothing to answer
        break;
    }
}

QByteArray SimulatedOximeter::frameBytes(int frame) const
{
    std::lock_guard lock(mutex_);
    const int perFrame = config_.framePayload / 8;
    const int frames = int((wire_.size() + std::size_t(perFrame) - 1) / std::size_t(perFrame));
    if (frame >= frames)
        return DeviceWire::Frame(0x00, DeviceWire::EndTag, {});
    QByteArray payload;
    const std::size_t first = std::size_t(frame) * std::size_t(perFrame);
    const std::size_t last = std::min(wire_.size(), first + std::size_t(perFrame));
    payload.reserve(int(last - first) * 8);
    for (std::size_t k = first; k < last; ++k) {
        const auto r = DeviceWire::Record(wire_[k], TraitsOfModel(config_.model).recordBytesReversed);
        payload.append(reinterpret_cast<const char *>(r.data()), 8);
    }
    const std::uint16_t tag =
        frame == config_.faults.earlyEndFrame ? std::uint16_t(DeviceWire::EndTag) : std::uint16_t(frame);
    return DeviceWire::Frame(0x00, tag, payload);
}

void SimulatedOximeter::sendFrame(int frame)
{
    QByteArray bytes = frameBytes(frame);
    if (config_.faults.strayByteBeforeFrame.contains(frame) && straysSent_.insert(frame).second)
        bytes.prepend('\0');
    if (frame == config_.faults.closeAtFrame) {
        send(bytes.left(bytes.size() / 2));
        // Hang up: the program's side of the line sees the end.
        for (int *fd : {&connFd_, &slaveFd_, &masterFd_}) {
            if (*fd >= 0)
                ::close(*fd);
            *fd = -1;
        }
        lineClosed_.store(true);
        return;
    }
    send(bytes);
}

void SimulatedOximeter::send(const QByteArray &bytes, int delayMs)
{
    if (sink_) {
        bytesSent_.fetch_add(bytes.size());
        sink_(bytes, delayMs);
        return;
    }
    const int fd = socket_ ? connFd_ : masterFd_;
    if (fd < 0)
        return;
    const int baud = config_.pace ? lineBaud() : 0;
    // Paced output goes out in slices of about 2 ms of line time.
    const int slice = baud > 0 ? std::max(1, baud / 10 / 500) : int(bytes.size());
    const auto start = Clock::now();
    qint64 done = 0;
    while (done < bytes.size() && !stop_.load()) {
        if (baud > 0) {
            const auto due = start + std::chrono::microseconds(done * 10 * 1000000 / baud);
            std::this_thread::sleep_until(due);
        }
        const qint64 want = std::min<qint64>(slice, bytes.size() - done);
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(want));
        if (n > 0) {
            done += n;
            bytesSent_.fetch_add(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        } else {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 20);
        }
    }
    if (baud > 0) // the last slice still needs its line time
        std::this_thread::sleep_until(start + std::chrono::microseconds(done * 10 * 1000000 / baud));
}

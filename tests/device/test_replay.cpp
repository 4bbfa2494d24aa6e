// SPDX-License-Identifier: GPL-3.0-or-later
// Raw dumps of a download and the device that replays them.
#include "DeviceHarness.h"
#include "ReplayDevice.h"
#include "device/RawDump.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <sys/stat.h>

namespace
{
using Dir = RawDump::Direction;

QByteArray command(int code, int a = 0, int b = 0)
{
    return harness::bytes({0x55, 0xAA, code, a, b, (code + a + b) & 0xFF});
}

// One download over a real pseudo-terminal with its bytes kept in dump (null: none).
harness::Download downloadOverPty(SimulatedOximeter &sim, RecordStore &store, std::shared_ptr<RawDump> dump)
{
    DeviceSession session;
    session.setDump(std::move(dump));
    session.useSerial(SerialSearch::only(sim.startPty()));
    return harness::download(session, store);
}

// Why a dump was refused, with its detail in why; nullopt when it was not.
template <typename T> std::optional<DumpError> refusal(const DumpResult<T> &result, QString &why)
{
    why = result.ok() ? QString() : result.detail();
    return result.ok() ? std::nullopt : std::optional<DumpError>(result.error());
}

std::vector<SampleRecord> samplesOf(const RecordStore &store)
{
    std::vector<SampleRecord> out;
    for (const auto &id : store.deviceSamples)
        out.insert(out.end(), id.begin(), id.end());
    return out;
}
} // namespace

TEST(RawDump, FileKeepsEveryEventExactly)
{
    const std::vector<RawDump::Event> events = {{0, Dir::Opened, "/dev/ttyUSB0"},
                                                {5, Dir::Written, command(0xFD)},
                                                {1234567, Dir::Read, harness::bytes({0x00, 0x55, 0xAA, 0xFF})},
                                                {3000000, Dir::Read, QByteArray(4200, char(0x13))}};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dump.txt"));
    const QByteArray text = RawDump::format(events);
    EXPECT_TRUE(text.startsWith("# quellix raw dump 1\n0.000000 @ /dev/ttyUSB0\n0.000005 > 55 AA FD 00 00 FD\n"
                                "1.234567 < 00 55 AA FF\n"))
        << text.left(200).toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    const auto loaded = RawDump::load(path);
    ASSERT_TRUE(loaded.ok()) << loaded.detail().toStdString();
    EXPECT_EQ(loaded.value(), events);

    // What the recorder keeps from every thread is saved the same way.
    RawDump dump;
    dump.opened(QStringLiteral("pts/3"));
    dump.written(command(0xFE));
    dump.read({}); // nothing arrived: nothing to keep
    dump.read(harness::bytes({1, 2, 3}));
    ASSERT_TRUE(dump.save(path).ok());
    const auto again = RawDump::load(path);
    ASSERT_TRUE(again.ok()) << again.detail().toStdString();
    EXPECT_EQ(again.value(), dump.events());
    ASSERT_EQ(again.value().size(), 3u);
    EXPECT_LE(again.value()[1].offsetUs, again.value()[2].offsetUs);
}

TEST(RawDump, DamagedFilesAreRefusedWithTheLineAtFault)
{
    QString why;
    EXPECT_EQ(refusal(RawDump::parse("0.1 > 55 AA\n"), why), DumpError::Malformed); // no header
    EXPECT_EQ(refusal(RawDump::parse("# quellix raw dump 1\n0.1 > 55 AX\n"), why), DumpError::Malformed);
    EXPECT_TRUE(why.startsWith(QLatin1String("line 2"))) << why.toStdString();
    EXPECT_EQ(refusal(RawDump::parse("# quellix raw dump 1\n0.1 > 55 AA\nx.1 < 00\n"), why), DumpError::Malformed);
    EXPECT_TRUE(why.startsWith(QLatin1String("line 3"))) << why.toStdString();
    EXPECT_EQ(refusal(RawDump::parse("# quellix raw dump 1\n0.1 ? 55\n"), why), DumpError::Malformed);
    EXPECT_EQ(refusal(RawDump::parse("# quellix raw dump 1\n-1.0 > 55\n"), why), DumpError::Malformed);
    EXPECT_EQ(refusal(RawDump::load(QStringLiteral("/nonexistent/dump.txt")), why), DumpError::Unreadable);
    EXPECT_FALSE(why.isEmpty());
    // The largest offset that fits in 64-bit microseconds, and one past it.
    const auto offset = RawDump::parse("# quellix raw dump 1\n9223372036854.775807 > 55\n");
    ASSERT_TRUE(offset.ok()) << offset.detail().toStdString();
    EXPECT_EQ(offset.value().front().offsetUs, std::numeric_limits<qint64>::max());
    for (const char *time : {"9223372036854.775808", "9223372036855.0", "9223372036854775807.0"}) {
        EXPECT_EQ(refusal(RawDump::parse(QByteArray("# quellix raw dump 1\n") + time + " > 55\n"), why),
                  DumpError::Malformed)
            << time;
        EXPECT_TRUE(why.contains(QLatin1String("out of range"))) << time << ": " << why.toStdString();
    }

    // A dump that cannot be written says so and leaves no file behind.
    RawDump dump;
    dump.written(command(0xFD));
    EXPECT_EQ(refusal(dump.save(QStringLiteral("/nonexistent/dump.txt")), why), DumpError::WriteFailed);
    EXPECT_FALSE(why.isEmpty());
}

// Only regular files of a bounded size are read: a FIFO would block before the
// first byte and a device such as /dev/zero never ends.
TEST(RawDump, OnlyBoundedRegularFilesAreLoaded)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString big = dir.filePath(QStringLiteral("big.dump"));
    QFile f(big);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("# quellix raw dump 1\n");
    ASSERT_TRUE(f.resize(RawDump::kMaxFileSize + 1)); // sparse: no disk used
    f.close();
    const std::pair<QString, DumpError> refused[] = {{fifo, DumpError::Unreadable},
                                                     {QStringLiteral("/dev/zero"), DumpError::Unreadable},
                                                     {dir.path(), DumpError::Unreadable},
                                                     {big, DumpError::TooLarge}};
    for (const auto &[path, error] : refused) {
        QString why;
        EXPECT_EQ(refusal(RawDump::load(path), why), error) << path.toStdString();
        EXPECT_FALSE(why.isEmpty()) << path.toStdString();
    }
}

TEST(ReplayDevice, AnswersEachCommandInTurnFromTheLineThatAnswered)
{
    const QByteArray info = command(0xFD), frame0 = command(0xFA, 0, 0), frame1 = command(0xFA, 0, 1);
    const std::vector<RawDump::Event> events = {
        // A port of the search that never answered: left out.
        {0, Dir::Opened, "/dev/ttyS0"},
        {1, Dir::Written, info},
        {2, Dir::Opened, "/dev/ttyUSB0"},
        {3, Dir::Read, "hello"}, // before any command: answers nothing
        {4, Dir::Written, info},
        {5, Dir::Read, "I"},
        {6, Dir::Read, "NFO"}, // one answer in two reads
        {7, Dir::Written, frame0},
        {8, Dir::Written, frame0}, // the first request went unanswered
        {9, Dir::Read, "F0"},
        {10, Dir::Written, frame1.left(2)}, // one command in two writes
        {11, Dir::Written, frame1.mid(2)},
        {12, Dir::Read, "F1a"},
        {13, Dir::Read, "F1b"},
    };
    ReplayDevice device(events);
    EXPECT_EQ(device.commandCount(), 4);
    EXPECT_EQ(device.answer(info), QByteArray("INFO"));
    EXPECT_EQ(device.answer(info), QByteArray()); // asked more often than in the dump
    EXPECT_EQ(device.answer(frame0), QByteArray());
    EXPECT_EQ(device.answer(frame0), QByteArray("F0"));
    EXPECT_EQ(device.answer(frame1), QByteArray("F1aF1b"));
    EXPECT_EQ(device.answer(command(0xFE)), QByteArray());
}

TEST(ReplayDevice, ReplayOfADownloadWithFaultsBringsTheSameReadings)
{
    SimulatedOximeter::Config c = harness::config(4, 256);
    c.faults.stallFrame = 2;
    c.faults.stallRequests = 1;
    c.faults.strayByteBeforeFrame = {4};
    SimulatedOximeter sim(c);
    sim.addNight(3, 300, 3);
    sim.addNight(7, 90, 7);
    auto dump = std::make_shared<RawDump>();
    RecordStore original;
    const harness::Download first = downloadOverPty(sim, original, dump);
    ASSERT_TRUE(harness::completed(first));

    SimulatedOximeter replaying(harness::config());
    replaying.setReplay(std::make_shared<ReplayDevice>(dump->events()));
    RecordStore replayed;
    const harness::Download second = downloadOverPty(replaying, replayed, nullptr);
    ASSERT_TRUE(harness::completed(second));
    EXPECT_EQ(second.result.framesAnnounced, first.result.framesAnnounced);
    EXPECT_EQ(second.result.framesReceived, first.result.framesReceived);
    EXPECT_EQ(samplesOf(replayed).size(), 390u);
    EXPECT_TRUE(samplesOf(replayed) == samplesOf(original));
    // The client asked the replay exactly what it asked the device.
    EXPECT_EQ(replaying.commands(), sim.commands());
}

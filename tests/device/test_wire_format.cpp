// SPDX-License-Identifier: GPL-3.0-or-later
// The wire format pinned with literal bytes, checked against both sides: the
// client's command builders and decoders, and the simulated device's own
// encoders. Neither side is tested against the other.
#include "DeviceWire.h"
#include "device/FrameAssembler.h"
#include "device/Protocol.h"
#include "device/RawDump.h"
#include "device/Transport.h"
#include "model/DeviceModel.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

namespace
{

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray asBytes(const Protocol::Command &c)
{
    return QByteArray(reinterpret_cast<const char *>(c.data()), int(c.size()));
}

// ID 3, 2010-07-21 14:35:09 (and :10), SpO2 97 %, pulse 72, aux 0.
SampleRecord reading(int second)
{
    SampleRecord s;
    s.id = 3;
    s.year = 10;
    s.month = 7;
    s.day = 21;
    s.hour = 14;
    s.minute = 35;
    s.second = std::uint8_t(second);
    s.spo2 = 97;
    s.pulseRate = 72;
    return s;
}

const QByteArray kRecord09 = bytes({0x03, 0xC5, 0x55, 0x37, 0x26, 0x61, 0x24, 0x00});
const QByteArray kRecord10 = bytes({0x03, 0xC5, 0x55, 0x37, 0x2A, 0x61, 0x24, 0x00});

QByteArray reversed(QByteArray record)
{
    std::reverse(record.begin(), record.end());
    return record;
}

} // namespace

TEST(WireFormat, CommandFramesOfTheClient)
{
    using namespace Protocol;
    EXPECT_EQ(asBytes(BuildCommand(QueryDeviceInfo, 0, 0)), bytes({0x55, 0xAA, 0xFD, 0x00, 0x00, 0xFD}));
    EXPECT_EQ(asBytes(BuildCommand(QueryCounts, 0, 0)), bytes({0x55, 0xAA, 0xFE, 0x00, 0x00, 0xFE}));
    EXPECT_EQ(asBytes(BuildCommand(StopTransfer, 0, 0)), bytes({0x55, 0xAA, 0xF3, 0x00, 0x00, 0xF3}));
    EXPECT_EQ(asBytes(RequestFrameCommand(0x0102, 2, LinkMode::Serial)), bytes({0x55, 0xAA, 0xFA, 0x01, 0x02, 0xFD}));
    EXPECT_EQ(asBytes(RequestFrameCommand(0x0102, 3, LinkMode::Serial)), bytes({0x55, 0xAA, 0xFA, 0x02, 0x01, 0xFD}));
    EXPECT_EQ(asBytes(RequestFrameCommand(0x0102, 3, LinkMode::Bluetooth)),
              bytes({0x55, 0xAA, 0xFA, 0x01, 0x02, 0xFD}));
    EXPECT_EQ(asBytes(DeleteDataCommand(0, DeleteDataType::All)), bytes({0x55, 0xAA, 0xF4, 0x00, 0x00, 0xF4}));
    EXPECT_EQ(asBytes(DeleteDataCommand(5, DeleteDataType::Spo2AndPulse)), bytes({0x55, 0xAA, 0xF4, 0x10, 0x05, 0x09}));
    const std::uint32_t word = DateTimeWord(2010, 7, 21, 14, 35, 9);
    EXPECT_EQ(word, 0x263755CAu);
    EXPECT_EQ(asBytes(SetDateCommand(word)), bytes({0x55, 0xAA, 0xF7, 0xCA, 0x55, 0x16}));
    EXPECT_EQ(asBytes(SetTimeCommand(word)), bytes({0x55, 0xAA, 0xF8, 0x37, 0x26, 0x55}));
}

TEST(WireFormat, DataFrameWithTwoRecordsInEachByteOrder)
{
    for (const bool reverse : {false, true}) {
        const QByteArray records = reverse ? reversed(kRecord09) + reversed(kRecord10) : kRecord09 + kRecord10;
        const QByteArray head = bytes({0x55, 0xAA, 0x00, 0x00, 0x05, 0x00, 0x10});

        // The simulated device sends exactly these bytes...
        QByteArray payload;
        for (int second : {9, 10}) {
            const auto r = DeviceWire::Record(reading(second), reverse);
            payload.append(reinterpret_cast<const char *>(r.data()), 8);
        }
        const QByteArray sent = DeviceWire::Frame(0x00, 5, payload);
        ASSERT_EQ(sent.size(), 24) << reverse;
        EXPECT_EQ(sent.left(23), head + records) << reverse;

        // ...and the client reads the same bytes back into the readings.
        const int model = reverse ? 4 : 2;
        ASSERT_EQ(TraitsOfModel(model).recordBytesReversed, reverse);
        DeviceReadings readings;
        FrameAssembler a(readings, model);
        a.setFramesReceived(5);
        a.Feed(head + records + QByteArray(1, '\0')); // the check byte is not examined
        ASSERT_EQ(readings[2].size(), 2u) << reverse;
        EXPECT_EQ(readings[2][0], reading(9)) << reverse;
        EXPECT_EQ(readings[2][1], reading(10)) << reverse;
    }
}

TEST(WireFormat, InfoCountAndAcknowledgementReplies)
{
    // Model 2 at 115,200 baud, versions 1.2.3 and 4.5.6.
    QByteArray info = bytes({0x55, 0xAA, 0x00, 0xFF, 0xFD, 0x00, 0x1E, 0x00, 0x02, 0x00, 0x01, 0xC2,
                             0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06});
    info.append(QByteArray(14, '\0'));
    const QByteArray sentInfo = DeviceWire::InfoReply(2, 115200);
    ASSERT_EQ(sentInfo.size(), 38);
    EXPECT_EQ(sentInfo.left(37), info);
    const Protocol::DeviceInfoCheck check = Protocol::CheckDeviceInfoReply(info + QByteArray(1, '\0'));
    EXPECT_TRUE(check.accepted);
    EXPECT_EQ(check.info.model, 2);
    EXPECT_EQ(check.info.dataBaud, 115200u);
    EXPECT_EQ(check.info.version1, QStringLiteral("1.2.3"));
    EXPECT_EQ(check.info.version2, QStringLiteral("4.5.6"));

    // 42 frames, extra counts 1 and 2.
    QByteArray count = bytes({0x55, 0xAA, 0x00, 0xFF, 0xFB, 0x00, 0x1E, 0x00, 0x00, 0x00, 0x2A, 0x00, 0x00, 0x00, 0x01,
                              0x00, 0x00, 0x00, 0x02});
    count.append(QByteArray(18, '\0'));
    const QByteArray sentCount = DeviceWire::CountReply(42, 1, 2);
    ASSERT_EQ(sentCount.size(), 38);
    EXPECT_EQ(sentCount.left(37), count);
    const auto counts = Protocol::CheckCountReply(count + QByteArray(1, '\0'));
    ASSERT_TRUE(counts.has_value());
    EXPECT_EQ(counts->frameCount, 42);
    EXPECT_EQ(counts->totalCount(), 45);

    for (const std::uint16_t tag : {std::uint16_t(0xFFF9), std::uint16_t(0xFFFA)}) {
        QByteArray ack = bytes({0x55, 0xAA, 0x00, 0xFF, tag & 0xFF, 0x00, 0x1E});
        ack.append(QByteArray(30, '\0'));
        EXPECT_EQ(DeviceWire::Acknowledgement(tag).left(37), ack) << tag;
        EXPECT_TRUE(Protocol::IsAcknowledgement(ack, tag)) << tag;
        EXPECT_FALSE(Protocol::IsAcknowledgement(ack, tag == 0xFFF9 ? 0xFFFA : 0xFFF9)) << tag;
    }
}

namespace
{
// A line that takes a command a byte at a time, as a slow port may.
class ByteAtATime : public Transport
{
public:
    QByteArray wire;
    LinkMode linkMode() const override { return LinkMode::Serial; }
    bool isOpen() const override { return true; }
    void close() override {}

protected:
    qint64 writeRaw(const char *data, qint64 size) override
    {
        for (qint64 i = 0; i < size; ++i) {
            {
                std::lock_guard lock(mutex_);
                wire.append(data[i]);
            }
            std::this_thread::yield();
        }
        return size;
    }
    qint64 readRaw(char *, qint64, int) override { return 0; }

private:
    std::mutex mutex_;
};
} // namespace

// The requester and the receiver's re-requests write from two threads: every
// command reaches the line and the raw dump whole, in the same order.
TEST(WireFormat, CommandsFromTwoThreadsNeverInterleave)
{
    ByteAtATime line;
    auto dump = std::make_shared<RawDump>();
    line.setDump(dump);
    const QByteArray requests[] = {asBytes(Protocol::RequestFrameCommand(1, 2, LinkMode::Serial)),
                                   asBytes(Protocol::RequestFrameCommand(2, 2, LinkMode::Serial))};
    constexpr int kEach = 2000;
    std::thread other([&] {
        for (int i = 0; i < kEach; ++i)
            EXPECT_TRUE(line.Write(requests[1]).ok());
    });
    for (int i = 0; i < kEach; ++i)
        EXPECT_TRUE(line.Write(requests[0]).ok());
    other.join();

    ASSERT_EQ(line.wire.size(), 2 * kEach * 6);
    QByteArray dumped;
    for (const RawDump::Event &e : dump->events())
        dumped += e.bytes;
    EXPECT_EQ(dumped, line.wire);
    for (int at = 0; at < line.wire.size(); at += 6) {
        const QByteArray command = line.wire.mid(at, 6);
        ASSERT_TRUE(command == requests[0] || command == requests[1]) << "at byte " << at;
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceHarness.h"
#include "DeviceWire.h"
#include "device/Protocol.h"

#include <gtest/gtest.h>

using namespace Protocol;

namespace
{
using harness::bytes;
QByteArray asBytes(const Command &c)
{
    return QByteArray(reinterpret_cast<const char *>(c.data()), 6);
}

QByteArray infoReply(int length, int status = 0, int tag = 0xFFFD)
{
    DeviceWire::Info info;
    info.model = 4;
    info.dataBaud = 38400;
    info.value = 7;
    info.version1 = {1, 2, 3};
    info.version2 = {9, 8, 7};
    QByteArray r = DeviceWire::InfoReply(info);
    r[2] = char(status);
    r[3] = char(tag >> 8);
    r[4] = char(tag & 0xFF);
    r[5] = char(length >> 8);
    r[6] = char(length & 0xFF);
    return r;
}
} // namespace

TEST(CommandFrames, CheckByteIsTheSumOfCodeAndArguments)
{
    EXPECT_EQ(asBytes(BuildCommand(QueryDeviceInfo, 0, 0)), bytes({0x55, 0xAA, 0xFD, 0x00, 0x00, 0xFD}));
    EXPECT_EQ(asBytes(BuildCommand(QueryCounts, 0, 0)), bytes({0x55, 0xAA, 0xFE, 0x00, 0x00, 0xFE}));
    EXPECT_EQ(asBytes(BuildCommand(StopTransfer, 0, 0)), bytes({0x55, 0xAA, 0xF3, 0x00, 0x00, 0xF3}));
    // The check byte wraps modulo 256.
    EXPECT_EQ(asBytes(BuildCommand(RequestFrame, 0xFF, 0xFF)), bytes({0x55, 0xAA, 0xFA, 0xFF, 0xFF, 0xF8}));
}

TEST(CommandFrames, RequestFrameByteOrderDependsOnModelAndLink)
{
    const QByteArray highFirst = bytes({0x55, 0xAA, 0xFA, 0x01, 0x02, 0xFD});
    EXPECT_EQ(asBytes(RequestFrameCommand(0x0102, 3, LinkMode::Serial)), bytes({0x55, 0xAA, 0xFA, 0x02, 0x01, 0xFD}));
    EXPECT_EQ(asBytes(RequestFrameCommand(0x0102, 3, LinkMode::Bluetooth)), highFirst);
    for (int model : {1, 2, 4, 11, 14})
        EXPECT_EQ(asBytes(RequestFrameCommand(0x0102, model, LinkMode::Serial)), highFirst) << model;
}

TEST(CommandFrames, DeleteDataCarriesTypeAndTwelveBitId)
{
    EXPECT_EQ(asBytes(DeleteDataCommand(5, DeleteDataType::Spo2AndPulse)), bytes({0x55, 0xAA, 0xF4, 0x10, 0x05, 0x09}));
    EXPECT_EQ(asBytes(DeleteDataCommand(0, DeleteDataType::All)), bytes({0x55, 0xAA, 0xF4, 0x00, 0x00, 0xF4}));
    EXPECT_EQ(asBytes(DeleteDataCommand(0x123, DeleteDataType::Spo2AndPulse)),
              bytes({0x55, 0xAA, 0xF4, 0x11, 0x23, std::uint8_t(0xF4 + 0x11 + 0x23)}));
}

TEST(DateTimeWord, PacksFieldsAndSplitsIntoTwoCommands)
{
    const std::uint32_t w = DateTimeWord(2010, 7, 21, 14, 35, 9);
    EXPECT_EQ(w, 0x263755CAu);
    EXPECT_EQ(asBytes(SetDateCommand(w)), bytes({0x55, 0xAA, 0xF7, 0xCA, 0x55, 0x16}));
    EXPECT_EQ(asBytes(SetTimeCommand(w)), bytes({0x55, 0xAA, 0xF8, 0x37, 0x26, 0x55}));
    // Years are taken modulo 2000; extreme field values stay in their bits.
    EXPECT_EQ(DateTimeWord(2063, 12, 31, 23, 59, 59),
              63u | (12u << 6) | (31u << 10) | (23u << 15) | (59u << 20) | (59u << 26));
    EXPECT_EQ(DateTimeWord(2000, 1, 1, 0, 0, 0), (1u << 6) | (1u << 10));
}

TEST(SampleDecoder, DecodesEveryFieldFromItsBits)
{
    // r0..r7 chosen so every field lands on known bits.
    SampleRecord s;
    s.id = 0x55;
    s.year = 0x4B;  // 75: bit 0 in r0 bit 7, bits 1-6 in r1
    s.month = 0x0A; // bits 0-1 in r1 top, bits 2-3 in r2
    s.day = 0x1D;
    s.hour = 0x17;
    s.minute = 0x2E;
    s.second = 0x3B;
    s.spo2 = 0x61;
    s.pulseRate = 0xB3;
    s.auxValue = 0x1A5;
    const auto wire = DeviceWire::Record(s, ReversesRecordBytes(2));
    EXPECT_EQ(wire[0], 0x55 | 0x80);
    EXPECT_EQ(wire[1], (0x4B >> 1) | ((0x0A & 3) << 6));
    EXPECT_EQ(wire[2], ((0x0A >> 2) & 3) | (0x1D << 2) | ((0x17 & 1) << 7));
    EXPECT_EQ(wire[5], 0x61 | 0x80);
    EXPECT_EQ(wire[7], 0x1A5 >> 1);
    SampleRecord back = DecodeSample(wire.data(), 2);
    EXPECT_EQ(back, s);
    EXPECT_EQ(back.spare, 0);
}

TEST(SampleDecoder, ReversesBytesForModelsOneThreeFourOnly)
{
    const std::uint8_t wire[8] = {0x81, 0x0D, 0x55, 0x37, 0x26, 0xE1, 0x22, 0x03};
    const SampleRecord straight = DecodeSample(wire, 2);
    std::uint8_t reversed[8];
    std::reverse_copy(wire, wire + 8, reversed);
    for (int model : {1, 3, 4})
        EXPECT_EQ(DecodeSample(reversed, model), straight) << model;
    // Model 11 lists readings newest first but keeps each record's byte order.
    EXPECT_EQ(DecodeSample(wire, 11), straight);
    EXPECT_EQ(straight.id, 1);
    EXPECT_EQ(straight.year, 0x1B);
    EXPECT_EQ(straight.spo2, 0x61);
    EXPECT_EQ(straight.pulseRate, 0x45);
    EXPECT_EQ(straight.auxValue, 0x06);
}

TEST(DeviceInfoReply, AcceptsOnlyPayloadOfThirty)
{
    const DeviceInfoCheck good = CheckDeviceInfoReply(infoReply(30));
    EXPECT_TRUE(good.accepted);
    EXPECT_EQ(good.info.model, 4);
    EXPECT_EQ(good.info.dataBaud, 38400u);
    EXPECT_EQ(good.info.value, 7u);
    EXPECT_EQ(good.info.version1, QStringLiteral("1.2.3"));
    EXPECT_EQ(good.info.version2, QStringLiteral("9.8.7"));
    for (int length : {29, 31}) {
        const DeviceInfoCheck c = CheckDeviceInfoReply(infoReply(length));
        EXPECT_FALSE(c.accepted) << length;
        // The fields are still taken: they replace the stored ones.
        EXPECT_TRUE(c.fieldsValid) << length;
        EXPECT_EQ(c.info.model, 4);
    }
}

TEST(DeviceInfoReply, RejectsBadHeaderStatusTagAndShortReplies)
{
    EXPECT_FALSE(CheckDeviceInfoReply(infoReply(30, 0x01)).fieldsValid);
    EXPECT_FALSE(CheckDeviceInfoReply(infoReply(30, 0x02)).fieldsValid);
    EXPECT_TRUE(CheckDeviceInfoReply(infoReply(30, 0xFC)).accepted); // only the two low bits matter
    EXPECT_FALSE(CheckDeviceInfoReply(infoReply(30, 0, 0x1234)).fieldsValid);
    EXPECT_TRUE(CheckDeviceInfoReply(infoReply(30, 0, 0x12FF)).accepted);
    QByteArray bad = infoReply(30);
    bad[1] = char(0xAB);
    EXPECT_FALSE(CheckDeviceInfoReply(bad).fieldsValid);
    EXPECT_FALSE(CheckDeviceInfoReply(infoReply(30).left(20)).fieldsValid);
    EXPECT_FALSE(CheckDeviceInfoReply({}).fieldsValid);
}

TEST(DeviceInfoReply, LongerRepliesAreCutToThirtyEightBytes)
{
    QByteArray r = infoReply(30) + QByteArray(500, char(0x55));
    EXPECT_TRUE(CheckDeviceInfoReply(r).accepted);
    EXPECT_EQ(CutReply(r).size(), kReplySize);
}

TEST(CountReply, ReadsThreeCountsAndChecksTag)
{
    QByteArray r = DeviceWire::CountReply(0x1234, 2, 0x0300);
    ASSERT_EQ(r.size(), kReplySize);
    auto got = CheckCountReply(r);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->frameCount, 0x1234);
    EXPECT_EQ(got->totalCount(), 0x1234 + 2 + 0x300);
    // Byte 3 FF or byte 4 FE.
    r[3] = char(0x00);
    r[4] = char(0xFE);
    EXPECT_TRUE(CheckCountReply(r));
    r[4] = char(0xFD);
    EXPECT_FALSE(CheckCountReply(r));
    r[3] = char(0xFF);
    r[2] = char(0x03);
    EXPECT_FALSE(CheckCountReply(r));
}

TEST(Acknowledgement, NeedsHeaderAndTag)
{
    const QByteArray clock = DeviceWire::Frame(0, TagClockAck, QByteArray(30, '\0'));
    EXPECT_TRUE(IsAcknowledgement(clock, TagClockAck));
    EXPECT_FALSE(IsAcknowledgement(clock, TagDeleteAck));
    EXPECT_TRUE(IsAcknowledgement(DeviceWire::Frame(0, TagDeleteAck, {}), TagDeleteAck));
    EXPECT_FALSE(IsAcknowledgement(clock.mid(1), TagClockAck));
    EXPECT_FALSE(IsAcknowledgement(clock.left(4), TagClockAck));
}

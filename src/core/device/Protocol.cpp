// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/Protocol.h"

#include "model/DeviceModel.h"

#include <algorithm>

namespace Protocol
{

namespace
{
std::uint8_t at(const QByteArray &b, int i)
{
    return std::uint8_t(b[i]);
}
int word16(const QByteArray &b, int i)
{
    return at(b, i) * 256 + at(b, i + 1);
}
std::uint32_t word32(const QByteArray &b, int i)
{
    return (std::uint32_t(at(b, i)) << 24) | (std::uint32_t(at(b, i + 1)) << 16) | (std::uint32_t(at(b, i + 2)) << 8) |
           std::uint32_t(at(b, i + 3));
}
bool headerOk(const QByteArray &r)
{
    return r.size() >= 7 && at(r, 0) == 0x55 && at(r, 1) == 0xAA && (at(r, 2) & 0x03) == 0;
}
} // namespace

Command BuildCommand(std::uint8_t code, std::uint8_t arg1, std::uint8_t arg2)
{
    return {0x55, 0xAA, code, arg1, arg2, std::uint8_t(code + arg1 + arg2)};
}

Command RequestFrameCommand(int frameNumber, int deviceModel, LinkMode mode)
{
    const auto high = std::uint8_t((frameNumber >> 8) & 0xFF);
    const auto low = std::uint8_t(frameNumber & 0xFF);
    if (mode == LinkMode::Serial && TraitsOfModel(deviceModel).requestLowByteFirstSerial)
        return BuildCommand(RequestFrame, low, high);
    return BuildCommand(RequestFrame, high, low);
}

Command DeleteDataCommand(int id, DeleteDataType type)
{
    return BuildCommand(DeleteData, std::uint8_t(int(type) * 16 + ((id / 256) & 0x0F)), std::uint8_t(id % 256));
}

Command SetDateCommand(std::uint32_t word)
{
    return BuildCommand(SetDate, std::uint8_t(word & 0xFF), std::uint8_t((word >> 8) & 0xFF));
}

Command SetTimeCommand(std::uint32_t word)
{
    return BuildCommand(SetTime, std::uint8_t((word >> 16) & 0xFF), std::uint8_t((word >> 24) & 0xFF));
}

std::uint32_t DateTimeWord(int year, int month, int day, int hour, int minute, int second)
{
    const auto field = [](int value, int bits, int shift) {
        return (std::uint32_t(value) & ((1u << bits) - 1)) << shift;
    };
    return field(year % 2000, 6, 0) | field(month, 4, 6) | field(day, 5, 10) | field(hour, 5, 15) |
           field(minute, 6, 20) | field(second, 6, 26);
}

bool ReversesRecordBytes(int deviceModel)
{
    return TraitsOfModel(deviceModel).recordBytesReversed;
}

SampleRecord DecodeSample(const std::uint8_t *wire, int deviceModel)
{
    std::uint8_t r[8];
    if (ReversesRecordBytes(deviceModel))
        std::reverse_copy(wire, wire + 8, r);
    else
        std::copy(wire, wire + 8, r);
    SampleRecord s;
    s.id = r[0] & 0x7F;
    s.year = std::uint8_t((r[0] >> 7) | ((r[1] & 0x3F) << 1));
    s.month = std::uint8_t((r[1] >> 6) | ((r[2] & 0x03) << 2));
    s.day = (r[2] >> 2) & 0x1F;
    s.hour = std::uint8_t((r[2] >> 7) | ((r[3] & 0x0F) << 1));
    s.minute = std::uint8_t((r[3] >> 4) | ((r[4] & 0x03) << 4));
    s.second = r[4] >> 2;
    s.spo2 = r[5] & 0x7F;
    s.pulseRate = std::uint8_t((r[5] >> 7) | ((r[6] & 0x7F) << 1));
    s.auxValue = std::uint16_t((r[6] >> 7) | (r[7] << 1));
    return s;
}

QByteArray CutReply(const QByteArray &reply)
{
    return reply.left(kReplySize);
}

DeviceInfoCheck CheckDeviceInfoReply(const QByteArray &raw)
{
    DeviceInfoCheck check;
    const QByteArray r = CutReply(raw);
    if (r.size() < 23 || !headerOk(r) || (at(r, 3) != 0xFF && at(r, 4) != 0xFF))
        return check;
    check.fieldsValid = true;
    check.info.model = word16(r, 7);
    check.info.dataBaud = word32(r, 9);
    check.info.value = word32(r, 13);
    check.info.version1 = QStringLiteral("%1.%2.%3").arg(at(r, 17)).arg(at(r, 18)).arg(at(r, 19));
    check.info.version2 = QStringLiteral("%1.%2.%3").arg(at(r, 20)).arg(at(r, 21)).arg(at(r, 22));
    check.accepted = word16(r, 5) == kInfoPayload;
    return check;
}

std::optional<Counts> CheckCountReply(const QByteArray &raw)
{
    const QByteArray r = CutReply(raw);
    if (r.size() < 19 || !headerOk(r) || (at(r, 3) != 0xFF && at(r, 4) != 0xFE))
        return std::nullopt;
    Counts c;
    c.frameCount = word16(r, 9);
    c.extraCount1 = word16(r, 13);
    c.extraCount2 = word16(r, 17);
    return c;
}

bool IsAcknowledgement(const QByteArray &raw, std::uint16_t tag)
{
    const QByteArray r = CutReply(raw);
    return r.size() >= 5 && at(r, 0) == 0x55 && at(r, 1) == 0xAA && at(r, 3) == 0xFF && at(r, 4) == (tag & 0xFF);
}

QString HexBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

} // namespace Protocol

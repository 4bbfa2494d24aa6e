// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SampleRecord.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

// The simulated device's side of the wire format, written apart from the
// client's decoders so that a misreading of the format cannot be made the same
// way on both sides.
namespace DeviceWire
{
enum Command : std::uint8_t {
    QueryInfo = 0xFD,
    QueryCounts = 0xFE,
    RequestFrame = 0xFA,
    Stop = 0xF3,
    Delete = 0xF4,
    SetDate = 0xF7,
    SetTime = 0xF8,
};

enum Tag : std::uint16_t {
    InfoTag = 0xFFFD,
    CountTag = 0xFFFB,
    EndTag = 0xFFFE,
    ClockAck = 0xFFF9,
    DeleteAck = 0xFFFA,
};

// 55 AA, status, tag, length, payload, then a check byte (the sum of all before it).
QByteArray Frame(std::uint8_t status, std::uint16_t tag, const QByteArray &payload);
// One 8-byte record as the device sends it for this model.
std::array<std::uint8_t, 8> Record(const SampleRecord &s, bool reversed);
// The fields of the device-information reply.
struct Info {
    int model = 0;
    std::uint32_t dataBaud = 0;
    std::uint32_t value = 0; // kept by the program, never used
    // Two version triples, kept by the program but never shown.
    std::array<std::uint8_t, 3> version1{1, 2, 3};
    std::array<std::uint8_t, 3> version2{4, 5, 6};
};
// The device-information reply (38 bytes when payloadLength is 30).
QByteArray InfoReply(const Info &info, int payloadLength = 30);
QByteArray InfoReply(int model, std::uint32_t dataBaud, int payloadLength = 30);
// The count reply: the frames to request, then the two extra counts.
QByteArray CountReply(int frameCount, int extra1 = 0, int extra2 = 0);
// A 38-byte acknowledgement with tag.
QByteArray Acknowledgement(std::uint16_t tag);
QString Hex(const QByteArray &bytes);
} // namespace DeviceWire

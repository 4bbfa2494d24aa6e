// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/LinkMode.h"
#include "model/SampleRecord.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// Pure frame builders, reply checks and decoders of the device protocol.
namespace Protocol
{

using Command = std::array<std::uint8_t, 6>;

enum CommandCode : std::uint8_t {
    QueryDeviceInfo = 0xFD,
    QueryCounts = 0xFE,
    RequestFrame = 0xFA,
    StopTransfer = 0xF3,
    DeleteData = 0xF4,
    SetDate = 0xF7,
    SetTime = 0xF8,
};

enum Tag : std::uint16_t {
    TagEnd = 0xFFFE,
    TagEndAlt = 0xFFFC,
    TagClockAck = 0xFFF9,
    TagDeleteAck = 0xFFFA,
};

// 0xFFFE and 0xFFFC end a transfer.
inline constexpr bool IsEndTag(std::uint16_t tag)
{
    return tag == TagEnd || tag == TagEndAlt;
}

inline constexpr int kReplySize = 38; // fixed replies and acknowledgements
inline constexpr int kReceiveBufferSize = 4200;
inline constexpr int kRecordSize = 8;
inline constexpr int kFrameOverhead = 8; // header 7 + trailing check byte
inline constexpr int kInfoPayload = 30;

Command BuildCommand(std::uint8_t code, std::uint8_t arg1, std::uint8_t arg2);
// Model 3 on the serial link takes the frame number low byte first.
Command RequestFrameCommand(int frameNumber, int deviceModel, LinkMode mode);
// What Delete Data erases ("All" and "SpO2&Pr" of its dialog).
enum class DeleteDataType { All = 0, Spo2AndPulse = 1 };
// id 0 means every ID.
Command DeleteDataCommand(int id, DeleteDataType type);
Command SetDateCommand(std::uint32_t word);
Command SetTimeCommand(std::uint32_t word);

// The 32-bit date-time word of the clock commands (year taken modulo 2000).
std::uint32_t DateTimeWord(int year, int month, int day, int hour, int minute, int second);

// Models 1, 3 and 4 send each record's bytes in reverse order.
bool ReversesRecordBytes(int deviceModel);
// Decodes the 8 wire bytes of one record; the spare byte stays 0.
SampleRecord DecodeSample(const std::uint8_t *wire, int deviceModel);

struct DeviceInfo {
    int model = 0;
    std::uint32_t dataBaud = 0;
    std::uint32_t value = 0; // kept, not used
    QString version1;        // "%d.%d.%d"
    QString version2;
};

// The reply as it is examined: at most the first 38 bytes.
QByteArray CutReply(const QByteArray &reply);

// Checks of the device-information reply. fieldsValid: all checks before the
// length check passed (the fields then replace the stored ones); accepted: the
// length is 30 as well.
struct DeviceInfoCheck {
    bool fieldsValid = false;
    bool accepted = false;
    DeviceInfo info;
};
DeviceInfoCheck CheckDeviceInfoReply(const QByteArray &raw);

struct Counts {
    int frameCount = 0;
    int extraCount1 = 0;
    int extraCount2 = 0;
    int totalCount() const { return frameCount + extraCount1 + extraCount2; }
};
std::optional<Counts> CheckCountReply(const QByteArray &raw);

// An acknowledgement starts 55 AA and carries FF and the tag's low byte in bytes 3-4.
bool IsAcknowledgement(const QByteArray &raw, std::uint16_t tag);

QString HexBytes(const QByteArray &bytes);

} // namespace Protocol

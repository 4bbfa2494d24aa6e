// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceWire.h"

#include <algorithm>

namespace DeviceWire
{
namespace
{
void putBigEndian(QByteArray &out, int at, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[at + i] = char((value >> (8 * (bytes - 1 - i))) & 0xFF);
}
} // namespace

QByteArray Frame(std::uint8_t status, std::uint16_t tag, const QByteArray &payload)
{
    QByteArray f(7, '\0');
    f[0] = char(0x55);
    f[1] = char(0xAA);
    f[2] = char(status);
    putBigEndian(f, 3, tag, 2);
    putBigEndian(f, 5, std::uint32_t(payload.size()), 2);
    f += payload;
    int sum = 0;
    for (char c : f)
        sum += std::uint8_t(c);
    f.append(char(sum & 0xFF));
    return f;
}

std::array<std::uint8_t, 8> Record(const SampleRecord &s, bool reversed)
{
    // The record is one 64-bit little-endian word of packed fields.
    struct Field {
        std::uint64_t value;
        int bits;
    };
    const Field fields[] = {{s.id, 7},     {s.year, 7},   {s.month, 4}, {s.day, 5},       {s.hour, 5},
                            {s.minute, 6}, {s.second, 6}, {s.spo2, 7},  {s.pulseRate, 8}, {s.auxValue, 9}};
    std::uint64_t word = 0;
    int shift = 0;
    for (const Field &f : fields) {
        word |= (f.value & ((std::uint64_t(1) << f.bits) - 1)) << shift;
        shift += f.bits;
    }
    std::array<std::uint8_t, 8> out{};
    for (int i = 0; i < 8; ++i)
        out[std::size_t(i)] = std::uint8_t(word >> (8 * i));
    if (reversed)
        std::reverse(out.begin(), out.end());
    return out;
}

QByteArray InfoReply(const Info &info, int payloadLength)
{
    QByteArray p(payloadLength, '\0');
    const auto put = [&p](int frameIndex, std::uint32_t value, int bytes) {
        if (frameIndex - 7 + bytes <= p.size())
            putBigEndian(p, frameIndex - 7, value, bytes);
    };
    const auto triple = [](const std::array<std::uint8_t, 3> &v) {
        return (std::uint32_t(v[0]) << 16) | (std::uint32_t(v[1]) << 8) | v[2];
    };
    put(7, std::uint32_t(info.model), 2);
    put(9, info.dataBaud, 4);
    put(13, info.value, 4);
    put(17, triple(info.version1), 3);
    put(20, triple(info.version2), 3);
    return Frame(0x00, InfoTag, p);
}

QByteArray InfoReply(int model, std::uint32_t dataBaud, int payloadLength)
{
    Info info;
    info.model = model;
    info.dataBaud = dataBaud;
    return InfoReply(info, payloadLength);
}

QByteArray CountReply(int frameCount, int extra1, int extra2)
{
    QByteArray p(30, '\0');
    putBigEndian(p, 9 - 7, std::uint32_t(frameCount), 2);
    putBigEndian(p, 13 - 7, std::uint32_t(extra1), 2);
    putBigEndian(p, 17 - 7, std::uint32_t(extra2), 2);
    return Frame(0x00, CountTag, p);
}

QByteArray Acknowledgement(std::uint16_t tag)
{
    return Frame(0x00, tag, QByteArray(30, '\0'));
}

QString Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}
} // namespace DeviceWire

// SPDX-License-Identifier: GPL-3.0-or-later
// Splitting recordings into nights and the archive's form of their readings.
#include "archive/NightSplit.h"
#include "archive/ReadingCodec.h"
#include "archive_samples.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

namespace
{

SampleRecord at(int id, int year, int month, int day, int hour, int minute, int second, int spo2 = 95, int pulse = 60,
                int aux = 0)
{
    SampleRecord s;
    s.id = std::uint8_t(id);
    s.year = std::uint8_t(year);
    s.month = std::uint8_t(month);
    s.day = std::uint8_t(day);
    s.hour = std::uint8_t(hour);
    s.minute = std::uint8_t(minute);
    s.second = std::uint8_t(second);
    s.spo2 = std::uint8_t(spo2);
    s.pulseRate = std::uint8_t(pulse);
    s.auxValue = std::uint16_t(aux);
    return s;
}

TEST(NightSplit, CutsAtLongGapsBackwardTimesAndOtherIds)
{
    struct Case {
        const char *what;
        std::vector<SampleRecord> readings;
        std::vector<int> nightSizes;
    };
    const SampleRecord base = at(3, 26, 3, 14, 23, 50, 0);
    const auto later = [&](int seconds, int id = 3) {
        SampleRecord s = base;
        s.id = std::uint8_t(id);
        for (int k = 0; k < seconds; ++k)
            s = ReadingCodec::nextSecond(s);
        return s;
    };
    const std::vector<Case> cases = {
        {"nothing", {}, {}},
        {"one reading", {base}, {1}},
        {"same second twice", {base, base}, {2}},
        {"gap of exactly 30 minutes", {base, later(1800), later(1801)}, {3}},
        {"gap of 30 minutes and a second", {base, later(1), later(1802)}, {2, 1}},
        {"time goes back a second", {later(5), later(4), later(5)}, {1, 2}},
        {"another ID", {base, later(1, 4), later(2)}, {1, 1, 1}},
        {"across midnight and month end", {at(3, 26, 3, 31, 23, 59, 0), at(3, 26, 4, 1, 0, 28, 0)}, {2}},
        {"across a year", {at(3, 26, 12, 31, 23, 45, 0), at(3, 27, 1, 1, 0, 15, 1)}, {1, 1}},
    };
    for (const Case &c : cases) {
        std::vector<int> sizes;
        int next = 0;
        for (const NightSplit::Span &s : NightSplit::split(c.readings.data(), int(c.readings.size()))) {
            EXPECT_EQ(s.first, next) << c.what;
            next += s.count;
            sizes.push_back(s.count);
        }
        EXPECT_EQ(sizes, c.nightSizes) << c.what;
    }
}

TEST(ReadingCodec, RoundTripsEveryReadingExactly)
{
    struct Case {
        const char *what;
        std::vector<SampleRecord> readings;
    };
    std::vector<SampleRecord> auxEdges;
    for (int aux : {0, 1, 255, 256, 511, 512, 0x7FFF, 0x8000, 0xFFFE, 0xFFFF, 0})
        auxEdges.push_back(at(1, 26, 1, 1, 0, 0, int(auxEdges.size()), 97, 70, aux));
    std::vector<SampleRecord> valueWraps = {at(1, 26, 1, 1, 0, 0, 0, 0, 255), at(1, 26, 1, 1, 0, 0, 1, 255, 0),
                                            at(1, 26, 1, 1, 0, 0, 2, 0, 30), at(1, 26, 1, 1, 0, 0, 3, 100, 250)};
    std::vector<SampleRecord> withSpare = archivetest::night(9, 0, 3);
    const std::vector<Case> cases = {
        {"empty", {}},
        {"one reading", {at(128, 0, 1, 1, 0, 0, 0)}},
        {"auxValue edges", auxEdges},
        {"SpO2 and pulse wrapping their deltas", valueWraps},
        {"a long night", archivetest::night(5, 0, 30000)},
        {"gaps, repeats and a step back",
         {at(2, 26, 5, 1, 1, 0, 0), at(2, 26, 5, 1, 1, 0, 2), at(2, 26, 5, 1, 1, 0, 2), at(2, 26, 5, 1, 1, 0, 1),
          at(2, 26, 5, 1, 1, 30, 59), at(2, 26, 5, 1, 1, 31, 0)}},
        {"leap day and month ends",
         {at(2, 24, 2, 28, 23, 59, 59), at(2, 24, 2, 29, 0, 0, 0), at(2, 23, 2, 28, 23, 59, 59),
          at(2, 23, 3, 1, 0, 0, 0), at(2, 255, 12, 31, 23, 59, 59), at(2, 0, 1, 1, 0, 0, 0)}},
        {"impossible dates a device may send",
         {at(2, 26, 13, 0, 24, 60, 60), at(2, 26, 0, 32, 0, 0, 0), at(0, 0, 0, 0, 0, 0, 0),
          at(255, 255, 255, 255, 255, 255, 255)}},
        {"IDs change within seconds", {at(1, 26, 1, 1, 0, 0, 0), at(2, 26, 1, 1, 0, 0, 1), at(1, 26, 1, 1, 0, 0, 2)}},
    };
    for (const Case &c : cases) {
        const auto back = ReadingCodec::decode(ReadingCodec::encode(c.readings));
        ASSERT_TRUE(back.has_value()) << c.what;
        EXPECT_EQ(*back, c.readings) << c.what;
    }

    // The spare byte is never saved, in the archive as in a .dat.
    withSpare[1].spare = 7;
    const auto back = ReadingCodec::decode(ReadingCodec::encode(withSpare));
    ASSERT_TRUE(back);
    withSpare[1].spare = 0;
    EXPECT_EQ(*back, withSpare);
}

TEST(ReadingCodec, IsCompactAndRefusesDamagedBlobs)
{
    const std::vector<SampleRecord> v = archivetest::night(5, 0, 28800);
    const QByteArray blob = ReadingCodec::encode(v);
    // The 9-bit auxValue of this night alone needs 9 bits a reading.
    EXPECT_LT(blob.size(), 28800 * 2) << "far below the 11 bytes of the .dat form";
    // The blob is qCompress's form: nights stored by zlib read back, and the other way round.
    const QByteArray raw = qUncompress(blob);
    ASSERT_FALSE(raw.isEmpty());
    EXPECT_EQ(ReadingCodec::decode(qCompress(raw, 9)), v);

    EXPECT_FALSE(ReadingCodec::decode(QByteArray()));
    EXPECT_FALSE(ReadingCodec::decode(blob.left(blob.size() - 1)));
    QByteArray flipped = blob;
    flipped[blob.size() / 2] = char(flipped[blob.size() / 2] ^ 0x40);
    EXPECT_FALSE(ReadingCodec::decode(flipped));
    EXPECT_FALSE(ReadingCodec::decode(QByteArray("\x7F\xFF\xFF\xFF", 4) + blob.mid(4))) << "a size no night has";
    // Well-formed zlib around contents that do not add up.
    EXPECT_FALSE(ReadingCodec::decode(qCompress(QByteArray("\x01\x02\x01", 3))));
    EXPECT_FALSE(ReadingCodec::decode(qCompress(QByteArray("\x02\x00\x00", 3))));
}

TEST(ReadingCodec, HashIsOfTheDatForm)
{
    const std::vector<SampleRecord> v = {at(7, 26, 3, 14, 22, 30, 1, 96, 61, 0x1A5)};
    EXPECT_EQ(ReadingCodec::datForm(v.data(), 1), QByteArray("\x07\x1A\x03\x0E\x16\x1E\x01\x60\x3D\xA5\x01", 11));
    EXPECT_EQ(ReadingCodec::readingsHash(v.data(), 1).toHex(),
              QCryptographicHash::hash(QByteArray("\x07\x1A\x03\x0E\x16\x1E\x01\x60\x3D\xA5\x01", 11),
                                       QCryptographicHash::Sha256)
                  .toHex());
}

} // namespace

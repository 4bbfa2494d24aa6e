// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/ReadingCodec.h"

#include "model/DatFile.h"

#include <QCryptographicHash>

#include <libdeflate.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

namespace ReadingCodec
{

namespace
{

void putVarint(QByteArray &out, quint64 v)
{
    while (v >= 0x80) {
        out.append(char((v & 0x7F) | 0x80));
        v >>= 7;
    }
    out.append(char(v));
}

class Reader
{
public:
    explicit Reader(const QByteArray &data) : data_(data) {}

    bool byte(std::uint8_t &v)
    {
        if (pos_ >= data_.size())
            return false;
        v = std::uint8_t(data_[pos_++]);
        return true;
    }

    bool varint(quint64 &v)
    {
        v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            std::uint8_t b = 0;
            if (!byte(b))
                return false;
            v |= quint64(b & 0x7F) << shift;
            if (!(b & 0x80))
                return true;
        }
        return false;
    }

    const char *take(qsizetype n)
    {
        if (n < 0 || data_.size() - pos_ < n)
            return nullptr;
        const char *p = data_.constData() + pos_;
        pos_ += n;
        return p;
    }

    bool atEnd() const { return pos_ == data_.size(); }

private:
    const QByteArray &data_;
    qsizetype pos_ = 0;
};

bool sameStamp(const SampleRecord &a, const SampleRecord &b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second;
}

int daysIn(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 31;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

enum class HighBytes : std::uint8_t { None = 0, Bits = 1, Bytes = 2 };

// Higher levels take several times as long for a few percent.
constexpr int kLevel = 6;

// The 4-byte big-endian length that qCompress puts before its zlib stream.
constexpr qsizetype kLengthPrefix = 4;

// libdeflate reads and writes the same zlib streams as zlib, at two to three
// times the speed. Its (de)compressors hold tables worth keeping, but are not
// to be shared between threads.
struct DeflateFree {
    void operator()(libdeflate_compressor *c) const { libdeflate_free_compressor(c); }
    void operator()(libdeflate_decompressor *d) const { libdeflate_free_decompressor(d); }
};

libdeflate_compressor *compressor()
{
    thread_local std::unique_ptr<libdeflate_compressor, DeflateFree> c(libdeflate_alloc_compressor(kLevel));
    return c.get();
}

libdeflate_decompressor *decompressor()
{
    thread_local std::unique_ptr<libdeflate_decompressor, DeflateFree> d(libdeflate_alloc_decompressor());
    return d.get();
}

// raw as qCompress writes it: its length, then a zlib stream.
QByteArray compress(const QByteArray &raw)
{
    libdeflate_compressor *c = compressor();
    if (!c) // out of memory
        return {};
    const std::size_t bound = libdeflate_zlib_compress_bound(c, std::size_t(raw.size()));
    QByteArray out(kLengthPrefix + qsizetype(bound), Qt::Uninitialized);
    const auto n = quint32(raw.size());
    out[0] = char(n >> 24);
    out[1] = char(n >> 16);
    out[2] = char(n >> 8);
    out[3] = char(n);
    const std::size_t written =
        libdeflate_zlib_compress(c, raw.constData(), std::size_t(raw.size()), out.data() + kLengthPrefix, bound);
    if (written == 0)
        return {};
    out.truncate(kLengthPrefix + qsizetype(written));
    return out;
}

// b is one second after a; the common case without a carry first.
bool follows(const SampleRecord &a, const SampleRecord &b)
{
    if (a.second < 59)
        return b.second == a.second + 1 && b.minute == a.minute && b.hour == a.hour && b.day == a.day &&
               b.month == a.month && b.year == a.year;
    return sameStamp(b, nextSecond(a));
}

// A run of readings one second apart, as decoded.
struct Run {
    SampleRecord first; // ID and time stamp
    int length;
};

struct Columns {
    const std::uint8_t *spo2; // deltas
    const std::uint8_t *pulse;
    const std::uint8_t *auxLow;
    const std::uint8_t *auxHigh;
};

std::uint16_t auxAt(HighBytes form, const Columns &c, int i)
{
    switch (form) {
    case HighBytes::Bits:
        return std::uint16_t(c.auxLow[i] | (((c.auxHigh[i / 8] >> (i % 8)) & 1) << 8));
    case HighBytes::Bytes:
        return std::uint16_t(c.auxLow[i] | (c.auxHigh[i] << 8));
    case HighBytes::None:
        break;
    }
    return c.auxLow[i];
}

// The decoder's inner loop, one copy per form of the high bytes. On
// little-endian machines a reading is put together in two registers and
// written once: the output is several times the input, and one pass over it is
// what decoding costs.
template <HighBytes Form> void fill(const std::vector<Run> &runs, const Columns &columns, SampleRecord *o)
{
    // Local copies: the stores below are byte stores, which the compiler must
    // otherwise assume change the columns' pointers.
    const std::uint8_t *const spo2Deltas = columns.spo2;
    const std::uint8_t *const pulseDeltas = columns.pulse;
    const Columns c = columns;
    std::uint8_t spo2 = 0;
    std::uint8_t pulse = 0;
    int i = 0;
    for (const Run &run : runs) {
        SampleRecord stamp = run.first;
        if constexpr (std::endian::native == std::endian::little) {
            // Bytes 0 to 6 of a reading: ID and time stamp; byte 6 is the second.
            std::uint64_t word = 0;
            std::memcpy(&word, &stamp, 7);
            int second = stamp.second;
            for (const int end = i + run.length; i < end; ++i) {
                spo2 = std::uint8_t(spo2 + spo2Deltas[i]);
                pulse = std::uint8_t(pulse + pulseDeltas[i]);
                const std::uint64_t low = word | (std::uint64_t(spo2) << 56);
                const std::uint32_t high = std::uint32_t(pulse) | (std::uint32_t(auxAt(Form, c, i)) << 16);
                std::memcpy(static_cast<void *>(o + i), &low, 8);
                std::memcpy(reinterpret_cast<char *>(o + i) + 8, &high, 4);
                // The carry is rare: most steps only count the second on.
                if (second < 59) {
                    ++second;
                    word += std::uint64_t(1) << 48;
                } else {
                    std::memcpy(static_cast<void *>(&stamp), &word, 7);
                    stamp = nextSecond(stamp);
                    std::memcpy(&word, &stamp, 7);
                    second = stamp.second;
                }
            }
        } else {
            for (const int end = i + run.length; i < end; ++i) {
                spo2 = std::uint8_t(spo2 + spo2Deltas[i]);
                pulse = std::uint8_t(pulse + pulseDeltas[i]);
                SampleRecord r = stamp;
                r.spo2 = spo2;
                r.pulseRate = pulse;
                r.auxValue = auxAt(Form, c, i);
                o[i] = r;
                stamp = nextSecond(stamp);
            }
        }
    }
}

} // namespace

SampleRecord nextSecond(SampleRecord s)
{
    if (++s.second < 60)
        return s;
    s.second = 0;
    if (++s.minute < 60)
        return s;
    s.minute = 0;
    if (++s.hour < 24)
        return s;
    s.hour = 0;
    if (++s.day <= daysIn(2000 + s.year, s.month))
        return s;
    s.day = 1;
    if (++s.month <= 12)
        return s;
    s.month = 1;
    ++s.year; // wraps after 2255, like the field itself
    return s;
}

QByteArray encode(const SampleRecord *samples, int count)
{
    struct Run {
        int first;
        int length;
    };
    std::vector<Run> runs;
    for (int i = 0; i < count; ++i) {
        const bool continues = i > 0 && samples[i].id == samples[i - 1].id && follows(samples[i - 1], samples[i]);
        if (continues)
            ++runs.back().length;
        else
            runs.push_back(Run{i, 1});
    }

    QByteArray raw;
    raw.reserve(16 + qsizetype(runs.size()) * 9 + qsizetype(count) * 4);
    raw.append(char(kFormat));
    putVarint(raw, quint64(count));
    putVarint(raw, runs.size());
    for (const Run &r : runs) {
        const SampleRecord &s = samples[r.first];
        for (std::uint8_t b : {s.id, s.year, s.month, s.day, s.hour, s.minute, s.second})
            raw.append(char(b));
        putVarint(raw, quint64(r.length));
    }
    for (std::uint8_t SampleRecord::*field : {&SampleRecord::spo2, &SampleRecord::pulseRate}) {
        std::uint8_t prev = 0;
        for (int i = 0; i < count; ++i) {
            raw.append(char(std::uint8_t(samples[i].*field - prev)));
            prev = samples[i].*field;
        }
    }
    for (int i = 0; i < count; ++i)
        raw.append(char(samples[i].auxValue & 0xFF));
    // The device's value has 9 bits: its high byte is 0 or 1, one bit a reading.
    std::uint16_t highest = 0;
    for (int i = 0; i < count; ++i)
        highest = std::max(highest, samples[i].auxValue);
    const HighBytes form = highest == 0 ? HighBytes::None : highest < 512 ? HighBytes::Bits : HighBytes::Bytes;
    raw.append(char(form));
    if (form == HighBytes::Bits) {
        const qsizetype at = raw.size();
        raw.append(QByteArray((count + 7) / 8, '\0'));
        for (int i = 0; i < count; ++i)
            raw[at + i / 8] = char(raw[at + i / 8] | ((samples[i].auxValue >> 8) << (i % 8)));
    } else if (form == HighBytes::Bytes) {
        for (int i = 0; i < count; ++i)
            raw.append(char(samples[i].auxValue >> 8));
    }
    return compress(raw);
}

std::optional<std::vector<SampleRecord>> decode(const QByteArray &blob)
{
    // The uncompressed size comes first; refuse sizes no night reaches before
    // allocating them.
    if (blob.size() <= kLengthPrefix)
        return std::nullopt;
    const quint32 declared = (quint32(std::uint8_t(blob[0])) << 24) | (quint32(std::uint8_t(blob[1])) << 16) |
                             (quint32(std::uint8_t(blob[2])) << 8) | quint32(std::uint8_t(blob[3]));
    if (declared == 0 || declared > quint32(kMaxReadings) * 13 + 64)
        return std::nullopt;
    libdeflate_decompressor *d = decompressor();
    if (!d)
        return std::nullopt;
    // One buffer a thread, kept for nights of up to a few days: a night's raw
    // form is over 100 KB, and a fresh one each time costs page faults.
    constexpr quint32 kKept = 4 * 1024 * 1024;
    thread_local QByteArray kept;
    QByteArray once;
    QByteArray &buffer = declared <= kKept ? kept : once;
    if (buffer.size() < qsizetype(declared))
        buffer.resize(qsizetype(declared));
    std::size_t got = 0;
    if (libdeflate_zlib_decompress(d, blob.constData() + kLengthPrefix, std::size_t(blob.size() - kLengthPrefix),
                                   buffer.data(), declared, &got) != LIBDEFLATE_SUCCESS ||
        got != declared)
        return std::nullopt;
    const QByteArray raw = QByteArray::fromRawData(buffer.constData(), qsizetype(declared));

    Reader in(raw);
    std::uint8_t format = 0;
    quint64 n = 0;
    quint64 runCount = 0;
    if (!in.byte(format) || format != kFormat || !in.varint(n) || n > quint64(kMaxReadings) || !in.varint(runCount) ||
        runCount > n)
        return std::nullopt;
    const int count = int(n);
    std::vector<Run> runs;
    runs.reserve(std::size_t(runCount));
    int total = 0;
    for (quint64 r = 0; r < runCount; ++r) {
        const char *p = in.take(7);
        quint64 length = 0;
        if (!p || !in.varint(length) || length == 0 || length > quint64(count - total))
            return std::nullopt;
        SampleRecord s;
        s.id = std::uint8_t(p[0]);
        s.year = std::uint8_t(p[1]);
        s.month = std::uint8_t(p[2]);
        s.day = std::uint8_t(p[3]);
        s.hour = std::uint8_t(p[4]);
        s.minute = std::uint8_t(p[5]);
        s.second = std::uint8_t(p[6]);
        runs.push_back(Run{s, int(length)});
        total += int(length);
    }
    if (total != count)
        return std::nullopt;
    const char *spo2 = in.take(count);
    const char *pulse = in.take(count);
    const char *auxLow = in.take(count);
    std::uint8_t form = 0;
    if (!spo2 || !pulse || !auxLow || !in.byte(form))
        return std::nullopt;
    const char *auxHigh = nullptr;
    if (form == std::uint8_t(HighBytes::Bits))
        auxHigh = in.take((count + 7) / 8);
    else if (form == std::uint8_t(HighBytes::Bytes))
        auxHigh = in.take(count);
    else if (form != std::uint8_t(HighBytes::None))
        return std::nullopt;
    if ((form != std::uint8_t(HighBytes::None) && !auxHigh) || !in.atEnd())
        return std::nullopt;
    const auto *spo2Bytes = reinterpret_cast<const std::uint8_t *>(spo2);
    const auto *pulseBytes = reinterpret_cast<const std::uint8_t *>(pulse);
    const auto *lowBytes = reinterpret_cast<const std::uint8_t *>(auxLow);
    const auto *highBytes = reinterpret_cast<const std::uint8_t *>(auxHigh);

    std::vector<SampleRecord> out(static_cast<std::size_t>(count));
    const Columns columns{spo2Bytes, pulseBytes, lowBytes, highBytes};
    if (form == std::uint8_t(HighBytes::Bits))
        fill<HighBytes::Bits>(runs, columns, out.data());
    else if (form == std::uint8_t(HighBytes::Bytes))
        fill<HighBytes::Bytes>(runs, columns, out.data());
    else
        fill<HighBytes::None>(runs, columns, out.data());
    return out;
}

QByteArray datForm(const SampleRecord *samples, int count)
{
    QByteArray out;
    out.reserve(qsizetype(count) * DatFile::kReadingSize);
    for (int i = 0; i < count; ++i) {
        const SampleRecord &s = samples[i];
        for (std::uint8_t b : {s.id, s.year, s.month, s.day, s.hour, s.minute, s.second, s.spo2, s.pulseRate})
            out.append(char(b));
        out.append(char(s.auxValue & 0xFF));
        out.append(char(s.auxValue >> 8));
    }
    return out;
}

QByteArray readingsHash(const SampleRecord *samples, int count)
{
    return QCryptographicHash::hash(datForm(samples, count), QCryptographicHash::Sha256);
}

} // namespace ReadingCodec

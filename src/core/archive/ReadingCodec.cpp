// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/ReadingCodec.h"

#include "model/DatFile.h"

#include <QCryptographicHash>

#include <algorithm>

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

// Level 9 takes several times as long for a fraction of a percent.
constexpr int kLevel = 6;

// b is one second after a; the common case without a carry first.
bool follows(const SampleRecord &a, const SampleRecord &b)
{
    if (a.second < 59)
        return b.second == a.second + 1 && b.minute == a.minute && b.hour == a.hour && b.day == a.day &&
               b.month == a.month && b.year == a.year;
    return sameStamp(b, nextSecond(a));
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
    return qCompress(raw, kLevel);
}

std::optional<std::vector<SampleRecord>> decode(const QByteArray &blob)
{
    // qCompress puts the uncompressed size first; refuse sizes no night reaches
    // before qUncompress allocates them.
    if (blob.size() < 4)
        return std::nullopt;
    const quint32 declared = (quint32(std::uint8_t(blob[0])) << 24) | (quint32(std::uint8_t(blob[1])) << 16) |
                             (quint32(std::uint8_t(blob[2])) << 8) | quint32(std::uint8_t(blob[3]));
    if (declared > quint32(kMaxReadings) * 13 + 64)
        return std::nullopt;
    const QByteArray raw = qUncompress(blob);
    if (raw.isEmpty())
        return std::nullopt;

    Reader in(raw);
    std::uint8_t format = 0;
    quint64 n = 0;
    quint64 runCount = 0;
    if (!in.byte(format) || format != kFormat || !in.varint(n) || n > quint64(kMaxReadings) || !in.varint(runCount) ||
        runCount > n)
        return std::nullopt;
    const int count = int(n);
    std::vector<SampleRecord> out(std::size_t(count), SampleRecord{});
    int filled = 0;
    for (quint64 r = 0; r < runCount; ++r) {
        const char *p = in.take(7);
        quint64 length = 0;
        if (!p || !in.varint(length) || length == 0 || length > quint64(count - filled))
            return std::nullopt;
        SampleRecord s;
        s.id = std::uint8_t(p[0]);
        s.year = std::uint8_t(p[1]);
        s.month = std::uint8_t(p[2]);
        s.day = std::uint8_t(p[3]);
        s.hour = std::uint8_t(p[4]);
        s.minute = std::uint8_t(p[5]);
        s.second = std::uint8_t(p[6]);
        SampleRecord *o = out.data() + filled;
        filled += int(length);
        for (quint64 k = 0; k < length; ++k) {
            // Field by field: copying the whole record after changing one
            // byte of it stalls on the store, at several times the cost.
            o[k].id = s.id;
            o[k].year = s.year;
            o[k].month = s.month;
            o[k].day = s.day;
            o[k].hour = s.hour;
            o[k].minute = s.minute;
            o[k].second = s.second;
            // The carry is rare: most steps only count the second on.
            if (s.second < 59)
                ++s.second;
            else
                s = nextSecond(s);
        }
    }
    if (filled != count)
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
    std::uint8_t s = 0;
    std::uint8_t pr = 0;
    SampleRecord *r = out.data();
    for (int i = 0; i < count; ++i) {
        s = std::uint8_t(s + spo2Bytes[i]);
        pr = std::uint8_t(pr + pulseBytes[i]);
        r[i].spo2 = s;
        r[i].pulseRate = pr;
        r[i].auxValue = lowBytes[i];
    }
    if (form == std::uint8_t(HighBytes::Bits))
        for (int i = 0; i < count; ++i)
            r[i].auxValue = std::uint16_t(r[i].auxValue | (((highBytes[i / 8] >> (i % 8)) & 1) << 8));
    else if (form == std::uint8_t(HighBytes::Bytes))
        for (int i = 0; i < count; ++i)
            r[i].auxValue = std::uint16_t(r[i].auxValue | (highBytes[i] << 8));
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

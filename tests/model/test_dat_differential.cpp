// SPDX-License-Identifier: GPL-3.0-or-later
// The .dat reader against a second, deliberately plain reading of the file rules,
// written here without any product code: both must accept and refuse the same
// files, for the same reason, at the same byte.
#include "model/DatFile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

enum class Verdict { Accepted, Empty, HeaderId, TooMany, Length, ReadingId, DateTime, Spo2, Pulse, Title, Unknown };

const char *name(Verdict v)
{
    switch (v) {
    case Verdict::Accepted:
        return "accepted";
    case Verdict::Empty:
        return "empty";
    case Verdict::HeaderId:
        return "header id";
    case Verdict::TooMany:
        return "too many readings";
    case Verdict::Length:
        return "length";
    case Verdict::ReadingId:
        return "reading id";
    case Verdict::DateTime:
        return "date/time";
    case Verdict::Spo2:
        return "spo2";
    case Verdict::Pulse:
        return "pulse rate";
    case Verdict::Title:
        return "title";
    case Verdict::Unknown:
        break;
    }
    return "unknown";
}

struct Outcome {
    Verdict verdict = Verdict::Unknown;
    long long offset = -1; // where the failed field starts; -1 when accepted
};

// ---- the reference ----

bool leapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

bool realDateTime(int year, int month, int day, int hour, int minute, int second)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || hour > 23 || minute > 59 || second > 59 || day < 1)
        return false;
    const int last = days[month - 1] + (month == 2 && leapYear(year) ? 1 : 0);
    return day <= last;
}

using U64 = unsigned long long;

struct TitleHead {
    U64 length = 0;       // in characters
    bool wide = false;    // UTF-16 behind the FF FE FF marker
    std::size_t size = 0; // bytes of marker and length
};

// The title's marker and length at position p; empty when they are cut short.
std::optional<TitleHead> titleHead(const Bytes &b, std::size_t p)
{
    auto u16 = [&](std::size_t at) { return unsigned(b[at]) | unsigned(b[at + 1]) << 8; };
    auto u32 = [&](std::size_t at) { return U64(u16(at)) | U64(u16(at + 2)) << 16; };
    TitleHead t;
    const std::size_t start = p;
    if (p + 3 <= b.size() && b[p] == 0xFF && u16(p + 1) == 0xFFFE) {
        t.wide = true;
        p += 3;
    }
    if (p + 1 > b.size())
        return std::nullopt;
    if (b[p] != 0xFF) {
        t.length = b[p];
        p += 1;
    } else if (p + 3 > b.size()) {
        return std::nullopt;
    } else if (u16(p + 1) != 0xFFFF) {
        t.length = u16(p + 1);
        p += 3;
    } else if (p + 7 > b.size()) {
        return std::nullopt;
    } else {
        t.length = u32(p + 3);
        p += 7;
    }
    t.size = p - start;
    return t;
}

Outcome reference(const Bytes &b)
{
    const auto L = (long long)b.size();
    if (L == 0)
        return {Verdict::Empty, 0};
    if (b[0] > 128)
        return {Verdict::HeaderId, 0};
    if (L < 5)
        return {Verdict::Length, 1};
    const U64 n = b[1] | b[2] << 8 | b[3] << 16 | U64(b[4]) << 24;
    if (n > 259200)
        return {Verdict::TooMany, 1};
    if (L < 11 * (long long)n + 7 || L > 11 * (long long)n + 129)
        return {Verdict::Length, 1};
    std::size_t p = 5;
    for (U64 i = 0; i < n; ++i, p += 11) {
        if (b[p] > 128)
            return {Verdict::ReadingId, (long long)p};
        if (!realDateTime(2000 + b[p + 1], b[p + 2], b[p + 3], b[p + 4], b[p + 5], b[p + 6]))
            return {Verdict::DateTime, (long long)p + 1};
        if (b[p + 7] > 100)
            return {Verdict::Spo2, (long long)p + 7};
        if (b[p + 8] < 30)
            return {Verdict::Pulse, (long long)p + 8};
    }
    const auto title = titleHead(b, p);
    if (!title || p + title->size + title->length * (title->wide ? 2 : 1) > b.size())
        return {Verdict::Title, (long long)p};
    return {Verdict::Accepted, -1};
}

// ---- the product, its failed check sorted into the same verdicts ----

Outcome product(const Bytes &b)
{
    const DatFile::ReadResult r =
        DatFile::parse(QByteArray(reinterpret_cast<const char *>(b.data()), qsizetype(b.size())));
    if (r.ok)
        return {Verdict::Accepted, -1};
    const QString c = r.failedCheck;
    auto has = [&c](const char *words) { return c.contains(QLatin1String(words), Qt::CaseInsensitive); };
    Verdict v = Verdict::Unknown;
    if (has("empty"))
        v = Verdict::Empty;
    else if (has("header ID"))
        v = Verdict::HeaderId;
    else if (has("count cut short") || has("file length"))
        v = Verdict::Length;
    else if (has("more than"))
        v = Verdict::TooMany;
    else if (has("ID above 128"))
        v = Verdict::ReadingId;
    else if (has("date and time"))
        v = Verdict::DateTime;
    else if (has("SpO2"))
        v = Verdict::Spo2;
    else if (has("pulse rate"))
        v = Verdict::Pulse;
    else if (has("title"))
        v = Verdict::Title;
    return {v, r.offset};
}

// ---- inputs ----

Bytes readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray a = f.readAll();
    return Bytes(a.begin(), a.end());
}

std::vector<Bytes> seeds()
{
    std::vector<Bytes> out;
    const QStringList folders = {QStringLiteral(QUELLIX_TEST_DATA_DIR),
                                 QStringLiteral(QUELLIX_TEST_DATA_DIR "/../../fuzz/corpus/fuzz_dat_reader"),
                                 QStringLiteral(QUELLIX_TEST_DATA_DIR "/../../fuzz/regressions/fuzz_dat_reader")};
    for (const QString &folder : folders) {
        const QDir dir(folder);
        for (const QString &file : dir.entryList(QDir::Files))
            if (folder != folders.first() || file.endsWith(QLatin1String(".dat")))
                out.push_back(readFile(dir.filePath(file)));
    }
    return out;
}

// Values on both sides of every limit a field has.
const std::uint8_t kEdges[] = {0,  1,  2,  12,  13,  23,  24,  28,  29,  30,  31, 32,
                               59, 60, 99, 100, 101, 127, 128, 129, 200, 254, 255};

class Mutator
{
public:
    explicit Mutator(unsigned seed) : rng_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    std::uint8_t edge() { return kEdges[below(int(sizeof kEdges))]; }

    // Sets N to what the length allows, so more mutants reach the readings.
    static void fitCount(Bytes &b)
    {
        if (b.size() < 16)
            return;
        const std::uint32_t n = std::uint32_t((b.size() - 9) / 11);
        for (int i = 0; i < 4; ++i)
            b[std::size_t(1 + i)] = std::uint8_t(n >> (8 * i));
    }

    Bytes mutate(Bytes b)
    {
        const int steps = 1 + below(4);
        for (int s = 0; s < steps; ++s) {
            const std::size_t at = b.empty() ? 0 : std::size_t(below(int(b.size())));
            switch (below(7)) {
            case 0:
                if (!b.empty())
                    b[at] = edge();
                break;
            case 1:
                if (!b.empty())
                    b[at] ^= std::uint8_t(1u << below(8));
                break;
            case 2:
                if (!b.empty())
                    b.resize(std::size_t(below(int(b.size()))));
                break;
            case 3:
                b.insert(b.begin() + std::ptrdiff_t(at), std::size_t(1 + below(12)), edge());
                break;
            case 4:
                if (!b.empty())
                    b.erase(b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(std::min(b.size(), at + 11)));
                break;
            case 5:
                fitCount(b);
                break;
            default: // a title of another form
                if (b.size() > 16) {
                    b.resize(b.size() - std::size_t(below(8)));
                    const Bytes forms[] = {{0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b', 0},
                                           {0x03, 'a', 'b', 'c'},
                                           {0xFF, 0x02, 0x00, 'a', 'b'},
                                           {0xFF, 0xFF, 0xFF, 0x01, 0, 0, 0, 'a'},
                                           {0xFF, 0xFE, 0xFF, 0xFF, 0x01, 0x00, 'a', 0},
                                           {0xFF, 0xFE},
                                           {0xFF}};
                    const Bytes &f = forms[below(int(std::size(forms)))];
                    b.insert(b.end(), f.begin(), f.end());
                    fitCount(b);
                }
                break;
            }
        }
        return b;
    }

    // A fresh file with a few readings whose fields sit near their limits.
    Bytes generate()
    {
        const int n = below(5);
        Bytes b = {std::uint8_t(below(3) ? below(129) : edge())};
        for (int i = 0; i < 4; ++i)
            b.push_back(std::uint8_t(i == 0 ? n : 0));
        for (int i = 0; i < n; ++i) {
            const bool plain = below(4) != 0;
            b.push_back(plain ? std::uint8_t(1 + below(127)) : edge());
            b.push_back(plain ? std::uint8_t(below(30)) : edge());
            b.push_back(plain ? std::uint8_t(1 + below(12)) : edge());
            b.push_back(plain ? std::uint8_t(1 + below(28)) : edge());
            b.push_back(plain ? std::uint8_t(below(24)) : edge());
            b.push_back(plain ? std::uint8_t(below(60)) : edge());
            b.push_back(plain ? std::uint8_t(below(60)) : edge());
            b.push_back(plain ? std::uint8_t(below(101)) : edge());
            b.push_back(plain ? std::uint8_t(30 + below(200)) : edge());
            b.push_back(std::uint8_t(below(256)));
            b.push_back(std::uint8_t(below(256)));
        }
        const int titleChars = below(3) == 0 ? 60 + below(3) : below(8);
        if (below(2)) {
            b.insert(b.end(), {0xFF, 0xFE, 0xFF, std::uint8_t(titleChars)});
            for (int i = 0; i < titleChars; ++i)
                b.insert(b.end(), {std::uint8_t('a' + i % 26), 0});
        } else {
            b.push_back(std::uint8_t(titleChars));
            for (int i = 0; i < titleChars; ++i)
                b.push_back(std::uint8_t('a' + i % 26));
        }
        if (below(5) == 0)
            b.resize(b.size() - std::size_t(1 + below(3)));
        return b;
    }

private:
    std::mt19937 rng_;
};

std::string hex(const Bytes &b)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (std::size_t i = 0; i < b.size() && i < 200; ++i) {
        s += digits[b[i] >> 4];
        s += digits[b[i] & 15];
        s += ' ';
    }
    return s;
}

// Checks one input; returns false (with a readable failure) on a disagreement.
bool agree(const Bytes &b)
{
    const Outcome want = reference(b);
    const Outcome got = product(b);
    if (got.verdict == want.verdict && got.offset == want.offset)
        return true;
    ADD_FAILURE() << "reference: " << name(want.verdict) << " at " << want.offset << ", reader: " << name(got.verdict)
                  << " at " << got.offset << "\n  bytes (" << b.size() << "): " << hex(b);
    return false;
}

} // namespace

TEST(DatDifferential, CommittedFilesAndFuzzSeedsAgree)
{
    const std::vector<Bytes> files = seeds();
    ASSERT_GE(files.size(), 15u) << "the sample files and the fuzz seeds were not found";
    for (const Bytes &b : files)
        agree(b);
}

TEST(DatDifferential, MutantsOfTheSeedsAgree)
{
    const std::vector<Bytes> files = seeds();
    ASSERT_FALSE(files.empty());
    Mutator m(20261208);
    int failures = 0;
    int refusedAfterTheHeader = 0;
    for (int i = 0; i < 20000 && failures < 5; ++i) {
        const Bytes b = m.mutate(files[std::size_t(i) % files.size()]);
        failures += agree(b) ? 0 : 1;
        const Verdict v = reference(b).verdict;
        refusedAfterTheHeader += (v == Verdict::ReadingId || v == Verdict::DateTime || v == Verdict::Spo2 ||
                                  v == Verdict::Pulse || v == Verdict::Title);
    }
    // The mutants must reach the field checks, not only the length check.
    EXPECT_GT(refusedAfterTheHeader, 1000);
}

TEST(DatDifferential, GeneratedFilesNearEveryLimitAgree)
{
    Mutator m(7);
    int failures = 0;
    int accepted = 0;
    for (int i = 0; i < 20000 && failures < 5; ++i) {
        const Bytes b = m.generate();
        failures += agree(b) ? 0 : 1;
        accepted += reference(b).verdict == Verdict::Accepted;
    }
    EXPECT_GT(accepted, 1000);
    EXPECT_LT(accepted, 19000);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/TimePattern.h"

#include <QDateTime>
#include <QTimeZone>

namespace
{

constexpr std::string_view kMonthNames[] = {"january", "february", "march",     "april",   "may",      "june",
                                            "july",    "august",   "september", "october", "november", "december"};

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool leapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leapYear(y) ? 29 : kDays[m - 1];
}

std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + std::int64_t(doe) - 719468;
}

// Up to maxDigits digits at text[pos]; at least minDigits.
bool takeNumber(std::string_view text, std::size_t &pos, int minDigits, int maxDigits, int &value)
{
    int n = 0;
    value = 0;
    while (n < maxDigits && pos < text.size() && isDigit(text[pos])) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++n;
    }
    return n >= minDigits;
}

// "+01:00", "-0500", "+01" or "Z" as seconds ahead of UTC.
std::optional<int> takeOffset(std::string_view rest)
{
    if (rest == "Z" || rest == "z")
        return 0;
    if (rest.size() < 3 || (rest[0] != '+' && rest[0] != '-'))
        return std::nullopt;
    std::size_t pos = 1;
    int hours = 0;
    int minutes = 0;
    if (!takeNumber(rest, pos, 2, 2, hours))
        return std::nullopt;
    if (pos < rest.size() && rest[pos] == ':')
        ++pos;
    if (pos < rest.size() && !takeNumber(rest, pos, 2, 2, minutes))
        return std::nullopt;
    if (pos != rest.size() || hours > 14 || minutes > 59)
        return std::nullopt;
    const int offset = hours * 3600 + minutes * 60;
    return rest[0] == '-' ? -offset : offset;
}

} // namespace

std::int64_t calendarSeconds(int year, int month, int day, int hour, int minute, int second)
{
    static const std::int64_t epoch2000 = daysFromCivil(2000, 1, 1);
    // Rows come in runs of one date: the last day is kept.
    thread_local int lastDate = -1;
    thread_local std::int64_t lastDays = 0;
    const int date = (year * 16 + month) * 32 + day;
    if (date != lastDate) {
        lastDays = daysFromCivil(year, unsigned(month), unsigned(day)) - epoch2000;
        lastDate = date;
    }
    return lastDays * 86400 + hour * 3600 + minute * 60 + second;
}

ImportResult<TimePattern> TimePattern::compile(const QString &pattern)
{
    TimePattern p;
    p.text_ = pattern;
    const QByteArray bytes = pattern.toUtf8();
    const std::string_view s(bytes.constData(), std::size_t(bytes.size()));
    bool day = false, month = false, year = false, hour = false, twelve = false, amPm = false;
    auto fail = [](ImportError why, const QString &letters = {}) -> ImportResult<TimePattern> {
        return Failure<ImportError>{why, letters};
    };
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        std::size_t run = 1;
        while (i + run < s.size() && s[i + run] == c)
            ++run;
        auto add = [&](Kind k) { p.tokens_.push_back({k, 0, std::uint8_t(run)}); };
        if (c == '\'') {
            const std::size_t close = s.find('\'', i + 1);
            if (close == std::string_view::npos)
                return fail(ImportError::TimeFormatUnclosedQuote);
            for (std::size_t k = i + 1; k < close; ++k)
                p.tokens_.push_back({Kind::Literal, s[k]});
            i = close + 1;
            continue;
        }
        if (c == 'd' && run <= 2) {
            add(Kind::Day);
            day = true;
        } else if (c == 'M' && run <= 2) {
            add(Kind::Month);
            month = true;
        } else if (c == 'M' && run <= 4) {
            add(Kind::MonthName);
            month = true;
        } else if (c == 'y' && (run == 2 || run == 4)) {
            add(run == 4 ? Kind::Year4 : Kind::Year2);
            year = true;
        } else if ((c == 'H' || c == 'h') && run <= 2) {
            add(c == 'H' ? Kind::Hour24 : Kind::Hour12);
            hour = true;
            twelve = twelve || c == 'h';
        } else if (c == 'm' && run <= 2) {
            add(Kind::Minute);
        } else if (c == 's' && run <= 2) {
            add(Kind::Second);
        } else if (c == 'z' && run <= 3) {
            add(Kind::Fraction);
        } else if ((c == 'A' || c == 'a') && i + 1 < s.size() && (s[i + 1] == 'P' || s[i + 1] == 'p')) {
            add(Kind::AmPm);
            amPm = true;
            run = 2;
        } else if (c == ' ') {
            add(Kind::Space);
        } else if (isLetter(c) && c != 'T') { // the T of ISO 8601 needs no quotes
            return fail(ImportError::TimeFormatUnknownLetters, QString::fromUtf8(s.substr(i, run)));
        } else {
            for (std::size_t k = 0; k < run; ++k)
                p.tokens_.push_back({Kind::Literal, c});
        }
        i += run;
    }
    if (!day || !month || !year || !hour)
        return fail(ImportError::TimeFormatIncomplete);
    if (twelve != amPm)
        return fail(ImportError::TimeFormatTwelveHour);
    p.prepare();
    return p;
}

void TimePattern::prepare()
{
    fixed_ = layoutOf(0, tokens_.size());
    findTailDate();
}

void TimePattern::findTailDate()
{
    std::size_t k = tokens_.size();
    bool day = false, month = false, year = false;
    for (; k > 0; --k) {
        const Kind kind = tokens_[k - 1].kind;
        if (kind == Kind::Day)
            day = true;
        else if (kind == Kind::Month || kind == Kind::MonthName)
            month = true;
        else if (kind == Kind::Year4 || kind == Kind::Year2)
            year = true;
        else if (kind != Kind::Literal && kind != Kind::Space)
            break;
    }
    tailDate_ = day && month && year && k > 0 ? k : tokens_.size();
}

TimePattern::FixedLayout TimePattern::layoutOf(std::size_t begin, std::size_t end) const
{
    FixedLayout l;
    std::size_t at = 0;
    for (std::size_t k = begin; k < end; ++k) {
        const Token &t = tokens_[k];
        if (at > 200)
            return {};
        switch (t.kind) {
        case Kind::Literal:
            l.literals.push_back({std::uint8_t(at), t.literal});
            ++at;
            break;
        case Kind::Year4:
            l.fields.push_back({std::uint8_t(at), 4, std::uint8_t(t.kind)});
            at += 4;
            break;
        case Kind::AmPm:
            l.amPmAt = int(at);
            at += 2;
            break;
        case Kind::Day:
        case Kind::Month:
        case Kind::Year2:
        case Kind::Hour24:
        case Kind::Hour12:
        case Kind::Minute:
        case Kind::Second:
            if (t.letters != 2)
                return {};
            l.fields.push_back({std::uint8_t(at), 2, std::uint8_t(t.kind)});
            at += 2;
            break;
        default:
            return {};
        }
    }
    l.length = at;
    return l;
}

// The fields of layout at their places in text into values (by Kind), the
// hour made one of 24; false when text does not have them there.
[[gnu::always_inline]] inline bool TimePattern::readFixed(const FixedLayout &layout, std::string_view text, int *values)
{
    for (const FixedLiteral &l : layout.literals)
        if (text[l.at] != l.c)
            return false;
    for (const FixedField &f : layout.fields) {
        const char *p = text.data() + f.at;
        const auto d0 = unsigned(p[0] - '0');
        if (d0 > 9)
            return false;
        if (f.digits == 1) {
            values[f.slot] = int(d0);
            continue;
        }
        const auto d1 = unsigned(p[1] - '0');
        if (d1 > 9)
            return false;
        unsigned v = d0 * 10 + d1;
        if (f.digits == 4) {
            const auto d2 = unsigned(p[2] - '0');
            const auto d3 = unsigned(p[3] - '0');
            if (d2 > 9 || d3 > 9)
                return false;
            v = v * 100 + d2 * 10 + d3;
        }
        values[f.slot] = int(v);
    }
    if (layout.amPmAt >= 0) {
        const char a = lower(text[std::size_t(layout.amPmAt)]);
        const int hour = values[int(Kind::Hour12)];
        if ((a != 'a' && a != 'p') || lower(text[std::size_t(layout.amPmAt) + 1]) != 'm' || hour < 1 || hour > 12)
            return false;
        values[int(Kind::Hour24)] = hour % 12 + (a == 'p' ? 12 : 0);
    }
    if (values[int(Kind::Year2)] >= 0)
        values[int(Kind::Year4)] = 2000 + values[int(Kind::Year2)];
    return true;
}

namespace
{
[[gnu::always_inline]] inline std::optional<std::int64_t> validSeconds(int year, int month, int day, int hour,
                                                                       int minute, int second)
{
    if (year < 2000 || year > 2255 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return calendarSeconds(year, month, day, hour, minute, second);
}
} // namespace

// The same result as parseTokens() for a text of the pattern's fixed length,
// with fewer branches: most files are such patterns, and this runs per row.
std::optional<TimePattern::Parsed> TimePattern::parseFixed(std::string_view text) const
{
    int values[int(Kind::Literal) + 1] = {};
    values[int(Kind::Year2)] = -1;
    if (!readFixed(fixed_, text, values))
        return std::nullopt;
    const auto seconds = validSeconds(values[int(Kind::Year4)], values[int(Kind::Month)], values[int(Kind::Day)],
                                      values[int(Kind::Hour24)], values[int(Kind::Minute)], values[int(Kind::Second)]);
    if (!seconds)
        return std::nullopt;
    return Parsed{*seconds, false};
}

// The same for a text whose date is the memo's, its time at the places of
// the memo's ("08:48:26PM Nov 27, 2025").
std::optional<TimePattern::Parsed> TimePattern::parseBeforeMemo(std::string_view text, const Memo &memo)
{
    int values[int(Kind::Literal) + 1] = {};
    values[int(Kind::Year2)] = -1;
    if (!readFixed(memo.before, text, values))
        return std::nullopt;
    const auto seconds = validSeconds(memo.year, memo.month, memo.day, values[int(Kind::Hour24)],
                                      values[int(Kind::Minute)], values[int(Kind::Second)]);
    if (!seconds)
        return std::nullopt;
    return Parsed{*seconds, false};
}

std::optional<TimePattern::Parsed> TimePattern::parse(std::string_view text, Memo *memo) const
{
    // A text the fixed places do not fit may still be read, e.g. "1/11/2026 22:30:00Z".
    if (fixed_.length > 0 && text.size() == fixed_.length)
        if (auto r = parseFixed(text))
            return r;
    if (memo && memo->valid && memo->before.length > 0) {
        const std::size_t before = memo->before.length;
        if (text.size() == before + memo->text.size() && text.substr(before) == memo->text)
            if (auto r = parseBeforeMemo(text, *memo))
                return r;
    }
    return parseTokens(text, memo);
}

std::optional<TimePattern::Parsed> TimePattern::parseTokens(std::string_view text, Memo *memo) const
{
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
    int pm = -1;
    std::size_t pos = 0;
    std::size_t dateAt = std::string_view::npos; // where the tail date begins in text
    bool dateKnown = false;
    // The places of the time before the date, for the memo.
    FixedLayout learned;
    bool learning = memo != nullptr && tailDate_ < tokens_.size();
    for (std::size_t k = 0; k < tokens_.size(); ++k) {
        if (k == tailDate_ && memo) {
            dateAt = pos;
            if (memo->valid && text.substr(pos) == memo->text) {
                day = memo->day;
                month = memo->month;
                year = memo->year;
                pos = text.size();
                dateKnown = true;
                break;
            }
        }
        const Token &t = tokens_[k];
        const std::size_t from = pos;
        bool ok = true;
        switch (t.kind) {
        case Kind::Day:
            ok = takeNumber(text, pos, 1, 2, day);
            break;
        case Kind::Month:
            ok = takeNumber(text, pos, 1, 2, month);
            break;
        case Kind::MonthName: {
            std::size_t end = pos;
            while (end < text.size() && isLetter(text[end]))
                ++end;
            const std::size_t length = end - pos;
            ok = false;
            for (int m = 0; m < 12 && length >= 3; ++m) {
                const std::string_view name = kMonthNames[m];
                if (length != 3 && length != name.size())
                    continue;
                bool same = true;
                for (std::size_t k = 0; k < length && same; ++k)
                    same = lower(text[pos + k]) == name[k];
                if (same) {
                    month = m + 1;
                    ok = true;
                    break;
                }
            }
            pos = end;
            break;
        }
        case Kind::Year4:
            ok = takeNumber(text, pos, 4, 4, year);
            break;
        case Kind::Year2:
            ok = takeNumber(text, pos, 2, 2, year);
            year += 2000;
            break;
        case Kind::Hour24:
        case Kind::Hour12:
            ok = takeNumber(text, pos, 1, 2, hour);
            break;
        case Kind::Minute:
            ok = takeNumber(text, pos, 1, 2, minute);
            break;
        case Kind::Second:
            ok = takeNumber(text, pos, 1, 2, second);
            break;
        case Kind::Fraction: {
            int ignored = 0;
            ok = takeNumber(text, pos, 1, 9, ignored);
            break;
        }
        case Kind::AmPm:
            ok = pos + 1 < text.size() && lower(text[pos + 1]) == 'm' &&
                 (lower(text[pos]) == 'a' || lower(text[pos]) == 'p');
            if (ok) {
                pm = lower(text[pos]) == 'p' ? 1 : 0;
                pos += 2;
            }
            break;
        case Kind::Space:
            while (pos < text.size() && text[pos] == ' ')
                ++pos;
            break;
        case Kind::Literal:
            ok = pos < text.size() && text[pos] == t.literal;
            pos += ok ? 1 : 0;
            break;
        }
        if (!ok)
            return std::nullopt;
        if (learning && k < tailDate_)
            learning = learn(learned, k, text, from, pos);
    }
    if (pm >= 0) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (pm == 1 ? 12 : 0);
    }
    if (year < 2000 || year > 2255 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    Parsed r;
    r.seconds = calendarSeconds(year, month, day, hour, minute, second);
    if (pos == text.size()) {
        if (dateAt != std::string_view::npos) {
            if (!dateKnown) {
                memo->text.assign(text.substr(dateAt));
                memo->valid = true;
                memo->year = year;
                memo->month = month;
                memo->day = day;
            }
            memo->before = learning ? std::move(learned) : FixedLayout{};
            memo->before.length = learning ? dateAt : 0;
        }
        return r;
    }
    const std::optional<int> offset = takeOffset(text.substr(pos));
    if (!offset)
        return std::nullopt;
    const QDateTime there(QDate(year, month, day), QTime(hour, minute, second), QTimeZone(*offset));
    const QDateTime here = there.toLocalTime();
    const QDate d = here.date();
    const QTime t = here.time();
    if (d.year() < 2000 || d.year() > 2255)
        return std::nullopt;
    r.seconds = calendarSeconds(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
    r.hadOffset = true;
    return r;
}

// Token k, read from text[from] to text[to], into layout; false when it
// cannot be read at a fixed place.
bool TimePattern::learn(FixedLayout &layout, std::size_t k, std::string_view text, std::size_t from,
                        std::size_t to) const
{
    const Token &t = tokens_[k];
    if (to > 200)
        return false;
    const auto at = std::uint8_t(from);
    switch (t.kind) {
    case Kind::Literal:
        layout.literals.push_back({at, t.literal});
        return true;
    case Kind::Space:
        for (std::size_t i = from; i < to; ++i)
            layout.literals.push_back({std::uint8_t(i), ' '});
        return true;
    case Kind::AmPm:
        layout.amPmAt = int(from);
        return true;
    case Kind::Year4:
        layout.fields.push_back({at, 4, std::uint8_t(t.kind)});
        return true;
    case Kind::Day:
    case Kind::Month:
    case Kind::Year2:
    case Kind::Hour24:
    case Kind::Hour12:
    case Kind::Minute:
    case Kind::Second: {
        // One digit is read as one again only where the next place is checked
        // for a character that no digit is: a literal, AM/PM, a space or the date.
        const Kind next = k + 1 < tokens_.size() ? tokens_[k + 1].kind : Kind::Literal;
        const bool bounded = to - from == 2 || k + 1 == tailDate_ || next == Kind::Literal || next == Kind::AmPm ||
                             (next == Kind::Space && to < text.size() && text[to] == ' ');
        layout.fields.push_back({at, std::uint8_t(to - from), std::uint8_t(t.kind)});
        return bounded;
    }
    default:
        return false;
    }
}

bool TimePattern::hasNumericDayAndMonth() const
{
    bool day = false, month = false;
    for (const Token &t : tokens_) {
        day = day || t.kind == Kind::Day;
        month = month || t.kind == Kind::Month;
    }
    return day && month;
}

std::optional<TimePattern> TimePattern::dayMonthSwapped() const
{
    if (!hasNumericDayAndMonth())
        return std::nullopt;
    TimePattern p = *this;
    for (Token &t : p.tokens_)
        t.kind = t.kind == Kind::Day ? Kind::Month : t.kind == Kind::Month ? Kind::Day : t.kind;
    // The text follows: "dd" and "MM" trade places.
    QString swapped;
    for (const QChar c : text_)
        swapped += c == QLatin1Char('d') ? QLatin1Char('M') : c == QLatin1Char('M') ? QLatin1Char('d') : c;
    p.text_ = swapped;
    p.prepare(); // the fixed places hold their fields by kind
    return p;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/ImportError.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A date-and-time pattern in the letters people know from spreadsheets and Qt:
// d/dd day, M/MM month, MMM month name (English, abbreviated or full), yy/yyyy
// year, H/HH hour of 24, h/hh hour of 12 with AP (AM/PM, any case), mm, ss,
// z/zzz fraction of a second (ignored), 'text' and T literally; a space matches any
// number of spaces. Numbers take one or two digits whatever the letter count.
// A time followed by "Z" or a UTC offset (+01:00, -0500) is converted to the
// computer's local time.
class TimePattern
{
    // Tokens of one- and two-digit fields, four-digit years, AM/PM and other
    // characters, read at fixed places: cheaper than token by token.
    struct FixedField {
        std::uint8_t at;
        std::uint8_t digits;
        std::uint8_t slot; // Kind of the field
    };
    struct FixedLiteral {
        std::uint8_t at;
        char c;
    };
    struct FixedLayout {
        std::vector<FixedField> fields;
        std::vector<FixedLiteral> literals;
        std::size_t length = 0; // 0: the tokens are not all of fixed width
        int amPmAt = -1;
    };

public:
    // One of the TimeFormat... errors when the pattern is not one.
    static ImportResult<TimePattern> compile(const QString &pattern);

    struct Parsed {
        std::int64_t seconds = 0; // from 2000-01-01 00:00:00, local calendar time
        bool hadOffset = false;
    };
    // What the last text read looked like, for a pattern that ends in its date
    // ("hh:mm:ss AP MMM d, yyyy"): the rows of a night repeat the date and
    // the places of the time's fields, and reading a month name and spaces
    // token by token is most of the work of a row. Used with one pattern only.
    struct Memo {
        std::string text; // the date as it stood
        bool valid = false;
        int year = 0;
        int month = 0;
        int day = 0;
        FixedLayout before; // the time before the date; length 0 when its places vary
    };
    // nullopt unless text is a whole real date and time from 2000 to 2255.
    std::optional<Parsed> parse(std::string_view text, Memo *memo = nullptr) const;

    const QString &text() const { return text_; }
    // The same pattern with day and month swapped; nullopt when the month is a name.
    std::optional<TimePattern> dayMonthSwapped() const;
    bool hasNumericDayAndMonth() const;

private:
    enum class Kind : std::uint8_t {
        Day,
        Month,
        MonthName,
        Year4,
        Year2,
        Hour24,
        Hour12,
        Minute,
        Second,
        Fraction,
        AmPm,
        Space,
        Literal
    };
    struct Token {
        Kind kind;
        char literal = 0;
        std::uint8_t letters = 0; // how many pattern letters it was written with
    };

    std::optional<Parsed> parseTokens(std::string_view text, Memo *memo) const;
    void prepare();
    void findTailDate();
    FixedLayout layoutOf(std::size_t begin, std::size_t end) const;
    static bool readFixed(const FixedLayout &layout, std::string_view text, int *values);
    std::optional<Parsed> parseFixed(std::string_view text) const;
    static std::optional<Parsed> parseBeforeMemo(std::string_view text, const Memo &memo);
    bool learn(FixedLayout &layout, std::size_t k, std::string_view text, std::size_t from, std::size_t to) const;

    std::vector<Token> tokens_;
    FixedLayout fixed_; // the whole pattern
    // The first token of the date the pattern ends in, with no time field in
    // it; the token count when the pattern does not end in a date.
    std::size_t tailDate_ = 0;
    QString text_;
};

// Seconds from 2000-01-01 00:00:00 to the given calendar date and time.
std::int64_t calendarSeconds(int year, int month, int day, int hour, int minute, int second);

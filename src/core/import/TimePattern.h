// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "import/ImportError.h"

#include <QString>

#include <cstdint>
#include <optional>
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
public:
    // One of the TimeFormat... errors when the pattern is not one.
    static ImportResult<TimePattern> compile(const QString &pattern);

    struct Parsed {
        std::int64_t seconds = 0; // from 2000-01-01 00:00:00, local calendar time
        bool hadOffset = false;
    };
    // nullopt unless text is a whole real date and time from 2000 to 2255.
    std::optional<Parsed> parse(std::string_view text) const;

private:
    std::optional<Parsed> parseTokens(std::string_view text) const;

public:
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
    // A pattern of two-digit fields, four-digit years and other characters
    // only, e.g. yyyy-MM-ddTHH:mm:ss, read at fixed places when the text has
    // its length.
    struct FixedField {
        std::uint8_t at;
        std::uint8_t digits;
        std::uint8_t slot; // Kind of the field
    };
    struct FixedLiteral {
        std::uint8_t at;
        char c;
    };
    std::optional<Parsed> parseFixed(std::string_view text) const;
    void prepareFixed();

    std::vector<Token> tokens_;
    std::vector<FixedField> fixedFields_;
    std::vector<FixedLiteral> fixedLiterals_;
    std::size_t fixedLength_ = 0; // 0: not such a pattern
    bool fixedTwoDigitYear_ = false;
    QString text_;
};

// Seconds from 2000-01-01 00:00:00 to the given calendar date and time.
std::int64_t calendarSeconds(int year, int month, int day, int hour, int minute, int second);

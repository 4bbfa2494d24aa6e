// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/CsvImport.h"

#include "import/TimePattern.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace CsvImport
{

namespace
{

using ImportedReadings::failed;

// Rows looked at to find the header, and to tell the time format.
constexpr int kHeaderRows = 10;
constexpr int kFormatRows = 64;
// Cell text quoted in a message is cut to this many characters.
constexpr int kQuotedCell = 40;

struct Field {
    std::string_view text;
    bool quoted = false;
};

// Splits the text into rows of fields. Quoted fields may hold separators,
// doubled quotes and line ends; a row ends at CR LF, LF or a lone CR.
class RowReader
{
public:
    RowReader(std::string_view text, char separator) : text_(text), separator_(separator)
    {
        stops_[static_cast<unsigned char>(separator)] = true;
        stops_['\n'] = true;
        stops_['\r'] = true;
    }

    // False at the end. line is the row's first line, counted from 1.
    bool next(std::vector<Field> &fields, int &line)
    {
        fields.clear();
        if (pos_ >= text_.size())
            return false;
        line = line_;
        escaped_.clear();
        std::size_t escapedBytes = 0;
        for (;;) {
            if (pos_ < text_.size() && text_[pos_] == '"') {
                const std::size_t begin = ++pos_;
                bool escaped = false;
                while (pos_ < text_.size()) {
                    const char c = text_[pos_];
                    if (c == '"') {
                        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                            escaped = true;
                            pos_ += 2;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n' || (c == '\r' && (pos_ + 1 >= text_.size() || text_[pos_ + 1] != '\n')))
                        ++line_;
                    ++pos_;
                }
                addField(fields, begin, pos_, true);
                if (escaped) {
                    escaped_.push_back(fields.size() - 1);
                    escapedBytes += pos_ - begin;
                }
                if (pos_ < text_.size())
                    ++pos_; // the closing quote
                // Anything between the closing quote and the separator is dropped.
                skipToEndOfField();
            } else {
                const std::size_t begin = pos_;
                skipToEndOfField();
                addField(fields, begin, pos_, false);
            }
            if (pos_ < text_.size() && text_[pos_] == separator_) {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == '\r')
                ++pos_;
            if (pos_ < text_.size() && text_[pos_] == '\n')
                ++pos_;
            ++line_;
            break;
        }
        if (escaped_.empty())
            return true;
        // Doubled quotes are undone in a side buffer sized first, so the views
        // into it stay valid.
        scratch_.clear();
        scratch_.reserve(escapedBytes);
        for (const std::size_t k : escaped_) {
            const std::string_view raw = fields[k].text;
            const std::size_t from = scratch_.size();
            for (std::size_t i = 0; i < raw.size(); ++i) {
                scratch_.push_back(raw[i]);
                if (raw[i] == '"' && i + 1 < raw.size() && raw[i + 1] == '"')
                    ++i;
            }
            fields[k].text = std::string_view(scratch_.data() + from, scratch_.size() - from);
        }
        return true;
    }

private:
    // Filled in place: a Field built on the stack and copied in made the
    // copy wait for its flag byte's store, a third of the whole read.
    void addField(std::vector<Field> &fields, std::size_t begin, std::size_t end, bool quoted) const
    {
        Field &f = fields.emplace_back();
        f.text = std::string_view(text_.data() + begin, end - begin);
        f.quoted = quoted;
    }

    // On a copy of the position: a member written through for every byte
    // made this loop the costliest part of a row.
    void skipToEndOfField()
    {
        const std::size_t size = text_.size();
        const char *data = text_.data();
        std::size_t pos = pos_;
        while (pos < size && !stops_[static_cast<unsigned char>(data[pos])])
            ++pos;
        pos_ = pos;
    }

    std::string_view text_;
    char separator_;
    std::size_t pos_ = 0;
    int line_ = 1;
    std::array<bool, 256> stops_{};    // the separator and line ends
    std::vector<std::size_t> escaped_; // fields with doubled quotes
    std::string scratch_;
};

inline std::string_view trimmed(std::string_view s)
{
    if (s.empty() || (s.front() != ' ' && s.front() != '\t' && s.back() != ' ' && s.back() != '\t'))
        return s;
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool blankRow(const std::vector<Field> &fields)
{
    return std::all_of(fields.begin(), fields.end(), [](const Field &f) { return trimmed(f.text).empty(); });
}

// Valid UTF-8 throughout, by the shortest-form rules.
bool validUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        // Eight ASCII bytes at a time: most files have nothing else.
        if (i + 8 <= s.size()) {
            std::uint64_t word = 0;
            std::memcpy(&word, s.data() + i, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                i += 8;
                continue;
            }
        }
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if ((c & 0xE0) == 0xC0) {
            more = 1;
            min = 0x80;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2;
            min = 0x800;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3;
            min = 0x10000;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + std::size_t(more) >= s.size())
            return false;
        for (int k = 1; k <= more; ++k) {
            const auto b = static_cast<unsigned char>(s[i + std::size_t(k)]);
            if ((b & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += std::size_t(more) + 1;
    }
    return true;
}

enum class Role { None, Time, Date, Spo2, Pulse };

// A header cell's role: its name in any case, without units in brackets,
// "%", "_" or "-".
Role roleOf(const QString &cell)
{
    static const QRegularExpression units(QStringLiteral("\\([^)]*\\)|\\[[^]]*\\]"));
    QString name = cell.toLower();
    name.remove(units);
    name.replace(QLatin1Char('_'), QLatin1Char(' ')).replace(QLatin1Char('-'), QLatin1Char(' '));
    name.remove(QLatin1Char('%'));
    name = name.simplified();
    static const QStringList time = {QStringLiteral("time"),         QStringLiteral("timestamp"),
                                     QStringLiteral("time stamp"),   QStringLiteral("datetime"),
                                     QStringLiteral("date time"),    QStringLiteral("date/time"),
                                     QStringLiteral("date and time")};
    static const QStringList spo2 = {QStringLiteral("spo2"),         QStringLiteral("sao2"),
                                     QStringLiteral("oxygen level"), QStringLiteral("oxygen saturation"),
                                     QStringLiteral("blood oxygen"), QStringLiteral("o2")};
    static const QStringList pulse = {
        QStringLiteral("pulse"),      QStringLiteral("pr"),        QStringLiteral("hr"), QStringLiteral("pulse rate"),
        QStringLiteral("heart rate"), QStringLiteral("pulserate"), QStringLiteral("bpm")};
    if (time.contains(name))
        return Role::Time;
    if (name == QLatin1String("date"))
        return Role::Date;
    if (spo2.contains(name))
        return Role::Spo2;
    if (pulse.contains(name))
        return Role::Pulse;
    return Role::None;
}

struct Text {
    bool utf8 = true;
    QString decode(std::string_view s) const
    {
        return utf8 ? QString::fromUtf8(s.data(), qsizetype(s.size()))
                    : QString::fromLatin1(s.data(), qsizetype(s.size()));
    }
    // A cell to name in a message, cut short.
    QString cut(std::string_view s) const
    {
        QString t = decode(s);
        if (t.size() > kQuotedCell)
            t = t.left(kQuotedCell) + QStringLiteral("...");
        return t;
    }
};

std::optional<Columns> headerColumns(const std::vector<Field> &fields, const Text &text)
{
    Columns c;
    for (int i = 0; i < int(fields.size()); ++i) {
        int *slot = nullptr;
        switch (roleOf(text.decode(trimmed(fields[std::size_t(i)].text)))) {
        case Role::Time:
            slot = &c.time;
            break;
        case Role::Date:
            slot = &c.date;
            break;
        case Role::Spo2:
            slot = &c.spo2;
            break;
        case Role::Pulse:
            slot = &c.pulse;
            break;
        case Role::None:
            break;
        }
        if (slot && *slot < 0)
            *slot = i;
    }
    // A lone "date" column holds the whole time.
    if (c.time < 0 && c.date >= 0)
        std::swap(c.time, c.date);
    if (c.time < 0 || (c.spo2 < 0 && c.pulse < 0))
        return std::nullopt;
    return c;
}

// The formats tried, each day-first one followed by its month-first twin.
struct Candidate {
    TimePattern pattern;
    int twin = -1; // index of the same format with day and month swapped
};

const std::vector<Candidate> &candidates()
{
    static const std::vector<Candidate> all = [] {
        std::vector<Candidate> c;
        auto add = [&](const QString &p, int twin = -1) { c.push_back({TimePattern::compile(p).value(), twin}); };
        for (const char *p :
             {"yyyy-MM-ddTHH:mm:ss", "yyyy-MM-ddTHH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm:ss.zzz",
              "yyyy-MM-ddTHH:mm", "yyyy-MM-dd HH:mm", "yyyy/MM/dd HH:mm:ss", "yyyy/MM/dd HH:mm", "yyyy.MM.dd HH:mm:ss"})
            add(QString::fromLatin1(p));
        const QStringList times = {QStringLiteral("HH:mm:ss"), QStringLiteral("hh:mm:ss AP"), QStringLiteral("HH:mm"),
                                   QStringLiteral("hh:mm AP")};
        for (const QString &sep : {QStringLiteral("/"), QStringLiteral("."), QStringLiteral("-")}) {
            for (const QString &year : {QStringLiteral("yyyy"), QStringLiteral("yy")}) {
                const QString dayFirst = QStringLiteral("dd%1MM%1%2").arg(sep, year);
                const QString monthFirst = QStringLiteral("MM%1dd%1%2").arg(sep, year);
                for (const QString &t : times) {
                    for (bool dateFirst : {true, false}) {
                        auto join = [&](const QString &d) {
                            return dateFirst ? d + QLatin1Char(' ') + t : t + QLatin1Char(' ') + d;
                        };
                        const int at = int(c.size());
                        add(join(dayFirst), at + 1);
                        add(join(monthFirst), at);
                    }
                }
            }
        }
        for (const QString &d : {QStringLiteral("MMM d, yyyy"), QStringLiteral("MMM d yyyy"),
                                 QStringLiteral("d MMM yyyy"), QStringLiteral("d-MMM-yyyy")})
            for (const QString &t : times) {
                add(d + QLatin1Char(' ') + t);
                add(t + QLatin1Char(' ') + d);
            }
        return c;
    }();
    return all;
}

enum class Value { Reading, NoSignal, Bad };

// A cell as a whole number, rounding a decimal ("97.0", "97,5").
Value number(std::string_view s, int &v)
{
    const char *end = s.data() + s.size();
    const auto [p, ec] = std::from_chars(s.data(), end, v);
    if (ec != std::errc() || v < 0)
        return Value::Bad;
    if (p == end)
        return Value::Reading;
    if ((*p != '.' && *p != ',') || p + 1 == end)
        return Value::Bad;
    for (const char *q = p + 1; q < end; ++q)
        if (*q < '0' || *q > '9')
            return Value::Bad;
    v += p[1] >= '5' ? 1 : 0;
    return Value::Reading;
}

bool noSignalMark(std::string_view s)
{
    return s.empty() || s == "--" || s == "-" || s == "---";
}

Value spo2Value(std::string_view cell, std::uint8_t &out)
{
    int v = 0;
    if (noSignalMark(cell))
        return Value::NoSignal;
    const Value r = number(cell, v);
    if (r != Value::Reading)
        return r;
    if (v == 0 || v == 255)
        return Value::NoSignal;
    if (v > 100)
        return Value::Bad;
    out = std::uint8_t(v);
    return Value::Reading;
}

// A pulse below 30 cannot be stored in a .dat file; 0, 255 and 65535 mark no signal.
Value pulseValue(std::string_view cell, std::uint8_t &out)
{
    int v = 0;
    if (noSignalMark(cell))
        return Value::NoSignal;
    const Value r = number(cell, v);
    if (r != Value::Reading)
        return r;
    if (v == 0 || v == 255 || v == 65535)
        return Value::NoSignal;
    if (v < 30 || v > 254)
        return Value::Bad;
    out = std::uint8_t(v);
    return Value::Reading;
}

// Where a row's cells are, once a comma inside an unquoted time has been
// taken back into the time ("08:48:26PM Nov 27, 2025").
struct RowCells {
    std::string_view time;
    std::string_view date;
    std::string_view spo2;
    std::string_view pulse;
    bool complete = false;
};

class Reader
{
public:
    Reader(std::string_view text, char separator, Columns columns, int width, int firstDataLine)
        : text_(text), separator_(separator), columns_(columns), width_(width), firstDataLine_(firstDataLine)
    {
    }

    // Calls f(line, cells) for every data row that is not blank.
    template <typename F> void forEachRow(F &&f) const
    {
        RowReader rows(text_, separator_);
        std::vector<Field> fields;
        int line = 0;
        std::string joined;
        while (rows.next(fields, line)) {
            if (line < firstDataLine_ || blankRow(fields))
                continue;
            RowCells cells = locate(fields);
            if (cells.complete && columns_.date >= 0) {
                joined.assign(cells.date);
                joined.push_back(' ');
                joined.append(cells.time);
                cells.time = joined;
            }
            if (!f(line, cells))
                return;
        }
    }

private:
    RowCells locate(const std::vector<Field> &fields) const
    {
        RowCells c;
        const int n = int(fields.size());
        int extra = width_ > 0 && n > width_ ? n - width_ : 0;
        // Only unquoted fields lie next to each other in the text (a quoted
        // one may live in the reader's side buffer).
        for (int k = 0; k <= extra && columns_.time + k < n; ++k)
            if (fields[std::size_t(columns_.time) + std::size_t(k)].quoted)
                extra = 0;
        auto at = [&](int column) -> int { return column > columns_.time ? column + extra : column; };
        const int needed = std::max({columns_.time + extra, at(columns_.date), at(columns_.spo2), at(columns_.pulse)});
        if (needed >= n)
            return c;
        const Field &first = fields[std::size_t(columns_.time)];
        if (extra > 0) {
            const Field &last = fields[std::size_t(columns_.time) + std::size_t(extra)];
            c.time = std::string_view(first.text.data(),
                                      std::size_t(last.text.data() + last.text.size() - first.text.data()));
        } else {
            c.time = first.text;
        }
        c.time = trimmed(c.time);
        if (columns_.date >= 0)
            c.date = trimmed(fields[std::size_t(at(columns_.date))].text);
        if (columns_.spo2 >= 0)
            c.spo2 = trimmed(fields[std::size_t(at(columns_.spo2))].text);
        if (columns_.pulse >= 0)
            c.pulse = trimmed(fields[std::size_t(at(columns_.pulse))].text);
        c.complete = true;
        return c;
    }

    std::string_view text_;
    char separator_;
    Columns columns_;
    int width_;
    int firstDataLine_;
};

char likelySeparator(std::string_view line)
{
    const auto count = [&](char c) { return std::count(line.begin(), line.end(), c); };
    const std::array<std::pair<long, char>, 3> counts = {
        {{long(count(',')), ','}, {long(count(';')), ';'}, {long(count('\t')), '\t'}}};
    const auto *const best =
        std::max_element(counts.begin(), counts.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    return best->first > 0 ? best->second : ',';
}

} // namespace

Preview preview(const QByteArray &data, int maxRows)
{
    Preview p;
    std::string_view text(data.constData(), std::size_t(data.size()));
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    Text decoder;
    decoder.utf8 = validUtf8(text);
    const std::size_t firstLineEnd = text.find('\n');
    RowReader rows(
        text, likelySeparator(text.substr(0, firstLineEnd == std::string_view::npos ? text.size() : firstLineEnd)));
    std::vector<Field> fields;
    int line = 0;
    while (int(p.rows.size()) < maxRows && rows.next(fields, line)) {
        if (blankRow(fields))
            continue;
        QStringList cells;
        for (const Field &f : fields)
            cells << decoder.decode(trimmed(f.text));
        p.columns = std::max(p.columns, int(cells.size()));
        p.rows.push_back(cells);
    }
    return p;
}

ImportResult<Columns> parseColumns(const QString &text)
{
    Columns c;
    const QStringList parts = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QStringList kv = part.split(QLatin1Char('='));
        bool ok = false;
        const int column = kv.size() == 2 ? kv[1].trimmed().toInt(&ok) : 0;
        const QString role = kv.value(0).trimmed().toLower();
        int *slot = role == QLatin1String("time")    ? &c.time
                    : role == QLatin1String("date")  ? &c.date
                    : role == QLatin1String("spo2")  ? &c.spo2
                    : role == QLatin1String("pulse") ? &c.pulse
                                                     : nullptr;
        if (!slot || !ok || column < 1 || column > 1000 || *slot >= 0)
            return Failure<ImportError>{ImportError::BadColumns, part};
        *slot = column - 1;
    }
    if (c.time < 0 || (c.spo2 < 0 && c.pulse < 0))
        return Failure<ImportError>{ImportError::BadColumns, {}};
    return c;
}

QString columnsText(const Columns &columns)
{
    QStringList parts;
    const std::pair<const char *, int> named[] = {
        {"time", columns.time}, {"date", columns.date}, {"spo2", columns.spo2}, {"pulse", columns.pulse}};
    for (const auto &[role, column] : named)
        if (column >= 0)
            parts << QStringLiteral("%1=%2").arg(QLatin1String(role)).arg(column + 1);
    return parts.join(QLatin1Char(','));
}

QString headerLine(const QByteArray &data)
{
    const Preview first = preview(data, 1);
    if (first.rows.empty())
        return {};
    QStringList cells;
    for (const QString &cell : first.rows.front())
        cells << cell.toLower();
    return cells.join(QLatin1Char(','));
}

ImportedNight read(const QByteArray &data, const Options &options)
{
    ImportedNight r;
    std::string_view text(data.constData(), std::size_t(data.size()));
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    Text decoder;
    decoder.utf8 = validUtf8(text);

    // The header: the first of the first rows whose names place the columns.
    Columns columns;
    char separator = ',';
    int width = 0;
    int firstDataLine = 1;
    {
        std::size_t firstLineEnd = text.find('\n');
        std::string_view firstLines =
            text.substr(0, firstLineEnd == std::string_view::npos ? text.size() : firstLineEnd);
        if (options.columns) {
            columns = *options.columns;
            separator = likelySeparator(firstLines);
            RowReader rows(text, separator);
            std::vector<Field> fields;
            int line = 0;
            while (rows.next(fields, line)) {
                if (blankRow(fields))
                    continue;
                // A first row without a number where SpO2 or pulse should be is a header.
                const int valueColumn = columns.spo2 >= 0 ? columns.spo2 : columns.pulse;
                std::uint8_t ignored = 0;
                const std::string_view cell = valueColumn < int(fields.size())
                                                  ? trimmed(fields[std::size_t(valueColumn)].text)
                                                  : std::string_view();
                const bool header =
                    valueColumn < int(fields.size()) &&
                    (columns.spo2 >= 0 ? spo2Value(cell, ignored) : pulseValue(cell, ignored)) == Value::Bad;
                width = int(fields.size());
                firstDataLine = header ? line + 1 : line;
                break;
            }
        } else {
            bool found = false;
            for (const char sep : {likelySeparator(firstLines), ',', ';', '\t'}) {
                RowReader rows(text, sep);
                std::vector<Field> fields;
                int line = 0;
                for (int n = 0; n < kHeaderRows && !found && rows.next(fields, line); ++n) {
                    if (const auto c = headerColumns(fields, decoder)) {
                        columns = *c;
                        separator = sep;
                        width = int(fields.size());
                        firstDataLine = line + 1;
                        found = true;
                    }
                }
                if (found)
                    break;
            }
            if (!found) {
                r.layoutUnknown = true;
                return failed(r, {ImportError::NoHeader});
            }
        }
    }
    const Reader reader(text, separator, columns, width, firstDataLine);

    // The time format: given, or the one that reads most of the first rows.
    std::optional<TimePattern> pattern;
    if (!options.timeFormat.isEmpty()) {
        ImportResult<TimePattern> given = TimePattern::compile(options.timeFormat);
        if (!given)
            return failed(r, {given.error(), 0, options.timeFormat, given.detail()});
        pattern = std::move(given.value());
    } else {
        std::vector<std::string> samples;
        int firstLine = 0;
        reader.forEachRow([&](int line, const RowCells &cells) {
            if (cells.complete && !cells.time.empty()) {
                if (samples.empty())
                    firstLine = line;
                samples.emplace_back(cells.time);
            }
            return int(samples.size()) < kFormatRows;
        });
        if (samples.empty())
            return failed(r, {ImportError::NoRowsAfterHeader});
        const std::vector<Candidate> &all = candidates();
        int best = -1;
        int bestCount = 0;
        for (int i = 0; i < int(all.size()); ++i) {
            // A format that reads none of the first few rows is not the file's.
            int n = 0;
            for (std::size_t k = 0; k < samples.size() && (n > 0 || k < 8); ++k)
                n += all[std::size_t(i)].pattern.parse(samples[k]).has_value() ? 1 : 0;
            if (n > bestCount) {
                best = i;
                bestCount = n;
            }
        }
        if (best < 0)
            return failed(r, {ImportError::UnknownTimeFormat, firstLine, decoder.cut(samples.front())});
        const Candidate &chosen = all[std::size_t(best)];
        pattern = chosen.pattern;
        if (chosen.twin >= 0) {
            // Day or month first: any date that reads only one way decides.
            const TimePattern &other = all[std::size_t(chosen.twin)].pattern;
            int onlyChosen = 0;
            int onlyOther = 0;
            reader.forEachRow([&](int, const RowCells &cells) {
                const bool a = chosen.pattern.parse(cells.time).has_value();
                const bool b = other.parse(cells.time).has_value();
                onlyChosen += a && !b;
                onlyOther += b && !a;
                return true;
            });
            if (onlyChosen == 0 && onlyOther == 0) {
                r.dayMonthUndecided = true;
                return failed(r, {ImportError::DayMonthUndecided, 0, decoder.cut(samples.front())});
            }
            if (onlyOther > onlyChosen)
                pattern = other;
        }
    }
    r.timeFormat = pattern->text();

    std::vector<TimedReading> rows;
    rows.reserve(std::size_t(text.size() / 24)); // about a row's length
    bool offsets = false;
    TimePattern::Memo memo;
    auto refuse = [&](int line, ImportError why, std::string_view cell = {}) {
        if (r.refused++ == 0)
            r.firstRefusal = {why, line, decoder.cut(cell)};
    };
    reader.forEachRow([&](int line, const RowCells &cells) {
        if (!cells.complete) {
            refuse(line, ImportError::TooFewFields);
            return true;
        }
        const auto t = pattern->parse(cells.time, &memo);
        if (!t) {
            refuse(line, ImportError::TimeNotATime, cells.time);
            return true;
        }
        TimedReading row;
        row.seconds = t->seconds;
        if (columns.spo2 >= 0 && spo2Value(cells.spo2, row.spo2) == Value::Bad) {
            refuse(line, ImportError::Spo2NotAReading, cells.spo2);
            return true;
        }
        if (columns.pulse >= 0 && pulseValue(cells.pulse, row.pulse) == Value::Bad) {
            refuse(line, ImportError::PulseNotAReading, cells.pulse);
            return true;
        }
        if (!rows.empty() && row.seconds < rows.back().seconds) {
            refuse(line, ImportError::TimeBeforeRowAbove, cells.time);
            return true;
        }
        offsets = offsets || t->hadOffset;
        ++r.read;
        // Several rows in one second: the last one stands for it.
        if (!rows.empty() && row.seconds == rows.back().seconds)
            rows.back() = row;
        else
            rows.push_back(row);
        return true;
    });
    if (rows.empty())
        return failed(r, {r.firstRefusal.isSet() ? ImportError::NoValidRow : ImportError::NoRowsAfterHeader});
    r.offsetsConverted = offsets;
    r.intervalSeconds = ImportedReadings::usualInterval(rows);
    const int interval = r.intervalSeconds;
    return ImportedReadings::finished(std::move(r), rows, interval);
}

} // namespace CsvImport

// SPDX-License-Identifier: GPL-3.0-or-later
// CSV files of other oximeters' apps, written here, read reading by reading.
#include "import/CsvImport.h"
#include "import/TimePattern.h"
#include "interop/CsvExport.h"
#include "texts/ImportTexts.h"

#include <QDateTime>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// "2025-11-27 20:48:26 95 60" per reading: a failure shows the whole night.
std::vector<std::string> shown(const std::vector<SampleRecord> &readings)
{
    std::vector<std::string> out;
    for (const SampleRecord &s : readings) {
        char line[64];
        std::snprintf(line, sizeof line, "%04d-%02d-%02d %02d:%02d:%02d %d %d", 2000 + s.year, s.month, s.day, s.hour,
                      s.minute, s.second, s.spo2, s.pulseRate);
        out.emplace_back(line);
        EXPECT_EQ(s.auxValue, 0);
        EXPECT_EQ(s.id, 0);
    }
    return out;
}

struct LayoutCase {
    const char *name;
    QByteArray file;
    std::vector<std::string> readings;
    int interval;
};

void PrintTo(const LayoutCase &c, std::ostream *os)
{
    *os << c.name;
}

class CsvLayout : public testing::TestWithParam<LayoutCase>
{
};

TEST_P(CsvLayout, ReadsEveryReading)
{
    const LayoutCase &c = GetParam();
    const ImportedNight r = CsvImport::read(c.file);
    ASSERT_TRUE(r.ok) << ImportTexts::error(r).toStdString();
    EXPECT_EQ(shown(r.readings), c.readings);
    EXPECT_EQ(r.intervalSeconds, c.interval);
    EXPECT_EQ(r.refused, 0) << ImportTexts::text(r.firstRefusal).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, CsvLayout,
    testing::Values(
        LayoutCase{"QuellixExport",
                   "time,spo2,pulse_rate\r\n2026-03-14T22:30:00,97,61\r\n2026-03-14T22:30:01,96,62\r\n",
                   {"2026-03-14 22:30:00 97 61", "2026-03-14 22:30:01 96 62"},
                   1},
        LayoutCase{"TimestampSemicolonBom",
                   "\xEF\xBB\xBFtimestamp;spo2;pulse\n2026-03-14 22:30:00;97;61\n2026-03-14 22:30:01;96;62\n",
                   {"2026-03-14 22:30:00 97 61", "2026-03-14 22:30:01 96 62"},
                   1},
        LayoutCase{"TimePrTabs",
                   "Time\tSpO2\tPR\n2026/03/14 22:30:00\t97\t61\n2026/03/14 22:30:01\t96\t62\n",
                   {"2026-03-14 22:30:00 97 61", "2026-03-14 22:30:01 96 62"},
                   1},
        LayoutCase{"DatetimeHrWithUnits",
                   "DateTime,SpO2(%),Pulse Rate(bpm)\r\n2026-03-14 22:30:00,97,61\r\n2026-03-14 22:30:01,96,62\r\n",
                   {"2026-03-14 22:30:00 97 61", "2026-03-14 22:30:01 96 62"},
                   1},
        LayoutCase{"DatetimeSpo2Hr", "datetime,SpO2,HR\n2026-03-14T22:30:00,97,61\n", {"2026-03-14 22:30:00 97 61"}, 1},
        // Four seconds apart: each value holds until the next reading.
        LayoutCase{"RingOxygenLevelUnquotedComma",
                   "Time,Oxygen Level,Pulse Rate,Motion\n08:48:26PM Nov 27, 2025,95,60,0\n"
                   "08:48:30PM Nov 27, 2025,94,61,2\n08:48:34PM Nov 27, 2025,93,62,0\n",
                   {"2025-11-27 20:48:26 95 60", "2025-11-27 20:48:27 95 60", "2025-11-27 20:48:28 95 60",
                    "2025-11-27 20:48:29 95 60", "2025-11-27 20:48:30 94 61", "2025-11-27 20:48:31 94 61",
                    "2025-11-27 20:48:32 94 61", "2025-11-27 20:48:33 94 61", "2025-11-27 20:48:34 93 62"},
                   4},
        LayoutCase{"RingOxygenLevelQuoted",
                   "\"Time\",\"Oxygen Level\",\"Pulse Rate\",\"Motion\"\r\n\"12:00:02AM Nov 28, 2025\",95,60,0\r\n"
                   "\"12:00:06AM Nov 28, 2025\",94,61,0\r\n",
                   {"2025-11-28 00:00:02 95 60", "2025-11-28 00:00:03 95 60", "2025-11-28 00:00:04 95 60",
                    "2025-11-28 00:00:05 95 60", "2025-11-28 00:00:06 94 61"},
                   4},
        LayoutCase{"RingRemindersTrailingComma",
                   "Time,SpO2(%),Pulse Rate(bpm),Motion,SpO2 Reminder,PR Reminder,\n"
                   "18:02:48 Aug 03 2026,97,58,0,0,0,\n18:02:50 Aug 03 2026,96,59,1,0,0,\n"
                   "18:02:52 Aug 03 2026,255,65535,3,0,0,\n",
                   {"2026-08-03 18:02:48 97 58", "2026-08-03 18:02:49 97 58", "2026-08-03 18:02:50 96 59",
                    "2026-08-03 18:02:51 96 59", "2026-08-03 18:02:52 0 255"},
                   2},
        LayoutCase{"RingDayFirstDate",
                   "Time,SpO2(%),Pulse Rate(bpm),Motion,SpO2 Reminder,PR Reminder,\n"
                   "22:15:03 27/11/2025,97,58,0,0,0,\n22:15:04 27/11/2025,96,59,0,0,0,\n",
                   {"2025-11-27 22:15:03 97 58", "2025-11-27 22:15:04 96 59"},
                   1},
        LayoutCase{"MonthFirstTwelveHour",
                   "Date Time,SpO2,Pulse\n11/27/2025 11:59:59 PM,97,58\n11/28/2025 12:00:00 AM,96,59\n",
                   {"2025-11-27 23:59:59 97 58", "2025-11-28 00:00:00 96 59"},
                   1},
        LayoutCase{"SeparateDateAndTimeColumns",
                   "Date;Time;SpO2;Pulse\n27.11.2025;23:59:59;97;58\n28.11.2025;00:00:00;96,0;59,4\n",
                   {"2025-11-27 23:59:59 97 58", "2025-11-28 00:00:00 96 59"},
                   1},
        // Doubled quotes and a line end inside a quoted note; a Latin-1 header.
        LayoutCase{"QuotedNoteLatin1",
                   "time,spo2,pulse,Bemerkung (\xE4rztlich)\n2026-03-14T22:30:00,97,61,\"a \"\"b\"\"\nc\"\n"
                   "2026-03-14T22:30:01,96,62,x\n",
                   {"2026-03-14 22:30:00 97 61", "2026-03-14 22:30:01 96 62"},
                   1},
        // No signal: 255, 0, blank and "--" for SpO2; 255, 65535, blank and "--" for pulse.
        LayoutCase{"InvalidMarkers",
                   "time,spo2,pulse\n2026-03-14T22:30:00,255,65535\n2026-03-14T22:30:01,,\n"
                   "2026-03-14T22:30:02,--,--\n2026-03-14T22:30:03,0,255\n2026-03-14T22:30:04,90,0\n",
                   {"2026-03-14 22:30:00 0 255", "2026-03-14 22:30:01 0 255", "2026-03-14 22:30:02 0 255",
                    "2026-03-14 22:30:03 0 255", "2026-03-14 22:30:04 90 255"},
                   1}),
    [](const testing::TestParamInfo<LayoutCase> &i) { return std::string(i.param.name); });

// Day or month first is decided by any date that reads only one way, wherever it is.
TEST(CsvImport, DayOrMonthFirstFromTheWholeFile)
{
    struct Case {
        const char *lastDate;
        bool ok;
        const char *format;
    } const cases[] = {
        {"05/11/2025", false, ""},
        {"13/11/2025", true, "dd/MM/yyyy HH:mm:ss"},
        {"05/13/2025", true, "MM/dd/yyyy HH:mm:ss"},
    };
    for (const Case &c : cases) {
        QByteArray file = "time,spo2,pulse\n";
        for (int i = 0; i < 100; ++i)
            file += "05/11/2025 22:" + QByteArray::number(10 + i / 60) + ":" +
                    QByteArray::number(i % 60).rightJustified(2, '0') + ",95,60\n";
        file += QByteArray(c.lastDate) + " 23:00:00,95,60\n";
        const ImportedNight r = CsvImport::read(file);
        EXPECT_EQ(r.ok, c.ok) << c.lastDate;
        EXPECT_EQ(r.dayMonthUndecided, !c.ok) << c.lastDate;
        if (!c.ok) {
            EXPECT_TRUE(ImportTexts::error(r).contains(QLatin1String("'05/11/2025 22:10:00'")))
                << ImportTexts::error(r).toStdString();
            continue;
        }
        EXPECT_EQ(r.timeFormat.toStdString(), c.format);
        ASSERT_FALSE(r.readings.empty());
        EXPECT_EQ(int(r.readings.front().month), c.format[0] == 'd' ? 11 : 5) << c.lastDate;
    }
    // A time format given settles what the file cannot.
    CsvImport::Options given;
    given.timeFormat = QStringLiteral("MM/dd/yyyy HH:mm:ss");
    const ImportedNight r = CsvImport::read("time,spo2,pulse\n05/11/2025 22:10:00,95,60\n", given);
    ASSERT_TRUE(r.ok) << ImportTexts::error(r).toStdString();
    EXPECT_EQ(shown(r.readings), std::vector<std::string>{"2025-05-11 22:10:00 95 60"});
}

TEST(CsvImport, RefusedRowsAreCountedWithTheFirstReason)
{
    QByteArray file = "time,spo2,pulse\n";
    int line = 1;
    int second = 0;
    auto good = [&] {
        const int s = second++;
        file += "2026-03-14 " + QByteArray::number(10 + s / 3600) + ":" +
                QByteArray::number(s / 60 % 60).rightJustified(2, '0') + ":" +
                QByteArray::number(s % 60).rightJustified(2, '0') + ",95,60\n";
        ++line;
    };
    for (int i = 0; i < 15; ++i)
        good();
    file += "2026-03-14 25:61:00,95,60\n"; // line 17
    file += "2026-03-14 10:59:00,101,60\n";
    file += "2026-03-14 10:59:01,95,20\n";
    file += "2026-03-14 10:00:00,95,60\n"; // before the rows above
    for (int i = 0; i < 1188; ++i)
        good();
    const ImportedNight r = CsvImport::read(file);
    ASSERT_TRUE(r.ok) << ImportTexts::error(r).toStdString();
    EXPECT_EQ(ImportTexts::summary(r).toStdString(),
              "1,203 rows read, 4 refused: line 17: time '2026-03-14 25:61:00' is not a time");
    EXPECT_EQ(r.readings.size(), 1203u);
    EXPECT_FALSE(r.mostlyRefused());

    // More than a tenth refused is worth a question; a tenth is not.
    for (const auto &[read, refused, mostly] : {std::tuple{9, 1, false}, std::tuple{8, 2, true}}) {
        ImportedNight n;
        n.read = read;
        n.refused = refused;
        EXPECT_EQ(n.mostlyRefused(), mostly) << read << " " << refused;
    }

    // Nothing valid: the error names the first refused line.
    const ImportedNight none = CsvImport::read("time,spo2,pulse\n2026-03-14T22:30:00,95,7\n");
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(ImportTexts::error(none).toStdString(), "no valid reading: line 2: pulse '7' is not a reading");
}

// An unquoted time split at a comma is joined again, but never with a quoted
// field (whose text may not lie beside it).
TEST(CsvImport, SplitTimeIsNotJoinedWithAQuotedField)
{
    const ImportedNight r = CsvImport::read("time,spo2,pulse\n2026-03-14 22:30:00,95,60\n"
                                            "2026-03-14 22:30:01,\"9\"\"7\",95,60\n");
    ASSERT_TRUE(r.ok) << ImportTexts::error(r).toStdString();
    EXPECT_EQ(ImportTexts::summary(r).toStdString(), "1 rows read, 1 refused: line 3: SpO2 '9\"7' is not a reading");
}

// A file is UTF-8 when every byte sequence is; otherwise Latin-1.
TEST(CsvImport, RefusedCellsQuotedInTheFilesEncoding)
{
    struct Case {
        QByteArray cell;
        QString shown;
    } const cases[] = {
        {"caf\xC3\xA9 cr\xC3\xA8me", QStringLiteral("caf\u00E9 cr\u00E8me")},
        {"caf\xE9 cr\xE8me", QStringLiteral("caf\u00E9 cr\u00E8me")},
        {"\xF0\x9F\x98\x80 ok", QStringLiteral("\U0001F600 ok")},
        {"\xED\xA0\x80 x", QStringLiteral("\u00ED\u00A0\u0080 x")}, // a UTF-16 surrogate is no UTF-8
    };
    for (const Case &c : cases) {
        const ImportedNight r = CsvImport::read("time,spo2,pulse\n2026-03-14 22:30:00,95,60\n"
                                                "2026-03-14 22:30:01," +
                                                c.cell + ",60\n");
        EXPECT_EQ(ImportTexts::text(r.firstRefusal), QStringLiteral("line 3: SpO2 '%1' is not a reading").arg(c.shown))
            << ImportTexts::text(r.firstRefusal).toStdString();
    }
}

// Each value holds for up to three intervals; a longer step stays a gap.
TEST(CsvImport, ExpandsIntervalsAndKeepsGaps)
{
    struct Case {
        std::vector<int> seconds;
        int interval;
        std::size_t readings;
    } const cases[] = {
        {{0, 1, 2, 4, 5}, 1, 5},                   // a missing second is not filled
        {{0, 2, 4, 10, 12}, 2, 13},                // 6 s = three intervals: held
        {{0, 2, 4, 12, 14}, 2, 2 + 2 + 1 + 2 + 1}, // 8 s: a gap
        {{0, 4, 8, 20, 24}, 4, 25},
        {{0, 4, 8, 21, 25}, 4, 4 + 4 + 1 + 4 + 1},
    };
    for (const Case &c : cases) {
        QByteArray file = "time,spo2,pulse\n";
        for (const int s : c.seconds)
            file += "2026-03-14 22:30:" + QByteArray::number(s).rightJustified(2, '0') + "," +
                    QByteArray::number(70 + s) + ",60\n";
        const ImportedNight r = CsvImport::read(file);
        ASSERT_TRUE(r.ok) << ImportTexts::error(r).toStdString();
        EXPECT_EQ(r.intervalSeconds, c.interval);
        EXPECT_EQ(r.readings.size(), c.readings) << c.interval;
        // Every reading is at or after its source row and carries its value.
        for (const SampleRecord &s : r.readings) {
            int source = -1;
            for (const int t : c.seconds)
                if (t <= s.second)
                    source = t;
            EXPECT_EQ(s.spo2, 70 + source) << int(s.second);
        }
    }
}

TEST(CsvImport, ColumnsAndTimeFormatGiven)
{
    const auto columns = CsvImport::parseColumns(QStringLiteral("pulse=1,time=3,spo2=2"));
    ASSERT_TRUE(columns) << columns.detail().toStdString();
    EXPECT_EQ(columns.value(), (CsvImport::Columns{2, -1, 1, 0}));
    for (const char *bad : {"time=1", "time=0,spo2=2", "time=1,spo2=x", "time=1,time=2,spo2=3", "when=1,spo2=2"})
        EXPECT_EQ(CsvImport::parseColumns(QString::fromLatin1(bad)).maybeError(), ImportError::BadColumns) << bad;

    CsvImport::Options o;
    o.columns = columns.value();
    o.timeFormat = QStringLiteral("d.M.yy H:mm:ss");
    for (const QByteArray &head : {QByteArray("Puls;Saettigung;Zeitpunkt\n"), QByteArray()}) {
        const ImportedNight r = CsvImport::read(head + "61;97;1.3.26 2:05:09\n62;96;1.3.26 2:05:10\n", o);
        ASSERT_TRUE(r.ok) << ImportTexts::error(r).toStdString();
        EXPECT_EQ(shown(r.readings),
                  (std::vector<std::string>{"2026-03-01 02:05:09 97 61", "2026-03-01 02:05:10 96 62"}));
        EXPECT_EQ(r.refused, 0);
    }
    o.timeFormat = QStringLiteral("dd/MM HH:mm");
    EXPECT_FALSE(CsvImport::read("61;97;1.3.26 2:05:09\n", o).ok);

    // Without names or a choice, the file says nothing of its columns.
    const ImportedNight unknown = CsvImport::read("Zeit;Saettigung;Puls\n1.3.26 2:05:09;97;61\n");
    EXPECT_FALSE(unknown.ok);
    EXPECT_TRUE(unknown.layoutUnknown);
}

TEST(CsvImport, QuellixExportReadsBackTheSameReadings)
{
    std::vector<SampleRecord> night;
    for (int i = 0; i < 40; ++i) {
        const std::int64_t at = calendarSeconds(2026, 12, 31, 23, 59, 50) + i + (i >= 30 ? 600 : 0);
        SampleRecord r = ImportedReadings::recordAt(at);
        r.spo2 = std::uint8_t(i % 7 == 0 ? 0 : 85 + i % 15);
        r.pulseRate = std::uint8_t(i % 7 == 0 ? 255 : 40 + i);
        night.push_back(r);
    }
    const ImportedNight r = CsvImport::read(CsvExport::encode(night.data(), int(night.size())));
    ASSERT_TRUE(r.ok) << ImportTexts::error(r).toStdString();
    EXPECT_EQ(r.readings, night);
    EXPECT_EQ(r.refused, 0);
}

TEST(CsvImport, TimesWithAnOffsetBecomeLocal)
{
    const ImportedNight r =
        CsvImport::read("time,spo2,pulse\n2026-03-14T22:30:00+01:00,95,60\n2026-03-14T21:30:01Z,95,60\n");
    ASSERT_TRUE(r.ok) << ImportTexts::error(r).toStdString();
    ASSERT_EQ(r.readings.size(), 2u);
    const QDateTime local = QDateTime(QDate(2026, 3, 14), QTime(21, 30, 0), QTimeZone::utc()).toLocalTime();
    const SampleRecord &first = r.readings.front();
    EXPECT_EQ(
        QDateTime(QDate(2000 + first.year, first.month, first.day), QTime(first.hour, first.minute, first.second)),
        local.toLocalTime());
    EXPECT_TRUE(r.offsetsConverted);
}

TEST(TimePattern, ParsesAndRefuses)
{
    struct Case {
        const char *pattern;
        const char *text;
        bool ok;
        std::int64_t seconds;
    } const cases[] = {
        {"hh:mm:ssAP MMM d, yyyy", "12:00:00am Feb 29, 2028", true, calendarSeconds(2028, 2, 29, 0, 0, 0)},
        {"hh:mm:ssAP MMM d, yyyy", "12:00:00PM February 28, 2027", true, calendarSeconds(2027, 2, 28, 12, 0, 0)},
        {"hh:mm:ssAP MMM d, yyyy", "13:00:00PM Feb 28, 2027", false, 0},
        {"dd/MM/yyyy HH:mm:ss", "29/02/2027 00:00:00", false, 0},
        {"dd/MM/yyyy HH:mm:ss", "31/12/1999 23:59:59", false, 0},
        {"dd/MM/yyyy HH:mm:ss", "01/01/2000 24:00:00", false, 0},
        {"dd/MM/yyyy HH:mm:ss", "01/01/2000 10:00:00 x", false, 0},
        // The fixed-width reading and the general one agree.
        {"dd/MM/yyyy HH:mm:ss", "1/1/2026   22:30:00", true, calendarSeconds(2026, 1, 1, 22, 30, 0)},
        {"dd.MM.yy HH:mm:ss", "29.02.28 02:05:09", true, calendarSeconds(2028, 2, 29, 2, 5, 9)},
        {"dd.MM.yy HH:mm:ss", "29.02.27 02:05:09", false, 0},
        {"yyyy-MM-ddTHH:mm:ss", "2026-03-14T22:3a:00", false, 0},
        {"yyyy-MM-dd'T'HH:mm:ss.zzz", "2026-03-14T22:30:00.250", true, calendarSeconds(2026, 3, 14, 22, 30, 0)},
    };
    for (const Case &c : cases) {
        const auto p = TimePattern::compile(QString::fromLatin1(c.pattern));
        ASSERT_TRUE(p) << p.detail().toStdString();
        const auto parsed = p.value().parse(c.text);
        EXPECT_EQ(parsed.has_value(), c.ok) << c.text;
        if (parsed && c.ok) {
            EXPECT_EQ(parsed->seconds, c.seconds) << c.text;
        }
    }
    const std::pair<const char *, ImportError> bad[] = {
        {"HH:mm:ss", ImportError::TimeFormatIncomplete},
        {"dd/MM/yyyy hh:mm", ImportError::TimeFormatTwelveHour},
        {"dd/MM/yyyy HH:mm:ss 'x", ImportError::TimeFormatUnclosedQuote},
        {"dd/MM/yyyy HH:mm Q", ImportError::TimeFormatUnknownLetters},
    };
    for (const auto &[pattern, error] : bad)
        EXPECT_EQ(TimePattern::compile(QString::fromLatin1(pattern)).maybeError(), error) << pattern;
}

// Rows read with a memo of the last one give what each gives alone, as the
// date, the length of the time or its spaces change from row to row.
TEST(TimePattern, MemoOfTheLastRowChangesNoResult)
{
    const struct {
        const char *pattern;
        std::vector<const char *> rows;
    } cases[] = {
        {"hh:mm:ss AP MMM d, yyyy",
         {"08:48:26PM Nov 27, 2025", "08:48:27PM Nov 27, 2025", "8:48:28PM Nov 27, 2025", "8:48:29PM Nov 27, 2025",
          "18:48:29PM Nov 27, 2025", "11:59:59PM Nov 27, 2025", "12:00:00AM Nov 28, 2025", "12:00:01 AM Nov 28, 2025",
          "12:00:02AM Nov 28, 2025", "12:00:0xAM Nov 28, 2025", "12:00:03AM Nov 28, 2025+01:00",
          "12:00:04AM Nov 28, 2025", "12:00:05PX Nov 28, 2025", "1:00:05AM Nov 28, 2025", "11:0:06AM Nov 28, 2025",
          "11:00:07AM Nov 28, 2025", "1:00:08 AM Nov 28, 2025"}},
        {"H:mm:ss dd/MM/yyyy",
         {"9:05:01 01/02/2026", "9:05:02 01/02/2026", "10:05:03 01/02/2026", "10:5:04 01/02/2026",
          "10:05:05  01/02/2026", "10:05:06 01/02/2026", "1:05:07 01/02/2026", "105:07 01/02/2026"}},
    };
    for (const auto &c : cases) {
        const TimePattern p = TimePattern::compile(QString::fromLatin1(c.pattern)).value();
        TimePattern::Memo memo;
        bool fixedPlaces = false;
        for (const char *row : c.rows) {
            const auto alone = p.parse(row);
            const auto remembered = p.parse(row, &memo);
            ASSERT_EQ(remembered.has_value(), alone.has_value()) << row;
            if (alone) {
                EXPECT_EQ(remembered->seconds, alone->seconds) << row;
                EXPECT_EQ(remembered->hadOffset, alone->hadOffset) << row;
            }
            fixedPlaces = fixedPlaces || memo.before.length > 0;
        }
        EXPECT_TRUE(memo.valid) << c.pattern;
        EXPECT_TRUE(fixedPlaces) << c.pattern << ": the rows were never read at fixed places";
    }
    // A pattern turned round reads its fields by their new meaning.
    const auto swapped = TimePattern::compile(QStringLiteral("dd/MM/yyyy HH:mm:ss")).value().dayMonthSwapped();
    ASSERT_TRUE(swapped);
    const auto may = swapped->parse("05/11/2025 22:00:00");
    ASSERT_TRUE(may);
    EXPECT_EQ(may->seconds, calendarSeconds(2025, 5, 11, 22, 0, 0));
}

} // namespace

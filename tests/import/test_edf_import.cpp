// SPDX-License-Identifier: GPL-3.0-or-later
// EDF and EDF+ files made by a small writer of the test's own, read back.
#include "import/EdfImport.h"
#include "import/TimePattern.h"
#include "interop/EdfExport.h"
#include "texts/ImportTexts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace
{

struct EdfSignal {
    std::string label;
    std::string dimension;
    double physicalMin = 0;
    double physicalMax = 0;
    int digitalMin = 0;
    int digitalMax = 0;
    int samples = 1; // per record
    std::function<int(int record, int sample)> digital;
};

struct EdfFile {
    std::string patient = "X";
    std::string recording = "X";
    std::string date = "14.03.26";
    std::string time = "22.30.00";
    std::string reserved;
    double duration = 1;
    int records = 0;
    std::vector<EdfSignal> signalList;
    std::vector<double> onsets; // EDF+D: one per record, in an annotations signal
};

QByteArray field(const std::string &text, int width)
{
    return QByteArray::fromStdString(text).leftJustified(width, ' ', true);
}

QByteArray number(double v)
{
    return QByteArray::number(v, 'g', 8);
}

QByteArray writeEdf(const EdfFile &f)
{
    std::vector<EdfSignal> all = f.signalList;
    if (!f.onsets.empty())
        all.push_back({"EDF Annotations", "", -1, 1, -32768, 32767, 30, nullptr});
    const int n = int(all.size());
    QByteArray out = field("0", 8) + field(f.patient, 80) + field(f.recording, 80) + field(f.date, 8) +
                     field(f.time, 8) + field(std::to_string(256 * (n + 1)), 8) + field(f.reserved, 44) +
                     field(std::to_string(f.records), 8) + field(number(f.duration).toStdString(), 8) +
                     field(std::to_string(n), 4);
    auto each = [&](int width, const std::function<std::string(const EdfSignal &)> &text) {
        for (const EdfSignal &s : all)
            out += field(text(s), width);
    };
    each(16, [](const EdfSignal &s) { return s.label; });
    each(80, [](const EdfSignal &) { return std::string(); });
    each(8, [](const EdfSignal &s) { return s.dimension; });
    each(8, [](const EdfSignal &s) { return number(s.physicalMin).toStdString(); });
    each(8, [](const EdfSignal &s) { return number(s.physicalMax).toStdString(); });
    each(8, [](const EdfSignal &s) { return std::to_string(s.digitalMin); });
    each(8, [](const EdfSignal &s) { return std::to_string(s.digitalMax); });
    each(80, [](const EdfSignal &) { return std::string(); });
    each(8, [](const EdfSignal &s) { return std::to_string(s.samples); });
    each(32, [](const EdfSignal &) { return std::string(); });
    for (int r = 0; r < f.records; ++r) {
        for (const EdfSignal &s : all) {
            if (!s.digital) {
                QByteArray tal = "+" + number(f.onsets[std::size_t(r)]) + "\x14\x14";
                tal.append('\0');
                out += tal.leftJustified(2 * s.samples, '\0', true);
                continue;
            }
            for (int i = 0; i < s.samples; ++i) {
                const int v = s.digital(r, i);
                out.append(char(v & 0xFF));
                out.append(char((v >> 8) & 0xFF));
            }
        }
    }
    return out;
}

std::vector<std::string> shown(const std::vector<SampleRecord> &readings)
{
    std::vector<std::string> out;
    for (const SampleRecord &s : readings) {
        char line[64];
        std::snprintf(line, sizeof line, "%02d:%02d:%02d %d %d", s.hour, s.minute, s.second, s.spo2, s.pulseRate);
        out.emplace_back(line);
    }
    return out;
}

// SpO2 in tenths of a percent, pulse in hundredths, both changing with every
// sample, so only the last sample of each second gives the expected value.
struct RateCase {
    const char *name;
    int samplesPerRecord;
    double duration;
    const char *spo2Label;
    const char *pulseLabel;
};

void PrintTo(const RateCase &c, std::ostream *os)
{
    *os << c.name;
}

class EdfRate : public testing::TestWithParam<RateCase>
{
};

TEST_P(EdfRate, TakesEachSecondsLastSample)
{
    const RateCase &c = GetParam();
    const int perSecond = int(c.samplesPerRecord / c.duration);
    auto spo2At = [&](long k) { return 90 + int(k % 10); }; // k-th sample of the file
    auto pulseAt = [&](long k) { return 60.25 + double(k % 50); };
    EdfFile f;
    f.reserved = "EDF+C";
    f.duration = c.duration;
    f.records = 3;
    f.signalList = {
        {"Pleth", "%", 0, 100, 0, 1000, 256, [](int r, int i) { return (r * 7 + i) % 1000; }},
        {c.spo2Label, "%", 0, 100, 0, 1000, c.samplesPerRecord,
         [&](int r, int i) { return spo2At(long(r) * c.samplesPerRecord + i) * 10; }},
        {c.pulseLabel, "bpm", 0, 250, -25000, 0, c.samplesPerRecord,
         [&](int r, int i) { return int(std::lround(pulseAt(long(r) * c.samplesPerRecord + i) * 100)) - 25000; }},
    };
    const ImportedNight r = EdfImport::read(writeEdf(f));
    ASSERT_TRUE(r.ok) << ImportTexts::error(r).toStdString();
    std::vector<std::string> expected;
    const int seconds = int(f.records * c.duration);
    for (int s = 0; s < seconds; ++s) {
        const long last = long(s + 1) * perSecond - 1;
        char line[64];
        std::snprintf(line, sizeof line, "22:30:%02d %d %d", s, spo2At(last), int(std::lround(pulseAt(last))));
        expected.emplace_back(line);
    }
    EXPECT_EQ(shown(r.readings), expected);
    EXPECT_EQ(ImportTexts::summary(r).toStdString(), "3 records read, 0 refused");
}

INSTANTIATE_TEST_SUITE_P(Rates, EdfRate,
                         testing::Values(RateCase{"FourHertz", 4, 1, "SpO2", "Pulse"},
                                         RateCase{"TwoHundredFiftySixHertz", 256, 1, "sao2", "PR"},
                                         RateCase{"FourHertzTenSecondRecords", 40, 10, "SPO2 finger", "HR"},
                                         RateCase{"OneHertzByDimension", 2, 2, "Saturation", "Rate"}),
                         [](const testing::TestParamInfo<RateCase> &i) { return std::string(i.param.name); });

// One reading every four seconds holds like a CSV file's.
TEST(EdfImport, SlowSignalHeldUntilTheNext)
{
    EdfFile f;
    f.duration = 4;
    f.records = 3;
    f.signalList = {{"SpO2", "%", 0, 255, 0, 255, 1, [](int r, int) { return 90 + r; }},
                    {"Pulse", "bpm", 0, 255, 0, 255, 1, [](int r, int) { return 60 + r; }}};
    const ImportedNight r = EdfImport::read(writeEdf(f));
    ASSERT_TRUE(r.ok) << ImportTexts::error(r).toStdString();
    EXPECT_EQ(r.intervalSeconds, 4);
    EXPECT_EQ(shown(r.readings), (std::vector<std::string>{"22:30:00 90 60", "22:30:01 90 60", "22:30:02 90 60",
                                                           "22:30:03 90 60", "22:30:04 91 61", "22:30:05 91 61",
                                                           "22:30:06 91 61", "22:30:07 91 61", "22:30:08 92 62"}));
}

TEST(EdfImport, DiscontinuousRecordsAtTheirTimes)
{
    EdfFile f;
    f.reserved = "EDF+D";
    f.patient = "MCH-0234567 F 02-MAY-1951 Anna_Maria_Lopez";
    f.recording = "Startdate 14-MAR-2091 X X X";
    f.date = "14.03.yy";
    f.records = 5;
    f.onsets = {0, 1, 10.5, 9, 20};
    f.signalList = {{"SpO2", "%", 0, 255, 0, 255, 2, [](int r, int i) { return 90 + r * 2 + i; }},
                    {"Pulse Rate", "bpm", 0, 255, 0, 255, 1, [](int r, int) { return r == 4 ? 255 : 60 + r; }}};
    const ImportedNight r = EdfImport::read(writeEdf(f));
    ASSERT_TRUE(r.ok) << ImportTexts::error(r).toStdString();
    // The record at 10.5 s spans two seconds; the one at 9 s goes back and is refused.
    EXPECT_EQ(shown(r.readings), (std::vector<std::string>{"22:30:00 91 60", "22:30:01 93 61", "22:30:10 94 62",
                                                           "22:30:11 95 255", "22:30:20 99 255"}));
    EXPECT_EQ(r.readings.front().year, 91);
    EXPECT_EQ(r.patientName.toStdString(), "Anna Maria Lopez");
    EXPECT_EQ(ImportTexts::summary(r).toStdString(),
              "4 records read, 1 refused: record 4: starts before the record above ends");

    // Plain EDF has no patient subfields: the text is no name.
    f.reserved.clear();
    f.onsets.clear();
    f.date = "14.03.26";
    EXPECT_TRUE(EdfImport::read(writeEdf(f)).patientName.isEmpty());
}

TEST(EdfImport, QuellixExportReadsBackTheSameReadings)
{
    for (const int jump : {0, 1, 3600}) {
        std::vector<SampleRecord> night;
        for (int i = 0; i < 30; ++i) {
            SampleRecord s =
                ImportedReadings::recordAt(calendarSeconds(2026, 2, 28, 23, 59, 45) + i + (i >= 20 ? jump : 0));
            s.spo2 = std::uint8_t(i % 9 == 0 ? 0 : 80 + i % 21);
            s.pulseRate = std::uint8_t(i % 9 == 0 ? 255 : 30 + i * 7);
            night.push_back(s);
        }
        PatientRecord patient;
        patient.idNumber = 3;
        const ImportedNight r = EdfImport::read(EdfExport::encode(night.data(), int(night.size()), patient));
        ASSERT_TRUE(r.ok) << ImportTexts::error(r).toStdString();
        EXPECT_EQ(r.readings, night) << jump;
        EXPECT_EQ(r.refused, 0);
    }
}

TEST(EdfImport, RefusesWhatIsNoNight)
{
    EdfFile good;
    good.records = 4;
    good.signalList = {{"SpO2", "%", 0, 255, 0, 255, 1, [](int, int) { return 95; }}};
    const QByteArray file = writeEdf(good);
    struct Case {
        const char *name;
        QByteArray bytes;
        const char *error;
    };
    EdfFile noSignal = good;
    noSignal.signalList[0].label = "EEG Fpz-Cz";
    noSignal.signalList[0].dimension = "uV";
    EdfFile before2000 = good;
    before2000.date = "31.12.99";
    EdfFile noRecords = good;
    noRecords.records = 0;
    EdfFile zeroDuration = good;
    zeroDuration.duration = 0;
    const Case cases[] = {
        {"short", file.left(200), "not an EDF file: shorter than its 256-byte header"},
        {"version", "1" + file.mid(1), "not an EDF file: the version is not 0"},
        {"header size", file.left(184) + field("999", 8) + file.mid(192),
         "not an EDF file: the header's sizes do not agree"},
        {"no signal", writeEdf(noSignal), "no SpO2 or pulse signal in the file"},
        {"before 2000", writeEdf(before2000), "the start 31.12.99 22.30.00 is not a date and time from 2000 on"},
        {"no duration", writeEdf(zeroDuration), "the data records have no usable duration"},
        {"no records", writeEdf(noRecords), "no data records"},
        {"records missing", file.left(512), "no valid record: record 1: missing, the file ends before it"},
    };
    for (const Case &c : cases) {
        const ImportedNight r = EdfImport::read(c.bytes);
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_EQ(ImportTexts::error(r).toStdString(), c.error) << c.name;
    }
    // A file cut short keeps what it has and counts the records it lost.
    const ImportedNight cut = EdfImport::read(file.left(file.size() - 1));
    ASSERT_TRUE(cut.ok) << ImportTexts::error(cut).toStdString();
    EXPECT_EQ(cut.readings.size(), 3u);
    EXPECT_EQ(ImportTexts::summary(cut).toStdString(),
              "3 records read, 1 refused: record 4: missing, the file ends before it");
}

} // namespace

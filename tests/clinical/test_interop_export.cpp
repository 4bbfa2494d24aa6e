// SPDX-License-Identifier: GPL-3.0-or-later
// CSV and EDF+ files of a recording, on disk: exact CSV rows, EDF+ headers
// byte by byte, and the EDF+ file read back by an independent reader (MNE).
#include "interop/CsvExport.h"
#include "interop/EdfExport.h"
#include "interop/InteropExport.h"
#include "interop/ReadingTime.h"
#include "model/RecordStore.h"

#include "test_env.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace
{

SampleRecord At(const QDateTime &t, int spo2, int pulse, int id = 7)
{
    SampleRecord s;
    s.id = std::uint8_t(id);
    s.year = std::uint8_t(t.date().year() - 2000);
    s.month = std::uint8_t(t.date().month());
    s.day = std::uint8_t(t.date().day());
    s.hour = std::uint8_t(t.time().hour());
    s.minute = std::uint8_t(t.time().minute());
    s.second = std::uint8_t(t.time().second());
    s.spo2 = std::uint8_t(spo2);
    s.pulseRate = std::uint8_t(pulse);
    return s;
}

const QDateTime kStart(QDate(2026, 3, 14), QTime(22, 30, 0));

// count readings one second apart from start, SpO2 90 + i % 11, pulse 50 + i % 97.
std::vector<SampleRecord> Seconds(const QDateTime &start, int count, int offset = 0)
{
    std::vector<SampleRecord> v;
    for (int i = 0; i < count; ++i)
        v.push_back(At(start.addSecs(i), 90 + (offset + i) % 11, 50 + (offset + i) % 97));
    return v;
}

QString TempPath(const QString &name)
{
    return testenv::root() + QLatin1Char('/') + name;
}

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray Header(const QByteArray &edf, int offset, int size)
{
    return edf.mid(offset, size);
}

PatientRecord Patient(const QString &name, int gender, int id = 7)
{
    PatientRecord p;
    p.idNumber = id;
    PatientRecord::setText(p.name, name);
    p.gender = gender;
    p.age = 54;
    return p;
}

struct MneRead {
    QJsonObject result;     // empty when no interpreter could read the file
    bool mneMissing = true; // no interpreter has MNE at all
    QString why;
};

// The reader's view of an EDF file.
MneRead ReadWithMne(const QString &path)
{
    MneRead read;
    // Debian's interpreter, where python3-mne is installed, first; another one
    // on PATH (a virtual environment) may lack it.
    for (const QString &python : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess p;
        p.start(python, {QStringLiteral(QUELLIX_TEST_DATA_DIR "/read_edf.py"), path});
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit) {
            read.why += python + QStringLiteral(": did not run\n");
            continue;
        }
        const QString err = QString::fromUtf8(p.readAllStandardError());
        if (p.exitCode() != 0) {
            read.why += python + QStringLiteral(": ") + err.right(600) + QLatin1Char('\n');
            if (!err.contains(QLatin1String("No module named 'mne'")))
                read.mneMissing = false;
            continue;
        }
        read.mneMissing = false;
        read.result = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
        break;
    }
    return read;
}

// An EDF+ file read back by rules of the format alone, keeping what MNE drops:
// each data record's time-keeping onset, its two values, and the other
// annotations with their onsets.
struct EdfRead {
    QByteArray kind; // "EDF+C" or "EDF+D"
    std::vector<qint64> onsets;
    std::vector<int> spo2, pulse;
    std::vector<std::pair<qint64, QByteArray>> notes;
};

EdfRead ReadEdfRecords(const QByteArray &edf)
{
    EdfRead r;
    const auto number = [&edf](int offset, int size) { return edf.mid(offset, size).trimmed().toInt(); };
    r.kind = edf.mid(192, 44).trimmed();
    const int headerBytes = number(184, 8);
    const int records = number(236, 8);
    const int signalCount = number(252, 4);
    std::vector<int> samples;
    int annotationSignal = -1;
    for (int s = 0; s < signalCount; ++s) {
        samples.push_back(number(256 + signalCount * 216 + s * 8, 8));
        if (edf.mid(256 + s * 16, 16).trimmed() == "EDF Annotations")
            annotationSignal = s;
    }
    int at = headerBytes;
    for (int record = 0; record < records; ++record) {
        for (int s = 0; s < signalCount; ++s) {
            const QByteArray bytes = edf.mid(at, 2 * samples[std::size_t(s)]);
            at += 2 * samples[std::size_t(s)];
            if (s != annotationSignal) {
                const int value = qint16(quint8(bytes[0]) | quint8(bytes[1]) << 8);
                (s == 0 ? r.spo2 : r.pulse).push_back(value);
                continue;
            }
            // TALs: onset [0x15 duration] 0x14 text 0x14 ... 0x00; the first,
            // with empty text, keeps the record's time.
            bool first = true;
            for (const QByteArray &tal : bytes.split('\0')) {
                if (tal.isEmpty())
                    continue;
                const QList<QByteArray> parts = tal.split('\x14');
                const qint64 onset = parts[0].split('\x15')[0].toLongLong();
                if (first)
                    r.onsets.push_back(onset);
                else
                    r.notes.emplace_back(onset, parts.value(1));
                first = false;
            }
        }
    }
    return r;
}

} // namespace

TEST(CsvExport, RowsAreRfc4180WithLocalIsoTimes)
{
    std::vector<SampleRecord> r = {At(QDateTime(QDate(2010, 7, 21), QTime(9, 5, 3)), 97, 64),
                                   At(QDateTime(QDate(2010, 7, 21), QTime(9, 5, 4)), 100, 250),
                                   At(QDateTime(QDate(2010, 7, 21), QTime(9, 5, 5)), 0, 0)};
    EXPECT_EQ(CsvExport::encode(r.data(), 3), QByteArray("time,spo2,pulse_rate\r\n"
                                                         "2010-07-21T09:05:03,97,64\r\n"
                                                         "2010-07-21T09:05:04,100,250\r\n"
                                                         "2010-07-21T09:05:05,0,0\r\n"));
    EXPECT_EQ(CsvExport::encode(nullptr, 0), QByteArray("time,spo2,pulse_rate\r\n"));
    // A damaged date from the device is written as it is, never cut to two digits.
    SampleRecord damaged = r[0];
    damaged.month = 0;
    damaged.hour = 123;
    EXPECT_EQ(CsvExport::encode(&damaged, 1), QByteArray("time,spo2,pulse_rate\r\n2010-00-21T123:05:03,97,64\r\n"));

    // A whole night: every line ends in CR LF, has three fields and a time that parses.
    const auto night = Seconds(kStart, 30000);
    const QByteArray csv = CsvExport::encode(night.data(), int(night.size()));
    const QList<QByteArray> lines = csv.split('\n');
    ASSERT_EQ(lines.size(), 30000 + 2);
    EXPECT_TRUE(lines.last().isEmpty());
    for (int i = 1; i <= 30000; i += 997) {
        const QByteArray &line = lines[i];
        ASSERT_TRUE(line.endsWith('\r')) << i;
        const QList<QByteArray> fields = line.chopped(1).split(',');
        ASSERT_EQ(fields.size(), 3);
        EXPECT_EQ(QDateTime::fromString(QString::fromLatin1(fields[0]), Qt::ISODate), kStart.addSecs(i - 1));
        EXPECT_EQ(fields[1].toInt(), 90 + (i - 1) % 11);
        EXPECT_EQ(fields[2].toInt(), 50 + (i - 1) % 97);
    }
    EXPECT_EQ(csv.count('\n'), csv.count("\r\n"));
}

TEST(InteropExport, PicksTheWriterByExtensionAndReportsFailures)
{
    EXPECT_EQ(InteropExport::formatForPath(QStringLiteral("/a/night.csv")), InteropExport::Format::Csv);
    EXPECT_EQ(InteropExport::formatForPath(QStringLiteral("/a/NIGHT.CSV")), InteropExport::Format::Csv);
    EXPECT_EQ(InteropExport::formatForPath(QStringLiteral("/a/night.Edf")), InteropExport::Format::Edf);
    EXPECT_EQ(InteropExport::formatForPath(QStringLiteral("/a/night.dat")), InteropExport::Format::None);
    EXPECT_EQ(InteropExport::formatForPath(QStringLiteral("/a/csv")), InteropExport::Format::None);
    EXPECT_EQ(InteropExport::formatForPath(QStringLiteral("/a.edf/night")), InteropExport::Format::None);

    RecordStore store;
    store.currentSamples = Seconds(kStart, 100);
    store.currentPatient = Patient(QStringLiteral("Ann Lee"), 1);

    const QString csv = TempPath(QStringLiteral("Night.CSV"));
    EXPECT_TRUE(InteropExport::write(csv, store));
    EXPECT_EQ(ReadAll(csv), CsvExport::encode(store.currentSamples.data(), 100));
    const QString edf = TempPath(QStringLiteral("night.edf"));
    EXPECT_TRUE(InteropExport::write(edf, store));
    EXPECT_EQ(ReadAll(edf), EdfExport::encode(store.currentSamples.data(), 100, store.currentPatient));

    const QString txt = TempPath(QStringLiteral("night.txt"));
    EXPECT_EQ(InteropExport::write(txt, store).maybeError(), FileError::UnknownFormat);
    EXPECT_FALSE(QFile::exists(txt));

    const FileResult refused = InteropExport::write(TempPath(QStringLiteral("no/such/folder/n.csv")), store);
    EXPECT_EQ(refused.maybeError(), FileError::CannotCreate);
    EXPECT_FALSE(refused.detail().isEmpty());
    // A folder in the way of the file: nothing is written and it is said.
    QDir().mkpath(TempPath(QStringLiteral("taken.edf")));
    EXPECT_EQ(InteropExport::write(TempPath(QStringLiteral("taken.edf")), store).maybeError(), FileError::CannotCreate);

    // An EDF file needs a start time; an existing file stays as it was.
    RecordStore empty;
    EXPECT_EQ(InteropExport::write(edf, empty).maybeError(), FileError::NoReadings);
    EXPECT_EQ(ReadAll(edf), EdfExport::encode(store.currentSamples.data(), 100, store.currentPatient));
    EXPECT_TRUE(InteropExport::write(csv, empty));
    EXPECT_EQ(ReadAll(csv), QByteArray("time,spo2,pulse_rate\r\n"));
}

TEST(EdfExport, HeaderFieldsAndRecords)
{
    const auto night = Seconds(kStart, 50);
    const QByteArray edf = EdfExport::encode(night.data(), 50, Patient(QStringLiteral("Ann Lee"), 1));
    ASSERT_GE(edf.size(), 1024);
    EXPECT_EQ(Header(edf, 0, 8), QByteArray("0       "));
    EXPECT_EQ(Header(edf, 8, 80).trimmed(), QByteArray("7 F X Ann_Lee"));
    EXPECT_EQ(Header(edf, 88, 80).trimmed(), QByteArray("Startdate 14-MAR-2026 X X X"));
    EXPECT_EQ(Header(edf, 168, 8), QByteArray("14.03.26"));
    EXPECT_EQ(Header(edf, 176, 8), QByteArray("22.30.00"));
    EXPECT_EQ(Header(edf, 184, 8).trimmed(), QByteArray("1024"));
    EXPECT_EQ(Header(edf, 192, 44).trimmed(), QByteArray("EDF+C"));
    EXPECT_EQ(Header(edf, 236, 8).trimmed(), QByteArray("50"));
    EXPECT_EQ(Header(edf, 244, 8).trimmed(), QByteArray("1"));
    EXPECT_EQ(Header(edf, 252, 4).trimmed(), QByteArray("3"));
    EXPECT_EQ(Header(edf, 256 + 32, 16).trimmed(), QByteArray("EDF Annotations"));
    // Every header byte is printable ASCII.
    for (int i = 0; i < 1024; ++i)
        ASSERT_TRUE(edf[i] >= 32 && edf[i] <= 126) << i;

    // Records of one second: SpO2, pulse, then the time-keeping annotation.
    // Samples per record: after labels, transducers, five 8-byte fields and prefiltering.
    const int perRecord = 256 + 3 * (16 + 80 + 5 * 8 + 80);
    EXPECT_EQ(Header(edf, perRecord, 16), QByteArray("1       1       "));
    const int annotationSamples = Header(edf, perRecord + 16, 8).trimmed().toInt();
    const int recordBytes = 4 + 2 * annotationSamples;
    ASSERT_EQ(edf.size(), 1024 + 50 * recordBytes);
    const QByteArray record49 = edf.mid(1024 + 49 * recordBytes, recordBytes);
    EXPECT_EQ(quint8(record49[0]), night[49].spo2);
    EXPECT_EQ(record49[1], 0);
    EXPECT_EQ(quint8(record49[2]), night[49].pulseRate);
    EXPECT_TRUE(record49.mid(4).startsWith(QByteArray("+49\x14\x14", 5)));

    EXPECT_TRUE(EdfExport::encode(nullptr, 0, PatientRecord{}).isEmpty());
}

TEST(EdfExport, PatientSubfieldsAreSafeAscii)
{
    auto id = [](const PatientRecord &p) { return EdfExport::patientIdentification(p).trimmed(); };
    EXPECT_EQ(id(Patient(QStringLiteral("H\u00e9l\u00e8ne  Dupont-Fran\u00e7ois"), 1)),
              QByteArray("7 F X H\u0065l\u0065ne__Dupont-Francois"));
    EXPECT_EQ(id(Patient(QStringLiteral("\u5f20\u4f1f"), 0)), QByteArray("7 M X X"));
    // Nothing stored for the ID: sex unknown rather than the record's zero ("male").
    PatientRecord none;
    none.idNumber = 12;
    EXPECT_EQ(id(none), QByteArray("12 X X X"));
    EXPECT_EQ(id(PatientRecord{}), QByteArray("X X X X"));
    // Control characters and tabs cannot break the header; it stays 80 bytes.
    const QByteArray tricky = EdfExport::patientIdentification(
        Patient(QStringLiteral("A\tB\nC\u0000D") + QString(40, QLatin1Char('x')), 0, 128));
    EXPECT_EQ(tricky.size(), 80);
    EXPECT_TRUE(tricky.startsWith("128 M X ABC")) << tricky.constData();
    for (char c : tricky)
        EXPECT_TRUE(c >= 32 && c <= 126);
}

TEST(EdfExport, IndependentReaderLoadsValuesStartAndTimeJumps)
{
    // One hour, then the clock jumps an hour ahead, then back by ten seconds.
    std::vector<SampleRecord> night = Seconds(kStart, 3600);
    const auto later = Seconds(kStart.addSecs(7200), 600, 3600);
    night.insert(night.end(), later.begin(), later.end());
    const auto back = Seconds(kStart.addSecs(7790), 100, 4200);
    night.insert(night.end(), back.begin(), back.end());
    const int count = int(night.size());

    RecordStore store;
    store.currentSamples = night;
    store.currentPatient = Patient(QStringLiteral("Ann Lee"), 1);
    const QString path = TempPath(QStringLiteral("jumps.edf"));
    ASSERT_TRUE(InteropExport::write(path, store));

    const MneRead read = ReadWithMne(path);
    if (read.mneMissing)
        GTEST_SKIP() << "python3-mne is not installed: " << read.why.toStdString();
    const QJsonObject &r = read.result;
    ASSERT_FALSE(r.isEmpty()) << read.why.toStdString();

    EXPECT_EQ(r.value("channels").toArray(), (QJsonArray{"SpO2", "Pulse Rate"}));
    EXPECT_DOUBLE_EQ(r.value("sfreq").toDouble(), 1.0);
    EXPECT_EQ(r.value("n_times").toInt(), count);
    EXPECT_EQ(r.value("meas_date").toString(), QStringLiteral("2026-03-14T22:30:00"));
    const QJsonObject subject = r.value("subject").toObject();
    EXPECT_EQ(subject.value("id").toString(), QStringLiteral("7"));
    EXPECT_EQ(subject.value("sex").toString(), QStringLiteral("F"));
    EXPECT_EQ(subject.value("name").toString(), QStringLiteral("Ann_Lee"));
    const QJsonArray data = r.value("data").toArray();
    ASSERT_EQ(data.size(), 2);
    const QJsonArray spo2 = data.at(0).toArray();
    const QJsonArray pulse = data.at(1).toArray();
    ASSERT_EQ(spo2.size(), count);
    ASSERT_EQ(pulse.size(), count);
    for (int i = 0; i < count; ++i) {
        ASSERT_DOUBLE_EQ(spo2.at(i).toDouble(), night[std::size_t(i)].spo2) << i;
        ASSERT_DOUBLE_EQ(pulse.at(i).toDouble(), night[std::size_t(i)].pulseRate) << i;
    }
    const QJsonArray annotations = r.value("annotations").toArray();
    ASSERT_EQ(annotations.size(), 2) << QJsonDocument(annotations).toJson().toStdString();
    EXPECT_DOUBLE_EQ(annotations.at(0)["onset"].toDouble(), 3600.0);
    EXPECT_EQ(annotations.at(0)["description"].toString(), QStringLiteral("time jump"));
    EXPECT_DOUBLE_EQ(annotations.at(1)["onset"].toDouble(), 4200.0);
    EXPECT_EQ(annotations.at(1)["description"].toString(), QStringLiteral("time jump"));
}

// Readings whose clock only jumps forward keep every reading's real time as
// its record's onset (EDF+D); without jumps, or with the clock set back, the
// records follow one second apart (EDF+C) and a jump is only noted.
TEST(EdfExport, EveryRecordKeepsItsReadingsTime)
{
    const QDateTime later = kStart.addSecs(7200);
    const QDateTime farAway(QDate(2255, 12, 31), QTime(23, 59, 58));
    const struct {
        const char *what;
        std::vector<QDateTime> times;
        QByteArray kind;
    } cases[] = {
        {"continuous", {kStart, kStart.addSecs(1), kStart.addSecs(2)}, "EDF+C"},
        {"forward", {kStart, kStart.addSecs(1), later, later.addSecs(1), later.addDays(40), farAway}, "EDF+D"},
        {"set back", {kStart, kStart.addSecs(1), kStart.addSecs(-5), kStart.addSecs(-4)}, "EDF+C"},
        {"repeated", {kStart, kStart, kStart.addSecs(3)}, "EDF+C"},
    };
    for (const auto &c : cases) {
        std::vector<SampleRecord> night;
        for (std::size_t i = 0; i < c.times.size(); ++i)
            night.push_back(At(c.times[i], 80 + int(i), 40 + int(i)));
        const int count = int(night.size());
        const QString path = TempPath(QStringLiteral("times.edf"));
        RecordStore store;
        store.currentSamples = night;
        ASSERT_TRUE(InteropExport::write(path, store)) << c.what;
        const EdfRead r = ReadEdfRecords(ReadAll(path));
        EXPECT_EQ(r.kind, c.kind) << c.what;
        ASSERT_EQ(int(r.onsets.size()), count) << c.what;
        std::vector<std::pair<qint64, QByteArray>> jumps;
        for (int i = 0; i < count; ++i) {
            const qint64 real = kStart.secsTo(c.times[std::size_t(i)]);
            const qint64 onset = c.kind == "EDF+D" ? real : i;
            EXPECT_EQ(r.onsets[std::size_t(i)], onset) << c.what << " reading " << i;
            EXPECT_EQ(r.spo2[std::size_t(i)], 80 + i) << c.what;
            EXPECT_EQ(r.pulse[std::size_t(i)], 40 + i) << c.what;
            if (i > 0 && real != kStart.secsTo(c.times[std::size_t(i - 1)]) + 1)
                jumps.emplace_back(onset, "time jump");
        }
        EXPECT_EQ(r.notes, jumps) << c.what;
    }
}

// Files without a forward jump are written exactly as before EDF+D existed.
TEST(EdfExport, ContinuousFilesAreUnchanged)
{
    std::vector<SampleRecord> night = Seconds(kStart, 3600);
    const auto back = Seconds(kStart.addSecs(3000), 100, 4200);
    night.insert(night.end(), back.begin(), back.end());
    const PatientRecord patient = Patient(QStringLiteral("Ann Lee"), 1);
    const auto sha = [&](int count) {
        return QCryptographicHash::hash(EdfExport::encode(night.data(), count, patient), QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    };
    // SHA-256 prefixes of the files the EDF+C writer made before.
    EXPECT_EQ(sha(3600), QByteArray("4f6568cbece01a3a"));
    EXPECT_EQ(sha(int(night.size())), QByteArray("d472eadfec3f8a55")); // the clock set back
}

TEST(ReadingTime, OneSecondApartAcrossTheCalendar)
{
    const auto next = [](const QDateTime &t) { return followsByOneSecond(At(t, 95, 60), At(t.addSecs(1), 95, 60)); };
    for (const QDateTime &t :
         {QDateTime(QDate(2026, 3, 14), QTime(23, 59, 59)), QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)),
          QDateTime(QDate(2028, 2, 28), QTime(23, 59, 59)), QDateTime(QDate(2028, 2, 29), QTime(23, 59, 59)),
          QDateTime(QDate(2100, 2, 28), QTime(23, 59, 59)), QDateTime(QDate(2000, 1, 1), QTime(0, 0, 0))})
        EXPECT_TRUE(next(t)) << t.toString(Qt::ISODate).toStdString();
    const QDateTime t(QDate(2026, 3, 14), QTime(22, 30, 0));
    EXPECT_FALSE(followsByOneSecond(At(t, 95, 60), At(t, 95, 60)));
    EXPECT_FALSE(followsByOneSecond(At(t, 95, 60), At(t.addSecs(2), 95, 60)));
    EXPECT_FALSE(followsByOneSecond(At(t.addSecs(1), 95, 60), At(t, 95, 60)));
    EXPECT_FALSE(followsByOneSecond(At(t, 95, 60), At(t.addDays(1).addSecs(1), 95, 60)));
    EXPECT_EQ(readingSeconds(At(QDateTime(QDate(2000, 1, 2), QTime(0, 0, 1)), 95, 60)), 86401);
}

TEST(EdfExport, StartDatesEdfCannotWriteInTwoDigits)
{
    // After 2084 the header says "yy" and the recording field keeps the year.
    const auto late = Seconds(QDateTime(QDate(2090, 1, 2), QTime(3, 4, 5)), 3);
    const QByteArray edf = EdfExport::encode(late.data(), 3, PatientRecord{});
    EXPECT_EQ(Header(edf, 168, 8), QByteArray("02.01.yy"));
    EXPECT_EQ(Header(edf, 176, 8), QByteArray("03.04.05"));
    EXPECT_EQ(Header(edf, 88, 80).trimmed(), QByteArray("Startdate 02-JAN-2090 X X X"));

    // A damaged first date from the device: the recording field says the date is
    // unknown; the fixed header field takes the earliest date EDF can hold.
    std::vector<SampleRecord> damaged = Seconds(kStart, 3);
    damaged[0].month = 13;
    const QByteArray bad = EdfExport::encode(damaged.data(), 3, PatientRecord{});
    EXPECT_EQ(Header(bad, 88, 80).trimmed(), QByteArray("Startdate X X X X"));
    EXPECT_EQ(Header(bad, 168, 8), QByteArray("01.01.85"));
}

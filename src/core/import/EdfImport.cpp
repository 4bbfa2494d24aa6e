// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/EdfImport.h"

#include "import/TimePattern.h"

#include <QRegularExpression>
#include <QtEndian>

#include <cmath>
#include <limits>
#include <string_view>

namespace EdfImport
{

namespace
{

using ImportedReadings::failed;

constexpr int kMaxSignals = 512;
// A record larger than this is no oximeter's: 64 signals at 4 kHz for 10 s.
constexpr qint64 kMaxRecordBytes = 64 * 4096 * 10 * 2;
// EDF+D onsets past this many seconds (about 30 years) are not a night's.
constexpr double kMaxOnset = 1e9;

QByteArray fieldAt(const QByteArray &data, qsizetype at, int width)
{
    return data.mid(at, width).trimmed();
}

struct Signal {
    QByteArray label;
    QByteArray dimension;
    double physicalMin = 0;
    double physicalMax = 0;
    double digitalMin = 0;
    double digitalMax = 0;
    int samples = 0;
    qsizetype offset = 0; // bytes from the start of a record
};

enum class Kind { Other, Spo2, Pulse, Annotations };

Kind kindOf(const Signal &s)
{
    const QString label = QString::fromLatin1(s.label).toLower().simplified();
    if (label == QLatin1String("edf annotations"))
        return Kind::Annotations;
    if (label.contains(QLatin1String("pleth")))
        return Kind::Other;
    if (label.contains(QLatin1String("spo2")) || label.contains(QLatin1String("sao2")))
        return Kind::Spo2;
    const QStringList words = label.split(QRegularExpression(QStringLiteral("[ _\\-/]+")), Qt::SkipEmptyParts);
    if (label.contains(QLatin1String("pulse")) || label.contains(QLatin1String("heart rate")) ||
        words.contains(QLatin1String("pr")) || words.contains(QLatin1String("hr")))
        return Kind::Pulse;
    const QString dimension = QString::fromLatin1(s.dimension).toLower();
    if (dimension == QLatin1String("%"))
        return Kind::Spo2;
    if (dimension == QLatin1String("bpm") || dimension == QLatin1String("1/min") || dimension == QLatin1String("/min"))
        return Kind::Pulse;
    return Kind::Other;
}

bool toDouble(const QByteArray &text, double &v)
{
    bool ok = false;
    v = text.toDouble(&ok);
    return ok && std::isfinite(v);
}

// The onset of a record from its time-keeping annotation ("+12.5\x14\x14").
std::optional<double> recordOnset(const char *bytes, qsizetype size)
{
    const std::string_view s(bytes, std::size_t(size));
    const std::size_t end = s.find('\x14');
    if (end == std::string_view::npos || end < 2 || (s[0] != '+' && s[0] != '-'))
        return std::nullopt;
    double v = 0;
    if (!toDouble(QByteArray(bytes, qsizetype(end)), v))
        return std::nullopt;
    return v;
}

// Each second's last sample of one signal.
struct Point {
    std::int64_t seconds;
    std::uint8_t value;
};

void addPoint(std::vector<Point> &points, std::int64_t seconds, std::uint8_t value)
{
    if (!points.empty() && points.back().seconds == seconds)
        points.back().value = value;
    else
        points.push_back({seconds, value});
}

// A signal slower than one sample a second holds each value for up to three
// of its intervals, like the readings of a CSV file.
std::vector<Point> held(const std::vector<Point> &points, int interval)
{
    if (interval <= 1)
        return points;
    std::vector<Point> out;
    for (std::size_t i = 0; i < points.size(); ++i) {
        out.push_back(points[i]);
        const std::int64_t step = i + 1 < points.size() ? points[i + 1].seconds - points[i].seconds : 1;
        if (step <= 3 * interval)
            for (std::int64_t k = 1; k < step && std::int64_t(out.size()) <= ImportedReadings::kMaxReadings; ++k)
                out.push_back({points[i].seconds + k, points[i].value});
    }
    return out;
}

QString patientNameOf(const QByteArray &field)
{
    // EDF+: code, sex, birthdate, name; "X" for unknown, "_" for a space.
    const QList<QByteArray> parts = field.split(' ');
    if (parts.size() < 4 || parts[3] == "X")
        return {};
    QByteArray name = parts[3];
    name.replace('_', ' ');
    return QString::fromLatin1(name).trimmed();
}

} // namespace

ImportedNight read(const QByteArray &data)
{
    ImportedNight r;
    r.countsRecords = true;
    if (data.size() < 256)
        return failed(r, {ImportError::EdfTooShort});
    if (fieldAt(data, 0, 8) != "0")
        return failed(r, {ImportError::EdfNotVersion0});
    const QByteArray patient = fieldAt(data, 8, 80);
    const QByteArray recording = fieldAt(data, 88, 80);
    const QByteArray startDate = fieldAt(data, 168, 8);
    const QByteArray startTime = fieldAt(data, 176, 8);
    const QByteArray reserved = fieldAt(data, 192, 44);
    const bool plus = reserved.startsWith("EDF+");
    const bool discontinuous = reserved.startsWith("EDF+D");
    bool ok = false;
    const qint64 headerBytes = fieldAt(data, 184, 8).toLongLong(&ok);
    qint64 records = ok ? fieldAt(data, 236, 8).toLongLong(&ok) : 0;
    double duration = 0;
    ok = ok && toDouble(fieldAt(data, 244, 8), duration);
    const int signalCount = ok ? fieldAt(data, 252, 4).toInt(&ok) : 0;
    if (!ok || signalCount < 1 || signalCount > kMaxSignals || headerBytes != 256 * qint64(signalCount + 1) ||
        data.size() < headerBytes)
        return failed(r, {ImportError::EdfSizesDisagree});
    if (!(duration > 0) || duration > 86400)
        return failed(r, {ImportError::EdfNoDuration});

    // Start: dd.mm.yy and hh.mm.ss; EDF+ keeps the four-digit year in the recording field.
    const QList<QByteArray> d = startDate.split('.');
    const QList<QByteArray> t = startTime.split('.');
    if (d.size() != 3 || t.size() != 3)
        return failed(r, {ImportError::EdfNoStart});
    int year = d[2].toInt(&ok);
    year = ok ? (year >= 85 ? 1900 + year : 2000 + year) : -1;
    if (plus && recording.startsWith("Startdate ")) {
        const QList<QByteArray> parts = recording.split(' ');
        const QList<QByteArray> full = parts.value(1).split('-');
        bool fullOk = false;
        const int y = full.size() == 3 ? full[2].toInt(&fullOk) : 0;
        if (fullOk)
            year = y;
    }
    const QString startText = QStringLiteral("%1.%2.%3 %4.%5.%6")
                                  .arg(QString::fromLatin1(d[0]), QString::fromLatin1(d[1]))
                                  .arg(year)
                                  .arg(QString::fromLatin1(t[0]), QString::fromLatin1(t[1]), QString::fromLatin1(t[2]));
    const auto startParsed =
        TimePattern::compile(QStringLiteral("dd.MM.yyyy HH.mm.ss")).value().parse(startText.toStdString());
    if (!startParsed)
        return failed(r, {ImportError::EdfStartTooEarly, 0, QString::fromLatin1(startDate + ' ' + startTime)});
    const std::int64_t start = startParsed->seconds;

    std::vector<Signal> signalList(static_cast<std::size_t>(signalCount));
    const qsizetype n = signalCount;
    qint64 recordBytes = 0;
    int spo2 = -1;
    int pulse = -1;
    int annotations = -1;
    for (qsizetype i = 0; i < n; ++i) {
        Signal &s = signalList[std::size_t(i)];
        const qsizetype base = 256;
        s.label = fieldAt(data, base + i * 16, 16);
        s.dimension = fieldAt(data, base + n * 96 + i * 8, 8);
        bool good = toDouble(fieldAt(data, base + n * 104 + i * 8, 8), s.physicalMin) &&
                    toDouble(fieldAt(data, base + n * 112 + i * 8, 8), s.physicalMax) &&
                    toDouble(fieldAt(data, base + n * 120 + i * 8, 8), s.digitalMin) &&
                    toDouble(fieldAt(data, base + n * 128 + i * 8, 8), s.digitalMax);
        s.samples = fieldAt(data, base + n * 216 + i * 8, 8).toInt(&ok);
        // Without every signal's sample count no record can be read.
        if (!ok || s.samples < 1 || s.samples > kMaxRecordBytes / 2)
            return failed(r, {ImportError::EdfSampleCount, i + 1, QString::fromLatin1(s.label)});
        s.offset = qsizetype(recordBytes);
        recordBytes += 2 * qint64(s.samples);
        if (recordBytes > kMaxRecordBytes)
            return failed(r, {ImportError::EdfRecordTooLarge, kMaxRecordBytes});
        const Kind kind = kindOf(s);
        if (!good) {
            if (kind == Kind::Spo2 || kind == Kind::Pulse)
                return failed(r, {ImportError::EdfLimits, i + 1, QString::fromLatin1(s.label)});
            continue;
        }
        if (kind == Kind::Spo2 && spo2 < 0 && s.digitalMax != s.digitalMin)
            spo2 = int(i);
        else if (kind == Kind::Pulse && pulse < 0 && s.digitalMax != s.digitalMin)
            pulse = int(i);
        else if (kind == Kind::Annotations && annotations < 0)
            annotations = int(i);
    }
    if (spo2 < 0 && pulse < 0)
        return failed(r, {ImportError::EdfNoSignal});
    if (discontinuous && annotations < 0)
        return failed(r, {ImportError::EdfNoAnnotations});

    const qint64 present = (data.size() - headerBytes) / recordBytes;
    if (records < 0)
        records = present; // "-1": the number was never written
    if (plus)
        r.patientName = patientNameOf(patient);

    std::vector<Point> points[2];
    const int chosen[2] = {spo2, pulse};
    double previousEnd = -std::numeric_limits<double>::infinity();
    auto refuse = [&](qint64 record, ImportError why) {
        if (r.refused++ == 0)
            r.firstRefusal = {why, record + 1};
    };
    for (qint64 rec = 0; rec < records; ++rec) {
        if (rec >= present) {
            refuse(rec, ImportError::RecordMissing);
            r.refused += int(std::min<qint64>(records - rec - 1, std::numeric_limits<int>::max() - r.refused));
            break;
        }
        const char *record = data.constData() + headerBytes + rec * recordBytes;
        double onset = double(rec) * duration;
        if (discontinuous) {
            const Signal &a = signalList[std::size_t(annotations)];
            const auto o = recordOnset(record + a.offset, 2 * qsizetype(a.samples));
            if (!o || *o < 0 || *o > kMaxOnset) {
                refuse(rec, ImportError::RecordUntimed);
                continue;
            }
            if (*o < previousEnd - 1e-6) {
                refuse(rec, ImportError::RecordOverlaps);
                continue;
            }
            onset = *o;
        }
        previousEnd = onset + duration;
        ++r.read;
        for (int k = 0; k < 2; ++k) {
            if (chosen[k] < 0)
                continue;
            const Signal &s = signalList[std::size_t(chosen[k])];
            const double scale = (s.physicalMax - s.physicalMin) / (s.digitalMax - s.digitalMin);
            const char *samples = record + s.offset;
            for (int i = 0; i < s.samples; ++i) {
                const auto digital = qFromLittleEndian<qint16>(samples + 2 * i);
                const long value = std::lround(s.physicalMin + (double(digital) - s.digitalMin) * scale);
                std::uint8_t v = 0;
                if (k == 0)
                    v = value >= 1 && value <= 100 ? std::uint8_t(value) : kNoSpo2;
                else
                    v = value >= 30 && value <= 254 ? std::uint8_t(value) : kNoPulse;
                const double at = onset + double(i) * duration / double(s.samples);
                addPoint(points[k], start + std::int64_t(std::floor(at + 1e-6)), v);
            }
        }
    }
    if (r.read == 0)
        return failed(r, {r.firstRefusal.isSet() ? ImportError::NoValidRecord : ImportError::NoRecords});

    // Both signals on one time line; a second one of them lacks has no signal there.
    int interval = 1;
    for (int k = 0; k < 2; ++k) {
        if (chosen[k] < 0)
            continue;
        const Signal &s = signalList[std::size_t(chosen[k])];
        const int own = s.samples < duration ? int(std::lround(duration / s.samples)) : 1;
        interval = std::max(interval, own);
        points[k] = held(points[k], own);
    }
    std::vector<TimedReading> rows;
    std::size_t a = 0;
    std::size_t b = 0;
    while (a < points[0].size() || b < points[1].size()) {
        TimedReading row;
        const bool takeA =
            a < points[0].size() && (b >= points[1].size() || points[0][a].seconds <= points[1][b].seconds);
        const bool takeB =
            b < points[1].size() && (a >= points[0].size() || points[1][b].seconds <= points[0][a].seconds);
        row.seconds = takeA ? points[0][a].seconds : points[1][b].seconds;
        if (takeA)
            row.spo2 = points[0][a++].value;
        if (takeB)
            row.pulse = points[1][b++].value;
        rows.push_back(row);
        if (std::int64_t(rows.size()) > ImportedReadings::kMaxReadings)
            break;
    }
    r.intervalSeconds = interval;
    return ImportedReadings::finished(std::move(r), rows, 1);
}

} // namespace EdfImport

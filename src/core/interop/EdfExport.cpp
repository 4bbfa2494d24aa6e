// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/EdfExport.h"

#include "interop/ReadingTime.h"

#include <QDate>

#include <algorithm>
#include <cstring>

namespace EdfExport
{

namespace
{

constexpr int kSignals = 3; // SpO2, pulse rate, annotations
constexpr char kTimeJump[] = "time jump";

// A header field: printable ASCII, cut or padded with spaces to width.
QByteArray field(const QByteArray &text, int width)
{
    QByteArray f = text.left(width);
    for (char &c : f)
        if (c < 32 || c > 126)
            c = '_';
    return f.leftJustified(width, ' ');
}

// One EDF+ subfield: letters without their accents, other non-ASCII characters
// dropped, spaces as "_"; "X" when nothing is left.
QByteArray subfield(const QString &text)
{
    QByteArray out;
    for (const QChar c : text.normalized(QString::NormalizationForm_KD)) {
        const char16_t u = c.unicode();
        if (u == ' ')
            out.append('_');
        else if (u > 32 && u < 127)
            out.append(char(u));
    }
    return out.isEmpty() ? QByteArray("X") : out;
}

bool hasDetails(const PatientRecord &patient)
{
    PatientRecord blank;
    blank.idNumber = patient.idNumber;
    return !(patient == blank);
}

QByteArray twoDigits(int v)
{
    return QByteArray::number(v).rightJustified(2, '0');
}

// "+<onset>" with the record's onset in seconds from the file's start.
char *putOnset(char *out, std::int64_t onset)
{
    char digits[20];
    int n = 0;
    do {
        digits[n++] = char('0' + onset % 10);
        onset /= 10;
    } while (onset > 0);
    *out++ = '+';
    while (n > 0)
        *out++ = digits[--n];
    return out;
}

// The time-keeping annotation every record starts with, and the "time jump"
// annotation after it when the reading does not follow the one before.
int putAnnotations(char *out, std::int64_t onset, bool jump)
{
    char *p = putOnset(out, onset);
    *p++ = '\x14';
    *p++ = '\x14';
    *p++ = '\0';
    if (jump) {
        p = putOnset(p, onset);
        *p++ = '\x14';
        std::memcpy(p, kTimeJump, sizeof kTimeJump - 1);
        p += sizeof kTimeJump - 1;
        *p++ = '\x14';
        *p++ = '\0';
    }
    return int(p - out);
}

void putInt16(QByteArray &out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

struct SignalHeader {
    const char *label;
    const char *transducer;
    const char *dimension;
    const char *physicalMin;
    const char *physicalMax;
    const char *digitalMin;
    const char *digitalMax;
    int samplesPerRecord;
};

} // namespace

QByteArray patientIdentification(const PatientRecord &patient)
{
    const QByteArray code = patient.idNumber > 0 ? QByteArray::number(patient.idNumber) : QByteArray("X");
    // An empty record's gender 0 is no statement that the patient is male.
    const QByteArray sex = !hasDetails(patient) ? "X" : patient.gender == 0 ? "M" : "F";
    return field(code + ' ' + sex + " X " + subfield(patient.nameText()), 80);
}

QByteArray encode(const SampleRecord *samples, int count, const PatientRecord &patient)
{
    if (!samples || count <= 0)
        return {};

    // Readings with a forward time jump make an EDF+D file, whose records each
    // carry their own onset, so every reading keeps its real time. A clock set
    // back (or a second repeated) cannot be: EDF+D records must follow in time.
    // Those files, like those without jumps, stay EDF+C, where the onset is
    // the record number and a jump is only noted.
    const std::int64_t start = readingSeconds(samples[0]);
    bool jumps = false;
    bool onlyForward = true;
    for (int i = 1; i < count; ++i) {
        const std::int64_t step = readingSeconds(samples[i]) - readingSeconds(samples[i - 1]);
        jumps = jumps || step != 1;
        onlyForward = onlyForward && step >= 1;
    }
    const bool discontinuous = jumps && onlyForward;
    const auto onsetOf = [&](int i) -> std::int64_t { return discontinuous ? readingSeconds(samples[i]) - start : i; };

    // The annotation signal must hold the fullest record's annotations: the
    // last one, or the last with a time jump (onsets only grow).
    char scratch[64];
    int annotationBytes = putAnnotations(scratch, onsetOf(count - 1), false);
    for (int i = count - 1; i > 0; --i)
        if (!followsByOneSecond(samples[i - 1], samples[i])) {
            annotationBytes = std::max(annotationBytes, putAnnotations(scratch, onsetOf(i), true));
            break;
        }
    const int annotationSamples = (annotationBytes + 1) / 2;

    const SampleRecord &first = samples[0];
    const QDate date(2000 + first.year, first.month, first.day);
    static const char *const kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    QByteArray startDate = "01.01.85";
    QByteArray recording = "Startdate X X X X";
    if (date.isValid()) {
        // Years after 2084 have no two-digit form; EDF+ writes "yy" then and
        // keeps the year in the recording identification.
        startDate = twoDigits(date.day()) + '.' + twoDigits(date.month()) + '.' +
                    (date.year() <= 2084 ? twoDigits(date.year() % 100) : QByteArray("yy"));
        recording = "Startdate " + twoDigits(date.day()) + '-' + kMonths[date.month() - 1] + '-' +
                    QByteArray::number(date.year()) + " X X X";
    }
    const QByteArray startTime = twoDigits(first.hour) + '.' + twoDigits(first.minute) + '.' + twoDigits(first.second);

    const SignalHeader signalHeaders[kSignals] = {
        {"SpO2", "Pulse oximeter", "%", "0", "255", "0", "255", 1},
        {"Pulse Rate", "Pulse oximeter", "bpm", "0", "255", "0", "255", 1},
        {"EDF Annotations", "", "", "-1", "1", "-32768", "32767", annotationSamples},
    };

    QByteArray out;
    const int recordBytes = 2 * (2 + annotationSamples);
    out.reserve(256 * (kSignals + 1) + qsizetype(count) * recordBytes);
    out += field("0", 8);
    out += patientIdentification(patient);
    out += field(recording, 80);
    out += field(startDate, 8);
    out += field(startTime, 8);
    out += field(QByteArray::number(256 * (kSignals + 1)), 8);
    out += field(discontinuous ? "EDF+D" : "EDF+C", 44);
    out += field(QByteArray::number(count), 8);
    out += field("1", 8);
    out += field(QByteArray::number(kSignals), 4);
    for (const SignalHeader &h : signalHeaders)
        out += field(h.label, 16);
    for (const SignalHeader &h : signalHeaders)
        out += field(h.transducer, 80);
    for (const SignalHeader &h : signalHeaders)
        out += field(h.dimension, 8);
    for (const SignalHeader &h : signalHeaders)
        out += field(h.physicalMin, 8);
    for (const SignalHeader &h : signalHeaders)
        out += field(h.physicalMax, 8);
    for (const SignalHeader &h : signalHeaders)
        out += field(h.digitalMin, 8);
    for (const SignalHeader &h : signalHeaders)
        out += field(h.digitalMax, 8);
    for (int i = 0; i < kSignals; ++i)
        out += field("", 80);
    for (const SignalHeader &h : signalHeaders)
        out += field(QByteArray::number(h.samplesPerRecord), 8);
    for (int i = 0; i < kSignals; ++i)
        out += field("", 32);

    std::int64_t previous = 0;
    for (int i = 0; i < count; ++i) {
        putInt16(out, samples[i].spo2);
        putInt16(out, samples[i].pulseRate);
        const std::int64_t now = readingSeconds(samples[i]);
        const int used = putAnnotations(scratch, onsetOf(i), i > 0 && now != previous + 1);
        previous = now;
        out.append(scratch, used);
        out.append(2 * annotationSamples - used, '\0');
    }
    return out;
}

} // namespace EdfExport

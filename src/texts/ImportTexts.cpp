// SPDX-License-Identifier: GPL-3.0-or-later
#include "texts/ImportTexts.h"

#include <QCoreApplication>

namespace ImportTexts
{
namespace
{
QString translated(const char *source)
{
    return QCoreApplication::translate("Import", source);
}

// The words of a problem, without the line or record it is in.
QString words(const ImportProblem &p)
{
    switch (p.error) {
    case ImportError::None:
        return {};
    case ImportError::BadColumns:
        if (p.value.isEmpty())
            return translated(QT_TRANSLATE_NOOP("Import", "the columns need time= and spo2= or pulse="));
        return translated(
                   QT_TRANSLATE_NOOP("Import", "not a column choice: '%1' (use time=N,spo2=N,pulse=N, columns from 1)"))
            .arg(p.value);
    case ImportError::TimeFormatUnclosedQuote:
        return translated(QT_TRANSLATE_NOOP("Import", "the time format '%1' has an unclosed quote")).arg(p.value);
    case ImportError::TimeFormatUnknownLetters:
        return translated(QT_TRANSLATE_NOOP("Import", "the time format '%1' has the unknown letters '%2'"))
            .arg(p.value, p.more);
    case ImportError::TimeFormatIncomplete:
        return translated(QT_TRANSLATE_NOOP("Import", "the time format '%1' needs a day, a month, a year and an hour"))
            .arg(p.value);
    case ImportError::TimeFormatTwelveHour:
        return translated(QT_TRANSLATE_NOOP("Import", "the time format '%1' needs both h and AP for a 12-hour clock"))
            .arg(p.value);
    case ImportError::TooLong:
        return translated(QT_TRANSLATE_NOOP("Import", "more than %1 readings (31 days)"))
            .arg(ImportedReadings::grouped(ImportedReadings::kMaxReadings));
    case ImportError::TooFewFields:
        return translated(QT_TRANSLATE_NOOP("Import", "too few fields"));
    case ImportError::TimeNotATime:
        return translated(QT_TRANSLATE_NOOP("Import", "time '%1' is not a time")).arg(p.value);
    case ImportError::Spo2NotAReading:
        return translated(QT_TRANSLATE_NOOP("Import", "SpO2 '%1' is not a reading")).arg(p.value);
    case ImportError::PulseNotAReading:
        return translated(QT_TRANSLATE_NOOP("Import", "pulse '%1' is not a reading")).arg(p.value);
    case ImportError::TimeBeforeRowAbove:
        return translated(QT_TRANSLATE_NOOP("Import", "time '%1' is before the row above")).arg(p.value);
    case ImportError::RecordMissing:
        return translated(QT_TRANSLATE_NOOP("Import", "missing, the file ends before it"));
    case ImportError::RecordUntimed:
        return translated(QT_TRANSLATE_NOOP("Import", "no time-keeping annotation"));
    case ImportError::RecordOverlaps:
        return translated(QT_TRANSLATE_NOOP("Import", "starts before the record above ends"));
    case ImportError::NotImportable:
        return translated(QT_TRANSLATE_NOOP("Import", "neither a .csv, .txt nor an .edf file"));
    case ImportError::TooBig:
        return translated(QT_TRANSLATE_NOOP("Import", "larger than %1 MB, more than any night")).arg(p.at);
    case ImportError::CannotRead:
        return translated(QT_TRANSLATE_NOOP("Import", "cannot be read: %1")).arg(p.more);
    case ImportError::EmptyFile:
        return translated(QT_TRANSLATE_NOOP("Import", "the file is empty"));
    case ImportError::NoHeader:
        return translated(
            QT_TRANSLATE_NOOP("Import", "no header in the first lines names the time and SpO2 or pulse columns"));
    case ImportError::NoRowsAfterHeader:
        return translated(QT_TRANSLATE_NOOP("Import", "no readings after the header"));
    case ImportError::UnknownTimeFormat:
        return translated(QT_TRANSLATE_NOOP("Import", "time '%1' is in no known format; give the time format"))
            .arg(p.value);
    case ImportError::DayMonthUndecided:
        return translated(QT_TRANSLATE_NOOP(
                              "Import", "the dates, such as '%1', could be day or month first; give the time format"))
            .arg(p.value);
    case ImportError::NoValidRow:
    case ImportError::NoValidRecord:
        return {}; // the night's first refusal says it
    case ImportError::EdfTooShort:
        return translated(QT_TRANSLATE_NOOP("Import", "not an EDF file: shorter than its 256-byte header"));
    case ImportError::EdfNotVersion0:
        return translated(QT_TRANSLATE_NOOP("Import", "not an EDF file: the version is not 0"));
    case ImportError::EdfSizesDisagree:
        return translated(QT_TRANSLATE_NOOP("Import", "not an EDF file: the header's sizes do not agree"));
    case ImportError::EdfNoDuration:
        return translated(QT_TRANSLATE_NOOP("Import", "the data records have no usable duration"));
    case ImportError::EdfNoStart:
        return translated(QT_TRANSLATE_NOOP("Import", "the start date or time is not one"));
    case ImportError::EdfStartTooEarly:
        return translated(QT_TRANSLATE_NOOP("Import", "the start %1 is not a date and time from 2000 on")).arg(p.value);
    case ImportError::EdfSampleCount:
        return translated(QT_TRANSLATE_NOOP("Import", "signal %1 (%2) has no usable number of samples"))
            .arg(p.at)
            .arg(p.value);
    case ImportError::EdfRecordTooLarge:
        return translated(QT_TRANSLATE_NOOP("Import", "data records above %1 bytes")).arg(p.at);
    case ImportError::EdfLimits:
        return translated(QT_TRANSLATE_NOOP("Import", "signal %1 (%2) has limits that are not numbers"))
            .arg(p.at)
            .arg(p.value);
    case ImportError::EdfNoSignal:
        return translated(QT_TRANSLATE_NOOP("Import", "no SpO2 or pulse signal in the file"));
    case ImportError::EdfNoAnnotations:
        return translated(QT_TRANSLATE_NOOP("Import", "an EDF+D file without its annotations signal"));
    case ImportError::NoRecords:
        return translated(QT_TRANSLATE_NOOP("Import", "no data records"));
    }
    return {};
}
} // namespace

QString text(const ImportProblem &problem)
{
    switch (problem.error) {
    case ImportError::TooFewFields:
    case ImportError::TimeNotATime:
    case ImportError::Spo2NotAReading:
    case ImportError::PulseNotAReading:
    case ImportError::TimeBeforeRowAbove:
    case ImportError::UnknownTimeFormat:
        return translated(QT_TRANSLATE_NOOP("Import", "line %1: %2")).arg(problem.at).arg(words(problem));
    case ImportError::RecordMissing:
    case ImportError::RecordUntimed:
    case ImportError::RecordOverlaps:
        return translated(QT_TRANSLATE_NOOP("Import", "record %1: %2")).arg(problem.at).arg(words(problem));
    default:
        return words(problem);
    }
}

QString error(const ImportedNight &night)
{
    switch (night.error.error) {
    case ImportError::NoValidRow:
        return translated(QT_TRANSLATE_NOOP("Import", "no valid reading: %1")).arg(text(night.firstRefusal));
    case ImportError::NoValidRecord:
        return translated(QT_TRANSLATE_NOOP("Import", "no valid record: %1")).arg(text(night.firstRefusal));
    default:
        return text(night.error);
    }
}

QString summary(const ImportedNight &night)
{
    const QString read = ImportedReadings::grouped(night.read);
    const QString refused = ImportedReadings::grouped(night.refused);
    QString s = night.countsRecords
                    ? translated(QT_TRANSLATE_NOOP("Import", "%1 records read, %2 refused")).arg(read, refused)
                    : translated(QT_TRANSLATE_NOOP("Import", "%1 rows read, %2 refused")).arg(read, refused);
    if (night.firstRefusal.isSet())
        s = translated(QT_TRANSLATE_NOOP("Import", "%1: %2")).arg(s, text(night.firstRefusal));
    return s;
}

QString note(const ImportedNight &night)
{
    if (night.offsetsConverted)
        return translated(
            QT_TRANSLATE_NOOP("Import", "times with a UTC offset were converted to this computer's local time"));
    return {};
}
} // namespace ImportTexts

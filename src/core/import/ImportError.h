// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Result.h"

#include <QString>

#include <cstdint>
#include <utility>

// Why a choice given for an import, a row or record of a file, or a whole
// file cannot be used. The words are the texts layer's (ImportTexts); what an
// ImportProblem's values hold is said at each code.
enum class ImportError : std::uint8_t {
    None,
    // A choice given for the import. As a Failure, detail holds the value.
    BadColumns, // value: the part that is no column choice; empty: time= or spo2= is missing
    // A time pattern (value: the pattern)
    TimeFormatUnclosedQuote,
    TimeFormatUnknownLetters, // more (a Failure's detail): the letters
    TimeFormatIncomplete,     // no day, month, year or hour
    TimeFormatTwelveHour,     // h without AP, or AP without h
    TooLong,                  // more readings than one night may hold

    // A row of a CSV file (at: its line; value: the cell)
    TooFewFields,
    TimeNotATime,
    Spo2NotAReading,
    PulseNotAReading,
    TimeBeforeRowAbove,

    // A data record of an EDF file (at: the record, from 1)
    RecordMissing,
    RecordUntimed,
    RecordOverlaps,

    // A whole file
    NotImportable, // neither .csv, .txt nor .edf
    TooBig,        // at: the limit in MB
    CannotRead,    // more: the system's words
    EmptyFile,
    NoHeader, // CSV: no header names the columns
    NoRowsAfterHeader,
    UnknownTimeFormat, // at: the line, value: its time
    DayMonthUndecided, // value: a date that reads either way
    NoValidRow,        // every row refused: the night's firstRefusal says why
    EdfTooShort,
    EdfNotVersion0,
    EdfSizesDisagree,
    EdfNoDuration,
    EdfNoStart,
    EdfStartTooEarly,  // value: the start as it stands
    EdfSampleCount,    // at: the signal, from 1; value: its label
    EdfRecordTooLarge, // at: the most bytes a record may have
    EdfLimits,         // at: the signal, from 1; value: its label
    EdfNoSignal,
    EdfNoAnnotations, // EDF+D without its annotations signal
    NoRecords,
    NoValidRecord, // every record refused: the night's firstRefusal says why
};

// A problem and the values its words need.
struct ImportProblem {
    ImportProblem() = default;
    ImportProblem(ImportError code, std::int64_t where = 0, QString what = {}, QString extra = {})
        : error(code), at(where), value(std::move(what)), more(std::move(extra))
    {
    }

    ImportError error = ImportError::None;
    std::int64_t at = 0;
    QString value;
    QString more;
    bool isSet() const { return error != ImportError::None; }
};

template <typename T> using ImportResult = Result<T, ImportError>;

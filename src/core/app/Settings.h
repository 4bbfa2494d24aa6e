// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/AnalysisSettings.h"

#include <QDate>
#include <QString>

#include <optional>
#include <span>

// The settings store: QSettings("quellix", "setup") in the user's config folder.
// Values are read afresh, with their defaults, at the moment of use and written at once.

// The integer stored under name, or defaultValue when it is missing.
int ReadSetupInt(const QString &name, int defaultValue);

// A string value of at most 9 characters; nullopt when missing (or too long to
// fit the 20-byte buffer the value has always been read into).
std::optional<QString> ReadSetupString(const QString &name);

// "DefaultCOM" is stored as text; every other value is stored as the integer made
// of the text's leading decimal digits (0 when there are none).
bool WriteSetupValue(const QString &name, const QString &text);

// Leading decimal digits of text as an integer, 0 when there are none.
int LeadingNumber(const QString &text);

// Defaults of the values read in more than one place.
namespace SetupDefaults
{
inline constexpr int SaturationsHigh = 94;
inline constexpr int SaturationsLow = 88;
inline constexpr int PrHigh = 150;
inline constexpr int PrLow = 60;
inline constexpr int DesaturationsEvent = 4;
inline constexpr int PulseEvent = 6;
inline constexpr int UnitSetup = 0;
inline constexpr int Language = 0;
} // namespace SetupDefaults

// One stored value: its key (also the name `quellix-cli settings` takes), its
// default, and what the program's own dialogs can store in it.
struct SettingRow {
    const char *key;
    bool text; // "DefaultCOM", the one string value
    int defaultValue;
    int minimum; // numbers: the range the dialogs allow
    int maximum;
    std::span<const int> choices; // when not empty, the only numbers allowed
    int maxLength;                // text: characters at most
};

// How a CSV file of an unknown layout was read: the columns as
// "time=1,spo2=2,pulse=3" and the date and time pattern.
struct CsvColumnChoice {
    QString columns;
    QString timeFormat;
    friend bool operator==(const CsvColumnChoice &, const CsvColumnChoice &) = default;
};

// Typed access to the settings store. It holds nothing: every getter reads the
// store at the moment it is called, so a value changed by another process (a
// `quellix-cli settings set`) is seen at once. Setters write at once and return
// whether the value was stored.
class Settings
{
public:
    static std::span<const SettingRow> table();
    static const SettingRow *find(const QString &key);
    // Why text cannot be stored under row ("a number from 1 to 20"); nothing
    // when it can.
    static std::optional<QString> refusal(const SettingRow &row, const QString &text);

    // The value as text, its default when missing.
    QString text(const SettingRow &row) const;
    bool setText(const SettingRow &row, const QString &text);

    int saturationsHigh() const;
    bool setSaturationsHigh(int value);
    int saturationsLow() const;
    bool setSaturationsLow(int value);
    int prHigh() const;
    bool setPrHigh(int value);
    int prLow() const;
    bool setPrLow(int value);
    int desaturationsEvent() const;
    bool setDesaturationsEvent(int value);
    int pulseEvent() const;
    bool setPulseEvent(int value);
    // 0 British (in, lb), any other value metric (cm, kg).
    int unitSetup() const;
    bool setUnitSetup(int value);
    // A language number (1033, 1036, 2052); 0 for the system's language.
    int language() const;
    bool setLanguage(int value);
    // The port that answered last; empty when none.
    QString defaultCom() const;
    bool setDefaultCom(const QString &port);
    // Never read by the program: the text of the port list, stored as the
    // number its leading digits make.
    int port() const;
    bool setPort(const QString &portListText);
    // The folder the file dialogs used last (not one of the device's values,
    // so not in the table); empty when none.
    QString lastFolder() const;
    bool setLastFolder(const QString &folder);
    // Every download's readings go to the night archive at once (default on).
    bool keepInArchive() const;
    bool setKeepInArchive(bool keep);
    // What Mode > Overview showed last (not device values, so not in the table):
    // the patient's ID and name, the period's number (see OverviewPeriod) and the
    // dates of a from/to period; null dates when none was stored.
    int overviewPatientId() const;
    QString overviewPatientName() const;
    bool setOverviewPatient(int deviceId, const QString &name);
    int overviewPeriod() const;
    bool setOverviewPeriod(int period);
    QDate overviewFrom() const;
    QDate overviewTo() const;
    bool setOverviewDates(const QDate &from, const QDate &to);

    // The choice last made for CSV files whose header line (as the CSV
    // import normalises it) is headerLine; nullopt when none was.
    std::optional<CsvColumnChoice> csvColumns(const QString &headerLine) const;
    bool setCsvColumns(const QString &headerLine, const CsvColumnChoice &choice);

    // Where the nights are kept: on this computer only (the default), or on
    // this computer and the clinic's server, which every desk shares.
    enum class ArchiveMode { ThisComputer = 0, ClinicServer = 1 };
    ArchiveMode archiveMode() const;
    bool setArchiveMode(ArchiveMode mode);
    // The clinic server's libpq connection string or "service=NAME"; empty
    // when none. A string holding a password is never stored: false.
    QString archiveServer() const;
    bool setArchiveServer(const QString &connection);
    // The server the archive uses now: archiveServer() in the clinic mode,
    // otherwise empty.
    QString clinicServer() const;

    // The six values of the analysis, read together; written in the order the
    // analysis setup has always written them.
    AnalysisSettings analysis() const;
    void setAnalysis(const AnalysisSettings &values);
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Settings.h"

#include "app/SettingsFile.h"
#include "archive/ServerArchive.h"

#include <QCryptographicHash>

#include <array>
#include <limits>

namespace
{
constexpr int kMaxStringChars = 9; // 20 bytes of UTF-16 with the terminator

const QString kSetup = QStringLiteral("setup");

QVariant stored(const QString &name)
{
    return SettingsFile::readValue(kSetup, name);
}

// The languages the program has texts for, and 0 for the system's language.
constexpr int kLanguages[] = {0, 1033, 1036, 2052};
constexpr int kIntMax = std::numeric_limits<int>::max();

// Indexes into kTable, in its order.
enum Row {
    SaturationsHigh,
    SaturationsLow,
    PrHigh,
    PrLow,
    DesaturationsEvent,
    PulseEvent,
    UnitSetup,
    Language,
    DefaultCom,
    Port
};

// The ranges are those of the analysis setup, the unit setup (0 or 1) and the
// language dialog; "port" is whatever number a port name's digits make.
constexpr std::array<SettingRow, 10> kTable = {{
    {"SaturationsHigh", false, SetupDefaults::SaturationsHigh, 40, 100, {}, 0},
    {"SaturationsLow", false, SetupDefaults::SaturationsLow, 40, 100, {}, 0},
    {"PrHigh", false, SetupDefaults::PrHigh, 15, 300, {}, 0},
    {"PrLow", false, SetupDefaults::PrLow, 15, 300, {}, 0},
    {"DesaturationsEvent", false, SetupDefaults::DesaturationsEvent, 1, 20, {}, 0},
    {"PulseEvent", false, SetupDefaults::PulseEvent, 1, 20, {}, 0},
    {"UnitSetup", false, SetupDefaults::UnitSetup, 0, 1, {}, 0},
    {"Language", false, SetupDefaults::Language, 0, 2052, kLanguages, 0},
    {"DefaultCOM", true, 0, 0, 0, {}, kMaxStringChars},
    {"port", false, 0, 0, kIntMax, {}, 0},
}};

QString keyOf(Row row)
{
    return QLatin1String(kTable[row].key);
}

int number(Row row)
{
    return ReadSetupInt(keyOf(row), kTable[row].defaultValue);
}

bool setNumber(Row row, int value)
{
    return WriteSetupValue(keyOf(row), QString::number(value));
}

} // namespace

int LeadingNumber(const QString &text)
{
    qint64 value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + (c.unicode() - u'0');
        if (value > 0xFFFFFFFFLL)
            value %= 0x100000000LL; // a DWORD keeps its low 32 bits
    }
    return int(std::uint32_t(value));
}

int ReadSetupInt(const QString &name, int defaultValue)
{
    const QVariant v = stored(name);
    if (!v.isValid())
        return defaultValue;
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    return ok ? int(std::uint32_t(n)) : defaultValue;
}

std::optional<QString> ReadSetupString(const QString &name)
{
    const QVariant v = stored(name);
    if (!v.isValid())
        return std::nullopt;
    const QString text = v.toString();
    if (text.size() > kMaxStringChars)
        return std::nullopt;
    return text;
}

bool WriteSetupValue(const QString &name, const QString &text)
{
    const QVariant value = name == keyOf(DefaultCom) ? QVariant(text) : QVariant(LeadingNumber(text));
    return SettingsFile::writeValue(kSetup, name, value);
}

std::span<const SettingRow> Settings::table()
{
    return kTable;
}

const SettingRow *Settings::find(const QString &key)
{
    for (const SettingRow &row : kTable)
        if (key == QLatin1String(row.key))
            return &row;
    return nullptr;
}

std::optional<QString> Settings::refusal(const SettingRow &row, const QString &text)
{
    if (row.text) {
        if (text.size() > row.maxLength)
            return QStringLiteral("text of at most %1 characters").arg(row.maxLength);
        return std::nullopt;
    }
    // Digits only: the store would make "-5" and "abc" a silent 0.
    bool digits = !text.isEmpty() && text.size() <= 10;
    for (QChar c : text)
        digits = digits && c >= u'0' && c <= u'9';
    const qint64 value = digits ? text.toLongLong() : -1;
    if (!row.choices.empty()) {
        for (int choice : row.choices)
            if (value == choice)
                return std::nullopt;
        QStringList names;
        for (int choice : row.choices)
            names << QString::number(choice);
        return QStringLiteral("one of %1").arg(names.join(QStringLiteral(", ")));
    }
    if (value >= row.minimum && value <= row.maximum)
        return std::nullopt;
    return QStringLiteral("a number from %1 to %2").arg(row.minimum).arg(row.maximum);
}

QString Settings::text(const SettingRow &row) const
{
    const QString key = QLatin1String(row.key);
    if (row.text)
        return ReadSetupString(key).value_or(QString());
    return QString::number(ReadSetupInt(key, row.defaultValue));
}

bool Settings::setText(const SettingRow &row, const QString &text)
{
    return WriteSetupValue(QLatin1String(row.key), text);
}

int Settings::saturationsHigh() const
{
    return number(SaturationsHigh);
}
bool Settings::setSaturationsHigh(int value)
{
    return setNumber(SaturationsHigh, value);
}
int Settings::saturationsLow() const
{
    return number(SaturationsLow);
}
bool Settings::setSaturationsLow(int value)
{
    return setNumber(SaturationsLow, value);
}
int Settings::prHigh() const
{
    return number(PrHigh);
}
bool Settings::setPrHigh(int value)
{
    return setNumber(PrHigh, value);
}
int Settings::prLow() const
{
    return number(PrLow);
}
bool Settings::setPrLow(int value)
{
    return setNumber(PrLow, value);
}
int Settings::desaturationsEvent() const
{
    return number(DesaturationsEvent);
}
bool Settings::setDesaturationsEvent(int value)
{
    return setNumber(DesaturationsEvent, value);
}
int Settings::pulseEvent() const
{
    return number(PulseEvent);
}
bool Settings::setPulseEvent(int value)
{
    return setNumber(PulseEvent, value);
}
int Settings::unitSetup() const
{
    return number(UnitSetup);
}
bool Settings::setUnitSetup(int value)
{
    return setNumber(UnitSetup, value);
}
int Settings::language() const
{
    return number(Language);
}
bool Settings::setLanguage(int value)
{
    return setNumber(Language, value);
}
QString Settings::defaultCom() const
{
    return ReadSetupString(keyOf(DefaultCom)).value_or(QString());
}
bool Settings::setDefaultCom(const QString &port)
{
    return WriteSetupValue(keyOf(DefaultCom), port);
}
int Settings::port() const
{
    return number(Port);
}
bool Settings::setPort(const QString &portListText)
{
    return WriteSetupValue(keyOf(Port), portListText);
}
QString Settings::lastFolder() const
{
    return stored(QStringLiteral("LastFolder")).toString();
}
bool Settings::setLastFolder(const QString &folder)
{
    return SettingsFile::writeValue(kSetup, QStringLiteral("LastFolder"), folder);
}
bool Settings::keepInArchive() const
{
    const QVariant v = stored(QStringLiteral("KeepInArchive"));
    return !v.isValid() || v.toInt() != 0;
}
bool Settings::setKeepInArchive(bool keep)
{
    return SettingsFile::writeValue(kSetup, QStringLiteral("KeepInArchive"), keep ? 1 : 0);
}

namespace
{
// A header line may hold any character, "/" and "\" too, which a settings key
// may not: the key is its hash.
QString csvColumnsKey(const QString &headerLine)
{
    return QStringLiteral("CsvColumns/") +
           QString::fromLatin1(QCryptographicHash::hash(headerLine.toUtf8(), QCryptographicHash::Sha1).toHex());
}
} // namespace

std::optional<CsvColumnChoice> Settings::csvColumns(const QString &headerLine) const
{
    const QStringList v = stored(csvColumnsKey(headerLine)).toStringList();
    if (v.size() != 2 || v[0].isEmpty())
        return std::nullopt;
    return CsvColumnChoice{v[0], v[1]};
}
bool Settings::setCsvColumns(const QString &headerLine, const CsvColumnChoice &choice)
{
    return SettingsFile::writeValue(kSetup, csvColumnsKey(headerLine), QStringList{choice.columns, choice.timeFormat});
}

int Settings::overviewPatientId() const
{
    return stored(QStringLiteral("OverviewPatientId")).toInt();
}
QString Settings::overviewPatientName() const
{
    return stored(QStringLiteral("OverviewPatientName")).toString();
}
bool Settings::setOverviewPatient(int deviceId, const QString &name)
{
    return SettingsFile::writeValue(kSetup, QStringLiteral("OverviewPatientId"), deviceId) &&
           SettingsFile::writeValue(kSetup, QStringLiteral("OverviewPatientName"), name);
}
int Settings::overviewPeriod() const
{
    const QVariant v = stored(QStringLiteral("OverviewPeriod"));
    return v.isValid() ? v.toInt() : -1;
}
bool Settings::setOverviewPeriod(int period)
{
    return SettingsFile::writeValue(kSetup, QStringLiteral("OverviewPeriod"), period);
}
QDate Settings::overviewFrom() const
{
    return QDate::fromString(stored(QStringLiteral("OverviewFrom")).toString(), Qt::ISODate);
}
QDate Settings::overviewTo() const
{
    return QDate::fromString(stored(QStringLiteral("OverviewTo")).toString(), Qt::ISODate);
}
bool Settings::setOverviewDates(const QDate &from, const QDate &to)
{
    return SettingsFile::writeValue(kSetup, QStringLiteral("OverviewFrom"), from.toString(Qt::ISODate)) &&
           SettingsFile::writeValue(kSetup, QStringLiteral("OverviewTo"), to.toString(Qt::ISODate));
}

Settings::ArchiveMode Settings::archiveMode() const
{
    return stored(QStringLiteral("ArchiveMode")).toInt() == 1 ? ArchiveMode::ClinicServer : ArchiveMode::ThisComputer;
}
bool Settings::setArchiveMode(ArchiveMode mode)
{
    return SettingsFile::writeValue(kSetup, QStringLiteral("ArchiveMode"), int(mode));
}
QString Settings::archiveServer() const
{
    return stored(QStringLiteral("ArchiveServer")).toString();
}
bool Settings::setArchiveServer(const QString &connection)
{
    const ArchiveResult<QString> options = ServerArchive::connectOptions(connection);
    if (!options && options.error() == ArchiveError::PasswordInConnection)
        return false;
    return SettingsFile::writeValue(kSetup, QStringLiteral("ArchiveServer"), connection);
}
QString Settings::clinicServer() const
{
    return archiveMode() == ArchiveMode::ClinicServer ? archiveServer() : QString();
}

AnalysisSettings Settings::analysis() const
{
    AnalysisSettings s;
    s.saturationsHigh = saturationsHigh();
    s.saturationsLow = saturationsLow();
    s.prHigh = prHigh();
    s.prLow = prLow();
    s.desaturationsEvent = desaturationsEvent();
    s.pulseEvent = pulseEvent();
    return s;
}

void Settings::setAnalysis(const AnalysisSettings &values)
{
    setSaturationsHigh(values.saturationsHigh);
    setSaturationsLow(values.saturationsLow);
    setPrHigh(values.prHigh);
    setPrLow(values.prLow);
    setDesaturationsEvent(values.desaturationsEvent);
    setPulseEvent(values.pulseEvent);
}

#pragma once

#include <QString>

#include <optional>

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

#pragma once

// Command identifiers of the main window's menus, toolbar and keys. They are
// stable numbers so that tests and later features can find a command by them.
namespace CommandId
{
inline constexpr int NewDataCapture = 57600;
inline constexpr int FindBluetoothRadio = 32813;
inline constexpr int OpenOtherIdData = 32775;
inline constexpr int SaveData = 32803;
inline constexpr int OpenSavedData = 32786;
inline constexpr int EventTimeExport = 32818;
inline constexpr int Close = 32779;
inline constexpr int PrintPreview = 57609;
inline constexpr int Print = 57607;
inline constexpr int Exit = 57665;
inline constexpr int PatientInfo = 32784;
inline constexpr int PatientTitle = 32785;
inline constexpr int ModeTrend = 32776;
inline constexpr int ModeTable = 32777;
inline constexpr int ModeAnalysis = 32810;
inline constexpr int RollStep = 32801;
inline constexpr int AnalysisSetup = 32811;
inline constexpr int UnitSetup = 32817;
inline constexpr int About = 57664;
inline constexpr int PageUp = 32773;
inline constexpr int PageDown = 32774;
inline constexpr int LanguageButton = 32819;
inline constexpr int Help = 57670;
} // namespace CommandId

// Display modes of the main window.
namespace DisplayMode
{
inline constexpr int None = 0;
inline constexpr int Trend = 1;
inline constexpr int Table = 2;
inline constexpr int Analysis = 3;
} // namespace DisplayMode

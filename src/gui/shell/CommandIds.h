// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Command identifiers of the main window's menus, toolbar and keys. They are
// stable numbers so that tests and later features can find a command by them.
namespace CommandId
{
enum Id : int {
    NewDataCapture = 57600,
    FindBluetoothRadio = 32813,
    OpenOtherIdData = 32775,
    SaveData = 32803,
    OpenSavedData = 32786,
    EventTimeExport = 32818,
    Close = 32779,
    PrintPreview = 57609,
    Print = 57607,
    Exit = 57665,
    PatientInfo = 32784,
    PatientTitle = 32785,
    ModeTrend = 32776,
    ModeTable = 32777,
    ModeAnalysis = 32810,
    RollStep = 32801,
    AnalysisSetup = 32811,
    UnitSetup = 32817,
    About = 57664,
    PageUp = 32773,
    PageDown = 32774,
    LanguageButton = 32819,
    Help = 57670,
    KeepInArchive = 32830,
    Recordings = 32840,
    ImportIntoArchive = 32841,
    ModeOverview = 32842,
    ArchiveOptions = 32843,
};
} // namespace CommandId

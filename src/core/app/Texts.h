// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The program's numbered texts, looked up by number and translated through Qt
// (context "Texts"). Unknown numbers give an empty string.
QString Text(int number);

// Numbers of the texts used in more than one place.
namespace TextNo
{
inline constexpr int ScopeHeightBritish = 115;
inline constexpr int GraphicSummary = 118;
inline constexpr int Done = 126;
inline constexpr int PulseRate50 = 143;
inline constexpr int Total = 146;
inline constexpr int Groups = 147;
inline constexpr int RecordDate = 150;
inline constexpr int RecordTime = 151;
inline constexpr int Spo2Percent20 = 152;
inline constexpr int Item = 153;
inline constexpr int CreateExcelFailed = 154;
inline constexpr int CantOpenFile = 156;
inline constexpr int ConfirmDeleteInfo = 157;
inline constexpr int PatientIdInvalid = 158;
inline constexpr int FieldMax80 = 159;
inline constexpr int FieldMax40 = 160;
inline constexpr int FieldMax30 = 161;
inline constexpr int ScopeWeightMetric = 162;
inline constexpr int ScopeAge = 163;
inline constexpr int SelectPatientId = 164;
inline constexpr int FieldMax60 = 165;
inline constexpr int AlreadyRunning = 167;
inline constexpr int PatientIdInvalidSave = 169;
inline constexpr int CantCreateFile = 170;
inline constexpr int Date = 174;
inline constexpr int Time = 175;
inline constexpr int PatientData = 176;
inline constexpr int Name = 177;
inline constexpr int Gender = 178;
inline constexpr int Age = 179;
inline constexpr int Height = 180;
inline constexpr int Weight = 181;
inline constexpr int Physician = 182;
inline constexpr int Note1 = 183;
inline constexpr int Note2 = 184;
inline constexpr int Female = 185;
inline constexpr int Male = 186;
inline constexpr int StartDate = 187;
inline constexpr int StartTime = 188;
inline constexpr int EndDate = 189;
inline constexpr int EndTime = 190;
inline constexpr int Comments = 191;
inline constexpr int EventData = 192;
inline constexpr int TotalEvents = 193;
inline constexpr int TimeInEvents = 194;
inline constexpr int AvgEventDuration = 195;
inline constexpr int EventIndex = 196;
inline constexpr int AvgEventMax = 197;
inline constexpr int AvgEventMin = 198;
inline constexpr int MaxEventOffset = 199;
inline constexpr int MaxEventDuration = 200;
inline constexpr int MaxValue = 201;
inline constexpr int MinValue = 202;
inline constexpr int MeanValue = 203;
inline constexpr int Diagnose = 204;
inline constexpr int Times = 205;
inline constexpr int DesatRulePrefix = 206;
inline constexpr int DesatRuleSuffix = 207;
inline constexpr int PulseRulePrefix = 208;
inline constexpr int PulseRuleSuffix = 209;
inline constexpr int ScopeHeightMetric = 210;
inline constexpr int Event = 213;
inline constexpr int ScopeWeightBritish = 219;
inline constexpr int Spo2Percent10 = 222;
inline constexpr int PulseRate20 = 223;
inline constexpr int PagePane = 59140;
inline constexpr int RangeSaturation = 59141;
inline constexpr int RangePulseRate = 59142;
inline constexpr int RangeEventDrop = 59143;
inline constexpr int InputNumberBetween = 59144;
inline constexpr int Spo2PairError = 59147;
inline constexpr int PrPairError = 59148;
} // namespace TextNo

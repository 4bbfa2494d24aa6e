// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct PatientRecord;

// The patient block of the text and spreadsheet exports: labels and values,
// with height and weight in the units of the "UnitSetup" setting.
struct ExportPatient {
    QString nameLabel, genderLabel, ageLabel, heightLabel, weightLabel;
    int idNumber = 0;
    QString name;
    QString gender;
    int age = 0;
    QString height;
    QString weight;
};

ExportPatient MakeExportPatient(const PatientRecord &patient, int unitSetup);

// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/ExportPatient.h"

#include "app/Texts.h"
#include "model/PatientRecord.h"
#include "model/UnitText.h"

ExportPatient MakeExportPatient(const PatientRecord &patient, int unitSetup)
{
    ExportPatient p;
    p.nameLabel = Text(TextNo::Name);
    p.genderLabel = Text(TextNo::Gender);
    p.ageLabel = Text(TextNo::Age);
    p.heightLabel = Text(TextNo::Height);
    p.weightLabel = Text(TextNo::Weight);
    p.idNumber = patient.idNumber;
    p.name = patient.nameText();
    p.gender = Text(patient.gender != 0 ? TextNo::Female : TextNo::Male);
    p.age = patient.age;
    p.height = HeightText(patient.height, patient.unitSystem, unitSetup);
    p.weight = WeightText(patient.weight, patient.unitSystem, unitSetup);
    return p;
}

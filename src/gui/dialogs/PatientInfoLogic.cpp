// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/PatientInfoLogic.h"

#include "app/Prompts.h"
#include "app/Texts.h"
#include "model/PatientStore.h"
#include "model/RecordStore.h"
#include "model/TextCut.h"
#include "model/Units.h"

namespace
{

bool validId(int id)
{
    return id >= 1 && id <= RecordStore::kIdCount;
}

} // namespace

PatientInfoLogic::PatientInfoLogic(RecordStore &store, Prompts &prompts, int unitSetup, Keep keep)
    : store_(store), prompts_(prompts), unitSetup_(unitSetup), keep_(keep)
{
}

PatientInfoValues PatientInfoLogic::initialValues() const
{
    const PatientRecord &p = store_.currentPatient;
    PatientInfoValues v;
    // Every ID a recording can carry (files allow 128) shows, so Save Info can store it.
    if (validId(p.idNumber))
        v.idText = QString::number(p.idNumber);
    v.gender = p.gender != 0 ? 1 : 0;
    v.age = p.age >= 1 && p.age <= 200 ? p.age : 0;
    v.name = p.nameText();
    v.height = Units::whole(Units::convertHeight(p.height, p.unitSystem, unitSetup_));
    v.weight = Units::whole(Units::convertWeight(p.weight, p.unitSystem, unitSetup_));
    v.physician = p.physicianText();
    v.note1 = p.note1Text();
    v.note2 = p.note2Text();
    v.comments = p.commentsText();
    return v;
}

QString PatientInfoLogic::heightUnit() const
{
    return Units::isMetric(unitSetup_) ? QStringLiteral("cm") : QStringLiteral("in");
}

QString PatientInfoLogic::weightUnit() const
{
    return Units::isMetric(unitSetup_) ? QStringLiteral("kg") : QStringLiteral("lb");
}

bool PatientInfoLogic::isNumberField(PatientField field)
{
    return field == PatientField::Age || field == PatientField::Height || field == PatientField::Weight;
}

int PatientInfoLogic::maxLength(PatientField field) const
{
    switch (field) {
    case PatientField::Name:
    case PatientField::Physician:
        return 30;
    case PatientField::Note1:
    case PatientField::Note2:
        return 40;
    case PatientField::Comments:
        return 80;
    case PatientField::Age:
        return 3;
    case PatientField::Height:
        return 4;
    case PatientField::Weight:
        break;
    }
    return 5;
}

int PatientInfoLogic::maxValue(PatientField field) const
{
    const bool metric = Units::isMetric(unitSetup_);
    switch (field) {
    case PatientField::Age:
        return 200;
    case PatientField::Height:
        return metric ? 400 : 157;
    case PatientField::Weight:
        return metric ? 1000 : 2203;
    default:
        return 0;
    }
}

std::optional<PatientInfoLogic::Correction> PatientInfoLogic::checkChange(PatientField field, const QString &text)
{
    const int limit = maxLength(field);
    if (!isNumberField(field)) {
        if (text.size() <= limit)
            return std::nullopt;
        const int number = limit == 30 ? TextNo::FieldMax30 : limit == 40 ? TextNo::FieldMax40 : TextNo::FieldMax80;
        prompts_.warning(Text(number));
        return Correction{cutText(text, limit), true, true};
    }

    // An emptied field shows "0" selected, so the next digit replaces it.
    if (text.isEmpty())
        return Correction{QStringLiteral("0"), true, false};
    // The limit counts characters, leading zeros included: "0200" is too long.
    bool ok = false;
    const int value = text.toInt(&ok);
    if (text.size() <= limit && ok && value >= 0 && value <= maxValue(field))
        return std::nullopt;
    int message = TextNo::ScopeAge;
    const bool metric = Units::isMetric(unitSetup_);
    if (field == PatientField::Height)
        message = metric ? TextNo::ScopeHeightMetric : TextNo::ScopeHeightBritish;
    else if (field == PatientField::Weight)
        message = metric ? TextNo::ScopeWeightMetric : TextNo::ScopeWeightBritish;
    prompts_.warning(Text(message));
    return Correction{QStringLiteral("0"), true, true};
}

int PatientInfoLogic::idFromText(const QString &idText)
{
    bool ok = false;
    const int id = idText.trimmed().toInt(&ok);
    return ok ? id : 0;
}

void PatientInfoLogic::save(const PatientInfoValues &values)
{
    PatientRecord p;
    p.idNumber = idFromText(values.idText);
    p.height = float(values.height);
    p.weight = float(values.weight);
    p.gender = values.gender;
    p.age = values.age;
    PatientRecord::setText(p.name, values.name);
    PatientRecord::setText(p.physician, values.physician);
    PatientRecord::setText(p.note1, values.note1);
    PatientRecord::setText(p.note2, values.note2);
    PatientRecord::setText(p.comments, values.comments);
    p.unitSystem = unitSetup_;
    store_.currentPatient = p;
    store_.patientEnteredForRecording = true;
    if (keep_ == Keep::InMemory || !validId(p.idNumber))
        return;
    // A store that cannot be written still leaves the details on screen for this recording.
    StorePatientInfo(p.idNumber - 1, p);
    store_.patientFlags[std::size_t(p.idNumber - 1)].infoSaved = 1;
}

PatientInfoLogic::DeleteOutcome PatientInfoLogic::deleteInfo(const QString &idText)
{
    if (prompts_.question(Text(TextNo::ConfirmDeleteInfo)) != Prompts::Answer::Ok)
        return DeleteOutcome::Cancelled;
    PatientRecord cleared;
    cleared.idNumber = idFromText(idText);
    store_.currentPatient = cleared;
    if (!validId(cleared.idNumber)) {
        prompts_.warning(Text(TextNo::PatientIdInvalid));
        return DeleteOutcome::InvalidId;
    }
    // Overwritten with zeros rather than removed, so the ID reads back as blank.
    StorePatientInfo(cleared.idNumber - 1, cleared);
    return DeleteOutcome::Deleted;
}

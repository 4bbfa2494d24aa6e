// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class Prompts;
class RecordStore;

// The fields of the patient information dialog, as the dialog shows them.
struct PatientInfoValues {
    QString idText; // empty when the recording has no usable ID
    int gender = 0; // 0 male, 1 female
    int age = 0;
    QString name;
    int height = 0; // in the units of the "UnitSetup" setting
    int weight = 0;
    QString physician;
    QString note1;
    QString note2;
    QString comments;
};

enum class PatientField { Name, Physician, Note1, Note2, Comments, Age, Height, Weight };

// What the "Edit patient information" dialog decides: the values it opens with,
// the limits checked as each field changes, and what Save Info and Delete Info
// store. unitSetup is the "UnitSetup" setting the dialog opened under.
class PatientInfoLogic
{
public:
    // Where Save Info puts the details: also under their ID in the patient store,
    // or only in currentPatient (an archived night's details, which belong to
    // that night and not to whoever has the ID now).
    enum class Keep { InPatientStore, InMemory };
    PatientInfoLogic(RecordStore &store, Prompts &prompts, int unitSetup, Keep keep = Keep::InPatientStore);

    // currentPatient, with height and weight in the units of unitSetup.
    PatientInfoValues initialValues() const;
    QString heightUnit() const;
    QString weightUnit() const;

    static bool isNumberField(PatientField field);
    // Characters a field may hold: 30, 40 or 80 for texts; 3, 4 or 5 digits.
    int maxLength(PatientField field) const;
    // The largest value of a number field under the dialog's units.
    int maxValue(PatientField field) const;

    struct Correction {
        QString text;   // what the field holds instead
        bool selectAll; // the field takes the focus with everything selected
        bool warned;    // a limit message was shown
    };
    // After every change of a field's text: the correction to apply, having shown
    // the limit message when one was broken; nullopt when the text may stay.
    std::optional<Correction> checkChange(PatientField field, const QString &text);

    // Save Info: currentPatient becomes the values; stored under its ID (1..128)
    // with infoSaved set, otherwise kept in memory for this recording only.
    void save(const PatientInfoValues &values);

    enum class DeleteOutcome { Cancelled, InvalidId, Deleted };
    // Delete Info: after the question, currentPatient is cleared to its ID and,
    // when that ID is 1..128, the cleared record overwrites the stored one.
    DeleteOutcome deleteInfo(const QString &idText);

    // The ID of the ID text: its decimal value, 0 when empty or not a number.
    static int idFromText(const QString &idText);

private:
    RecordStore &store_;
    Prompts &prompts_;
    int unitSetup_;
    Keep keep_;
};

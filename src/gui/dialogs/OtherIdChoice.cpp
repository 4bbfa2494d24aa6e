// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/OtherIdChoice.h"

#include "app/Prompts.h"
#include "app/Texts.h"
#include "model/RecordStore.h"

#include <QCoreApplication>

QStringList OtherIdChoice::lines() const
{
    return store_.otherIdLines();
}

int OtherIdChoice::done(int row)
{
    const QStringList all = lines();
    if (row < 0 || row >= all.size()) {
        // The patient details of the recording on screen stay as they are.
        prompts_.warning(Text(TextNo::SelectPatientId));
        return 0;
    }
    const int id = RecordStore::idFromOtherIdLine(all.at(row));
    if (id < 1 || id > RecordStore::kIdCount) {
        prompts_.warning(Text(TextNo::SelectPatientId));
        return 0;
    }
    // A new ID starts with empty details; stored ones are loaded by the selection.
    store_.currentPatient = PatientRecord{};
    if (store_.SelectDeviceId(id, RecordStore::SelectSource::Dialog) == RecordStore::PatientLoad::Missing)
        prompts_.warning(QCoreApplication::translate("RecordStore", "Get patient info error!"));
    return id;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/NightRecording.h"

#include "model/RecordStore.h"

void loadNight(RecordStore &store, const StoredNight &night)
{
    store.currentSamples = night.readings;
    store.reportTitle = night.info.title;
    store.currentPatient = night.patient;
    store.patientEnteredForRecording = false;
    store.currentNights = {night.info.night};
    store.currentMarks = night.marks;
}

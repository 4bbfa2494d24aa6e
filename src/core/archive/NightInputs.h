// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"

#include <functional>

// Cuts a recording into the nights the archive keeps, each with the details
// patientOf gives for its ID.
std::vector<NightInput> nightInputs(const SampleRecord *samples, int count, const QString &title, NightSource source,
                                    const QString &sourceName, bool partial,
                                    const std::function<PatientRecord(int id)> &patientOf);

// The details stored for id in the patient store, or an empty record with idNumber set.
PatientRecord storedPatientOf(int id);

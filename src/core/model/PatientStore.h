// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PatientRecord.h"

// Patient details per ID, kept between runs in QSettings("quellix", "patientinfo"),
// one 544-byte value per ID named by ID - 1 in decimal ("0" .. "127").

// False when no value of exactly 544 bytes is stored under index.
bool ReadPatientInfo(int index, PatientRecord &record);
bool StorePatientInfo(int index, const PatientRecord &record);

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QStringList>

struct ClinicalSummary;

// The summary as it appears under "clinical" in `quellix-cli analyze --json`;
// the keys are the field names of ClinicalSummary.
QJsonObject clinicalSummaryJson(const ClinicalSummary &summary);

// Those keys in the order of the fields, for output read by people.
const QStringList &clinicalSummaryKeys();

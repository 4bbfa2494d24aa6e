// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/NightInputs.h"

#include "archive/NightSplit.h"
#include "model/PatientStore.h"

std::vector<NightInput> nightInputs(const SampleRecord *samples, int count, const QString &title, NightSource source,
                                    const QString &sourceName, bool partial,
                                    const std::function<PatientRecord(int id)> &patientOf)
{
    std::vector<NightInput> out;
    for (const NightSplit::Span &span : NightSplit::split(samples, count)) {
        NightInput n;
        n.readings.assign(samples + span.first, samples + span.first + span.count);
        n.patient = patientOf(samples[span.first].id);
        n.title = title;
        n.source = source;
        n.sourceName = sourceName;
        n.partial = partial;
        out.push_back(std::move(n));
    }
    return out;
}

PatientRecord storedPatientOf(int id)
{
    PatientRecord p;
    if (id < 1 || id > 128 || !ReadPatientInfo(id - 1, p) || p.idNumber == 0) {
        p = PatientRecord{};
        p.idNumber = id;
    }
    return p;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PatientStore.h"

#include "app/SettingsFile.h"

bool ReadPatientInfo(int index, PatientRecord &record)
{
    if (index < 0 || index > 127)
        return false;
    const QVariant v = SettingsFile::readValue(QStringLiteral("patientinfo"), QString::number(index));
    if (!v.isValid() || v.typeId() != QMetaType::QByteArray)
        return false;
    return record.fromBytes(v.toByteArray());
}

bool StorePatientInfo(int index, const PatientRecord &record)
{
    if (index < 0 || index > 127)
        return false;
    return SettingsFile::writeValue(QStringLiteral("patientinfo"), QString::number(index), record.toBytes());
}

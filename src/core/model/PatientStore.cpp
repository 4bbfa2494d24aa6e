#include "model/PatientStore.h"

#include "app/SettingsFile.h"

namespace
{
QSettings patientStore()
{
    return SettingsFile::open(QStringLiteral("patientinfo"));
}
} // namespace

bool ReadPatientInfo(int index, PatientRecord &record)
{
    if (index < 0 || index > 127)
        return false;
    QSettings s = patientStore();
    const QVariant v = s.value(QString::number(index));
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

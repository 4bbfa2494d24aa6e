#include "model/PatientStore.h"

#include <QSettings>

namespace
{
QSettings patientStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quellix"),
                     QStringLiteral("patientinfo"));
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
    QSettings s = patientStore();
    s.setValue(QString::number(index), record.toBytes());
    s.sync();
    return s.status() == QSettings::NoError;
}

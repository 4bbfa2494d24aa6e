// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeleteChoice.h"

#include "model/DeviceModel.h"
#include "model/RecordStore.h"

#include <QCoreApplication>

DeleteChoice::DeleteChoice(const RecordStore &store)
{
    idItems_.append(QCoreApplication::translate("DeleteDataDialog", "All"));
    for (int id = 1; id <= RecordStore::kIdCount; ++id) {
        if (store.deviceSampleCount(id) > 0)
            idItems_.append(QString::number(id));
    }
    idSelectable_ = TraitsOfModel(store.deviceModel).deletesById;
}

QStringList DeleteChoice::typeItems()
{
    return {QCoreApplication::translate("DeleteDataDialog", "All"), QStringLiteral("SpO2&Pr")};
}

void DeleteChoice::chooseId(int index)
{
    if (index < 0 || index >= idItems_.size() || (!idSelectable_ && index != 0))
        return;
    idIndex_ = index;
    if (idIndex_ == 0)
        typeIndex_ = 0;
}

void DeleteChoice::chooseType(int index)
{
    if (index < 0 || index > 1)
        return;
    typeIndex_ = idIndex_ == 0 ? 0 : index;
}

int DeleteChoice::id() const
{
    return idIndex_ == 0 ? 0 : idItems_.at(idIndex_).toInt();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class RecordStore;

// What the Delete Data dialog allows: "All" or one downloaded ID, and a data
// type that can differ from "All" only for a single ID.
class DeleteChoice
{
public:
    explicit DeleteChoice(const RecordStore &store);

    // "All", then every ID holding readings, as "%d".
    QStringList idItems() const { return idItems_; }
    static QStringList typeItems();
    // Only models 1, 2 and 14 erase a single ID.
    bool idSelectable() const { return idSelectable_; }

    int idIndex() const { return idIndex_; }
    int typeIndex() const { return typeIndex_; }
    void chooseId(int index);
    void chooseType(int index);

    // 0 means every ID on the device.
    int id() const;
    // 0 "All", 1 "SpO2&Pr".
    int type() const { return typeIndex_; }

private:
    QStringList idItems_;
    bool idSelectable_ = false;
    int idIndex_ = 0;
    int typeIndex_ = 0;
};

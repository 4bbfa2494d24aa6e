// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class Prompts;
class RecordStore;

// What the "Open other ID data" dialog decides: the list of downloaded IDs and
// what "Done" does with the chosen line.
class OtherIdChoice
{
public:
    OtherIdChoice(RecordStore &store, Prompts &prompts) : store_(store), prompts_(prompts) {}

    QStringList lines() const;

    // row is the selected line, -1 for none. Returns the ID made current, or 0
    // when nothing was chosen (the dialog stays open and the store is untouched).
    int done(int row);

private:
    RecordStore &store_;
    Prompts &prompts_;
};

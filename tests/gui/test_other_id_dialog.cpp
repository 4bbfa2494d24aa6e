// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ScriptedPrompts.h"
#include "dialogs/OtherIdChoice.h"
#include "dialogs/OtherIdDialog.h"
#include "model/PatientStore.h"
#include "model/RecordStore.h"

#include <QListWidget>

#include <gtest/gtest.h>

namespace
{

void download(RecordStore &store, int id, int count)
{
    for (int i = 0; i < count; ++i) {
        SampleRecord s;
        s.id = std::uint8_t(id);
        s.year = 26;
        s.month = 1;
        s.day = 2;
        s.second = std::uint8_t(i % 60);
        s.spo2 = std::uint8_t(90 + i % 10);
        s.pulseRate = 70;
        store.deviceSamples[std::size_t(id - 1)].push_back(s);
    }
}

TEST(OtherIdChoice, DoneWithoutASelectionKeepsThePatientOnScreen)
{
    RecordStore store;
    download(store, 2, 3);
    store.currentPatient.idNumber = 2;
    PatientRecord::setText(store.currentPatient.name, QStringLiteral("On screen"));
    store.currentSamples = store.deviceSamples[1];
    const PatientRecord before = store.currentPatient;

    ScriptedPrompts prompts;
    OtherIdChoice logic(store, prompts);
    EXPECT_EQ(logic.done(-1), 0);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Please select patient ID")});
    EXPECT_EQ(store.currentPatient, before);
    EXPECT_EQ(logic.done(5), 0) << "a row past the list is no selection either";
    EXPECT_EQ(store.currentPatient, before);
}

TEST(OtherIdChoice, ChoosingAnIdStartsItsPatientAfresh)
{
    RecordStore store;
    download(store, 2, 3);
    download(store, 5, 8);
    PatientRecord::setText(store.currentPatient.name, QStringLiteral("Previous patient"));
    store.currentPatient.age = 70;

    ScriptedPrompts prompts;
    OtherIdChoice logic(store, prompts);
    ASSERT_EQ(logic.lines().size(), 2);
    EXPECT_EQ(logic.done(1), 5);
    EXPECT_EQ(store.currentSampleCount(), 8);
    EXPECT_EQ(store.currentPatient.idNumber, 5);
    EXPECT_TRUE(store.currentPatient.nameText().isEmpty());
    EXPECT_EQ(store.currentPatient.age, 0);
    EXPECT_TRUE(prompts.shown.isEmpty());

    PatientRecord stored;
    PatientRecord::setText(stored.name, QStringLiteral("Stored two"));
    stored.idNumber = 2;
    ASSERT_TRUE(StorePatientInfo(1, stored));
    store.patientFlags[1].infoSaved = 1;
    EXPECT_EQ(logic.done(0), 2);
    EXPECT_EQ(store.currentPatient.nameText(), QStringLiteral("Stored two"));
    EXPECT_EQ(store.currentSampleCount(), 3);
}

TEST(OtherIdDialog, ListsTheIdsAndStaysOpenUntilOneIsChosen)
{
    RecordStore store;
    download(store, 9, 4);
    download(store, 3, 1);
    ScriptedPrompts prompts;
    OtherIdDialog dialog(store, prompts);
    ASSERT_EQ(dialog.list()->count(), 2);
    EXPECT_TRUE(dialog.list()->item(0)->text().startsWith(QStringLiteral("ID   3")));

    dialog.show();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(prompts.shown.size(), 1);

    dialog.list()->setCurrentRow(1);
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenId(), 9);
    EXPECT_EQ(store.currentSampleCount(), 4);
}

} // namespace

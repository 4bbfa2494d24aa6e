// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ScriptedPrompts.h"
#include "model/PatientStore.h"
#include "model/RecordStore.h"

#include "test_samples.h"

#include <gtest/gtest.h>

namespace
{

SampleRecord reading(int id, int second, int spo2 = 96, int pulse = 70)
{
    return testdata::Reading(id, second, spo2, pulse);
}

void fillDownload(RecordStore &store, int id, int count)
{
    for (int i = 0; i < count; ++i)
        store.deviceSamples[std::size_t(id - 1)].push_back(reading(id, i % 60, 90 + i % 10));
}

TEST(RecordStore, ClearAllDataEmptiesEverythingButTitleAndModel)
{
    RecordStore store;
    fillDownload(store, 3, 5);
    store.currentSamples.push_back(reading(3, 1));
    store.currentPatient.idNumber = 3;
    store.patientFlags[2] = {1, 1};
    store.reportTitle = QStringLiteral("Night clinic");
    store.deviceModel = 4;
    store.archivedNights[2] = {11, 12};
    store.currentNights = {11};
    store.currentMarks = {{3, 9}};

    store.ClearAllData();

    EXPECT_EQ(store.currentSampleCount(), 0);
    EXPECT_EQ(store.currentPatient, PatientRecord{});
    EXPECT_FALSE(store.hasDownloadedData());
    EXPECT_EQ(store.patientFlags[2].infoSaved, 0);
    EXPECT_EQ(store.patientFlags[2].dataSaved, 0);
    EXPECT_TRUE(store.archivedNights[2].empty());
    EXPECT_TRUE(store.currentNights.empty());
    EXPECT_TRUE(store.currentMarks.empty());
    EXPECT_EQ(store.reportTitle, QStringLiteral("Night clinic"));
    EXPECT_EQ(store.deviceModel, 4);
}

TEST(RecordStore, OtherIdListHasOneLinePerIdWithDataInIdOrder)
{
    RecordStore store;
    fillDownload(store, 5, 12);
    fillDownload(store, 2, 3);
    const QStringList lines = store.otherIdLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("ID   2     total          3 Groups"));
    EXPECT_EQ(lines[1], QStringLiteral("ID   5     total         12 Groups"));
    EXPECT_EQ(RecordStore::idFromOtherIdLine(lines[0]), 2);
    EXPECT_EQ(RecordStore::idFromOtherIdLine(lines[1]), 5);
    EXPECT_EQ(RecordStore::idFromOtherIdLine(QStringLiteral("ID 127     total          3 Groups")), 127);
}

TEST(RecordStore, SelectReversesOnlyForNewestFirstModels)
{
    for (int model : {0, 1, 2, 3, 4, 11, 14}) {
        RecordStore store;
        store.deviceModel = model;
        fillDownload(store, 7, 4);
        store.archivedNights[6] = {21};
        EXPECT_EQ(store.SelectDeviceId(7, RecordStore::SelectSource::Download), RecordStore::PatientLoad::NotLooked);
        ASSERT_EQ(store.currentSampleCount(), 4) << "model " << model;
        const auto &held = store.deviceSamples[6];
        const bool reversed = model == 1 || model == 3 || model == 4 || model == 11;
        EXPECT_EQ(store.currentSamples.front(), reversed ? held.back() : held.front()) << "model " << model;
        EXPECT_EQ(store.currentSamples.back(), reversed ? held.front() : held.back()) << "model " << model;
        EXPECT_EQ(store.currentNights, std::vector<qint64>{21}) << "Save Info must reach this ID's nights";
    }
}

TEST(RecordStore, SelectWithoutStoredPatientLeavesEmptyFieldsAndTheId)
{
    RecordStore store;
    fillDownload(store, 9, 2);
    store.currentPatient.age = 40;
    // infoSaved is 0, so nothing is looked up.
    EXPECT_EQ(store.SelectDeviceId(9, RecordStore::SelectSource::Dialog), RecordStore::PatientLoad::NotLooked);
    EXPECT_EQ(store.currentPatient.idNumber, 9);
    EXPECT_TRUE(store.currentPatient.nameText().isEmpty());
}

TEST(RecordStore, SelectLoadsStoredPatientAndFillsMissingId)
{
    PatientRecord p;
    PatientRecord::setText(p.name, QStringLiteral("Ada"));
    p.age = 51;
    ASSERT_TRUE(StorePatientInfo(3, p)); // ID 4, stored with idNumber 0

    RecordStore store;
    fillDownload(store, 4, 2);
    store.patientFlags[3].infoSaved = 1;
    EXPECT_EQ(store.SelectDeviceId(4, RecordStore::SelectSource::Dialog), RecordStore::PatientLoad::Loaded);
    EXPECT_EQ(store.currentPatient.nameText(), QStringLiteral("Ada"));
    EXPECT_EQ(store.currentPatient.age, 51);
    EXPECT_EQ(store.currentPatient.idNumber, 4);

    // The download's own silent read keeps the ID as well.
    RecordStore downloaded;
    fillDownload(downloaded, 4, 2);
    EXPECT_EQ(downloaded.SelectDeviceId(4, RecordStore::SelectSource::Download), RecordStore::PatientLoad::Loaded);
    EXPECT_EQ(downloaded.currentPatient.nameText(), QStringLiteral("Ada"));
    EXPECT_EQ(downloaded.currentPatient.idNumber, 4);
}

TEST(RecordStore, PatientInfoMissingGivesABlankRecordOfThatIdNeverThePrevious)
{
    PatientRecord alice;
    alice.idNumber = 1;
    PatientRecord::setText(alice.name, QStringLiteral("Alice"));
    alice.age = 62;

    RecordStore store;
    store.currentPatient = alice;
    EXPECT_EQ(store.LoadPatientInfo(19), RecordStore::PatientLoad::Missing); // ID 20: nothing stored
    PatientRecord blank20;
    blank20.idNumber = 20;
    EXPECT_EQ(store.currentPatient, blank20);

    // ID 0: nothing to load, nothing to report.
    EXPECT_EQ(store.LoadPatientInfo(-1), RecordStore::PatientLoad::NotLooked);

    // Choosing another downloaded ID whose read fails, by either path.
    fillDownload(store, 6, 2);
    store.patientFlags[5].infoSaved = 1; // flagged, but the store holds nothing
    for (auto source : {RecordStore::SelectSource::Dialog, RecordStore::SelectSource::Download}) {
        store.currentPatient = alice;
        const RecordStore::PatientLoad load = store.SelectDeviceId(6, source);
        PatientRecord blank6;
        blank6.idNumber = 6;
        EXPECT_EQ(store.currentPatient, blank6);
        // The caller shows "Get patient info error!" for Missing; the download's own read stays silent.
        EXPECT_EQ(load, source == RecordStore::SelectSource::Dialog ? RecordStore::PatientLoad::Missing
                                                                    : RecordStore::PatientLoad::NotLooked);
    }
}

} // namespace

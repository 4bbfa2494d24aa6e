// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clinical/SignalQuality.h"
#include "model/PatientRecord.h"
#include "model/SampleRecord.h"

#include <QString>

#include <array>
#include <vector>

struct PatientFlags {
    int infoSaved = 0; // the ID's PatientRecord was written to the patient store
    int dataSaved = 0; // a recording of the ID was saved as a .dat file
};

// The one in-memory model of oximeter data for the whole run: what the last
// download brought per patient ID, the current recording every view reads, and
// the patient details of the ID now shown. Passed by reference; never global.
class RecordStore
{
public:
    static constexpr int kCapacity = 518400;     // readings of one recording
    static constexpr int kFileCapacity = 259200; // readings a .dat file may hold
    static constexpr int kIdCount = 128;

    RecordStore();

    // The current recording. Its size is currentSampleCount(); never above kCapacity.
    std::vector<SampleRecord> currentSamples;
    int currentSampleCount() const { return int(currentSamples.size()); }

    PatientRecord currentPatient;
    // Save Info was used since the current recording became current: the
    // details on screen were entered for it (see storePatientOfFirstReading).
    bool patientEnteredForRecording = false;

    // Downloaded readings per ID (index ID - 1), in the order the device sent them.
    // Buffers grow as readings arrive; only the download appends to them.
    std::array<std::vector<SampleRecord>, kIdCount> deviceSamples;
    int deviceSampleCount(int id) const;
    bool hasDownloadedData() const;

    std::array<PatientFlags, kIdCount> patientFlags{};
    // The archive's nights of each downloaded ID (index ID - 1), and of the
    // current recording: what Save Info updates. Empty: not in the archive.
    std::array<std::vector<qint64>, kIdCount> archivedNights;
    std::vector<qint64> currentNights;
    // The spans of the current recording marked as artefact by hand; only an
    // archived night keeps them.
    std::vector<ReadingSpan> currentMarks;
    QString reportTitle;
    int deviceModel = 0;

    // Empties everything except reportTitle and deviceModel.
    void ClearAllData();

    // True when the device of the last download lists its readings newest first.
    static bool isNewestFirstModel(int model);

    // What became of the patient details; Missing is for the caller to report
    // ("Get patient info error!").
    enum class PatientLoad { Loaded, NotLooked, Missing };

    enum class SelectSource { Dialog, Download };
    // Makes the downloaded readings of id (1..128) the current recording and loads
    // its patient details over a blank record of that ID. Dialog: only when
    // infoSaved, through LoadPatientInfo; Download: read directly, a missing
    // record is no failure.
    PatientLoad SelectDeviceId(int id, SelectSource source);

    // index is ID - 1. Reads the stored patient details into currentPatient. When
    // none can be read, returns Missing and leaves a blank record carrying only
    // the ID, never the details of the patient shown before.
    PatientLoad LoadPatientInfo(int index);

    // The lines of the "Open other ID data" list, one per ID with readings.
    QStringList otherIdLines() const;
    // The ID read back from one of those lines; 0 when there is none.
    static int idFromOtherIdLine(const QString &line);
};

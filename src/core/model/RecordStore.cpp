// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/RecordStore.h"

#include "model/DeviceModel.h"

#include "app/Texts.h"
#include "model/PatientStore.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

RecordStore::RecordStore()
{
    ClearAllData();
}

int RecordStore::deviceSampleCount(int id) const
{
    if (id < 1 || id > kIdCount)
        return 0;
    return int(deviceSamples[std::size_t(id - 1)].size());
}

bool RecordStore::hasDownloadedData() const
{
    return std::any_of(deviceSamples.begin(), deviceSamples.end(), [](const auto &v) { return !v.empty(); });
}

void RecordStore::ClearAllData()
{
    currentSamples.clear();
    currentSamples.shrink_to_fit();
    currentPatient = PatientRecord{};
    patientEnteredForRecording = false;
    for (auto &buffer : deviceSamples) {
        buffer.clear();
        buffer.shrink_to_fit();
    }
    for (auto &nights : archivedNights)
        nights.clear();
    currentNights.clear();
    currentMarks.clear();
    patientFlags.fill(PatientFlags{});
}

bool RecordStore::isNewestFirstModel(int model)
{
    return TraitsOfModel(model).newestFirst;
}

RecordStore::PatientLoad RecordStore::SelectDeviceId(int id, SelectSource source)
{
    if (id < 1 || id > kIdCount)
        return PatientLoad::NotLooked;
    const auto &buffer = deviceSamples[std::size_t(id - 1)];
    const std::size_t n = std::min<std::size_t>(buffer.size(), kCapacity);
    // The ID starts with blank details; the stored ones, if any, are loaded below.
    // Nothing of the patient shown before may stay under the new ID.
    currentPatient = PatientRecord{};
    currentPatient.idNumber = id;
    patientEnteredForRecording = false;
    currentNights = archivedNights[std::size_t(id - 1)];
    currentMarks.clear();
    if (isNewestFirstModel(deviceModel))
        currentSamples.assign(buffer.rbegin() + std::ptrdiff_t(buffer.size() - n), buffer.rend());
    else
        currentSamples.assign(buffer.begin(), buffer.begin() + std::ptrdiff_t(n));

    PatientLoad load = PatientLoad::NotLooked;
    if (source == SelectSource::Dialog) {
        if (patientFlags[std::size_t(id - 1)].infoSaved == 1)
            load = LoadPatientInfo(id - 1);
    } else {
        PatientRecord stored;
        if (ReadPatientInfo(id - 1, stored)) {
            currentPatient = stored;
            load = PatientLoad::Loaded;
        }
        // A record stored without its number must not lose the ID on screen.
        if (currentPatient.idNumber == 0)
            currentPatient.idNumber = id;
    }
    return load;
}

RecordStore::PatientLoad RecordStore::LoadPatientInfo(int index)
{
    // The index arrives as an unsigned byte: ID 0 becomes 255 and loads nothing.
    const int byteIndex = index & 0xFF;
    if (byteIndex > 128)
        return PatientLoad::NotLooked;
    PatientRecord stored;
    if (!ReadPatientInfo(byteIndex, stored)) {
        // Keeping the previous patient's details would show (and later save) them
        // under this ID: a wrong report for a real person.
        currentPatient = PatientRecord{};
        currentPatient.idNumber = byteIndex + 1;
        return PatientLoad::Missing;
    }
    currentPatient = stored;
    if (stored.idNumber == 0)
        currentPatient.idNumber = byteIndex + 1;
    return PatientLoad::Loaded;
}

QStringList RecordStore::otherIdLines() const
{
    QStringList lines;
    const QString total = Text(TextNo::Total);
    const QString groups = Text(TextNo::Groups);
    for (int id = 1; id <= kIdCount; ++id) {
        const int count = deviceSampleCount(id);
        if (count > 0)
            lines.append(QString::asprintf("ID %3d     ", id) + total + QString::asprintf(" %10d ", count) + groups);
    }
    return lines;
}

int RecordStore::idFromOtherIdLine(const QString &line)
{
    QString digits = line.left(6).right(4);
    digits.remove(u' ');
    bool ok = false;
    const int id = digits.toInt(&ok);
    return ok ? id : 0;
}

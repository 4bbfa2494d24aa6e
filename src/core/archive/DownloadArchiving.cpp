// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/DownloadArchiving.h"

#include "archive/ClinicArchive.h"
#include "archive/NightInputs.h"
#include "archive/NightSplit.h"
#include "archive/ReadingCodec.h"
#include "model/RecordStore.h"

namespace
{

// One ID's readings in recording order, as the current recording would hold them.
std::vector<SampleRecord> recordingOf(const RecordStore &store, int id)
{
    const std::vector<SampleRecord> &buffer = store.deviceSamples[std::size_t(id - 1)];
    if (RecordStore::isNewestFirstModel(store.deviceModel))
        return {buffer.rbegin(), buffer.rend()};
    return buffer;
}

// The local copies of the current recording's nights get the current details;
// failure when this computer has none of them.
ArchiveResult<> setPatientHere(ClinicArchive &archive, const RecordStore &store, const ArchiveResult<> &failure)
{
    const std::vector<SampleRecord> &readings = store.currentSamples;
    std::vector<QByteArray> hashes{ReadingCodec::readingsHash(readings.data(), int(readings.size()))};
    for (const NightSplit::Span &span : NightSplit::split(readings.data(), int(readings.size())))
        hashes.push_back(ReadingCodec::readingsHash(readings.data() + span.first, span.count));
    bool found = false;
    for (const QByteArray &hash : hashes) {
        const ArchiveResult<qint64> here = archive.local().find(hash);
        if (!here)
            continue;
        found = true;
        // Numbered as handed out while a server is in use.
        if (ArchiveResult<> done = archive.setPatient(-here.value(), store.currentPatient); !done)
            return done;
    }
    return found ? ArchiveResult<>{} : failure;
}

} // namespace

DownloadArchived archiveDownload(RecordStore &store, const QString &path, const QString &server, const QString &port,
                                 bool partial, bool sendAtOnce)
{
    DownloadArchived out;
    std::vector<NightInput> nights;
    std::vector<int> idOfNight;
    for (int id = 1; id <= RecordStore::kIdCount; ++id) {
        if (store.deviceSampleCount(id) == 0)
            continue;
        const std::vector<SampleRecord> readings = recordingOf(store, id);
        for (NightInput &n : nightInputs(readings.data(), int(readings.size()), store.reportTitle,
                                         NightSource::Download, port, partial, storedPatientOf)) {
            nights.push_back(std::move(n));
            idOfNight.push_back(id);
        }
    }
    if (nights.empty())
        return out;
    out.ran = true;

    ArchiveResult<ClinicArchive::Opened> opened = ClinicArchive::open(path, server, {}, sendAtOnce);
    if (!opened) {
        out.failure = opened.failure();
        return out;
    }
    out.damagedKeptAs = opened.value().damagedKeptAs;
    ClinicArchive &archive = *opened.value().archive;
    const ArchiveResult<StoreCounts> stored = archive.store(nights);
    if (!stored) {
        out.failure = stored.failure();
        return out;
    }
    const StoreCounts &counts = stored.value();
    out.ok = true;
    out.added = counts.added;
    out.present = counts.present;
    // Every input has readings, so each has its night.
    for (std::size_t i = 0; i < counts.nights.size() && i < idOfNight.size(); ++i)
        store.archivedNights[std::size_t(idOfNight[i] - 1)].push_back(counts.nights[i]);
    if (archive.usesServer()) {
        if (sendAtOnce)
            if (const ArchiveResult<ClinicArchive::SyncCounts> synced = archive.sync(); !synced)
                out.serverAway = synced.failure();
        const ArchiveResult<int> waiting = archive.pendingNights();
        out.pending = waiting ? waiting.value() : 0;
    }
    return out;
}

ArchiveResult<> updateArchivedPatient(const RecordStore &store, const QString &path, const QString &server)
{
    if (store.currentNights.empty())
        return {};
    ArchiveResult<ClinicArchive::Opened> opened = ClinicArchive::open(path, server);
    if (!opened)
        return opened.failure();
    ClinicArchive &archive = *opened.value().archive;
    for (qint64 night : store.currentNights) {
        ArchiveResult<> done = archive.setPatient(night, store.currentPatient);
        // The server's number of a night, with the server gone: the edit
        // waits on this computer's copy, found by its readings.
        if (!done && done.error() == ArchiveError::Unavailable && night > 0)
            done = setPatientHere(archive, store, done);
        if (!done)
            return done;
    }
    return {};
}

bool hasUnkeptDownload(const RecordStore &store)
{
    for (int id = 1; id <= RecordStore::kIdCount; ++id) {
        const auto i = std::size_t(id - 1);
        if (store.deviceSampleCount(id) > 0 && store.archivedNights[i].empty() && store.patientFlags[i].dataSaved == 0)
            return true;
    }
    return false;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/ArchiveError.h"

#include <QString>

#include <optional>

class RecordStore;

// What became of a download's readings in the archive.
struct DownloadArchived {
    bool ran = false; // the archive was asked to keep them
    bool ok = false;  // every night is in the archive, new or already there
    int added = 0;
    int present = 0;
    ArchiveFailure failure{}; // why nothing was written
    QString damagedKeptAs;    // a damaged archive file put aside on the way
    // With a clinic server: how many nights wait to be sent, and why when it
    // could not be reached.
    int pending = 0;
    std::optional<ArchiveFailure> serverAway;
};

// Keeps every downloaded ID's readings of store in the archive at path, in one
// transaction: cut into nights, each with the details stored for its ID now
// and the port as its source. Fills store.archivedNights. On failure the
// archive and the readings stay as they were. With a clinic server (server:
// its connection string, empty for none) the nights are sent next, with
// whatever else waits to be sent, unless sendAtOnce is false; what is not
// sent waits for a sync.
DownloadArchived archiveDownload(RecordStore &store, const QString &path, const QString &server, const QString &port,
                                 bool partial, bool sendAtOnce = true);

// Writes the current patient details to the current recording's archived
// nights, if it has any.
ArchiveResult<> updateArchivedPatient(const RecordStore &store, const QString &path, const QString &server);

// Some downloaded ID is neither saved nor in the archive.
bool hasUnkeptDownload(const RecordStore &store);

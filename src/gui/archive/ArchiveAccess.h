// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class SqliteArchive;

// The window's one way into the night archive: opens it on first use and
// keeps the nights removed in this session so that they can be restored.
// Every failure comes back as a text for the user.
class ArchiveAccess
{
public:
    // path: the archive file; empty for the per-user one.
    explicit ArchiveAccess(QString path = {});
    ~ArchiveAccess();
    ArchiveAccess(const ArchiveAccess &) = delete;
    ArchiveAccess &operator=(const ArchiveAccess &) = delete;

    // Oldest first.
    std::optional<std::vector<NightInfo>> list(QString *error);
    // The newest `count` nights by start, newest first; empty when the archive cannot be read.
    std::vector<NightInfo> recent(int count);
    std::optional<StoredNight> night(qint64 number, QString *error);
    bool setPatient(qint64 number, const PatientRecord &patient, QString *error);
    // One batch in one transaction.
    std::optional<StoreCounts> store(const std::vector<NightInput> &nights, QString *error);
    // Replaces the night's hand-marked spans; returns them as stored (overlaps joined).
    std::optional<std::vector<ReadingSpan>> setMarks(qint64 number, const std::vector<ReadingSpan> &spans,
                                                     QString *error);

    // Removes the night, keeping it for restoreLastRemoved().
    bool remove(qint64 number, QString *error);
    bool canRestore() const { return !removed_.empty(); }
    // Stores the night removed last again (under a new number).
    bool restoreLastRemoved(QString *error);

    // The archive file in use.
    QString path() const;

    // Set once when opening found a damaged file and put it aside; taken by the caller.
    QString takeDamagedNotice();

private:
    Archive *archive(QString *error);
    // True when r succeeded; otherwise error gets the words for its failure.
    template <typename T> bool told(const ArchiveResult<T> &r, qint64 night, QString *error) const;

    QString path_;
    std::unique_ptr<SqliteArchive> archive_;
    std::vector<StoredNight> removed_;
    QString damagedKeptAs_;
};

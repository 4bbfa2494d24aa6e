// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/ClinicArchive.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ArchiveThread;
class QObject;

// The window's one way into the night archive: opens it on first use and
// keeps the nights removed in this session so that they can be restored.
// Every failure comes back as a text for the user.
//
// With a clinic server, every call runs on a thread of its own (see
// ArchiveThread), so that a server slow to answer or gone never freezes the
// window; nights come from the server while it answers and from this
// computer otherwise.
class ArchiveAccess
{
public:
    // path: the archive file; empty for the per-user one. server: the clinic
    // server's connection string; empty for this computer only.
    explicit ArchiveAccess(QString path = {}, const QString &server = {});
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

    // Uses another clinic server (empty: none) from the next call on.
    void setServer(const QString &server);
    // Asked, on this thread, when the server wants a password; it is kept for
    // this session only. nullopt: go on without the server.
    void setPasswordPrompt(std::function<std::optional<QString>()> prompt) { askPassword_ = std::move(prompt); }
    // Told, on this thread, when another desk changed the server's nights.
    void setChangedElsewhere(std::function<void()> changed) { changedElsewhere_ = std::move(changed); }

    struct ServerState {
        bool used = false;      // a clinic server is set
        bool connected = false; // ... and answers; nights are listed from it
        bool readOnly = false;  // ... to an account that may only read
        int pending = 0;        // nights not yet on the server
        QString away;           // why it does not answer, when it does not
    };
    ServerState serverState();
    // Sends what waits; the words of the failure otherwise.
    std::optional<ClinicArchive::SyncCounts> sync(QString *error);
    // A call is in hand (a timer must not start another meanwhile).
    bool busy() const;

private:
    ClinicArchive *archive(QString *error);
    // This session's password was refused: it is dropped, to be asked for again.
    bool passwordRefused();
    // Runs work where the archive lives, asking for a password when the server wants one.
    void call(const std::function<void()> &work);
    // Notices from a newly connected server reach changedElsewhere_.
    void listen();
    // True when r succeeded; otherwise error gets the words for its failure.
    template <typename T> bool told(const ArchiveResult<T> &r, qint64 night, QString *error) const;

    QString path_;
    QString server_;
    QString password_; // this session's, never stored
    std::unique_ptr<ClinicArchive> archive_;
    std::unique_ptr<ArchiveThread> thread_; // with a server only
    std::vector<StoredNight> removed_;
    QString damagedKeptAs_;
    bool wantsPassword_ = false;
    std::function<std::optional<QString>()> askPassword_;
    std::function<void()> changedElsewhere_;
    const void *heard_ = nullptr; // the server archive listened to
    std::unique_ptr<QObject> listener_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"

#include <functional>

namespace archivetest
{

// An archive as another program reaches it: every call goes to target while
// reachable() holds, and fails as a lost connection does otherwise.
// beforeStore runs first in each store(), where a test cuts the link.
class ForwardingArchive : public Archive
{
public:
    ForwardingArchive(Archive &target, std::function<bool()> reachable, std::function<void()> beforeStore = {})
        : target_(target), reachable_(std::move(reachable)), beforeStore_(std::move(beforeStore))
    {
    }

    static ArchiveFailure cut()
    {
        return {ArchiveError::Unavailable, QStringLiteral("server closed the connection unexpectedly")};
    }

    ArchiveResult<StoreCounts> store(const std::vector<NightInput> &nights) override
    {
        if (beforeStore_)
            beforeStore_();
        return up() ? target_.store(nights) : cut();
    }
    ArchiveResult<NightList> list(const ArchiveFilter &f) override { return up() ? target_.list(f) : cut(); }
    ArchiveResult<StoredNight> night(qint64 n) override { return up() ? target_.night(n) : cut(); }
    ArchiveResult<> remove(qint64 n) override { return up() ? target_.remove(n) : cut(); }
    ArchiveResult<> setPatient(qint64 n, const PatientRecord &p, const QString &at = {}) override
    {
        return up() ? target_.setPatient(n, p, at) : cut();
    }
    ArchiveResult<> setMarks(qint64 n, const std::vector<ReadingSpan> &s, const QString &at = {}) override
    {
        return up() ? target_.setMarks(n, s, at) : cut();
    }
    ArchiveResult<std::vector<ReadingSpan>> marks(qint64 n) override { return up() ? target_.marks(n) : cut(); }
    ArchiveResult<qint64> find(const QByteArray &h) override { return up() ? target_.find(h) : cut(); }
    ArchiveResult<> forget(const QByteArray &h, const QString &at) override
    {
        return up() ? target_.forget(h, at) : cut();
    }
    ArchiveResult<QString> removedAt(const QByteArray &h) override { return up() ? target_.removedAt(h) : cut(); }
    QStringList check() override { return target_.check(); }
    ArchiveResult<> backupTo(const QString &path) override { return target_.backupTo(path); }

private:
    bool up() const { return reachable_(); }
    Archive &target_;
    std::function<bool()> reachable_;
    std::function<void()> beforeStore_;
};

} // namespace archivetest

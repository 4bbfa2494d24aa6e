// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/BackgroundJob.h"
#include "archive/ArchiveError.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <optional>

class SqlArchive;

// Computes again, batch by batch (one transaction each), every summary an
// older program computed, until none is left or stop is set. progress(done,
// total) follows each batch. Returns how many nights were looked at.
ArchiveResult<int> refreshOlderSummaries(SqlArchive &archive, const std::function<void(int done, int total)> &progress,
                                         const std::atomic<bool> &stop);

// The same off the caller's thread, through a connection of its own, so that
// a newer program opens an older archive at once: meanwhile the list shows
// the older figures, marked by their version (NightInfo::summaryIsCurrent()).
class SummaryRefresh : public QObject
{
    Q_OBJECT

public:
    explicit SummaryRefresh(QObject *parent = nullptr);
    // Stops after the batch in hand and waits for it.
    ~SummaryRefresh() override;

    // Starts a run, after ending one in hand (which then reports nothing).
    void start(const QString &archivePath);
    // Stops after the batch in hand; finished() follows.
    void stop();
    bool running() const { return job_.running(); }
    // Why the last run failed; nullopt after a run that ended well.
    const std::optional<ArchiveFailure> &failure() const { return failure_; }

Q_SIGNALS:
    void progress(int done, int total);
    void finished(bool ok);

private:
    std::atomic<bool> stop_{false};
    std::optional<ArchiveFailure> failure_;
    BackgroundJob job_{this};
};

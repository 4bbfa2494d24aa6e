// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/SummaryRefresh.h"

#include "archive/SqliteArchive.h"

#include <algorithm>

namespace
{
// Small enough that the other program waits little for the write lock, large
// enough that the commits do not dominate.
constexpr int kBatch = 50;
} // namespace

ArchiveResult<int> refreshOlderSummaries(SqlArchive &archive, const std::function<void(int, int)> &progress,
                                         const std::atomic<bool> &stop)
{
    const ArchiveResult<int> total = archive.olderSummaries();
    if (!total)
        return total.failure();
    int done = 0;
    qint64 after = 0;
    while (!stop) {
        if (progress)
            progress(done, total.value());
        const ArchiveResult<SqlArchive::SummaryBatch> step = archive.refreshSummaries(after, kBatch);
        if (!step)
            return step.failure();
        if (step.value().looked == 0)
            break;
        // Nights another program added meanwhile may take the count past the total.
        done = std::min(done + step.value().looked, total.value());
        after = step.value().last;
    }
    return done;
}

SummaryRefresh::SummaryRefresh(QObject *parent) : QObject(parent) {}

SummaryRefresh::~SummaryRefresh()
{
    stop_ = true;
    job_.drop();
    job_.join();
}

void SummaryRefresh::start(const QString &archivePath)
{
    // A run in hand ends after its batch, without a word.
    stop_ = true;
    job_.drop();
    job_.join();
    stop_ = false;
    failure_.reset();
    job_.run<std::optional<ArchiveFailure>>(
        [this, archivePath](const BackgroundJob::Post &post) -> std::optional<ArchiveFailure> {
            // A connection belongs to the thread that opened it.
            ArchiveResult<SqliteArchive::Opened> opened = SqliteArchive::open(archivePath);
            if (!opened)
                return opened.failure();
            const ArchiveResult<int> done = refreshOlderSummaries(
                *opened.value().archive,
                [this, &post](int d, int total) { post([this, d, total] { Q_EMIT progress(d, total); }); }, stop_);
            if (!done)
                return done.failure();
            return std::nullopt;
        },
        [this](std::optional<ArchiveFailure> &failed) {
            failure_ = failed;
            Q_EMIT finished(!failed);
        });
}

void SummaryRefresh::stop()
{
    stop_ = true;
}

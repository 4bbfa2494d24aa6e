// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/SqlArchive.h"

#include <memory>

// The per-user archive: one SQLite file shared by the program and quellix-cli.
// Everything that knows it is SQLite is here: the file and its folder, WAL and
// the pragmas, the integrity check, online copies.
class SqliteArchive : public SqlArchive
{
public:
    struct Opened {
        std::unique_ptr<SqliteArchive> archive;
        QString damagedKeptAs; // set once when a damaged file was put aside
    };

    // $XDG_DATA_HOME/quellix/archive.sqlite: one place for the program and the CLI.
    static QString defaultPath();

    // Opens path, creating it (mode 0600) when missing, and brings its schema
    // up to date. A file made by a newer program is refused and left as it is.
    // A file that is not a database or fails the integrity check is renamed to
    // "<path>.damaged-<time>" and a new archive is started in its place.
    // targetVersion (tests) stops the migrations early. Summaries an older
    // program computed are left for SummaryRefresh.
    static ArchiveResult<Opened> open(const QString &path, int targetVersion = kSchemaVersion);

    QStringList check() override;
    ArchiveResult<> backupTo(const QString &path) override;

    // Replaces every night by those of the archive file in, after checking a
    // copy of it; the nights before are kept at "<path>.before-restore". The
    // copy's pages go through SQLite's online backup into this connection, so
    // other programs with the archive open see the restored archive.
    ArchiveResult<> restoreFrom(const QString &in);

    // Moves the WAL into the file, so that the file's size is what the archive takes.
    bool checkpoint();

    const QString &path() const { return path_; }

protected:
    ArchiveResult<> beginWrite() override;
    ArchiveFailure failure(ArchiveError fallback, const QSqlError &error) const override;
    std::optional<qint64> dataVersion() override;
    std::optional<NightList> readListing(const QString &sql, const QVariantList &values) override;

private:
    SqliteArchive(QString connectionName, QString path);
    ArchiveResult<> copyPagesFrom(const QString &source);
    // False when the file is damaged; a failure when it cannot be read.
    ArchiveResult<bool> sound();
    QString path_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/FileImport.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class ArchiveAccess;

// Writes each night into folder in the format of extension ("dat", "txt",
// "xls", "csv", "edf"), named as Save Data proposes followed by the night's
// start; a name taken already gets " (2)", " (3)"... so nothing is replaced.
struct NightExportReport {
    QStringList written;
    QStringList failed; // "name: reason"
};
NightExportReport exportNights(ArchiveAccess &access, const std::vector<qint64> &nights, const QString &folder,
                               const QString &extension, int unitSetup);

// Each file in its own transaction. progress is called before each file with
// the number done, again before its nights are stored, and after the last;
// returning false stops there, so the file in hand adds nothing.
struct ImportTally {
    int done = 0; // files looked at
    int added = 0;
    int present = 0;
    QStringList failed;         // "file: reason"
    QStringList rows;           // CSV and EDF: "file: N rows read, M refused..."
    std::vector<qint64> nights; // the nights of the files stored, new or already there
    bool stopped = false;
};

// What importing asks the user; a hook not set takes the quiet answer.
struct ImportHooks {
    std::function<bool(int done)> progress;
    // Once an import, at the first file without device ID, with the name that
    // file gives: the patient of such files; nullopt stops the import. Unset: ID 1.
    std::function<std::optional<FileImport::Patient>(const QString &nameInFile)> patient;
    // A CSV file whose columns or dates are not understood: how to read it;
    // nullopt leaves it out. Unset: it is left out.
    std::function<std::optional<CsvImport::Options>(const QString &file)> columns;
    // More than a tenth of the file refused ("file", "N rows read, M refused...");
    // true imports it still. Unset: it is left out.
    std::function<bool(const QString &file, const QString &rows)> acceptRefused;
};
ImportTally importFiles(ArchiveAccess &access, const QStringList &files, const ImportHooks &hooks);
ImportTally importFiles(ArchiveAccess &access, const QStringList &files, const std::function<bool(int done)> &progress);
// "N nights archived, M already in the archive." and what went wrong.
QString importSummary(const ImportTally &tally, int fileCount);
// Of these archived nights, the one that starts last; 0 for none.
qint64 newestNight(ArchiveAccess &access, const std::vector<qint64> &nights);

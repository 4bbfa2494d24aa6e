// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
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
// the number done and after the last; returning false stops before the next file.
struct ImportTally {
    int done = 0; // files looked at
    int added = 0;
    int present = 0;
    QStringList failed; // "file: reason"
    bool stopped = false;
};
ImportTally importFiles(ArchiveAccess &access, const QStringList &files, const std::function<bool(int done)> &progress);
// "N nights archived, M already in the archive." and what went wrong.
QString importSummary(const ImportTally &tally, int fileCount);

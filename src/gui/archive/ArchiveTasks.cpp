// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/ArchiveTasks.h"

#include "archive/ArchiveAccess.h"
#include "archive/FileImport.h"
#include "archive/NightFiles.h"
#include "texts/ArchiveTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace
{

// name, or name (2), name (3)... whichever is neither on disk nor taken in this batch.
QString freePath(const QDir &folder, const QString &name, QSet<QString> &taken)
{
    const QFileInfo info(name);
    const QString stem = info.completeBaseName();
    const QString suffix = info.suffix();
    QString candidate = name;
    for (int n = 2; taken.contains(candidate) || folder.exists(candidate); ++n)
        candidate = QStringLiteral("%1 (%2).%3").arg(stem).arg(n).arg(suffix);
    taken.insert(candidate);
    return folder.filePath(candidate);
}

} // namespace

NightExportReport exportNights(ArchiveAccess &access, const std::vector<qint64> &nights, const QString &folder,
                               const QString &extension, int unitSetup)
{
    NightExportReport report;
    const QDir dir(folder);
    QSet<QString> taken;
    for (qint64 number : nights) {
        QString error;
        const std::optional<StoredNight> night = access.night(number, &error);
        if (!night) {
            report.failed.append(QStringLiteral("%1: %2").arg(number).arg(error));
            continue;
        }
        const QString path = freePath(dir, nightFileName(night->patient, night->info.summary, extension), taken);
        const RecordingWrite w = writeNight(*night, path, unitSetup);
        if (w.result)
            report.written.append(w.paths);
        else
            report.failed.append(QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), w.result.detail()));
    }
    return report;
}

ImportTally importFiles(ArchiveAccess &access, const QStringList &files, const std::function<bool(int done)> &progress)
{
    ImportTally tally;
    for (const QString &file : files) {
        if (progress && !progress(tally.done)) {
            tally.stopped = true;
            return tally;
        }
        ++tally.done;
        const QString name = QFileInfo(file).fileName();
        const FileImport::Read read = FileImport::read(file);
        if (!read.ok) {
            tally.failed.append(
                QStringLiteral("%1: %2").arg(name, QCoreApplication::translate("ArchiveTasks", "can't open the file")));
            continue;
        }
        QString error;
        const std::optional<StoreCounts> counts = access.store(FileImport::nights(read, file, {}), &error);
        if (!counts) {
            tally.failed.append(QStringLiteral("%1: %2").arg(name, error));
            continue;
        }
        tally.added += counts->added;
        tally.present += counts->present;
    }
    if (progress)
        progress(tally.done);
    return tally;
}

QString importSummary(const ImportTally &tally, int fileCount)
{
    QString text = QCoreApplication::translate("ArchiveTasks", "%1 nights archived, %2 already in the archive.")
                       .arg(tally.added)
                       .arg(tally.present);
    if (tally.stopped)
        text += QLatin1Char('\n') + QCoreApplication::translate("ArchiveTasks", "Import stopped after %1 of %2 files.")
                                        .arg(tally.done)
                                        .arg(fileCount);
    if (!tally.failed.isEmpty())
        text += QLatin1Char('\n') + QCoreApplication::translate("ArchiveTasks", "Not archived:") + QLatin1Char('\n') +
                tally.failed.join(QLatin1Char('\n'));
    return text;
}

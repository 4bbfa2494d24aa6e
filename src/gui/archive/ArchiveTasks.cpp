// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/ArchiveTasks.h"

#include "archive/ArchiveAccess.h"
#include "archive/FileImport.h"
#include "archive/NightFiles.h"
#include "texts/ArchiveTexts.h"
#include "texts/ImportTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

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

namespace
{

QString fileFailure(const QString &name, const QString &why)
{
    return QStringLiteral("%1: %2").arg(name, why);
}

// One file of an import; false when the import stops.
bool importOne(ArchiveAccess &access, const QString &file, const ImportHooks &hooks,
               std::optional<FileImport::Patient> &patient, ImportTally &tally)
{
    const QString name = QFileInfo(file).fileName();
    FileImport::Read read = FileImport::read(file);
    if (!read.ok && (read.night.layoutUnknown || read.night.dayMonthUndecided)) {
        const std::optional<CsvImport::Options> chosen = hooks.columns ? hooks.columns(file) : std::nullopt;
        if (!chosen) {
            tally.failed.append(fileFailure(name, ImportTexts::error(read.night)));
            return true;
        }
        read = FileImport::read(file, *chosen);
    }
    if (!read.ok) {
        tally.failed.append(fileFailure(name, read.isDat
                                                  ? QCoreApplication::translate("ArchiveTasks", "can't open the file")
                                                  : ImportTexts::error(read.night)));
        return true;
    }
    if (read.needsPatient()) {
        const QString rows = ImportTexts::summary(read.night);
        tally.rows.append(fileFailure(name, rows));
        if (const QString note = ImportTexts::note(read.night); !note.isEmpty())
            tally.rows.append(fileFailure(name, note));
        if (!patient) {
            patient = hooks.patient ? hooks.patient(read.night.patientName) : FileImport::Patient{};
            if (!patient) {
                tally.stopped = true;
                return false;
            }
        }
        if (read.night.mostlyRefused() && !(hooks.acceptRefused && hooks.acceptRefused(name, rows))) {
            tally.failed.append(fileFailure(
                name, QCoreApplication::translate("ArchiveTasks", "not imported, more than 10 % of it was refused")));
            return true;
        }
    }
    const std::vector<NightInput> nights = FileImport::nights(read, file, patient.value_or(FileImport::Patient{}));
    if (hooks.progress && !hooks.progress(tally.done)) {
        tally.stopped = true;
        return false;
    }
    QString error;
    const std::optional<StoreCounts> counts = access.store(nights, &error);
    if (!counts) {
        tally.failed.append(fileFailure(name, error));
        return true;
    }
    tally.added += counts->added;
    tally.present += counts->present;
    tally.nights.insert(tally.nights.end(), counts->nights.begin(), counts->nights.end());
    return true;
}

} // namespace

ImportTally importFiles(ArchiveAccess &access, const QStringList &files, const ImportHooks &hooks)
{
    ImportTally tally;
    std::optional<FileImport::Patient> patient; // asked once, at the first file that needs one
    for (const QString &file : files) {
        if (hooks.progress && !hooks.progress(tally.done)) {
            tally.stopped = true;
            return tally;
        }
        if (!importOne(access, file, hooks, patient, tally))
            return tally;
        ++tally.done;
    }
    if (hooks.progress)
        hooks.progress(tally.done);
    return tally;
}

ImportTally importFiles(ArchiveAccess &access, const QStringList &files, const std::function<bool(int done)> &progress)
{
    ImportHooks hooks;
    hooks.progress = progress;
    return importFiles(access, files, hooks);
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
    if (!tally.rows.isEmpty())
        text += QLatin1Char('\n') + tally.rows.join(QLatin1Char('\n'));
    if (!tally.failed.isEmpty())
        text += QLatin1Char('\n') + QCoreApplication::translate("ArchiveTasks", "Not archived:") + QLatin1Char('\n') +
                tally.failed.join(QLatin1Char('\n'));
    return text;
}

qint64 newestNight(ArchiveAccess &access, const std::vector<qint64> &nights)
{
    QString error;
    const auto all = access.list(&error);
    if (!all)
        return 0;
    const NightInfo *newest = nullptr;
    for (const NightInfo &n : *all)
        if (std::find(nights.begin(), nights.end(), n.night) != nights.end() &&
            (!newest || n.summary.start > newest->summary.start))
            newest = &n;
    return newest ? newest->night : 0;
}

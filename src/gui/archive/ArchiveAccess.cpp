// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/ArchiveAccess.h"

#include "archive/SqliteArchive.h"

#include <QCoreApplication>

#include <algorithm>

ArchiveAccess::ArchiveAccess(QString path) : path_(std::move(path)) {}

ArchiveAccess::~ArchiveAccess() = default;

Archive *ArchiveAccess::archive(QString *error)
{
    if (archive_)
        return archive_.get();
    SqliteArchive::Opened o = SqliteArchive::open(path_.isEmpty() ? SqliteArchive::defaultPath() : path_);
    if (!o.archive) {
        *error = o.error;
        return nullptr;
    }
    damagedKeptAs_ = o.damagedKeptAs;
    archive_ = std::move(o.archive);
    return archive_.get();
}

QString ArchiveAccess::takeDamagedNotice()
{
    if (damagedKeptAs_.isEmpty())
        return {};
    QString text =
        QCoreApplication::translate("ArchiveAccess", "The archive of recordings was damaged. It is kept as %1 and a "
                                                     "new, empty archive was started.")
            .arg(damagedKeptAs_);
    damagedKeptAs_.clear();
    return text;
}

std::optional<std::vector<NightInfo>> ArchiveAccess::list(QString *error)
{
    Archive *a = archive(error);
    return a ? a->list({}, error) : std::nullopt;
}

std::vector<NightInfo> ArchiveAccess::recent(int count)
{
    QString error;
    std::optional<std::vector<NightInfo>> all = list(&error);
    if (!all)
        return {};
    std::stable_sort(all->begin(), all->end(),
                     [](const NightInfo &a, const NightInfo &b) { return a.summary.start > b.summary.start; });
    if (int(all->size()) > count)
        all->resize(std::size_t(count));
    return *all;
}

std::optional<StoredNight> ArchiveAccess::night(qint64 number, QString *error)
{
    Archive *a = archive(error);
    return a ? a->night(number, error) : std::nullopt;
}

bool ArchiveAccess::setPatient(qint64 number, const PatientRecord &patient, QString *error)
{
    Archive *a = archive(error);
    return a && a->setPatient(number, patient, error);
}

DatImport ArchiveAccess::importFile(const QString &path)
{
    DatImport failed;
    Archive *a = archive(&failed.error);
    return a ? importDatFile(*a, path) : failed;
}

bool ArchiveAccess::remove(qint64 number, QString *error)
{
    Archive *a = archive(error);
    if (!a)
        return false;
    // Read whole first: what cannot be restored is not removed.
    std::optional<StoredNight> kept = a->night(number, error);
    if (!kept || !a->remove(number, error))
        return false;
    removed_.push_back(std::move(*kept));
    return true;
}

bool ArchiveAccess::restoreLastRemoved(QString *error)
{
    Archive *a = archive(error);
    if (!a || removed_.empty())
        return false;
    const StoredNight &n = removed_.back();
    NightInput input{n.readings, n.patient, n.info.title, n.info.source, n.info.sourceName, n.info.partial};
    StoreCounts counts;
    if (!a->store({input}, &counts, error))
        return false;
    removed_.pop_back();
    return true;
}

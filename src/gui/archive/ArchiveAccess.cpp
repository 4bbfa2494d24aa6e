// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/ArchiveAccess.h"

#include "archive/SqliteArchive.h"
#include "texts/ArchiveTexts.h"

#include <QCoreApplication>

#include <algorithm>

ArchiveAccess::ArchiveAccess(QString path) : path_(std::move(path)) {}

ArchiveAccess::~ArchiveAccess() = default;

Archive *ArchiveAccess::archive(QString *error)
{
    if (archive_)
        return archive_.get();
    const QString path = this->path();
    ArchiveResult<SqliteArchive::Opened> o = SqliteArchive::open(path);
    if (!o) {
        *error = ArchiveTexts::text(o, {path, {}, 0});
        return nullptr;
    }
    damagedKeptAs_ = o.value().damagedKeptAs;
    archive_ = std::move(o.value().archive);
    return archive_.get();
}

QString ArchiveAccess::path() const
{
    return path_.isEmpty() ? SqliteArchive::defaultPath() : path_;
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

template <typename T> bool ArchiveAccess::told(const ArchiveResult<T> &r, qint64 night, QString *error) const
{
    if (r)
        return true;
    if (error)
        *error = ArchiveTexts::text(r, {archive_ ? archive_->path() : path_, {}, night});
    return false;
}

std::optional<std::vector<NightInfo>> ArchiveAccess::list(QString *error)
{
    Archive *a = archive(error);
    if (!a)
        return std::nullopt;
    const ArchiveResult<NightList> r = a->list({});
    if (!told(r, 0, error))
        return std::nullopt;
    return std::vector<NightInfo>(r.value().begin(), r.value().end());
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
    if (!a)
        return std::nullopt;
    ArchiveResult<StoredNight> r = a->night(number);
    if (!told(r, number, error))
        return std::nullopt;
    return std::move(r.value());
}

bool ArchiveAccess::setPatient(qint64 number, const PatientRecord &patient, QString *error)
{
    Archive *a = archive(error);
    return a && told(a->setPatient(number, patient), number, error);
}

std::optional<std::vector<ReadingSpan>> ArchiveAccess::setMarks(qint64 number, const std::vector<ReadingSpan> &spans,
                                                                QString *error)
{
    Archive *a = archive(error);
    if (!a || !told(a->setMarks(number, spans), number, error))
        return std::nullopt;
    ArchiveResult<std::vector<ReadingSpan>> r = a->marks(number);
    if (!told(r, number, error))
        return std::nullopt;
    return std::move(r.value());
}

std::optional<StoreCounts> ArchiveAccess::store(const std::vector<NightInput> &nights, QString *error)
{
    Archive *a = archive(error);
    if (!a)
        return std::nullopt;
    ArchiveResult<StoreCounts> r = a->store(nights);
    if (!told(r, 0, error))
        return std::nullopt;
    return std::move(r.value());
}

bool ArchiveAccess::remove(qint64 number, QString *error)
{
    Archive *a = archive(error);
    if (!a)
        return false;
    // Read whole first: what cannot be restored is not removed.
    ArchiveResult<StoredNight> kept = a->night(number);
    if (!told(kept, number, error) || !told(a->remove(number), number, error))
        return false;
    removed_.push_back(std::move(kept.value()));
    return true;
}

bool ArchiveAccess::restoreLastRemoved(QString *error)
{
    Archive *a = archive(error);
    if (!a || removed_.empty())
        return false;
    const StoredNight &n = removed_.back();
    NightInput input{n.readings,        n.patient,      n.info.title,          n.info.source,
                     n.info.sourceName, n.info.partial, n.info.intervalSeconds};
    const ArchiveResult<StoreCounts> stored = a->store({input});
    if (!told(stored, 0, error))
        return false;
    // Its hand marks come back with it.
    if (!n.marks.empty() && !stored.value().nights.empty() &&
        !told(a->setMarks(stored.value().nights.front(), n.marks), 0, error))
        return false;
    removed_.pop_back();
    return true;
}

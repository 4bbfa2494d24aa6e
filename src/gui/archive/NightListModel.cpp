// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/NightListModel.h"

#include <QFont>

#include <QDateTime>
#include <QLocale>

namespace
{

QDateTime stampTime(const QString &stamp)
{
    return QDateTime::fromString(stamp, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString percent(double value)
{
    return QString::number(value, 'f', 1);
}

} // namespace

void NightListModel::setNights(std::vector<NightInfo> nights)
{
    beginResetModel();
    nights_ = std::move(nights);
    endResetModel();
}

int NightListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(nights_.size());
}

int NightListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString NightListModel::patientText(const NightInfo &night)
{
    if (!night.patientName.trimmed().isEmpty())
        return night.patientName.trimmed();
    return tr("ID %1 (no name)").arg(night.deviceId);
}

qint64 NightListModel::durationSeconds(const NightSummary &summary)
{
    const QDateTime start = stampTime(summary.start);
    const QDateTime end = stampTime(summary.end);
    if (!start.isValid() || !end.isValid())
        return -1;
    return start.secsTo(end);
}

QString NightListModel::durationText(qint64 seconds)
{
    if (seconds < 0)
        return {};
    const qint64 minutes = seconds / 60;
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QDate NightListModel::startDate(const NightSummary &summary)
{
    return QDate::fromString(summary.start.left(10), Qt::ISODate);
}

QVariant NightListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const NightInfo &n = info(index.row());
    const NightSummary &s = n.summary;
    const double validPercent = s.readings > 0 ? 100.0 * s.validSeconds / s.readings : 0;
    if (role == NightRole)
        return n.night;
    if (role == Qt::TextAlignmentRole)
        return index.column() == Patient ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == SortRole) {
        switch (Column(index.column())) {
        case Patient:
            return patientText(n).toCaseFolded();
        case Id:
            return n.deviceId;
        case Date:
        case Start:
            // The time of day alone, for Start: nights compare by when in the night they began.
            return index.column() == Date ? s.start : s.start.mid(11);
        case Duration:
            return durationSeconds(s);
        case Valid:
            return validPercent;
        case Odi4:
            return s.odi4;
        case T90:
            return s.t90Percent;
        case Nadir:
            return s.nadir;
        case Interval:
            return n.intervalSeconds;
        case ColumnCount:
            break;
        }
        return {};
    }
    const bool figure = index.column() >= Valid;
    if (figure && !n.summaryIsCurrent()) {
        // Shown until the background run has computed them again.
        if (role == Qt::FontRole) {
            QFont italic;
            italic.setItalic(true);
            return italic;
        }
        if (role == Qt::ToolTipRole)
            return tr("Figures of an older Quellix, being computed again");
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (Column(index.column())) {
    case Patient:
        return patientText(n);
    case Id:
        return n.deviceId;
    case Date:
        return s.start.left(10);
    case Start:
        return s.start.mid(11, 5);
    case Duration:
        return durationText(durationSeconds(s));
    case Valid:
        return percent(validPercent);
    case Odi4:
        return percent(s.odi4);
    case T90:
        return percent(s.t90Percent);
    case Nadir:
        return s.nadir;
    case Interval:
        return tr("%1 s").arg(n.intervalSeconds);
    case ColumnCount:
        break;
    }
    return {};
}

QVariant NightListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (Column(section)) {
    case Patient:
        return tr("Patient");
    case Id:
        return tr("ID");
    case Date:
        return tr("Date");
    case Start:
        return tr("Start");
    case Duration:
        return tr("Duration");
    case Valid:
        return tr("Valid %");
    case Odi4:
        return tr("ODI 4%");
    case T90:
        return tr("T90 %");
    case Nadir:
        return tr("Nadir %");
    case Interval:
        return tr("Interval");
    case ColumnCount:
        break;
    }
    return {};
}

NightFilterProxy::NightFilterProxy(QObject *parent) : QSortFilterProxyModel(parent)
{
    setSortRole(NightListModel::SortRole);
}

void NightFilterProxy::setPatientText(const QString &text)
{
    text_ = text.trimmed();
    invalidateRowsFilter();
}

void NightFilterProxy::setDateRange(const QDate &from, const QDate &to)
{
    from_ = from;
    to_ = to;
    invalidateRowsFilter();
}

bool NightFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex & /*sourceParent*/) const
{
    const auto *model = qobject_cast<const NightListModel *>(sourceModel());
    if (!model)
        return true;
    const NightInfo &n = model->info(sourceRow);
    if (!text_.isEmpty()) {
        bool isNumber = false;
        const int id = text_.toInt(&isNumber);
        const bool byId = isNumber && id == n.deviceId;
        if (!byId && !n.patientName.contains(text_, Qt::CaseInsensitive))
            return false;
    }
    const QDate day = NightListModel::startDate(n.summary);
    if (from_.isValid() && (!day.isValid() || day < from_))
        return false;
    if (to_.isValid() && (!day.isValid() || day > to_))
        return false;
    return true;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QSortFilterProxyModel>

#include <vector>

// The archived nights as a table, one row per night, in the order given.
class NightListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // Interval: seconds between the readings of the file a night was imported from.
    enum Column { Patient, Id, Date, Start, Duration, Valid, Odi4, T90, Nadir, Interval, ColumnCount };
    // What sorting compares: numbers as numbers, names without letter case.
    static constexpr int SortRole = Qt::UserRole;
    static constexpr int NightRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void setNights(std::vector<NightInfo> nights);
    const NightInfo &info(int row) const { return nights_[std::size_t(row)]; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // "Ann Smith", or "ID 3 (no name)".
    static QString patientText(const NightInfo &night);
    // Seconds from the first reading to the last; -1 when a stamp is no real time.
    static qint64 durationSeconds(const NightSummary &summary);
    // "7:58" (hours:minutes), or empty for an unknown duration.
    static QString durationText(qint64 seconds);
    static QDate startDate(const NightSummary &summary);

private:
    std::vector<NightInfo> nights_;
};

// Filters the nights by patient (part of the name, or the exact ID) and by the
// date of their start; sorts by NightListModel::SortRole.
class NightFilterProxy : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit NightFilterProxy(QObject *parent = nullptr);

    void setPatientText(const QString &text);
    // Null dates leave that side open.
    void setDateRange(const QDate &from, const QDate &to);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    QString text_;
    QDate from_;
    QDate to_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"

#include <QSqlDatabase>

class QSqlError;

// The archive over one Qt SQL connection. The SQL here is plain enough for any
// server Qt SQL drives; what depends on the database kind (opening, the file,
// its own checks and copies) is left to subclasses.
class SqlArchive : public Archive
{
public:
    // The schema this program writes; numbered migrations lead to it.
    static constexpr int kSchemaVersion = 1;

    ~SqlArchive() override;

    ArchiveResult<StoreCounts> store(const std::vector<NightInput> &nights) override;
    ArchiveResult<std::vector<NightInfo>> list(const ArchiveFilter &filter) override;
    ArchiveResult<StoredNight> night(qint64 number) override;
    ArchiveResult<> remove(qint64 number) override;
    ArchiveResult<> setPatient(qint64 number, const PatientRecord &patient) override;
    QStringList check() override;

    // 0 for a database without the archive's tables.
    ArchiveResult<int> schemaVersion();
    // Applies the migrations after the current version up to target.
    ArchiveResult<> migrate(int target);
    // Computes the summaries of an older summary version again. Returns the
    // number of nights updated.
    ArchiveResult<int> refreshSummaries();

protected:
    // Takes over the connection of that name, already open.
    explicit SqlArchive(QString connectionName);
    // Starts a transaction that will write. Servers whose plain transaction
    // starts as a reader override it to take the write lock at once: a
    // reader that later writes fails when another program wrote meanwhile.
    virtual ArchiveResult<> beginWrite();
    // The failure for a database error: fallback unless the server's code
    // says more (busy, damaged).
    virtual ArchiveFailure failure(ArchiveError fallback, const QSqlError &error) const;
    QSqlDatabase db() const;
    const QString &connectionName() const { return connection_; }

private:
    ArchiveResult<> storeOne(const NightInput &input, StoreCounts &counts);
    QString connection_;
};

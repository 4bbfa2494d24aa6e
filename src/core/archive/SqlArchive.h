// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"

#include <QSqlDatabase>

// The archive over one Qt SQL connection. The SQL here is plain enough for any
// server Qt SQL drives; what depends on the database kind (opening, the file,
// its own checks and copies) is left to subclasses.
class SqlArchive : public Archive
{
public:
    // The schema this program writes; numbered migrations lead to it.
    static constexpr int kSchemaVersion = 2;

    ~SqlArchive() override;

    bool store(const std::vector<NightInput> &nights, StoreCounts *counts, QString *error) override;
    std::optional<std::vector<NightInfo>> list(const ArchiveFilter &filter, QString *error) override;
    std::optional<StoredNight> night(qint64 number, QString *error) override;
    bool remove(qint64 number, QString *error) override;
    bool setPatient(qint64 number, const PatientRecord &patient, QString *error) override;
    bool setMarks(qint64 number, const std::vector<ReadingSpan> &spans, QString *error) override;
    std::optional<std::vector<ReadingSpan>> marks(qint64 number, QString *error) override;
    QStringList check() override;

    // 0 for a database without the archive's tables; -1 when it cannot be read.
    int schemaVersion(QString *error = nullptr);
    // Applies the migrations after the current version up to target.
    bool migrate(int target, QString *error);
    // Computes the summaries of an older summary version again. Returns the
    // number of nights updated, -1 on failure.
    int refreshSummaries(QString *error);

protected:
    // Takes over the connection of that name, already open.
    explicit SqlArchive(QString connectionName);
    // Starts a transaction that will write. Servers whose plain transaction
    // starts as a reader override it to take the write lock at once: a
    // reader that later writes fails when another program wrote meanwhile.
    virtual bool beginWrite(QString *error);
    QSqlDatabase db() const;
    const QString &connectionName() const { return connection_; }

private:
    bool storeOne(const NightInput &input, StoreCounts &counts, QString *error);
    QString connection_;
};

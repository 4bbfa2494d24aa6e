// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/Archive.h"

#include <QSqlDatabase>
#include <QVariantList>

#include <map>
#include <memory>
#include <optional>

class QSqlError;
class QSqlQuery;

// The archive over one Qt SQL connection. The SQL here is plain enough for any
// server Qt SQL drives; what depends on the database kind (opening, the file,
// its own checks and copies) is left to subclasses.
class SqlArchive : public Archive
{
public:
    // The schema this program writes; numbered migrations lead to it.
    static constexpr int kSchemaVersion = 3;

    ~SqlArchive() override;

    ArchiveResult<StoreCounts> store(const std::vector<NightInput> &nights) override;
    // The whole list is kept while no program changes the archive, where the
    // server can tell (see dataVersion()).
    ArchiveResult<NightList> list(const ArchiveFilter &filter) override;
    ArchiveResult<StoredNight> night(qint64 number) override;
    ArchiveResult<> remove(qint64 number) override;
    ArchiveResult<> setPatient(qint64 number, const PatientRecord &patient, const QString &changedAt = {}) override;
    ArchiveResult<> setMarks(qint64 number, const std::vector<ReadingSpan> &spans,
                             const QString &changedAt = {}) override;
    ArchiveResult<std::vector<ReadingSpan>> marks(qint64 number) override;
    ArchiveResult<qint64> find(const QByteArray &readingsHash) override;
    ArchiveResult<> forget(const QByteArray &readingsHash, const QString &at) override;
    ArchiveResult<QString> removedAt(const QByteArray &readingsHash) override;
    QStringList check() override;

    // Changes waiting to be sent to another archive (the clinic's server).
    // While kept, each new night, edit and removal is queued in the same
    // transaction that writes it, so that none is lost between the two.
    enum class PendingKind { Night, Patient, Marks, Removal };
    struct PendingChange {
        QByteArray readingsHash;
        PendingKind kind = PendingKind::Night;
        QString at; // the change's time, UTC, ISO 8601
    };
    void keepPendingChanges(bool keep) { keepPending_ = keep; }
    // Nights first, then edits oldest first, then removals.
    ArchiveResult<std::vector<PendingChange>> pendingChanges();
    ArchiveResult<int> pendingNights();
    // Takes the change off the queue, unless a later one of its kind replaced it meanwhile.
    ArchiveResult<> donePending(const PendingChange &change);

    // 0 for a database without the archive's tables.
    ArchiveResult<int> schemaVersion();
    // Applies the migrations after the current version up to target.
    ArchiveResult<> migrate(int target);
    // How many nights have summaries an older program computed.
    ArchiveResult<int> olderSummaries();
    // Computes again, in one transaction, the older summaries of up to batch
    // nights numbered above after. A night whose readings do not decode keeps
    // its figures (check() reports it).
    struct SummaryBatch {
        int looked = 0;  // nights looked at; 0 when none is left
        qint64 last = 0; // the highest of them, where the next batch starts
    };
    ArchiveResult<SummaryBatch> refreshSummaries(qint64 after, int batch);

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
    // A migration's statement in this server's words; the migrations spell
    // column types as SQLite does.
    virtual QString spelt(const QString &statement) const;
    QSqlDatabase db() const;
    const QString &connectionName() const { return connection_; }

    // A number that changes whenever another connection commits to the
    // database; nullopt when the server cannot tell, and then no listing is
    // kept. This connection's own writes call forgetListing().
    virtual std::optional<qint64> dataVersion();
    void forgetListing();
    // The nights of a listing query (the columns list() selects, values bound
    // in order), read by a faster way than Qt SQL where the server offers one;
    // nullopt leaves the query to Qt SQL, which also reports its failures.
    virtual std::optional<NightList> readListing(const QString &sql, const QVariantList &values);
    // Drops the kept statements, before the connection goes or changes.
    void forgetStatements();

private:
    ArchiveResult<> storeOne(const NightInput &input, StoreCounts &counts);
    // Inside a write: queues the change when pending changes are kept.
    ArchiveResult<> queue(QSqlQuery &q, const QByteArray &hash, PendingKind kind, const QString &at);
    // Inside a write: removes the night of number, if any, and records it.
    ArchiveResult<> removeRecorded(QSqlQuery &q, const QByteArray &hash, const QString &at);
    // A statement prepared once and kept: preparing costs about as much as
    // reading a night. Callers finish() it when done, so that it holds no
    // read snapshot.
    QSqlQuery &statement(const QString &sql);

    QString connection_;
    std::map<QString, std::unique_ptr<QSqlQuery>> statements_;
    struct KeptListing {
        qint64 dataVersion = 0;
        NightList nights;
    };
    std::optional<KeptListing> listing_;
    bool keepPending_ = false;
};

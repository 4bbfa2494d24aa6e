// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/SqlArchive.h"

#include "archive/NightRow.h"
#include "archive/ReadingCodec.h"

#include <QDateTime>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace
{

// Migration n (1-based) takes the schema from version n - 1 to n. Never edit
// one that has shipped: add the next. Column types are spelt as SQLite takes
// them (INTEGER, REAL, BLOB); a server respells them (see spelt()), and the
// rest of each statement must be plain SQL both understand.
const std::vector<std::vector<const char *>> &migrations()
{
    static const std::vector<std::vector<const char *>> steps = {
        {
            "CREATE TABLE schema_version (version INTEGER NOT NULL)",
            "INSERT INTO schema_version (version) VALUES (0)",
            "CREATE TABLE night ("
            " night INTEGER PRIMARY KEY,"
            " device_id INTEGER NOT NULL,"
            " patient_name TEXT NOT NULL,"
            " patient BLOB NOT NULL,"
            " title TEXT NOT NULL,"
            " source TEXT NOT NULL CHECK (source IN ('download', 'file', 'import')),"
            " source_name TEXT NOT NULL,"
            " archived_at TEXT NOT NULL,"
            " partial INTEGER NOT NULL,"
            " readings_sha256 BLOB NOT NULL UNIQUE,"
            " start_time TEXT NOT NULL,"
            " end_time TEXT NOT NULL,"
            " reading_count INTEGER NOT NULL,"
            " valid_seconds INTEGER NOT NULL,"
            " odi3 REAL NOT NULL,"
            " odi4 REAL NOT NULL,"
            " t90 REAL NOT NULL,"
            " t88 REAL NOT NULL,"
            " nadir INTEGER NOT NULL,"
            " mean_spo2 REAL NOT NULL,"
            " pulse_min INTEGER NOT NULL,"
            " pulse_mean REAL NOT NULL,"
            " pulse_max INTEGER NOT NULL,"
            " summary_version INTEGER NOT NULL)",
            // The readings apart, so that listing never reads them.
            "CREATE TABLE night_readings ("
            " night INTEGER PRIMARY KEY REFERENCES night (night) ON DELETE CASCADE,"
            " readings BLOB NOT NULL)",
            "CREATE INDEX night_by_start ON night (start_time)",
            "CREATE INDEX night_by_device ON night (device_id, start_time)",
        },
        {
            // Figures of signal quality and of the desaturations' size; the
            // summary version makes the nights archived before get them.
            "ALTER TABLE night ADD COLUMN coverage REAL NOT NULL DEFAULT 0",
            "ALTER TABLE night ADD COLUMN short_recording INTEGER NOT NULL DEFAULT 1",
            "ALTER TABLE night ADD COLUMN hypoxic_burden REAL NOT NULL DEFAULT 0",
            "ALTER TABLE night ADD COLUMN delta_index REAL NOT NULL DEFAULT 0",
            "ALTER TABLE night ADD COLUMN desaturation_mean_seconds REAL NOT NULL DEFAULT 0",
            "ALTER TABLE night ADD COLUMN desaturation_mean_depth REAL NOT NULL DEFAULT 0",
            "ALTER TABLE night ADD COLUMN pulse_rise_mean REAL NOT NULL DEFAULT 0",
            // Spans of readings (indices into the night's readings) the user
            // marked as artefact; kept here only, never in a .dat.
            "CREATE TABLE night_marks ("
            " night INTEGER NOT NULL REFERENCES night (night) ON DELETE CASCADE,"
            " first_reading INTEGER NOT NULL,"
            " last_reading INTEGER NOT NULL,"
            " CHECK (0 <= first_reading AND first_reading <= last_reading))",
            "CREATE INDEX night_marks_by_night ON night_marks (night, first_reading)",
            // The last number given to a night. A row key alone would give a
            // removed last night's number to the next night, and whatever still
            // points at the removed one (the open recording, a script) would
            // reach the wrong night.
            "CREATE TABLE night_number (last INTEGER NOT NULL)",
            "INSERT INTO night_number (last) SELECT COALESCE(MAX(night), 0) FROM night",
            // Seconds between the readings of the file a night was imported
            // from; they are held to one a second, and the list says so.
            "ALTER TABLE night ADD COLUMN interval_seconds INTEGER NOT NULL DEFAULT 1",
        },
        {
            // Keeping a desk's archive and the clinic's server in step: when
            // each night's details and marks last changed (the later change
            // wins), the nights removed (so that no copy brings one back),
            // and the changes this archive has yet to send.
            "ALTER TABLE night ADD COLUMN patient_changed_at TEXT NOT NULL DEFAULT ''",
            "ALTER TABLE night ADD COLUMN marks_changed_at TEXT NOT NULL DEFAULT ''",
            "CREATE TABLE night_removed ("
            " readings_sha256 BLOB PRIMARY KEY,"
            " removed_at TEXT NOT NULL)",
            "CREATE TABLE pending_change ("
            " readings_sha256 BLOB NOT NULL,"
            " kind TEXT NOT NULL CHECK (kind IN ('night', 'patient', 'marks', 'removal')),"
            " changed_at TEXT NOT NULL,"
            " PRIMARY KEY (readings_sha256, kind))",
        },
    };
    return steps;
}

// The columns of NightSummary, in the order of its fields.
const QStringList &summaryColumns()
{
    static const QStringList columns = {
        QStringLiteral("start_time"),
        QStringLiteral("end_time"),
        QStringLiteral("reading_count"),
        QStringLiteral("valid_seconds"),
        QStringLiteral("odi3"),
        QStringLiteral("odi4"),
        QStringLiteral("t90"),
        QStringLiteral("t88"),
        QStringLiteral("nadir"),
        QStringLiteral("mean_spo2"),
        QStringLiteral("pulse_min"),
        QStringLiteral("pulse_mean"),
        QStringLiteral("pulse_max"),
        QStringLiteral("coverage"),
        QStringLiteral("short_recording"),
        QStringLiteral("hypoxic_burden"),
        QStringLiteral("delta_index"),
        QStringLiteral("desaturation_mean_seconds"),
        QStringLiteral("desaturation_mean_depth"),
        QStringLiteral("pulse_rise_mean"),
        QStringLiteral("summary_version"),
    };
    return columns;
}

const QStringList &infoColumnList()
{
    static const QStringList columns =
        QStringList{QStringLiteral("night"),       QStringLiteral("device_id"), QStringLiteral("patient_name"),
                    QStringLiteral("title"),       QStringLiteral("source"),    QStringLiteral("source_name"),
                    QStringLiteral("archived_at"), QStringLiteral("partial"),   QStringLiteral("interval_seconds")} +
        summaryColumns() +
        QStringList{QStringLiteral("readings_sha256"), QStringLiteral("patient_changed_at"),
                    QStringLiteral("marks_changed_at")};
    return columns;
}

// "night, device_id, ..." as a select list.
const QString &infoColumns()
{
    static const QString list = infoColumnList().join(QStringLiteral(", "));
    return list;
}

// "?, ?, ..." for count values.
QString placeholders(qsizetype count)
{
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

// The columns of a Qt SQL row.
struct QtRow {
    const QSqlQuery &q;
    qint64 integer(int i) const { return q.value(i).toLongLong(); }
    double real(int i) const { return q.value(i).toDouble(); }
    QString text(int i) const { return q.value(i).toString(); }
    QByteArray bytes(int i) const { return q.value(i).toByteArray(); }
};

NightInfo infoFrom(const QSqlQuery &q)
{
    return nightInfoFromRow(QtRow{q});
}

// SQLite's LOWER() folds only A to Z; the kept listing is searched alike.
QString asciiLower(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return out;
}

// The nights of a full listing the filter takes, as the query in list() would give them.
NightList keptNights(const NightList &all, const ArchiveFilter &filter)
{
    // The query's pattern is folded by Qt, the names by SQLite.
    const QString pattern = filter.patient.toLower();
    bool isNumber = false;
    const int id = filter.patient.toInt(&isNumber);
    const QString from = filter.from.isValid() ? filter.from.toString(Qt::ISODate) : QString();
    const QString before = filter.to.isValid() ? filter.to.addDays(1).toString(Qt::ISODate) : QString();
    // Neighbouring nights are mostly of one patient: the name's answer is kept.
    QString lastName;
    std::optional<bool> lastMatched;
    const auto takes = [&](const NightInfo &n) {
        if (!pattern.isEmpty() && !(isNumber && n.deviceId == id)) {
            if (!lastMatched || n.patientName != lastName) {
                lastName = n.patientName;
                lastMatched = asciiLower(n.patientName).contains(pattern);
            }
            if (!*lastMatched)
                return false;
        }
        return (from.isEmpty() || !(n.summary.start < from)) && (before.isEmpty() || n.summary.start < before);
    };
    // Taking every night (one patient's archive) hands out the kept listing itself, without a copy.
    const auto firstLeftOut = std::find_if_not(all.begin(), all.end(), takes);
    if (firstLeftOut == all.end())
        return all;
    NightList out(all.begin(), firstLeftOut);
    for (auto it = std::next(firstLeftOut); it != all.end(); ++it)
        if (takes(*it))
            out.push_back(*it);
    return out;
}

// Qt SQL binds a null QString as NULL.
QString notNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// Binds the values of summaryColumns(), in their order.
void bindSummary(QSqlQuery &q, const NightSummary &s)
{
    q.addBindValue(s.start);
    q.addBindValue(s.end);
    q.addBindValue(s.readings);
    q.addBindValue(s.validSeconds);
    q.addBindValue(s.odi3);
    q.addBindValue(s.odi4);
    q.addBindValue(s.t90Percent);
    q.addBindValue(s.t88Percent);
    q.addBindValue(s.nadir);
    q.addBindValue(s.meanSpo2);
    q.addBindValue(s.pulseMin);
    q.addBindValue(s.pulseMean);
    q.addBindValue(s.pulseMax);
    q.addBindValue(s.coverage);
    q.addBindValue(s.shortRecording ? 1 : 0);
    q.addBindValue(s.hypoxicBurden);
    q.addBindValue(s.deltaIndex);
    q.addBindValue(s.desaturationMeanSeconds);
    q.addBindValue(s.desaturationMeanDepth);
    q.addBindValue(s.pulseRiseMean);
    q.addBindValue(s.version);
}

// UPDATE night SET every summary column WHERE night = ?
QString updateSummarySql()
{
    return QStringLiteral("UPDATE night SET %1 = ? WHERE night = ?")
        .arg(summaryColumns().join(QStringLiteral(" = ?, ")));
}

QString kindName(SqlArchive::PendingKind kind)
{
    switch (kind) {
    case SqlArchive::PendingKind::Night:
        return QStringLiteral("night");
    case SqlArchive::PendingKind::Patient:
        return QStringLiteral("patient");
    case SqlArchive::PendingKind::Marks:
        return QStringLiteral("marks");
    case SqlArchive::PendingKind::Removal:
        break;
    }
    return QStringLiteral("removal");
}

std::optional<SqlArchive::PendingKind> kindFromName(const QString &name)
{
    for (auto kind : {SqlArchive::PendingKind::Night, SqlArchive::PendingKind::Patient, SqlArchive::PendingKind::Marks,
                      SqlArchive::PendingKind::Removal})
        if (kindName(kind) == name)
            return kind;
    return std::nullopt;
}

QString nowText()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
}

bool startsWith(const std::vector<SampleRecord> &longer, const std::vector<SampleRecord> &prefix)
{
    return prefix.size() <= longer.size() &&
           std::equal(prefix.begin(), prefix.end(), longer.begin(), [](const SampleRecord &a, const SampleRecord &b) {
               SampleRecord x = a;
               SampleRecord y = b;
               x.spare = y.spare = 0;
               return x == y;
           });
}

} // namespace

SqlArchive::SqlArchive(QString connectionName) : connection_(std::move(connectionName)) {}

SqlArchive::~SqlArchive()
{
    forgetStatements();
    {
        QSqlDatabase d = QSqlDatabase::database(connection_, false);
        if (d.isValid())
            d.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

QSqlDatabase SqlArchive::db() const
{
    return QSqlDatabase::database(connection_, false);
}

QSqlQuery &SqlArchive::statement(const QString &sql)
{
    std::unique_ptr<QSqlQuery> &kept = statements_[sql];
    if (!kept) {
        kept = std::make_unique<QSqlQuery>(db());
        kept->setForwardOnly(true);
        kept->prepare(sql);
    }
    return *kept;
}

void SqlArchive::forgetStatements()
{
    statements_.clear();
}

std::optional<qint64> SqlArchive::dataVersion()
{
    return std::nullopt;
}

std::optional<NightList> SqlArchive::readListing(const QString &sql, const QVariantList &values)
{
    Q_UNUSED(sql);
    Q_UNUSED(values);
    return std::nullopt;
}

void SqlArchive::forgetListing()
{
    listing_.reset();
}

QString SqlArchive::spelt(const QString &statement) const
{
    return statement;
}

ArchiveFailure SqlArchive::failure(ArchiveError fallback, const QSqlError &error) const
{
    return {fallback, error.text()};
}

ArchiveResult<int> SqlArchive::schemaVersion()
{
    QSqlDatabase d = db();
    if (!d.tables().contains(QStringLiteral("schema_version"))) {
        if (d.lastError().isValid())
            return failure(ArchiveError::Unavailable, d.lastError());
        return 0;
    }
    QSqlQuery q(d);
    if (!q.exec(QStringLiteral("SELECT version FROM schema_version")))
        return failure(ArchiveError::Unavailable, q.lastError());
    if (!q.next())
        return ArchiveFailure{ArchiveError::Unavailable, QStringLiteral("no schema version")};
    return q.value(0).toInt();
}

ArchiveResult<> SqlArchive::beginWrite()
{
    QSqlDatabase d = db();
    if (d.transaction())
        return {};
    return failure(ArchiveError::WriteFailed, d.lastError());
}

ArchiveResult<> SqlArchive::migrate(int target)
{
    forgetListing();
    QSqlDatabase d = db();
    for (;;) {
        // Each step in its own transaction, the version read inside it: an
        // interrupted upgrade resumes at the step it did not finish, and of
        // two programs opening a new archive only one applies each step.
        if (auto begun = beginWrite(); !begun)
            return begun;
        const ArchiveResult<int> from = schemaVersion();
        if (!from || from.value() >= target) {
            d.commit();
            if (!from)
                return from.failure();
            return {};
        }
        const int version = from.value() + 1;
        QSqlQuery q(d);
        for (const char *statement : migrations()[std::size_t(version - 1)]) {
            if (!q.exec(spelt(QString::fromLatin1(statement)))) {
                const ArchiveFailure f = failure(ArchiveError::WriteFailed, q.lastError());
                d.rollback();
                return f;
            }
        }
        q.prepare(QStringLiteral("UPDATE schema_version SET version = ?"));
        q.addBindValue(version);
        if (!q.exec() || !d.commit()) {
            const ArchiveFailure f =
                failure(ArchiveError::WriteFailed, q.lastError().isValid() ? q.lastError() : d.lastError());
            d.rollback();
            return f;
        }
    }
}

ArchiveResult<int> SqlArchive::olderSummaries()
{
    QSqlQuery &q = statement(QStringLiteral("SELECT COUNT(*) FROM night WHERE summary_version < ?"));
    q.bindValue(0, NightSummary::kVersion);
    const auto finished = qScopeGuard([&q] { q.finish(); });
    if (!q.exec() || !q.next())
        return failure(ArchiveError::Unavailable, q.lastError());
    return q.value(0).toInt();
}

ArchiveResult<SqlArchive::SummaryBatch> SqlArchive::refreshSummaries(qint64 after, int batch)
{
    QSqlDatabase d = db();
    SummaryBatch step;
    std::vector<std::pair<qint64, std::vector<SampleRecord>>> pending;
    std::vector<std::pair<qint64, NightSummary>> updates;
    {
        QSqlQuery &q = statement(
            QStringLiteral("SELECT n.night, r.readings FROM night n JOIN night_readings r ON r.night = n.night"
                           " WHERE n.summary_version < ? AND n.night > ? ORDER BY n.night LIMIT ?"));
        q.bindValue(0, NightSummary::kVersion);
        q.bindValue(1, after);
        q.bindValue(2, batch);
        const auto finished = qScopeGuard([&q] { q.finish(); });
        if (!q.exec())
            return failure(ArchiveError::Unavailable, q.lastError());
        while (q.next()) {
            ++step.looked;
            step.last = q.value(0).toLongLong();
            auto readings = ReadingCodec::decode(q.value(1).toByteArray());
            if (readings) // an undecodable night keeps its figures; check() reports it
                pending.emplace_back(step.last, std::move(*readings));
        }
    }
    for (auto &[number, readings] : pending) {
        const ArchiveResult<std::vector<ReadingSpan>> marked = marks(number);
        if (!marked)
            return marked.failure();
        updates.emplace_back(number, summarizeNight(readings.data(), int(readings.size()), marked.value()));
    }
    if (updates.empty())
        return step;
    forgetListing();
    if (auto begun = beginWrite(); !begun)
        return begun.failure();
    QSqlQuery u(d);
    // Only where the figures are still older: another program may have
    // replaced the night or computed them meanwhile.
    u.prepare(updateSummarySql() + QStringLiteral(" AND summary_version < ?"));
    for (const auto &[number, summary] : updates) {
        bindSummary(u, summary);
        u.addBindValue(number);
        u.addBindValue(NightSummary::kVersion);
        if (!u.exec()) {
            const ArchiveFailure f = failure(ArchiveError::WriteFailed, u.lastError());
            d.rollback();
            return f;
        }
    }
    if (!d.commit()) {
        const ArchiveFailure f = failure(ArchiveError::WriteFailed, d.lastError());
        d.rollback();
        return f;
    }
    return step;
}

ArchiveResult<StoreCounts> SqlArchive::store(const std::vector<NightInput> &nights)
{
    forgetListing();
    QSqlDatabase d = db();
    if (auto begun = beginWrite(); !begun)
        return begun.failure();
    StoreCounts batch;
    for (const NightInput &input : nights) {
        if (auto stored = storeOne(input, batch); !stored) {
            d.rollback();
            return stored.failure();
        }
    }
    if (!d.commit()) {
        const ArchiveFailure f = failure(ArchiveError::WriteFailed, d.lastError());
        d.rollback();
        return f;
    }
    return batch;
}

ArchiveResult<> SqlArchive::storeOne(const NightInput &input, StoreCounts &counts)
{
    if (input.readings.empty())
        return {};
    const int count = int(input.readings.size());
    const QByteArray hash = ReadingCodec::readingsHash(input.readings.data(), count);
    QSqlQuery q(db());
    q.prepare(QStringLiteral("SELECT night FROM night WHERE readings_sha256 = ?"));
    q.addBindValue(hash);
    if (!q.exec())
        return failure(ArchiveError::WriteFailed, q.lastError());
    if (q.next()) {
        ++counts.present;
        counts.nights.push_back(q.value(0).toLongLong());
        return {};
    }

    // A partial download and the complete one after it start alike: the
    // shorter one is kept only while it holds readings the other lacks.
    const NightSummary summary = summarizeNight(input.readings.data(), count);
    q.prepare(QStringLiteral("SELECT n.night, n.partial, n.reading_count, r.readings FROM night n"
                             " JOIN night_readings r ON r.night = n.night"
                             " WHERE n.device_id = ? AND n.start_time = ? AND n.reading_count <> ?"));
    q.addBindValue(int(input.readings.front().id));
    q.addBindValue(summary.start);
    q.addBindValue(count);
    if (!q.exec())
        return failure(ArchiveError::WriteFailed, q.lastError());
    std::vector<qint64> replace;
    while (q.next()) {
        const bool storedPartial = q.value(1).toInt() != 0;
        const int storedCount = q.value(2).toInt();
        if (!(storedPartial && storedCount < count) && !(input.partial && storedCount > count))
            continue;
        const auto stored = ReadingCodec::decode(q.value(3).toByteArray());
        if (!stored)
            continue;
        if (storedCount > count && startsWith(*stored, input.readings)) {
            ++counts.present;
            counts.nights.push_back(q.value(0).toLongLong());
            return {};
        }
        if (storedCount < count && startsWith(input.readings, *stored))
            replace.push_back(q.value(0).toLongLong());
    }
    for (qint64 number : replace) {
        q.prepare(QStringLiteral("DELETE FROM night WHERE night = ?"));
        q.addBindValue(number);
        if (!q.exec())
            return failure(ArchiveError::WriteFailed, q.lastError());
        ++counts.replaced;
    }

    if (!q.exec(QStringLiteral("UPDATE night_number SET last = last + 1")) ||
        !q.exec(QStringLiteral("SELECT last FROM night_number")) || !q.next())
        return failure(ArchiveError::WriteFailed, q.lastError());
    const qint64 number = q.value(0).toLongLong();
    q.prepare(QStringLiteral("INSERT INTO night (night, device_id, patient_name, patient, title, source, source_name,"
                             " archived_at, partial, interval_seconds, readings_sha256, %1) VALUES (%2)")
                  .arg(summaryColumns().join(QStringLiteral(", ")), placeholders(11 + summaryColumns().size())));
    q.addBindValue(number);
    q.addBindValue(int(input.readings.front().id));
    q.addBindValue(notNull(input.patient.nameText()));
    q.addBindValue(input.patient.toBytes());
    q.addBindValue(notNull(input.title));
    q.addBindValue(nightSourceName(input.source));
    q.addBindValue(notNull(input.sourceName));
    q.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    q.addBindValue(input.partial ? 1 : 0);
    q.addBindValue(std::max(1, input.intervalSeconds));
    q.addBindValue(hash);
    bindSummary(q, summary);
    if (!q.exec())
        return failure(ArchiveError::WriteFailed, q.lastError());
    q.prepare(QStringLiteral("INSERT INTO night_readings (night, readings) VALUES (?, ?)"));
    q.addBindValue(number);
    q.addBindValue(ReadingCodec::encode(input.readings));
    if (!q.exec())
        return failure(ArchiveError::WriteFailed, q.lastError());
    // Stored again on purpose: no longer a removed night.
    q.prepare(QStringLiteral("DELETE FROM night_removed WHERE readings_sha256 = ?"));
    q.addBindValue(hash);
    if (!q.exec())
        return failure(ArchiveError::WriteFailed, q.lastError());
    if (auto queued = queue(q, hash, PendingKind::Night, nowText()); !queued)
        return queued;
    ++counts.added;
    counts.nights.push_back(number);
    return {};
}

ArchiveResult<> SqlArchive::queue(QSqlQuery &q, const QByteArray &hash, PendingKind kind, const QString &at)
{
    if (!keepPending_)
        return {};
    // A removal makes the night's other changes moot.
    if (kind == PendingKind::Removal)
        q.prepare(QStringLiteral("DELETE FROM pending_change WHERE readings_sha256 = ?"));
    else
        q.prepare(QStringLiteral("DELETE FROM pending_change WHERE readings_sha256 = ? AND kind = ?"));
    q.addBindValue(hash);
    if (kind != PendingKind::Removal)
        q.addBindValue(kindName(kind));
    if (!q.exec())
        return failure(ArchiveError::WriteFailed, q.lastError());
    q.prepare(QStringLiteral("INSERT INTO pending_change (readings_sha256, kind, changed_at) VALUES (?, ?, ?)"));
    q.addBindValue(hash);
    q.addBindValue(kindName(kind));
    q.addBindValue(at);
    if (!q.exec())
        return failure(ArchiveError::WriteFailed, q.lastError());
    return {};
}

ArchiveResult<std::vector<SqlArchive::PendingChange>> SqlArchive::pendingChanges()
{
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT readings_sha256, kind, changed_at FROM pending_change ORDER BY"
                               " CASE kind WHEN 'night' THEN 0 WHEN 'removal' THEN 2 ELSE 1 END, changed_at")))
        return failure(ArchiveError::Unavailable, q.lastError());
    std::vector<PendingChange> out;
    while (q.next()) {
        if (const auto kind = kindFromName(q.value(1).toString()))
            out.push_back({q.value(0).toByteArray(), *kind, q.value(2).toString()});
    }
    return out;
}

ArchiveResult<int> SqlArchive::pendingNights()
{
    QSqlQuery q(db());
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM pending_change WHERE kind = 'night'")) || !q.next())
        return failure(ArchiveError::Unavailable, q.lastError());
    return q.value(0).toInt();
}

ArchiveResult<> SqlArchive::donePending(const PendingChange &change)
{
    QSqlQuery q(db());
    q.prepare(QStringLiteral("DELETE FROM pending_change WHERE readings_sha256 = ? AND kind = ? AND changed_at = ?"));
    q.addBindValue(change.readingsHash);
    q.addBindValue(kindName(change.kind));
    q.addBindValue(change.at);
    if (!q.exec())
        return failure(ArchiveError::WriteFailed, q.lastError());
    return {};
}

ArchiveResult<qint64> SqlArchive::find(const QByteArray &readingsHash)
{
    QSqlQuery &q = statement(QStringLiteral("SELECT night FROM night WHERE readings_sha256 = ?"));
    q.bindValue(0, readingsHash);
    const auto finished = qScopeGuard([&q] { q.finish(); });
    if (!q.exec())
        return failure(ArchiveError::Unavailable, q.lastError());
    if (!q.next())
        return ArchiveFailure{ArchiveError::NotFound, {}};
    return q.value(0).toLongLong();
}

ArchiveResult<QString> SqlArchive::removedAt(const QByteArray &readingsHash)
{
    QSqlQuery &q = statement(QStringLiteral("SELECT removed_at FROM night_removed WHERE readings_sha256 = ?"));
    q.bindValue(0, readingsHash);
    const auto finished = qScopeGuard([&q] { q.finish(); });
    if (!q.exec())
        return failure(ArchiveError::Unavailable, q.lastError());
    return q.next() ? q.value(0).toString() : QString();
}

ArchiveResult<> SqlArchive::removeRecorded(QSqlQuery &q, const QByteArray &hash, const QString &at)
{
    q.prepare(QStringLiteral("DELETE FROM night WHERE readings_sha256 = ?"));
    q.addBindValue(hash);
    if (!q.exec())
        return failure(ArchiveError::WriteFailed, q.lastError());
    q.prepare(QStringLiteral("DELETE FROM night_removed WHERE readings_sha256 = ?"));
    q.addBindValue(hash);
    if (!q.exec())
        return failure(ArchiveError::WriteFailed, q.lastError());
    q.prepare(QStringLiteral("INSERT INTO night_removed (readings_sha256, removed_at) VALUES (?, ?)"));
    q.addBindValue(hash);
    q.addBindValue(at);
    if (!q.exec())
        return failure(ArchiveError::WriteFailed, q.lastError());
    return queue(q, hash, PendingKind::Removal, at);
}

ArchiveResult<> SqlArchive::forget(const QByteArray &readingsHash, const QString &at)
{
    forgetListing();
    QSqlDatabase d = db();
    if (auto begun = beginWrite(); !begun)
        return begun;
    QSqlQuery q(d);
    q.prepare(QStringLiteral("SELECT archived_at FROM night WHERE readings_sha256 = ?"));
    q.addBindValue(readingsHash);
    if (!q.exec()) {
        const ArchiveFailure f = failure(ArchiveError::WriteFailed, q.lastError());
        d.rollback();
        return f;
    }
    // Stored again after that removal: the later change stands.
    if (q.next() &&
        QDateTime::fromString(q.value(0).toString(), Qt::ISODate) > QDateTime::fromString(at, Qt::ISODateWithMs)) {
        d.rollback();
        return {};
    }
    if (auto removed = removeRecorded(q, readingsHash, at); !removed) {
        d.rollback();
        return removed;
    }
    if (!d.commit()) {
        const ArchiveFailure f = failure(ArchiveError::WriteFailed, d.lastError());
        d.rollback();
        return f;
    }
    return {};
}

ArchiveResult<NightList> SqlArchive::list(const ArchiveFilter &filter)
{
    const bool everything = filter.patient.isEmpty() && !filter.from.isValid() && !filter.to.isValid();
    // -1: not kept.
    const qint64 version = dataVersion().value_or(-1);
    // A kept listing answers every filter: reading the rows costs far more
    // than looking through them (an overview of years of nights asks often).
    if (version >= 0 && listing_ && listing_->dataVersion == version)
        return everything ? listing_->nights : keptNights(listing_->nights, filter);

    QString sql = QStringLiteral("SELECT %1 FROM night WHERE 1 = 1").arg(infoColumns());
    QVariantList values;
    if (!filter.patient.isEmpty()) {
        QString pattern = filter.patient.toLower();
        pattern.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
            .replace(QLatin1Char('%'), QLatin1String("\\%"))
            .replace(QLatin1Char('_'), QLatin1String("\\_"));
        sql += QStringLiteral(" AND (LOWER(patient_name) LIKE ? ESCAPE '\\' OR device_id = ?)");
        values << QStringLiteral("%%1%").arg(pattern);
        bool isNumber = false;
        const int id = filter.patient.toInt(&isNumber);
        values << (isNumber ? id : -1);
    }
    if (filter.from.isValid()) {
        sql += QStringLiteral(" AND start_time >= ?");
        values << filter.from.toString(Qt::ISODate);
    }
    if (filter.to.isValid()) {
        sql += QStringLiteral(" AND start_time < ?");
        values << filter.to.addDays(1).toString(Qt::ISODate);
    }
    sql += QStringLiteral(" ORDER BY start_time, night");
    std::optional<NightList> read = readListing(sql, values);
    if (!read) {
        QSqlQuery &q = statement(sql);
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values[i]);
        const auto finished = qScopeGuard([&q] { q.finish(); });
        if (!q.exec())
            return failure(ArchiveError::Unavailable, q.lastError());
        read.emplace();
        while (q.next()) {
            NightInfo n = infoFrom(q);
            // Texts that repeat from night to night share one copy: copying the
            // listing then touches one string instead of one per night.
            if (!read->isEmpty()) {
                const NightInfo &previous = read->back();
                for (auto [text, before] :
                     {std::pair{&n.patientName, &previous.patientName}, std::pair{&n.title, &previous.title},
                      std::pair{&n.sourceName, &previous.sourceName}, std::pair{&n.archivedAt, &previous.archivedAt}})
                    if (*text == *before)
                        *text = *before;
            }
            read->push_back(std::move(n));
        }
    }
    const NightList &out = *read;
    if (version >= 0 && everything)
        listing_ = KeptListing{version, out};
    return out;
}

ArchiveResult<StoredNight> SqlArchive::night(qint64 number)
{
    QSqlQuery &q = statement(QStringLiteral("SELECT %1, n.patient, r.readings FROM night n"
                                            " JOIN night_readings r USING (night) WHERE night = ?")
                                 .arg(infoColumns()));
    q.bindValue(0, number);
    const auto finished = qScopeGuard([&q] { q.finish(); });
    if (!q.exec())
        return failure(ArchiveError::Unavailable, q.lastError());
    if (!q.next())
        return ArchiveFailure{ArchiveError::NotFound, {}};
    StoredNight out;
    out.info = infoFrom(q);
    const int columns = int(infoColumnList().size());
    auto readings = ReadingCodec::decode(q.value(columns + 1).toByteArray());
    if (!out.patient.fromBytes(q.value(columns).toByteArray()) || !readings)
        return ArchiveFailure{ArchiveError::Corrupt, {}};
    out.readings = std::move(*readings);
    q.finish();
    ArchiveResult<std::vector<ReadingSpan>> marked = marks(number);
    if (!marked)
        return marked.failure();
    out.marks = std::move(marked.value());
    return out;
}

ArchiveResult<std::vector<ReadingSpan>> SqlArchive::marks(qint64 number)
{
    QSqlQuery &q = statement(QStringLiteral("SELECT first_reading, last_reading FROM night_marks WHERE night = ?"
                                            " ORDER BY first_reading"));
    q.bindValue(0, number);
    const auto finished = qScopeGuard([&q] { q.finish(); });
    if (!q.exec())
        return failure(ArchiveError::Unavailable, q.lastError());
    std::vector<ReadingSpan> out;
    while (q.next())
        out.push_back({q.value(0).toInt(), q.value(1).toInt()});
    return out;
}

ArchiveResult<> SqlArchive::setMarks(qint64 number, const std::vector<ReadingSpan> &spans, const QString &changedAt)
{
    const QString at = changedAt.isEmpty() ? nowText() : changedAt;
    ArchiveResult<StoredNight> stored = night(number);
    if (!stored)
        return stored.failure();
    if (stored.value().info.marksChangedAt > at) // a later edit stands
        return {};
    const std::vector<SampleRecord> &readings = stored.value().readings;
    const int count = int(readings.size());
    std::vector<ReadingSpan> joined = spans;
    std::sort(joined.begin(), joined.end(), [](ReadingSpan a, ReadingSpan b) { return a.first < b.first; });
    std::vector<ReadingSpan> kept;
    for (const ReadingSpan &span : joined) {
        if (span.first < 0 || span.first > span.last || span.last >= count)
            return ArchiveFailure{ArchiveError::NotFound,
                                  QStringLiteral("readings %1 to %2").arg(span.first).arg(span.last)};
        if (!kept.empty() && span.first <= kept.back().last + 1)
            kept.back().last = std::max(kept.back().last, span.last);
        else
            kept.push_back(span);
    }

    forgetListing();
    QSqlDatabase d = db();
    if (auto begun = beginWrite(); !begun)
        return begun;
    QSqlQuery q(d);
    const auto rollback = [&] {
        ArchiveFailure f = failure(ArchiveError::WriteFailed, q.lastError());
        d.rollback();
        return f;
    };
    q.prepare(QStringLiteral("DELETE FROM night_marks WHERE night = ?"));
    q.addBindValue(number);
    if (!q.exec())
        return rollback();
    q.prepare(QStringLiteral("INSERT INTO night_marks (night, first_reading, last_reading) VALUES (?, ?, ?)"));
    for (const ReadingSpan &span : kept) {
        q.addBindValue(number);
        q.addBindValue(span.first);
        q.addBindValue(span.last);
        if (!q.exec())
            return rollback();
    }
    q.prepare(updateSummarySql());
    bindSummary(q, summarizeNight(readings.data(), count, kept));
    q.addBindValue(number);
    if (!q.exec())
        return rollback();
    if (q.numRowsAffected() != 1) { // removed meanwhile: its marks went with it
        d.rollback();
        return ArchiveFailure{ArchiveError::NotFound, {}};
    }
    q.prepare(QStringLiteral("UPDATE night SET marks_changed_at = ? WHERE night = ? AND marks_changed_at <= ?"));
    q.addBindValue(at);
    q.addBindValue(number);
    q.addBindValue(at);
    if (!q.exec())
        return rollback();
    if (q.numRowsAffected() != 1) { // a later edit came meanwhile
        d.rollback();
        return {};
    }
    if (auto queued = queue(q, stored.value().info.readingsHash, PendingKind::Marks, at); !queued) {
        d.rollback();
        return queued;
    }
    if (!d.commit())
        return rollback();
    return {};
}

ArchiveResult<> SqlArchive::remove(qint64 number)
{
    forgetListing();
    QSqlDatabase d = db();
    if (auto begun = beginWrite(); !begun)
        return begun;
    QSqlQuery q(d);
    const auto rollback = [&](ArchiveFailure f) {
        d.rollback();
        return f;
    };
    q.prepare(QStringLiteral("SELECT readings_sha256 FROM night WHERE night = ?"));
    q.addBindValue(number);
    if (!q.exec())
        return rollback(failure(ArchiveError::WriteFailed, q.lastError()));
    if (!q.next())
        return rollback({ArchiveError::NotFound, {}});
    const QByteArray hash = q.value(0).toByteArray();
    if (auto removed = removeRecorded(q, hash, nowText()); !removed)
        return rollback(removed.failure());
    if (!d.commit())
        return rollback(failure(ArchiveError::WriteFailed, d.lastError()));
    return {};
}

ArchiveResult<> SqlArchive::setPatient(qint64 number, const PatientRecord &patient, const QString &changedAt)
{
    forgetListing();
    const QString at = changedAt.isEmpty() ? nowText() : changedAt;
    QSqlDatabase d = db();
    if (auto begun = beginWrite(); !begun)
        return begun;
    QSqlQuery q(d);
    const auto rollback = [&](ArchiveFailure f) {
        d.rollback();
        return f;
    };
    q.prepare(QStringLiteral("SELECT readings_sha256, patient_changed_at FROM night WHERE night = ?"));
    q.addBindValue(number);
    if (!q.exec())
        return rollback(failure(ArchiveError::WriteFailed, q.lastError()));
    if (!q.next())
        return rollback({ArchiveError::NotFound, {}});
    const QByteArray hash = q.value(0).toByteArray();
    if (q.value(1).toString() > at) { // a later edit stands
        d.rollback();
        return {};
    }
    q.prepare(QStringLiteral("UPDATE night SET patient = ?, patient_name = ?, patient_changed_at = ? WHERE night = ?"));
    q.addBindValue(patient.toBytes());
    q.addBindValue(notNull(patient.nameText()));
    q.addBindValue(at);
    q.addBindValue(number);
    if (!q.exec())
        return rollback(failure(ArchiveError::WriteFailed, q.lastError()));
    if (auto queued = queue(q, hash, PendingKind::Patient, at); !queued)
        return rollback(queued.failure());
    if (!d.commit())
        return rollback(failure(ArchiveError::WriteFailed, d.lastError()));
    return {};
}

QStringList SqlArchive::check()
{
    QStringList faults;
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT n.night, n.readings_sha256, n.reading_count, r.readings, n.patient"
                               " FROM night n LEFT JOIN night_readings r ON r.night = n.night ORDER BY n.night"))) {
        faults << QStringLiteral("cannot read the nights: %1").arg(q.lastError().text());
        return faults;
    }
    while (q.next()) {
        const qint64 number = q.value(0).toLongLong();
        if (q.value(3).isNull()) {
            faults << QStringLiteral("night %1: its readings are missing").arg(number);
            continue;
        }
        const auto readings = ReadingCodec::decode(q.value(3).toByteArray());
        if (!readings) {
            faults << QStringLiteral("night %1: its readings do not decode").arg(number);
            continue;
        }
        if (int(readings->size()) != q.value(2).toInt())
            faults << QStringLiteral("night %1: %2 readings, %3 listed")
                          .arg(number)
                          .arg(readings->size())
                          .arg(q.value(2).toInt());
        if (ReadingCodec::readingsHash(readings->data(), int(readings->size())) != q.value(1).toByteArray())
            faults << QStringLiteral("night %1: its readings do not match their SHA-256").arg(number);
        if (q.value(4).toByteArray().size() != PatientRecord::kStoredSize)
            faults << QStringLiteral("night %1: its patient details are not %2 bytes")
                          .arg(number)
                          .arg(PatientRecord::kStoredSize);
    }
    return faults;
}

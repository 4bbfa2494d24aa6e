// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/SqlArchive.h"

#include "archive/ReadingCodec.h"

#include <QDateTime>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace
{

// Migration n (1-based) takes the schema from version n - 1 to n. Never edit
// one that has shipped: add the next. Column types are spelt as SQLite takes
// them (BLOB, the INTEGER PRIMARY KEY that numbers rows); a server needs its
// own spelling of those two and nothing else.
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
    };
    return steps;
}

const char *kInfoColumns = "night, device_id, patient_name, title, source, source_name, archived_at, partial,"
                           " start_time, end_time, reading_count, valid_seconds, odi3, odi4, t90, t88, nadir,"
                           " mean_spo2, pulse_min, pulse_mean, pulse_max, summary_version";

NightInfo infoFrom(const QSqlQuery &q)
{
    NightInfo n;
    n.night = q.value(0).toLongLong();
    n.deviceId = q.value(1).toInt();
    n.patientName = q.value(2).toString();
    n.title = q.value(3).toString();
    n.source = nightSourceFromName(q.value(4).toString()).value_or(NightSource::Import);
    n.sourceName = q.value(5).toString();
    n.archivedAt = q.value(6).toString();
    n.partial = q.value(7).toInt() != 0;
    NightSummary &s = n.summary;
    s.start = q.value(8).toString();
    s.end = q.value(9).toString();
    s.readings = q.value(10).toInt();
    s.validSeconds = q.value(11).toInt();
    s.odi3 = q.value(12).toDouble();
    s.odi4 = q.value(13).toDouble();
    s.t90Percent = q.value(14).toDouble();
    s.t88Percent = q.value(15).toDouble();
    s.nadir = q.value(16).toInt();
    s.meanSpo2 = q.value(17).toDouble();
    s.pulseMin = q.value(18).toInt();
    s.pulseMean = q.value(19).toDouble();
    s.pulseMax = q.value(20).toInt();
    s.version = q.value(21).toInt();
    return n;
}

// Qt SQL binds a null QString as NULL.
QString notNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// Binds the summary columns in the order of the UPDATE and INSERT below.
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
    q.addBindValue(s.version);
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

void SqlArchive::forgetListing()
{
    listing_.reset();
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
            if (!q.exec(QString::fromLatin1(statement))) {
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
            const auto readings = ReadingCodec::decode(q.value(1).toByteArray());
            if (readings)
                updates.emplace_back(step.last, summarizeNight(readings->data(), int(readings->size())));
        }
    }
    if (updates.empty())
        return step;
    forgetListing();
    if (auto begun = beginWrite(); !begun)
        return begun.failure();
    QSqlQuery u(d);
    // Only where the figures are still older: another program may have
    // replaced the night or computed them meanwhile.
    u.prepare(QStringLiteral("UPDATE night SET start_time = ?, end_time = ?, reading_count = ?, valid_seconds = ?,"
                             " odi3 = ?, odi4 = ?, t90 = ?, t88 = ?, nadir = ?, mean_spo2 = ?, pulse_min = ?,"
                             " pulse_mean = ?, pulse_max = ?, summary_version = ? WHERE night = ?"
                             " AND summary_version < ?"));
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

    q.prepare(QStringLiteral("INSERT INTO night (device_id, patient_name, patient, title, source, source_name,"
                             " archived_at, partial, readings_sha256, start_time, end_time, reading_count,"
                             " valid_seconds, odi3, odi4, t90, t88, nadir, mean_spo2, pulse_min, pulse_mean,"
                             " pulse_max, summary_version)"
                             " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(int(input.readings.front().id));
    q.addBindValue(notNull(input.patient.nameText()));
    q.addBindValue(input.patient.toBytes());
    q.addBindValue(notNull(input.title));
    q.addBindValue(nightSourceName(input.source));
    q.addBindValue(notNull(input.sourceName));
    q.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    q.addBindValue(input.partial ? 1 : 0);
    q.addBindValue(hash);
    bindSummary(q, summary);
    if (!q.exec())
        return failure(ArchiveError::WriteFailed, q.lastError());
    const QVariant number = q.lastInsertId();
    q.prepare(QStringLiteral("INSERT INTO night_readings (night, readings) VALUES (?, ?)"));
    q.addBindValue(number);
    q.addBindValue(ReadingCodec::encode(input.readings));
    if (!q.exec())
        return failure(ArchiveError::WriteFailed, q.lastError());
    ++counts.added;
    return {};
}

ArchiveResult<NightList> SqlArchive::list(const ArchiveFilter &filter)
{
    const bool everything = filter.patient.isEmpty() && !filter.from.isValid() && !filter.to.isValid();
    // -1: not kept.
    const qint64 version = everything ? dataVersion().value_or(-1) : -1;
    if (version >= 0 && listing_ && listing_->dataVersion == version)
        return listing_->nights;

    QString sql = QStringLiteral("SELECT %1 FROM night WHERE 1 = 1").arg(QLatin1String(kInfoColumns));
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
    QSqlQuery &q = statement(sql);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    const auto finished = qScopeGuard([&q] { q.finish(); });
    if (!q.exec())
        return failure(ArchiveError::Unavailable, q.lastError());
    NightList out;
    while (q.next())
        out.push_back(infoFrom(q));
    if (version >= 0)
        listing_ = KeptListing{version, out};
    return out;
}

ArchiveResult<StoredNight> SqlArchive::night(qint64 number)
{
    QSqlQuery &q = statement(QStringLiteral("SELECT %1, n.patient, r.readings FROM night n"
                                            " JOIN night_readings r USING (night) WHERE night = ?")
                                 .arg(QLatin1String(kInfoColumns)));
    q.bindValue(0, number);
    const auto finished = qScopeGuard([&q] { q.finish(); });
    if (!q.exec())
        return failure(ArchiveError::Unavailable, q.lastError());
    if (!q.next())
        return ArchiveFailure{ArchiveError::NotFound, {}};
    StoredNight out;
    out.info = infoFrom(q);
    const int columns = 22;
    auto readings = ReadingCodec::decode(q.value(columns + 1).toByteArray());
    if (!out.patient.fromBytes(q.value(columns).toByteArray()) || !readings)
        return ArchiveFailure{ArchiveError::Corrupt, {}};
    out.readings = std::move(*readings);
    return out;
}

ArchiveResult<> SqlArchive::remove(qint64 number)
{
    forgetListing();
    QSqlQuery q(db());
    q.prepare(QStringLiteral("DELETE FROM night WHERE night = ?"));
    q.addBindValue(number);
    if (!q.exec())
        return failure(ArchiveError::WriteFailed, q.lastError());
    if (q.numRowsAffected() != 1)
        return ArchiveFailure{ArchiveError::NotFound, {}};
    return {};
}

ArchiveResult<> SqlArchive::setPatient(qint64 number, const PatientRecord &patient)
{
    forgetListing();
    QSqlQuery q(db());
    q.prepare(QStringLiteral("UPDATE night SET patient = ?, patient_name = ? WHERE night = ?"));
    q.addBindValue(patient.toBytes());
    q.addBindValue(notNull(patient.nameText()));
    q.addBindValue(number);
    if (!q.exec())
        return failure(ArchiveError::WriteFailed, q.lastError());
    if (q.numRowsAffected() != 1)
        return ArchiveFailure{ArchiveError::NotFound, {}};
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

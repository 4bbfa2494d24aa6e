// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/SqlArchive.h"

#include "archive/ReadingCodec.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

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

const QStringList &infoColumns()
{
    static const QStringList columns =
        QStringList{QStringLiteral("night"),       QStringLiteral("device_id"), QStringLiteral("patient_name"),
                    QStringLiteral("title"),       QStringLiteral("source"),    QStringLiteral("source_name"),
                    QStringLiteral("archived_at"), QStringLiteral("partial")} +
        summaryColumns();
    return columns;
}

// "?, ?, ..." for count values.
QString placeholders(qsizetype count)
{
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

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
    int c = 8;
    s.start = q.value(c++).toString();
    s.end = q.value(c++).toString();
    s.readings = q.value(c++).toInt();
    s.validSeconds = q.value(c++).toInt();
    s.odi3 = q.value(c++).toDouble();
    s.odi4 = q.value(c++).toDouble();
    s.t90Percent = q.value(c++).toDouble();
    s.t88Percent = q.value(c++).toDouble();
    s.nadir = q.value(c++).toInt();
    s.meanSpo2 = q.value(c++).toDouble();
    s.pulseMin = q.value(c++).toInt();
    s.pulseMean = q.value(c++).toDouble();
    s.pulseMax = q.value(c++).toInt();
    s.coverage = q.value(c++).toDouble();
    s.shortRecording = q.value(c++).toInt() != 0;
    s.hypoxicBurden = q.value(c++).toDouble();
    s.deltaIndex = q.value(c++).toDouble();
    s.desaturationMeanSeconds = q.value(c++).toDouble();
    s.desaturationMeanDepth = q.value(c++).toDouble();
    s.pulseRiseMean = q.value(c++).toDouble();
    s.version = q.value(c++).toInt();
    return n;
}

// Qt SQL binds a null QString as NULL.
QString notNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

bool fail(QString *error, const QString &what, const QSqlQuery &q)
{
    if (error)
        *error = what + QStringLiteral(": ") + q.lastError().text();
    return false;
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

int SqlArchive::schemaVersion(QString *error)
{
    QSqlDatabase d = db();
    if (!d.tables().contains(QStringLiteral("schema_version")))
        return d.lastError().isValid() ? -1 : 0;
    QSqlQuery q(d);
    if (!q.exec(QStringLiteral("SELECT version FROM schema_version")) || !q.next()) {
        fail(error, QStringLiteral("cannot read the schema version"), q);
        return -1;
    }
    return q.value(0).toInt();
}

bool SqlArchive::beginWrite(QString *error)
{
    QSqlDatabase d = db();
    if (d.transaction())
        return true;
    if (error)
        *error = d.lastError().text();
    return false;
}

bool SqlArchive::migrate(int target, QString *error)
{
    QSqlDatabase d = db();
    for (;;) {
        // Each step in its own transaction, the version read inside it: an
        // interrupted upgrade resumes at the step it did not finish, and of
        // two programs opening a new archive only one applies each step.
        if (!beginWrite(error))
            return false;
        const int from = schemaVersion(error);
        if (from < 0 || from >= target) {
            d.commit();
            return from >= 0;
        }
        const int version = from + 1;
        QSqlQuery q(d);
        for (const char *statement : migrations()[std::size_t(version - 1)]) {
            if (!q.exec(QString::fromLatin1(statement))) {
                fail(error, QStringLiteral("migration %1").arg(version), q);
                d.rollback();
                return false;
            }
        }
        q.prepare(QStringLiteral("UPDATE schema_version SET version = ?"));
        q.addBindValue(version);
        if (!q.exec() || !d.commit()) {
            fail(error, QStringLiteral("migration %1").arg(version), q);
            d.rollback();
            return false;
        }
    }
}

int SqlArchive::refreshSummaries(QString *error)
{
    QSqlDatabase d = db();
    QSqlQuery q(d);
    q.prepare(QStringLiteral("SELECT n.night, r.readings FROM night n JOIN night_readings r ON r.night = n.night"
                             " WHERE n.summary_version < ?"));
    q.addBindValue(NightSummary::kVersion);
    if (!q.exec()) {
        fail(error, QStringLiteral("cannot read the summaries"), q);
        return -1;
    }
    std::vector<std::pair<qint64, NightSummary>> updates;
    while (q.next()) {
        const qint64 number = q.value(0).toLongLong();
        const auto readings = ReadingCodec::decode(q.value(1).toByteArray());
        const auto marked = marks(number, error);
        if (!marked)
            return -1;
        if (readings) // an undecodable night keeps its figures; check() reports it
            updates.emplace_back(number, summarizeNight(readings->data(), int(readings->size()), *marked));
    }
    if (updates.empty())
        return 0;
    if (!beginWrite(error))
        return -1;
    QSqlQuery u(d);
    u.prepare(updateSummarySql());
    for (const auto &[number, summary] : updates) {
        bindSummary(u, summary);
        u.addBindValue(number);
        if (!u.exec()) {
            fail(error, QStringLiteral("cannot store a summary"), u);
            d.rollback();
            return -1;
        }
    }
    if (!d.commit())
        return -1;
    return int(updates.size());
}

bool SqlArchive::store(const std::vector<NightInput> &nights, StoreCounts *counts, QString *error)
{
    QSqlDatabase d = db();
    if (!beginWrite(error))
        return false;
    StoreCounts batch;
    for (const NightInput &input : nights) {
        if (!storeOne(input, batch, error)) {
            d.rollback();
            return false;
        }
    }
    if (!d.commit()) {
        if (error)
            *error = d.lastError().text();
        d.rollback();
        return false;
    }
    if (counts)
        *counts = batch;
    return true;
}

bool SqlArchive::storeOne(const NightInput &input, StoreCounts &counts, QString *error)
{
    if (input.readings.empty())
        return true;
    const int count = int(input.readings.size());
    const QByteArray hash = ReadingCodec::readingsHash(input.readings.data(), count);
    QSqlQuery q(db());
    q.prepare(QStringLiteral("SELECT night FROM night WHERE readings_sha256 = ?"));
    q.addBindValue(hash);
    if (!q.exec())
        return fail(error, QStringLiteral("cannot look up a night"), q);
    if (q.next()) {
        ++counts.present;
        counts.nights.push_back(q.value(0).toLongLong());
        return true;
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
        return fail(error, QStringLiteral("cannot look up a night"), q);
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
            return true;
        }
        if (storedCount < count && startsWith(input.readings, *stored))
            replace.push_back(q.value(0).toLongLong());
    }
    for (qint64 number : replace) {
        q.prepare(QStringLiteral("DELETE FROM night WHERE night = ?"));
        q.addBindValue(number);
        if (!q.exec())
            return fail(error, QStringLiteral("cannot replace a partial night"), q);
        ++counts.replaced;
    }

    q.prepare(QStringLiteral("INSERT INTO night (device_id, patient_name, patient, title, source, source_name,"
                             " archived_at, partial, readings_sha256, %1) VALUES (%2)")
                  .arg(summaryColumns().join(QStringLiteral(", ")), placeholders(9 + summaryColumns().size())));
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
        return fail(error, QStringLiteral("cannot store a night"), q);
    const QVariant number = q.lastInsertId();
    q.prepare(QStringLiteral("INSERT INTO night_readings (night, readings) VALUES (?, ?)"));
    q.addBindValue(number);
    q.addBindValue(ReadingCodec::encode(input.readings));
    if (!q.exec())
        return fail(error, QStringLiteral("cannot store a night's readings"), q);
    ++counts.added;
    counts.nights.push_back(number.toLongLong());
    return true;
}

std::optional<std::vector<NightInfo>> SqlArchive::list(const ArchiveFilter &filter, QString *error)
{
    QString sql = QStringLiteral("SELECT %1 FROM night WHERE 1 = 1").arg(infoColumns().join(QStringLiteral(", ")));
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
    QSqlQuery q(db());
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec()) {
        fail(error, QStringLiteral("cannot list the archive"), q);
        return std::nullopt;
    }
    std::vector<NightInfo> out;
    while (q.next())
        out.push_back(infoFrom(q));
    return out;
}

std::optional<StoredNight> SqlArchive::night(qint64 number, QString *error)
{
    QSqlQuery q(db());
    q.prepare(QStringLiteral("SELECT %1, n.patient, r.readings FROM night n JOIN night_readings r USING (night)"
                             " WHERE night = ?")
                  .arg(infoColumns().join(QStringLiteral(", "))));
    q.addBindValue(number);
    if (!q.exec()) {
        fail(error, QStringLiteral("cannot read night %1").arg(number), q);
        return std::nullopt;
    }
    if (!q.next()) {
        if (error)
            *error = QStringLiteral("there is no night %1 in the archive").arg(number);
        return std::nullopt;
    }
    StoredNight out;
    out.info = infoFrom(q);
    const int columns = int(infoColumns().size());
    auto readings = ReadingCodec::decode(q.value(columns + 1).toByteArray());
    if (!out.patient.fromBytes(q.value(columns).toByteArray()) || !readings) {
        if (error)
            *error = QStringLiteral("night %1 is damaged in the archive").arg(number);
        return std::nullopt;
    }
    out.readings = std::move(*readings);
    auto marked = marks(number, error);
    if (!marked)
        return std::nullopt;
    out.marks = std::move(*marked);
    return out;
}

std::optional<std::vector<ReadingSpan>> SqlArchive::marks(qint64 number, QString *error)
{
    QSqlQuery q(db());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT first_reading, last_reading FROM night_marks WHERE night = ?"
                             " ORDER BY first_reading"));
    q.addBindValue(number);
    if (!q.exec()) {
        fail(error, QStringLiteral("cannot read the marks of night %1").arg(number), q);
        return std::nullopt;
    }
    std::vector<ReadingSpan> out;
    while (q.next())
        out.push_back({q.value(0).toInt(), q.value(1).toInt()});
    return out;
}

bool SqlArchive::setMarks(qint64 number, const std::vector<ReadingSpan> &spans, QString *error)
{
    std::optional<StoredNight> stored = night(number, error);
    if (!stored)
        return false;
    const int count = int(stored->readings.size());
    std::vector<ReadingSpan> joined = spans;
    std::sort(joined.begin(), joined.end(), [](ReadingSpan a, ReadingSpan b) { return a.first < b.first; });
    std::vector<ReadingSpan> kept;
    for (const ReadingSpan &span : joined) {
        if (span.first < 0 || span.first > span.last || span.last >= count) {
            if (error)
                *error =
                    QStringLiteral("readings %1 to %2 are not in night %3").arg(span.first).arg(span.last).arg(number);
            return false;
        }
        if (!kept.empty() && span.first <= kept.back().last + 1)
            kept.back().last = std::max(kept.back().last, span.last);
        else
            kept.push_back(span);
    }

    QSqlDatabase d = db();
    if (!beginWrite(error))
        return false;
    QSqlQuery q(d);
    auto rollback = [&](const QString &what) {
        fail(error, what, q);
        d.rollback();
        return false;
    };
    q.prepare(QStringLiteral("DELETE FROM night_marks WHERE night = ?"));
    q.addBindValue(number);
    if (!q.exec())
        return rollback(QStringLiteral("cannot store the marks of night %1").arg(number));
    q.prepare(QStringLiteral("INSERT INTO night_marks (night, first_reading, last_reading) VALUES (?, ?, ?)"));
    for (const ReadingSpan &span : kept) {
        q.addBindValue(number);
        q.addBindValue(span.first);
        q.addBindValue(span.last);
        if (!q.exec())
            return rollback(QStringLiteral("cannot store the marks of night %1").arg(number));
    }
    q.prepare(updateSummarySql());
    bindSummary(q, summarizeNight(stored->readings.data(), count, kept));
    q.addBindValue(number);
    if (!q.exec() || q.numRowsAffected() != 1) // removed meanwhile: its marks go with it
        return rollback(QStringLiteral("cannot store the summary of night %1").arg(number));
    if (!d.commit())
        return rollback(QStringLiteral("cannot store the marks of night %1").arg(number));
    return true;
}

bool SqlArchive::remove(qint64 number, QString *error)
{
    QSqlQuery q(db());
    q.prepare(QStringLiteral("DELETE FROM night WHERE night = ?"));
    q.addBindValue(number);
    if (!q.exec())
        return fail(error, QStringLiteral("cannot remove night %1").arg(number), q);
    if (q.numRowsAffected() != 1) {
        if (error)
            *error = QStringLiteral("there is no night %1 in the archive").arg(number);
        return false;
    }
    return true;
}

bool SqlArchive::setPatient(qint64 number, const PatientRecord &patient, QString *error)
{
    QSqlQuery q(db());
    q.prepare(QStringLiteral("UPDATE night SET patient = ?, patient_name = ? WHERE night = ?"));
    q.addBindValue(patient.toBytes());
    q.addBindValue(notNull(patient.nameText()));
    q.addBindValue(number);
    if (!q.exec())
        return fail(error, QStringLiteral("cannot store the details of night %1").arg(number), q);
    if (q.numRowsAffected() != 1) {
        if (error)
            *error = QStringLiteral("there is no night %1 in the archive").arg(number);
        return false;
    }
    return true;
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

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/ArchiveError.h"
#include "archive/NightSummary.h"
#include "model/PatientRecord.h"
#include "model/SampleRecord.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Where an archived night came from.
enum class NightSource { Download, File, Import };
QString nightSourceName(NightSource source); // "download", "file", "import"
std::optional<NightSource> nightSourceFromName(const QString &name);

// A night about to be archived. The readings are one night (see NightSplit).
struct NightInput {
    std::vector<SampleRecord> readings;
    PatientRecord patient; // the details stored for its ID when it was archived
    QString title;         // the report title its .dat carries
    NightSource source = NightSource::Import;
    QString sourceName; // file name, or the port of a download
    bool partial = false;
    int intervalSeconds = 1; // an imported file's spacing of readings, held to one a second
};

// One archived night as listed: everything but its readings.
struct NightInfo {
    qint64 night = 0; // the archive's number of the night
    int deviceId = 0;
    QString patientName;
    QString title;
    NightSource source = NightSource::Import;
    QString sourceName;
    QString archivedAt; // UTC, ISO 8601
    bool partial = false;
    int intervalSeconds = 1; // the source's seconds between readings
    NightSummary summary;
    QByteArray readingsHash;  // SHA-256 of the readings: the night's name in every archive
    QString patientChangedAt; // when its details were last edited (UTC, ISO 8601 with ms); empty when never
    QString marksChangedAt;   // the same for its artefact marks
    // False while the figures are those of an older program (see SummaryRefresh).
    bool summaryIsCurrent() const { return summary.version >= NightSummary::kVersion; }
};

// Nights as listed, oldest first. Implicitly shared: a listing the archive
// keeps is handed out without a copy.
using NightList = QList<NightInfo>;

struct StoredNight {
    NightInfo info;
    PatientRecord patient;
    std::vector<SampleRecord> readings;
    std::vector<ReadingSpan> marks; // spans of readings marked as artefact, in order
};

struct StoreCounts {
    int added = 0;              // new nights, replacements included
    int present = 0;            // already in the archive
    int replaced = 0;           // partial nights that a longer night of the same readings replaced
    std::vector<qint64> nights; // per input with readings, in order: its night, new or already there
};

struct ArchiveFilter {
    QString patient; // part of the name, or the exact ID; empty for all
    QDate from;      // first day of start, inclusive; null for no bound
    QDate to;        // last day of start, inclusive; null for no bound
};

// Every night kept, never twice. Implementations keep their SQL to themselves;
// callers see only nights.
class Archive
{
public:
    virtual ~Archive() = default;

    // Stores a batch (one download, one file) in one transaction: on failure
    // nothing of the batch is kept. A night whose readings are stored already
    // is counted as present; a stored partial night whose readings are all at
    // the start of a longer new night of the same ID is replaced by it; a new
    // partial night whose readings are all at the start of a stored night is
    // present; any other night is added, overlapping or not.
    virtual ArchiveResult<StoreCounts> store(const std::vector<NightInput> &nights) = 0;

    virtual ArchiveResult<NightList> list(const ArchiveFilter &filter) = 0;
    // NotFound when there is no such night, Corrupt when it does not decode.
    virtual ArchiveResult<StoredNight> night(qint64 number) = 0;
    // Removes the night and keeps a record of its removal (see removedAt()).
    virtual ArchiveResult<> remove(qint64 number) = 0;
    // changedAt (UTC, ISO 8601 with ms) is the edit's time, empty for now: an
    // edit older than the one stored is ignored, so that the later one wins
    // wherever they meet.
    virtual ArchiveResult<> setPatient(qint64 number, const PatientRecord &patient, const QString &changedAt = {}) = 0;
    // Replaces the spans of the night's readings marked as artefact (indices
    // into its readings; overlapping spans are joined) and computes its
    // summary again, all or nothing. Spans outside the readings are refused.
    // changedAt as for setPatient().
    virtual ArchiveResult<> setMarks(qint64 number, const std::vector<ReadingSpan> &spans,
                                     const QString &changedAt = {}) = 0;
    // The night's marked spans in order (empty when none), as night() gives them.
    virtual ArchiveResult<std::vector<ReadingSpan>> marks(qint64 number) = 0;

    // Nights are known across archives by their readings' hash, since each
    // archive numbers its own. NotFound when no night has those readings.
    virtual ArchiveResult<qint64> find(const QByteArray &readingsHash) = 0;
    // Removes the night of those readings, unless it was stored after at, and
    // records the removal at that time, present or not: a copy kept elsewhere
    // is then known as removed and not brought back.
    virtual ArchiveResult<> forget(const QByteArray &readingsHash, const QString &at) = 0;
    // When the night of those readings was last removed; empty when never, or
    // when it was stored again since.
    virtual ArchiveResult<QString> removedAt(const QByteArray &readingsHash) = 0;

    // One line per fault; empty when every night decodes and matches its hash.
    virtual QStringList check() = 0;
    // A consistent copy while the archive may be in use.
    virtual ArchiveResult<> backupTo(const QString &path) = 0;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveCli.h"

#include "texts/ArchiveTexts.h"

// Takes "--name VALUE" out of args; false when the value is missing.
bool takeOption(QStringList &args, const QString &name, QString *value)
{
    const qsizetype at = args.indexOf(name);
    if (at < 0)
        return true;
    if (at + 1 >= args.size())
        return false;
    *value = args.at(at + 1);
    args.remove(at, 2);
    return true;
}

std::unique_ptr<ClinicArchive> openArchive(const QString &path, const QString &server, QTextStream &err,
                                           bool *wasDamaged)
{
    ArchiveResult<ClinicArchive::Opened> o = ClinicArchive::open(path, server);
    if (!o) {
        err << ArchiveTexts::text(o, {path, {}, 0});
        if (o.error() == ArchiveError::Newer)
            err << " Or use --archive FILE for another archive.";
        err << "\n";
        return nullptr;
    }
    const QString &kept = o.value().damagedKeptAs;
    if (!kept.isEmpty())
        err << "the archive " << path << " was damaged: it is kept as " << kept
            << " and a new, empty archive was started\n";
    if (wasDamaged)
        *wasDamaged = !kept.isEmpty();
    return std::move(o.value().archive);
}

void tellServer(ClinicArchive &archive, QTextStream &err)
{
    if (!archive.usesServer())
        return;
    if (!archive.onServer())
        err << "the clinic server cannot be reached"
            << (archive.serverFailure() ? QStringLiteral(" (%1)").arg(archive.serverFailure()->detail) : QString())
            << "; working on this computer's archive\n";
    const ArchiveResult<int> waiting = archive.pendingNights();
    if (waiting && waiting.value() > 0)
        err << ArchiveTexts::notOnServer(waiting.value()) << "\n";
}

QString patientText(const NightInfo &n)
{
    return n.patientName.isEmpty() ? QStringLiteral("ID %1 (no name)").arg(n.deviceId) : n.patientName;
}

QJsonObject nightJson(const NightInfo &n)
{
    const NightSummary &s = n.summary;
    // The summary keys are those of `analyze --json`.
    return QJsonObject{
        {QStringLiteral("night"), n.night},
        {QStringLiteral("id"), n.deviceId},
        {QStringLiteral("start"), s.start},
        {QStringLiteral("end"), s.end},
        {QStringLiteral("readings"), s.readings},
        {QStringLiteral("patient"), patientText(n)},
        {QStringLiteral("source"), nightSourceName(n.source)},
        {QStringLiteral("sourceName"), n.sourceName},
        {QStringLiteral("title"), n.title},
        {QStringLiteral("archived"), n.archivedAt},
        {QStringLiteral("partial"), n.partial},
        {QStringLiteral("intervalSeconds"), n.intervalSeconds},
        {QStringLiteral("validSeconds"), s.validSeconds},
        {QStringLiteral("odi3"), s.odi3},
        {QStringLiteral("odi4"), s.odi4},
        {QStringLiteral("t90Percent"), s.t90Percent},
        {QStringLiteral("t88Percent"), s.t88Percent},
        {QStringLiteral("nadir"), s.nadir},
        {QStringLiteral("meanSpo2"), s.meanSpo2},
        {QStringLiteral("pulseMin"), s.pulseMin},
        {QStringLiteral("pulseMean"), s.pulseMean},
        {QStringLiteral("pulseMax"), s.pulseMax},
        {QStringLiteral("coverage"), s.coverage},
        {QStringLiteral("shortRecording"), s.shortRecording},
        {QStringLiteral("hypoxicBurden"), s.hypoxicBurden},
        {QStringLiteral("deltaIndex"), s.deltaIndex},
        {QStringLiteral("desaturationMeanSeconds"), s.desaturationMeanSeconds},
        {QStringLiteral("desaturationMeanDepth"), s.desaturationMeanDepth},
        {QStringLiteral("pulseRiseMean"), s.pulseRiseMean},
        {QStringLiteral("summaryVersion"), s.version},
        {QStringLiteral("summaryCurrent"), n.summaryIsCurrent()},
    };
}

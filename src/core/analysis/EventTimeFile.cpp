// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/EventTimeFile.h"

#include "app/Prompts.h"
#include "app/Texts.h"
#include "model/FixedText.h"
#include "model/RecordStore.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace EventTimeFile
{

namespace
{

const QString kTab = QStringLiteral("\t");

bool Metric(int system)
{
    return system != 0;
}

QString Stamp(const SampleRecord &s)
{
    return QString::asprintf("2%03d/%02d/%02d-%02d:%02d:%02d", s.year, s.month, s.day, s.hour, s.minute, s.second);
}

QString ColumnHeads()
{
    return QStringLiteral("Start Date&Time\t\tEnd Date&Time\t\tKeep Count\tMax Value\tMin Value");
}

void Section(QStringList &lines, const QString &title, const std::vector<EventRecord> &events,
             const SampleRecord *samples, int sampleCount)
{
    lines << title << ColumnHeads();
    for (const EventRecord &e : events) {
        const int last = e.start + e.length - 1;
        if (e.start < 0 || e.length < 1 || last >= sampleCount)
            continue; // not of this recording
        lines << Stamp(samples[e.start]) + kTab + Stamp(samples[last]) + kTab + QString::number(e.length) + kTab +
                     kTab + QString::number(e.maxValue) + kTab + kTab + QString::number(e.minValue);
    }
}

} // namespace

QString proposedName(const PatientRecord &patient)
{
    return QString::asprintf("ID %d  Name Event ", patient.idNumber) + patient.nameText();
}

bool hasTxtExtension(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0;
}

QString heightText(float height, int unitSystem, int unitSetup)
{
    float v = height;
    if (Metric(unitSetup)) {
        if (!Metric(unitSystem))
            v = float(height * 2.54);
        return FixedText(v, 0) + QStringLiteral(" cm");
    }
    if (Metric(unitSystem))
        v = float(height / 2.54);
    return FixedText(v, 0) + QStringLiteral(" in");
}

QString weightText(float weight, int unitSystem, int unitSetup)
{
    float v = weight;
    if (Metric(unitSetup)) {
        if (!Metric(unitSystem))
            v = weight * 454 / 1000;
        return FixedText(v, 0) + QStringLiteral(" kg");
    }
    if (Metric(unitSystem))
        v = weight / 454 * 1000;
    return FixedText(v, 0) + QStringLiteral(" lb");
}

QByteArray encode(const SampleRecord *samples, int sampleCount, const PatientRecord &patient,
                  const AnalysisResults &results, int unitSetup)
{
    QStringList lines;
    lines << QStringLiteral("PatId") + kTab + Text(TextNo::Name);
    lines << QString::number(patient.idNumber) + kTab + patient.nameText();
    lines << QString();
    lines << Text(TextNo::Gender) + kTab + Text(TextNo::Age) + kTab + Text(TextNo::Height) + kTab +
                 Text(TextNo::Weight);
    lines << Text(patient.gender == 0 ? TextNo::Male : TextNo::Female) + kTab + QString::number(patient.age) + kTab +
                 heightText(patient.height, patient.unitSystem, unitSetup) + kTab +
                 weightText(patient.weight, patient.unitSystem, unitSetup);
    lines << QString() << QString();
    Section(lines, QStringLiteral("SpO2 Event"), results.spo2Events, samples, sampleCount);
    lines << QString() << QString();
    Section(lines, QStringLiteral("PR Event"), results.pulseEvents, samples, sampleCount);

    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

FileResult write(const QString &path, const QByteArray &bytes)
{
    return writeFileChecked(path, bytes);
}

Outcome exportCommand(const RecordStore &store, const AnalysisResults &results, Prompts &prompts, int unitSetup)
{
    Prompts::FileRequest request;
    request.defaultSuffix = QStringLiteral("txt");
    request.initialName = proposedName(store.currentPatient);
    request.filter = QCoreApplication::translate("EventTimeFile", "Data file(*.txt)");
    request.confirmOverwrite = true;
    const QString path = prompts.saveFileName(request);
    if (path.isEmpty())
        return Outcome::Cancelled;
    // The proposed name holds the patient's name, so a name with a dot gets no
    // .txt added by the file dialog; silence would pass for a saved file.
    if (!hasTxtExtension(path)) {
        prompts.warning(
            QCoreApplication::translate("EventTimeFile", "Nothing was written: choose a file name ending in .txt."));
        return Outcome::NotTxt;
    }
    const QByteArray bytes =
        encode(store.currentSamples.data(), store.currentSampleCount(), store.currentPatient, results, unitSetup);
    // A failed write is reported like a file that cannot be created: the user
    // must not take a partial file for the whole list.
    if (const FileResult r = write(path, bytes); !r) {
        prompts.warningWithDetail(Text(TextNo::CantCreateFile), r.detail());
        return Outcome::CannotCreate;
    }
    return Outcome::Written;
}

} // namespace EventTimeFile

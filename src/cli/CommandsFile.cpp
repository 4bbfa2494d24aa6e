// SPDX-License-Identifier: GPL-3.0-or-later
#include "Commands.h"
#include "RecordingOutput.h"

#include "app/Settings.h"
#include "app/TerminalText.h"
#include "model/DatFile.h"
#include "model/PatientStore.h"
#include "model/SavedData.h"
#include "model/SurplusParts.h"

#include <QFile>
#include <QTextStream>

namespace
{

QString stamp(const SampleRecord &s)
{
    // The full year: the field runs to 255, past the two digits "20%02d" has room for.
    return QString::asprintf("%04d/%02d/%02d %02d:%02d:%02d", 2000 + s.year, s.month, s.day, s.hour, s.minute,
                             s.second);
}

int usage(QTextStream &err, const char *text)
{
    err << "usage: quellix-cli " << text << "\n";
    return 2;
}

} // namespace

int runInfo(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.size() != 1)
        return usage(err, "info FILE.dat");
    const DatFile::ReadResult r = DatFile::read(args.first());
    if (!r.ok) {
        err << "can't open the file\n" << r.failedCheck << " (byte " << r.offset << ")\n";
        return 1;
    }
    const auto &c = r.contents;
    out << "id: " << c.headerId << "\n";
    out << "readings: " << c.samples.size() << "\n";
    out << "title: " << EscapeControls(c.title) << "\n";
    out << "first: " << (c.samples.empty() ? QStringLiteral("-") : stamp(c.samples.front())) << "\n";
    out << "last: " << (c.samples.empty() ? QStringLiteral("-") : stamp(c.samples.back())) << "\n";
    return 0;
}

int runSettings(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const char *text = "settings get NAME | settings set NAME VALUE";
    const bool get = args.size() == 2 && args.first() == QLatin1String("get");
    const bool set = args.size() == 3 && args.first() == QLatin1String("set");
    if (!get && !set)
        return usage(err, text);
    const SettingRow *row = Settings::find(args[1]);
    if (!row) {
        err << "unknown setting: " << args[1] << "\n";
        return 2;
    }
    Settings settings;
    if (set) {
        // Checked here, not by the store, whose leading-digits rule would turn
        // "abc" or "-5" into a silent 0.
        if (const std::optional<QString> refusal = Settings::refusal(*row, args[2])) {
            err << args[1] << " takes " << *refusal << ", not \"" << EscapeControls(args[2]) << "\"\n";
            return 2;
        }
        if (!settings.setText(*row, args[2])) {
            err << "could not store " << args[1] << "\n";
            return 1;
        }
        out << args[1] << " = ";
    }
    // DefaultCOM is text from the settings file, which anyone may have edited.
    out << EscapeControls(settings.text(*row)) << "\n";
    return 0;
}

int runExport(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList files = args;
    const bool removeStale = files.removeAll(QStringLiteral("--remove-stale-parts")) > 0;
    if (files.size() != 2 || files[0].startsWith(QLatin1String("--")) || files[1].startsWith(QLatin1String("--")))
        return usage(err, "export IN.dat OUT.dat|OUT.txt|OUT.xls|OUT.csv|OUT.edf [--remove-stale-parts]");
    const QString &inPath = files[0];
    const QString &outPath = files[1];
    const SavedData::SaveFormat format = SavedData::formatOf(outPath);
    if (format == SavedData::SaveFormat::Unknown) {
        err << "nothing written: " << outPath << " does not end in .dat, .txt, .xls, .csv or .edf\n";
        return 1;
    }
    const DatFile::ReadResult r = DatFile::read(inPath);
    if (!r.ok) {
        err << "can't open the file\n" << r.failedCheck << " (byte " << r.offset << ")\n";
        return 1;
    }
    const DatFile::Contents &c = r.contents;
    // The details stored for the file's ID, as the program would show them.
    PatientRecord patient;
    if (c.headerId < 1 || c.headerId > 128 || !ReadPatientInfo(c.headerId - 1, patient) || patient.idNumber == 0)
        patient.idNumber = c.headerId;
    const int unitSetup = Settings().unitSetup();

    // Found before the last new part replaces the part they continue.
    const QStringList stale = format == SavedData::SaveFormat::Dat
                                  ? SurplusParts::find(outPath, DatFile::partCount(int(c.samples.size())))
                                  : QStringList();
    const RecordingWrite w = writeRecordingAs(outPath, c.headerId, c.samples, c.title, patient, unitSetup);
    if (!w.result) {
        err << "Can't create the file " << outPath << ": " << w.result.detail() << "\n";
        return 1;
    }
    out << c.samples.size() << " readings -> " << w.paths.join(QStringLiteral(", ")) << "\n";
    err.flush();
    settleStaleParts(stale, outPath, removeStale);
    return 0;
}

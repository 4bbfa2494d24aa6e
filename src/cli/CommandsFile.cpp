#include "Commands.h"
#include "RecordingOutput.h"

#include "app/Settings.h"
#include "app/TerminalText.h"
#include "model/DatFile.h"
#include "model/PatientStore.h"
#include "model/SavedData.h"

#include <QTextStream>

#include <map>

namespace
{

// Every setting with its default; "DefaultCOM" is the one text value.
const std::map<QString, int> &intDefaults()
{
    static const std::map<QString, int> defaults = {
        {QStringLiteral("SaturationsHigh"), SetupDefaults::SaturationsHigh},
        {QStringLiteral("SaturationsLow"), SetupDefaults::SaturationsLow},
        {QStringLiteral("PrHigh"), SetupDefaults::PrHigh},
        {QStringLiteral("PrLow"), SetupDefaults::PrLow},
        {QStringLiteral("DesaturationsEvent"), SetupDefaults::DesaturationsEvent},
        {QStringLiteral("PulseEvent"), SetupDefaults::PulseEvent},
        {QStringLiteral("UnitSetup"), SetupDefaults::UnitSetup},
        {QStringLiteral("Language"), SetupDefaults::Language},
        {QStringLiteral("port"), 0},
    };
    return defaults;
}

const QString kDefaultCom = QStringLiteral("DefaultCOM");

bool knownSetting(const QString &name)
{
    return name == kDefaultCom || intDefaults().count(name) > 0;
}

QString settingValue(const QString &name)
{
    if (name == kDefaultCom)
        return ReadSetupString(name).value_or(QString());
    return QString::number(ReadSetupInt(name, intDefaults().at(name)));
}

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
    if (args.isEmpty())
        return usage(err, text);
    const QString &verb = args.first();
    if (verb == QLatin1String("get") && args.size() == 2) {
        if (!knownSetting(args[1])) {
            err << "unknown setting: " << args[1] << "\n";
            return 2;
        }
        out << settingValue(args[1]) << "\n";
        return 0;
    }
    if (verb == QLatin1String("set") && args.size() == 3) {
        if (!knownSetting(args[1])) {
            err << "unknown setting: " << args[1] << "\n";
            return 2;
        }
        if (args[1] == kDefaultCom && args[2].size() > 9) {
            err << "DefaultCOM holds at most 9 characters\n";
            return 1;
        }
        if (!WriteSetupValue(args[1], args[2])) {
            err << "could not store " << args[1] << "\n";
            return 1;
        }
        out << args[1] << " = " << settingValue(args[1]) << "\n";
        return 0;
    }
    return usage(err, text);
}

int runExport(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.size() != 2)
        return usage(err, "export IN.dat OUT.dat|OUT.txt|OUT.xls|OUT.csv|OUT.edf");
    const QString &outPath = args[1];
    const SavedData::SaveFormat format = SavedData::formatOf(outPath);
    if (format == SavedData::SaveFormat::Unknown) {
        err << "nothing written: " << outPath << " does not end in .dat, .txt, .xls, .csv or .edf\n";
        return 1;
    }
    const DatFile::ReadResult r = DatFile::read(args[0]);
    if (!r.ok) {
        err << "can't open the file\n" << r.failedCheck << " (byte " << r.offset << ")\n";
        return 1;
    }
    const DatFile::Contents &c = r.contents;
    // The details stored for the file's ID, as the program would show them.
    PatientRecord patient;
    if (c.headerId < 1 || c.headerId > 128 || !ReadPatientInfo(c.headerId - 1, patient) || patient.idNumber == 0)
        patient.idNumber = c.headerId;
    const int unitSetup = ReadSetupInt(QStringLiteral("UnitSetup"), SetupDefaults::UnitSetup);

    QStringList written;
    QString error;
    const bool ok = writeRecordingAs(outPath, c.headerId, c.samples, c.title, patient, unitSetup, &written, &error);
    if (!ok) {
        err << "Can't create the file " << outPath << ": " << error << "\n";
        return 1;
    }
    out << c.samples.size() << " readings -> " << written.join(QStringLiteral(", ")) << "\n";
    return 0;
}

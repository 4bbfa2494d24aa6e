#include "Commands.h"

#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "device/DeviceSession.h"
#include "device/DownloadEngine.h"
#include "device/HexLog.h"
#include "device/PortList.h"
#include "device/Protocol.h"
#include "device/RawDump.h"
#include "device/SocketLink.h"
#include "model/DatFile.h"
#include "model/RecordStore.h"
#include "texts/DeviceTexts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <map>
#include <optional>

namespace
{

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

// Options of the form --name VALUE; flags listed in known without a value are errors.
std::optional<std::map<QString, QString>> parseOptions(const QStringList &args, const QStringList &known)
{
    std::map<QString, QString> out;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (!known.contains(a) || i + 1 >= args.size()) {
            err() << "bad option: " << a << "\n";
            return std::nullopt;
        }
        out[a] = args[++i];
    }
    return out;
}

void printMessages(const QStringList &messages)
{
    for (const QString &m : messages)
        err() << m << "\n";
    err().flush();
}

// What a maintenance command reports, and the port it found for "DefaultCOM".
void finishMaintenance(DeviceSession &session)
{
    session.TransferEnd();
    if (!session.portToRemember().isEmpty())
        Settings().setDefaultCom(session.portToRemember());
    printMessages(DeviceTexts::texts(session.takeMessages(), session.permissionDenied()));
}

// Sets up the link of a session from --port / --bluetooth / --log. False when
// the Bluetooth link cannot be made.
bool prepareSession(DeviceSession &session, const std::map<QString, QString> &opts)
{
    if (opts.count(QStringLiteral("--log"))) {
        auto log = std::make_shared<HexLog>(opts.at(QStringLiteral("--log")));
        if (!log->isOpen()) {
            err() << "cannot write the log " << opts.at(QStringLiteral("--log")) << "\n";
            return false;
        }
        session.setLog(log);
    }
    if (opts.count(QStringLiteral("--bluetooth"))) {
        auto link = MakeSocketLink(opts.at(QStringLiteral("--bluetooth")));
        if (!link->Connect(opts.at(QStringLiteral("--bluetooth")))) {
            err() << DeviceTexts::text(DeviceMessage::NotConnected) << " (" << link->lastErrorText() << ")\n";
            return false;
        }
        session.useBluetooth(link);
        return true;
    }
    if (opts.count(QStringLiteral("--port"))) {
        session.restrictToPort(opts.at(QStringLiteral("--port")));
    } else {
        session.savedPort = Settings().defaultCom();
        session.EnumeratePorts();
    }
    return true;
}

void drawProgress(int frames, int total)
{
    const int width = 40;
    const int filled = total > 0 ? std::min(width, frames * width / total) : width;
    std::fprintf(stderr, "\r[%s%s] %d/%d frames", std::string(std::size_t(filled), '#').c_str(),
                 std::string(std::size_t(width - filled), '.').c_str(), frames, total);
    std::fflush(stderr);
}

} // namespace

int runPorts(const QStringList &)
{
    const PortLists lists = EnumeratePorts();
    QTextStream out(stdout);
    for (const QString &name : SerialPortFriendlyNames()) {
        const QString port = PortNameOf(name);
        const auto in = [&port](const QList<PortEntry> &l) {
            return std::any_of(l.begin(), l.end(), [&port](const PortEntry &e) { return e.portName == port; });
        };
        const char *kind = in(lists.bridgePorts) ? "bridge" : in(lists.bluetoothPorts) ? "bluetooth" : "other";
        out << name << "\t" << kind << "\n";
    }
    return 0;
}

int runDownload(const QStringList &args)
{
    const auto opts = parseOptions(args, {QStringLiteral("--port"), QStringLiteral("--bluetooth"),
                                          QStringLiteral("--out"), QStringLiteral("--log"), QStringLiteral("--raw")});
    if (!opts || !opts->count(QStringLiteral("--out"))) {
        err() << "usage: download [--port NAME | --bluetooth ADDR] --out DIR [--log FILE] [--raw FILE]\n";
        return 2;
    }
    const QString rawPath = opts->count(QStringLiteral("--raw")) ? opts->at(QStringLiteral("--raw")) : QString();
    if (!rawPath.isEmpty()) {
        // Found out now, not after a download that cannot be repeated.
        QFile probe(rawPath);
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Append)) {
            err() << "cannot write the raw dump " << rawPath << ": " << probe.errorString() << "\n";
            return 1;
        }
    }
    const QString outDir = opts->at(QStringLiteral("--out"));
    if (!QDir().mkpath(outDir)) {
        err() << "cannot create " << outDir << "\n";
        return 1;
    }

    DeviceSession session;
    auto dump = std::make_shared<RawDump>();
    if (!rawPath.isEmpty())
        session.setDump(dump);
    if (!prepareSession(session, *opts))
        return 1;

    DownloadEngine engine(session);
    DownloadEngine::Events events;
    int frameCount = 0;
    int lastDrawn = -1;
    events.connected = [&frameCount](int total, int frames) {
        err() << DeviceTexts::ConnectSucceeded(total) << "\n";
        err().flush();
        frameCount = frames;
        drawProgress(0, frames);
    };
    events.progress = [&lastDrawn, &frameCount](int n) {
        const int scale = std::max(frameCount, 1);
        if (n * 100 / scale != lastDrawn * 100 / scale || n == frameCount) {
            lastDrawn = n;
            drawProgress(n, frameCount);
        }
    };
    events.ending = [&frameCount] {
        if (frameCount > 0)
            std::fputc('\n', stderr); // below the progress line
    };
    DownloadResult result = engine.run(events);
    bool rawFailed = false;
    if (!rawPath.isEmpty()) {
        // Kept whatever the outcome: a failed download is what a dump is for.
        QString why;
        rawFailed = !dump->save(rawPath, &why);
        if (rawFailed)
            err() << "cannot write the raw dump " << rawPath << ": " << why << "\n";
    }
    if (!result.portToRemember.isEmpty())
        Settings().setDefaultCom(result.portToRemember);
    printMessages(DeviceTexts::describe(result));
    if (result.droppedRecords > 0)
        err() << result.droppedRecords << " readings beyond an ID's room were dropped.\n";

    if (result.transferRan) {
        for (const QString &line : DeviceTexts::checkLines(result))
            QTextStream(stdout) << line << "\n";
    }

    RecordStore store;
    store.deviceModel = result.deviceModel;
    store.deviceSamples = std::move(result.readings);
    int written = 0;
    bool writeFailed = false;
    for (int id = 1; id <= RecordStore::kIdCount; ++id) {
        if (store.deviceSampleCount(id) == 0)
            continue;
        store.SelectDeviceId(id, RecordStore::SelectSource::Download);
        const QString path = QDir(outDir).filePath(QStringLiteral("id%1.dat").arg(id));
        // More readings than one file holds go into id<N>-2.dat and so on.
        const DatFile::WriteResult w = DatFile::writeRecording(path, id, store.currentSamples.data(),
                                                               store.currentSampleCount(), store.reportTitle);
        if (!w.ok) {
            err() << "cannot write " << path << ": " << w.error << "\n";
            writeFailed = true;
            continue;
        }
        QTextStream(stdout) << "ID " << id << ": " << store.currentSampleCount() << " readings -> "
                            << w.paths.join(QStringLiteral(", ")) << "\n";
        ++written;
    }
    if (written == 0 && !writeFailed && result.transferRan)
        err() << DeviceTexts::text(DeviceMessage::NoData) << "\n";
    err().flush();
    return (result.status == DownloadStatus::Ok && !writeFailed && !rawFailed && written > 0) ? 0 : 1;
}

int runSetClock(const QStringList &args)
{
    const auto opts = parseOptions(args, {QStringLiteral("--port"), QStringLiteral("--bluetooth"),
                                          QStringLiteral("--time"), QStringLiteral("--log")});
    if (!opts) {
        err() << "usage: set-clock [--port NAME] [--time \"YYYY-MM-DD hh:mm:ss\"]\n";
        return 2;
    }
    QDateTime when = QDateTime::currentDateTime();
    if (opts->count(QStringLiteral("--time"))) {
        when = QDateTime::fromString(opts->at(QStringLiteral("--time")), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!when.isValid() || when.date().year() < 2000 || when.date().year() > 2063) {
            err() << "bad time: " << opts->at(QStringLiteral("--time"))
                  << " (YYYY-MM-DD hh:mm:ss, years 2000 to 2063)\n";
            return 2;
        }
    }
    DeviceSession session;
    if (!prepareSession(session, *opts))
        return 1;
    const QDate d = when.date();
    const QTime t = when.time();
    const bool ok = session.SetClockProcedure(
        Protocol::DateTimeWord(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()));
    finishMaintenance(session);
    return ok ? 0 : 1;
}

int runDelete(const QStringList &args)
{
    const auto opts = parseOptions(args, {QStringLiteral("--port"), QStringLiteral("--bluetooth"),
                                          QStringLiteral("--id"), QStringLiteral("--type"), QStringLiteral("--log")});
    if (!opts) {
        err() << "usage: delete [--port NAME] [--id N] [--type all|spo2pr]\n";
        return 2;
    }
    int id = 0;
    if (opts->count(QStringLiteral("--id"))) {
        bool ok = false;
        id = opts->at(QStringLiteral("--id")).toInt(&ok);
        if (!ok || id < 0 || id > 128) {
            err() << "bad ID: " << opts->at(QStringLiteral("--id")) << " (0 for all, or 1 to 128)\n";
            return 2;
        }
    }
    int type = 0;
    if (opts->count(QStringLiteral("--type"))) {
        const QString t = opts->at(QStringLiteral("--type"));
        if (t == QLatin1String("spo2pr"))
            type = 1;
        else if (t != QLatin1String("all")) {
            err() << "bad type: " << t << " (all or spo2pr)\n";
            return 2;
        }
    }
    // Only a single ID can be erased by data type.
    if (id == 0)
        type = 0;
    DeviceSession session;
    if (!prepareSession(session, *opts))
        return 1;
    const bool ok = session.DeleteProcedure(id, Protocol::DeleteDataType(type), [](bool waiting) {
        if (waiting)
            err() << "Deleting Data ...\n";
        err().flush();
    });
    finishMaintenance(session);
    return ok ? 0 : 1;
}

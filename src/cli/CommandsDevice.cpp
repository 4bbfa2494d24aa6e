// SPDX-License-Identifier: GPL-3.0-or-later
#include "Commands.h"
#include "RecordingOutput.h"

#include "SignalPipe.h"
#include "app/Settings.h"
#include "app/TerminalText.h"
#include "archive/SqliteArchive.h"
#include "device/DeviceSession.h"
#include "device/DownloadController.h"
#include "device/HexLog.h"
#include "device/PortList.h"
#include "device/Protocol.h"
#include "device/RawDump.h"
#include "device/SerialConnector.h"
#include "device/SocketLink.h"
#include "model/DatFile.h"
#include "model/RecordStore.h"
#include "model/SurplusParts.h"
#include "texts/DeviceTexts.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <map>
#include <optional>
#include <unistd.h>

namespace
{

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

// Flags without a value, taken out of args before the --name VALUE options are parsed.
bool takeFlag(QStringList &args, const QString &flag)
{
    return args.removeAll(flag) > 0;
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
    DownloadController::rememberPort(session.portToRemember());
    printMessages(DeviceTexts::texts(session.takeMessages(), session.permissionDenied()));
}

// Sets up the link of a session from --port / --bluetooth / --log. False when
// the Bluetooth link cannot be made.
bool prepareSession(DeviceSession &session, const std::map<QString, QString> &opts)
{
    if (opts.contains(QStringLiteral("--log"))) {
        auto log = std::make_shared<HexLog>(opts.at(QStringLiteral("--log")));
        if (!log->isOpen()) {
            err() << "cannot write the log " << opts.at(QStringLiteral("--log")) << "\n";
            return false;
        }
        session.setLog(log);
    }
    if (opts.contains(QStringLiteral("--bluetooth"))) {
        auto link = MakeSocketLink(opts.at(QStringLiteral("--bluetooth")));
        const DeviceResult<> connected = link->Connect(opts.at(QStringLiteral("--bluetooth")));
        if (!connected) {
            err() << DeviceTexts::text(DeviceMessage::NotConnected) << " (" << connected.detail() << ")\n";
            return false;
        }
        session.useBluetooth(link);
        return true;
    }
    if (opts.contains(QStringLiteral("--port"))) {
        session.useSerial(SerialSearch::only(opts.at(QStringLiteral("--port"))));
    } else {
        SerialSearch search;
        search.firstPort = DownloadController::rememberedPort();
        search.ports = EnumeratePorts();
        session.useSerial(search);
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

// Exit codes of download.
enum DownloadExit {
    Complete = 0,
    Failed = 1, // nothing written
    Usage = 2,
    Partial = 3, // files written as .partial.dat
    // Interrupted: 128 + the signal, as shells expect.
};

// Where the readings of one ID go. A partial download never replaces a file:
// id<N>.partial.dat, or id<N>.partial.2.dat and so on when any file of that
// name's parts is already there.
QString outputPath(const QDir &dir, int id, int count, bool partial)
{
    QString plain = dir.filePath(QStringLiteral("id%1.dat").arg(id));
    if (!partial)
        return plain;
    const auto taken = [count](const QString &path) {
        for (int part = 1; part <= DatFile::partCount(count); ++part) {
            if (QFileInfo::exists(DatFile::partPath(path, part)))
                return true;
        }
        return false;
    };
    QString path = dir.filePath(QStringLiteral("id%1.partial.dat").arg(id));
    for (int n = 2; taken(path); ++n)
        path = dir.filePath(QStringLiteral("id%1.partial.%2.dat").arg(id).arg(n));
    return path;
}

} // namespace

int runPorts(const QStringList & /*unused*/)
{
    const PortLists lists = EnumeratePorts();
    QTextStream out(stdout);
    for (const QString &name : SerialPortFriendlyNames()) {
        const QString port = PortNameOf(name);
        const auto in = [&port](const QList<PortEntry> &l) {
            return std::any_of(l.begin(), l.end(), [&port](const PortEntry &e) { return e.portName == port; });
        };
        const char *kind = in(lists.bridgePorts) ? "bridge" : in(lists.bluetoothPorts) ? "bluetooth" : "other";
        // Friendly names carry the USB descriptor strings the device chose.
        out << EscapeControls(name) << "\t" << kind << "\n";
    }
    return 0;
}

int runDownload(const QStringList &args)
{
    QStringList rest = args;
    const bool removeStale = takeFlag(rest, QStringLiteral("--remove-stale-parts"));
    const bool noArchive = takeFlag(rest, QStringLiteral("--no-archive"));
    const auto opts = parseOptions(rest, {QStringLiteral("--port"), QStringLiteral("--bluetooth"),
                                          QStringLiteral("--out"), QStringLiteral("--log"), QStringLiteral("--raw"),
                                          QStringLiteral("--archive"), QStringLiteral("--archive-server")});
    if (!opts || !opts->count(QStringLiteral("--out")) ||
        (noArchive && (opts->count(QStringLiteral("--archive")) || opts->count(QStringLiteral("--archive-server"))))) {
        err() << "usage: download [--port NAME | --bluetooth ADDR] --out DIR [--log FILE] [--raw FILE] "
                 "[--remove-stale-parts] [--archive FILE | --no-archive] [--archive-server STRING]\n";
        return Usage;
    }
    const QString rawPath = opts->count(QStringLiteral("--raw")) ? opts->at(QStringLiteral("--raw")) : QString();
    if (!rawPath.isEmpty()) {
        // Found out now, not after a download that cannot be repeated.
        QFile probe(rawPath);
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Append)) {
            err() << "cannot write the raw dump " << rawPath << ": " << probe.errorString() << "\n";
            return Failed;
        }
    }
    const QString outDir = opts->at(QStringLiteral("--out"));
    if (!QDir().mkpath(outDir)) {
        err() << "cannot create " << outDir << "\n";
        return Failed;
    }

    RecordStore store;
    DownloadController controller(store);
    controller.setKeepRawDump(!rawPath.isEmpty());
    if (!noArchive) {
        controller.setArchivePath(opts->count(QStringLiteral("--archive")) ? opts->at(QStringLiteral("--archive"))
                                                                           : SqliteArchive::defaultPath());
        controller.setArchiveServer(opts->count(QStringLiteral("--archive-server"))
                                        ? opts->at(QStringLiteral("--archive-server"))
                                        : Settings().clinicServer());
    }
    if (!prepareSession(controller.session(), *opts))
        return Failed;

    // Ctrl+C or a kill ends the transfer as Stop does (the device hears the
    // stop sequence); what arrived is written as partial files.
    SignalPipe interrupts({SIGINT, SIGTERM});
    QObject::connect(&interrupts, &SignalPipe::received, &controller, &DownloadController::interrupt);

    QEventLoop loop;
    int frameCount = 0;
    int lastDrawn = -1;
    DownloadResult result;
    QObject::connect(&controller, &DownloadController::transferStarted,
                     [&frameCount](int, int frames) { frameCount = frames; });
    QObject::connect(&controller, &DownloadController::notice, [&frameCount](const DeviceNotice &n) {
        err() << DeviceTexts::text(n) << "\n";
        err().flush();
        if (n.kind == DeviceNotice::Kind::ConnectSucceeded)
            drawProgress(0, frameCount);
    });
    QObject::connect(&controller, &DownloadController::progress, [&lastDrawn, &frameCount](int n) {
        const int scale = std::max(frameCount, 1);
        if (n * 100 / scale != lastDrawn * 100 / scale || n == frameCount) {
            lastDrawn = n;
            drawProgress(n, frameCount);
        }
    });
    QObject::connect(&controller, &DownloadController::phaseChanged, [&frameCount](DownloadPhase phase) {
        if (phase == DownloadPhase::Ending && frameCount > 0)
            std::fputc('\n', stderr); // below the progress line
    });
    QObject::connect(&controller, &DownloadController::finished, [&result, &loop](const DownloadResult &r) {
        result = r;
        loop.quit(); // after the notices that follow
    });
    controller.start();
    loop.exec();

    bool rawFailed = false;
    if (!rawPath.isEmpty()) {
        // Kept whatever the outcome: a failed download is what a dump is for.
        const DumpResult<> saved = controller.rawDump()->save(rawPath);
        rawFailed = !saved;
        if (rawFailed)
            err() << "cannot write the raw dump " << rawPath << ": " << saved.detail() << "\n";
    }
    if (result.droppedRecords > 0)
        err() << result.droppedRecords << " readings beyond an ID's room were dropped.\n";
    if (result.transferRan) {
        for (const QString &line : DeviceTexts::checkLines(result))
            QTextStream(stdout) << line << "\n";
    }

    // Only a complete download may replace files; what arrived of any other goes
    // beside them.
    const bool partial = !result.complete();
    int written = 0;
    bool writeFailed = false;
    for (int id = 1; id <= RecordStore::kIdCount; ++id) {
        if (store.deviceSampleCount(id) == 0)
            continue;
        store.SelectDeviceId(id, RecordStore::SelectSource::Download);
        const QString path = outputPath(QDir(outDir), id, store.currentSampleCount(), partial);
        // Found before the last new part replaces the part they continue; a
        // partial download goes to a new name and leaves nothing behind.
        const QStringList stale =
            partial ? QStringList() : SurplusParts::find(path, DatFile::partCount(store.currentSampleCount()));
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
        settleStaleParts(stale, path, removeStale);
        ++written;
    }
    if (written == 0 && !writeFailed && result.transferRan)
        err() << DeviceTexts::text(DeviceMessage::NoData) << "\n";
    if (written > 0 && partial)
        err() << "partial download: written as .partial.dat\n";
    err().flush();
    if (result.status == DownloadStatus::Interrupted)
        return 128 + interrupts.caught();
    // The files are there, but a night the archive should have kept is not.
    const bool archiveFailed = result.archived.ran && !result.archived.ok;
    if (writeFailed || rawFailed || archiveFailed || written == 0)
        return Failed;
    return partial ? Partial : Complete;
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
    const bool ok =
        session
            .SetClockProcedure(Protocol::DateTimeWord(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()))
            .ok();
    finishMaintenance(session);
    return ok ? 0 : 1;
}

namespace
{

// Erasing every ID cannot be undone: on a terminal the user confirms it once.
bool confirmEraseAll()
{
    err() << "Erase all readings on the oximeter? [y/N] ";
    err().flush();
    char line[64] = {};
    if (!std::fgets(line, sizeof line, stdin))
        return false;
    const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

} // namespace

int runDelete(const QStringList &arguments)
{
    const char *usageText = "usage: delete [--port NAME] (--id N | --all) [--type all|spo2pr] [--yes]\n";
    QStringList args = arguments;
    const bool all = takeFlag(args, QStringLiteral("--all"));
    const bool yes = takeFlag(args, QStringLiteral("--yes"));
    const auto opts = parseOptions(args, {QStringLiteral("--port"), QStringLiteral("--bluetooth"),
                                          QStringLiteral("--id"), QStringLiteral("--type"), QStringLiteral("--log")});
    if (!opts) {
        err() << usageText;
        return 2;
    }
    const bool hasId = opts->count(QStringLiteral("--id")) > 0;
    if (hasId == all) {
        err() << (all ? "--id and --all exclude each other\n" : "say which ID to erase: --id N, or --all\n")
              << usageText;
        return 2;
    }
    int id = 0;
    if (hasId) {
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
    if (id == 0) {
        type = 0;
        if (!yes && !::isatty(STDIN_FILENO)) {
            err() << "refusing to erase every ID without a terminal to ask on; add --yes\n";
            return 2;
        }
        if (!yes && !confirmEraseAll()) {
            err() << "nothing erased\n";
            return 1;
        }
    }
    DeviceSession session;
    if (!prepareSession(session, *opts))
        return 1;
    const bool ok = session
                        .DeleteProcedure(id, Protocol::DeleteDataType(type),
                                         [](bool waiting) {
                                             if (waiting)
                                                 err() << "Deleting Data ...\n";
                                             err().flush();
                                         })
                        .ok();
    finishMaintenance(session);
    return ok ? 0 : 1;
}

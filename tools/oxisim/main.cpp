// SPDX-License-Identifier: GPL-3.0-or-later
// oxisim: a simulated oximeter on a pseudo-terminal or a Unix socket.
#include "ReplayDevice.h"
#include "SimulatedOximeter.h"
#include "device/RawDump.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <csignal>
#include <cstdio>

namespace
{

void usage()
{
    std::fputs("usage: oxisim [options]\n"
               "  --model N            device model code (default 2)\n"
               "  --baud N             data baud rate the device names (default 115200)\n"
               "  --frame N            payload bytes per data frame, a multiple of 8 (default 512)\n"
               "  --id N:COUNT         hold COUNT readings for patient ID N (repeatable; default 1:3600)\n"
               "  --seed S             seed of the simulated nights (default 1)\n"
               "  --pace               pace output to the line rate of the terminal's baud rate\n"
               "  --unix PATH          serve a Unix socket instead of a pseudo-terminal\n"
               "  --delete-delay MS    delay before the delete acknowledgement (default 1500)\n"
               "  --replay FILE        answer each command as the device did in a raw dump\n"
               "                       (quellix-cli download --raw); readings and faults are ignored\n"
               "faults:\n"
               "  --stray K            a stray byte before frame K (repeatable)\n"
               "  --stall K:N          ignore the first N requests of frame K\n"
               "  --garble-info N      garble the first N device-information replies\n"
               "  --garble-counts N    garble the first N count replies\n"
               "  --early-end K        frame K carries the end tag\n"
               "  --zero-ids N         N records with ID 0 in frame 0\n"
               "  --silent             answer nothing\n"
               "  --silent-from K      answer no frame request from frame K on\n"
               "  --close-at K         close the line halfway through frame K\n"
               "Prints PORT <path> first, then one line per command received.\n",
               stderr);
}

bool pairOf(const QString &text, int &a, int &b)
{
    const QStringList parts = text.split(u':');
    bool ok1 = false, ok2 = false;
    if (parts.size() != 2)
        return false;
    a = parts[0].toInt(&ok1);
    b = parts[1].toInt(&ok2);
    return ok1 && ok2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    SimulatedOximeter::Config config;
    std::vector<std::pair<int, int>> ids;
    std::uint32_t seed = 1;
    QString unixPath;
    QString replayPath;

    while (!args.isEmpty()) {
        const QString opt = args.takeFirst();
        const auto value = [&]() -> QString {
            if (args.isEmpty()) {
                std::fprintf(stderr, "oxisim: %s needs a value\n", qPrintable(opt));
                std::exit(2); // NOLINT(concurrency-mt-unsafe): before any thread starts
            }
            return args.takeFirst();
        };
        int a = 0, b = 0;
        if (opt == QLatin1String("--model"))
            config.model = value().toInt();
        else if (opt == QLatin1String("--baud"))
            config.dataBaud = value().toUInt();
        else if (opt == QLatin1String("--frame"))
            config.framePayload = value().toInt();
        else if (opt == QLatin1String("--seed"))
            seed = value().toUInt();
        else if (opt == QLatin1String("--pace"))
            config.pace = true;
        else if (opt == QLatin1String("--unix"))
            unixPath = value();
        else if (opt == QLatin1String("--replay"))
            replayPath = value();
        else if (opt == QLatin1String("--delete-delay"))
            config.deleteDelayMs = value().toInt();
        else if (opt == QLatin1String("--id") && pairOf(value(), a, b) && a >= 1 && a <= 127 && b >= 0)
            ids.emplace_back(a, b);
        else if (opt == QLatin1String("--stray"))
            config.faults.strayByteBeforeFrame.insert(value().toInt());
        else if (opt == QLatin1String("--stall") && pairOf(value(), a, b)) {
            config.faults.stallFrame = a;
            config.faults.stallRequests = b;
        } else if (opt == QLatin1String("--garble-info"))
            config.faults.garbledInfoReplies = value().toInt();
        else if (opt == QLatin1String("--garble-counts"))
            config.faults.garbledCountReplies = value().toInt();
        else if (opt == QLatin1String("--early-end"))
            config.faults.earlyEndFrame = value().toInt();
        else if (opt == QLatin1String("--zero-ids"))
            config.faults.zeroIdRecords = value().toInt();
        else if (opt == QLatin1String("--silent"))
            config.faults.silent = true;
        else if (opt == QLatin1String("--silent-from"))
            config.faults.silentFromFrame = value().toInt();
        else if (opt == QLatin1String("--close-at"))
            config.faults.closeAtFrame = value().toInt();
        else {
            usage();
            return opt == QLatin1String("--help") ? 0 : 2;
        }
    }
    if (config.framePayload < 8 || config.framePayload % 8 != 0 || config.framePayload > 4192) {
        std::fputs("oxisim: --frame must be a multiple of 8 between 8 and 4192\n", stderr);
        return 2;
    }
    if (ids.empty())
        ids.emplace_back(1, 3600);

    std::shared_ptr<ReplayDevice> replay;
    if (!replayPath.isEmpty()) {
        const auto events = RawDump::load(replayPath);
        if (!events) {
            std::fprintf(stderr, "oxisim: cannot replay %s: %s\n", qPrintable(replayPath), qPrintable(events.detail()));
            return 2;
        }
        replay = std::make_shared<ReplayDevice>(events.value());
    }

    // Block the ending signals so the main thread can wait for them; only now,
    // so loading stays interruptible, and before the device starts its threads,
    // which inherit the mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    SimulatedOximeter device(config);
    device.setReplay(replay);
    for (const auto &[id, count] : ids)
        device.addNight(id, count, seed + std::uint32_t(id));
    device.setCommandLog([](const QString &line) {
        std::printf("CMD %s\n", qPrintable(line));
        std::fflush(stdout);
    });

    QString where;
    if (unixPath.isEmpty()) {
        where = device.startPty();
    } else if (device.startUnix(unixPath)) {
        where = QStringLiteral("unix:") + unixPath;
    }
    if (where.isEmpty()) {
        std::fputs("oxisim: cannot open the line\n", stderr);
        return 1;
    }
    std::printf("PORT %s\n", qPrintable(where));
    if (replay)
        std::printf("INFO replaying %d commands of %s\n", replay->commandCount(), qPrintable(replayPath));
    else
        std::printf("INFO model %d, %u baud, %d frames of %d bytes, %d readings\n", config.model, config.dataBaud,
                    device.frameCount(), config.framePayload, device.totalReadings());
    std::fflush(stdout);

    int sig = 0;
    sigwait(&signals, &sig);
    device.stop();
    return 0;
}

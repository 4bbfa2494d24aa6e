// SPDX-License-Identifier: GPL-3.0-or-later
// The built quellix-cli against the built oxisim program, end to end.
#include "SimulatedNight.h"
#include "device/RawDump.h"
#include "model/DatFile.h"
#include "model/RecordStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <optional>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

const QString kBin = QStringLiteral(QUELLIX_BINARY_DIR);

// A running oxisim program; stopped with SIGTERM when it goes out of scope.
struct Oxisim {
    QProcess process;
    QString port;
    explicit Oxisim(const QStringList &args)
    {
        process.start(kBin + QStringLiteral("/tools/oxisim/oxisim"), args);
        if (!process.waitForStarted(5000))
            return;
        while (process.waitForReadyRead(5000) || process.canReadLine()) {
            const QString line = QString::fromLocal8Bit(process.readLine()).trimmed();
            if (line.startsWith(QLatin1String("PORT "))) {
                port = line.mid(5);
                break;
            }
        }
    }
    ~Oxisim()
    {
        process.terminate();
        process.waitForFinished(5000);
    }
    QString output()
    {
        process.waitForReadyRead(200);
        return QString::fromLocal8Bit(process.readAll());
    }
};

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun cli(const QStringList &args)
{
    QProcess p;
    p.start(kBin + QStringLiteral("/quellix-cli"), args);
    CliRun r;
    if (!p.waitForFinished(90000))
        return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

// quellix-cli with a pseudo-terminal as standard input; typed is there for it
// to read, as if the user had typed it.
CliRun cliOnTerminal(const QStringList &args, const QByteArray &typed)
{
    CliRun r;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return r;
    const QString slaveName = QString::fromLocal8Bit(::ptsname(master));
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave >= 0 && ::write(master, typed.constData(), size_t(typed.size())) == typed.size()) {
        QProcess p;
        p.setStandardInputFile(slaveName);
        p.start(kBin + QStringLiteral("/quellix-cli"), args);
        if (p.waitForFinished(90000)) {
            r.exitCode = p.exitCode();
            r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
            r.err = QString::fromLocal8Bit(p.readAllStandardError());
        }
    }
    if (slave >= 0)
        ::close(slave);
    ::close(master);
    return r;
}

// The readings oxisim holds for id: the seed of ID n is seed + n.
std::vector<SampleRecord> nightOf(int seed, int id, int count)
{
    return GenerateNight(std::uint32_t(seed + id), id, count);
}

void expectFileHolds(const QString &path, int id, const std::vector<SampleRecord> &expected)
{
    const DatFile::ReadResult r = DatFile::read(path);
    ASSERT_TRUE(r.ok) << path.toStdString() << ": " << r.failedCheck.toStdString();
    EXPECT_EQ(r.contents.headerId, id);
    ASSERT_EQ(r.contents.samples.size(), expected.size());
    // The file keeps 11 of the 12 bytes: everything but the spare byte.
    EXPECT_TRUE(r.contents.samples == expected) << path.toStdString();
}

} // namespace

TEST(CliDownload, SerialDownloadWritesOneFilePerIdWithEveryReading)
{
    Oxisim sim({"--model", "4", "--id", "2:600", "--id", "9:250", "--seed", "5", "--frame", "1024"});
    ASSERT_FALSE(sim.port.isEmpty());
    QTemporaryDir out;
    const QString log = out.filePath(QStringLiteral("wire.log"));
    const CliRun r = cli({"download", "--port", sim.port, "--out", out.path(), "--log", log});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QLatin1String("Connect succeed! Total 7 Frames!"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QLatin1String("7/7 frames")));
    expectFileHolds(out.filePath(QStringLiteral("id2.dat")), 2, nightOf(5, 2, 600));
    expectFileHolds(out.filePath(QStringLiteral("id9.dat")), 9, nightOf(5, 9, 250));
    EXPECT_EQ(QDir(out.path()).entryList({QStringLiteral("*.dat")}).size(), 2);

    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(f.readAll());
    EXPECT_TRUE(text.contains(QLatin1String("> 55 AA FD 00 00 FD")));
    EXPECT_TRUE(text.contains(QLatin1String("< 55 AA 00 FF FD 00 1E 00 04")));
    EXPECT_TRUE(text.contains(QLatin1String("> 55 AA FA 00 02 FC")));
    EXPECT_TRUE(text.contains(QLatin1String("> 55 AA F3 00 00 F3")));
}

// Each download keeps its nights in the archive once; an exported night is the
// file the download wrote.
TEST(CliDownload, DownloadsAreArchivedOnceAndExportAsTheFilesWritten)
{
    Oxisim sim({"--model", "2", "--id", "2:600", "--id", "9:250", "--seed", "5"});
    ASSERT_FALSE(sim.port.isEmpty());
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("nights.sqlite"));
    QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    struct Case {
        QStringList options;
        int exitCode;
        const char *counts; // the summary's archive line; null: none
        const char *told;   // on standard error
    };
    const Case cases[] = {
        {{"--archive", archive}, 0, "2 nights archived, 0 already in the archive.\n", ""},
        {{"--archive", archive}, 0, "0 nights archived, 2 already in the archive.\n", ""},
        {{"--no-archive"}, 0, nullptr, ""},
        {{"--archive", blocker.fileName() + QStringLiteral("/archive.sqlite")},
         1,
         nullptr,
         "The archive could not be written"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.options.join(u' ').toStdString());
        const QString out = dir.filePath(QStringLiteral("out%1").arg(&c - cases));
        const CliRun r = cli(QStringList{"download", "--port", sim.port, "--out", out} + c.options);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_EQ(r.out.contains(QLatin1String(c.counts ? c.counts : "nights archived")), c.counts != nullptr)
            << r.out.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.told))) << r.err.toStdString();
        expectFileHolds(QDir(out).filePath(QStringLiteral("id9.dat")), 9, nightOf(5, 9, 250));
    }

    const CliRun list = cli({"archive", "--archive", archive, "list", "--json"});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    const QJsonArray nights = QJsonDocument::fromJson(list.out.toUtf8()).array();
    ASSERT_EQ(nights.size(), 2);
    for (const QJsonValue &n : nights) {
        const int id = n[QStringLiteral("id")].toInt();
        EXPECT_EQ(n[QStringLiteral("source")].toString(), QStringLiteral("download"));
        EXPECT_EQ(QStringLiteral("/dev/") + n[QStringLiteral("sourceName")].toString(), sim.port);
        const QString exported = dir.filePath(QStringLiteral("night%1.dat").arg(id));
        const CliRun e = cli({"archive", "--archive", archive, "export",
                              QString::number(n[QStringLiteral("night")].toInteger()), exported});
        ASSERT_EQ(e.exitCode, 0) << e.err.toStdString();
        QFile a(exported);
        QFile b(dir.filePath(QStringLiteral("out0/id%1.dat").arg(id)));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_TRUE(a.readAll() == b.readAll()) << "ID " << id;
    }
}

TEST(CliDownload, RawDumpReplayedGivesIdenticalFilesAndTheSameCheck)
{
    QTemporaryDir dir;
    const QString dump = dir.filePath(QStringLiteral("exchange.dump"));
    QByteArray original2, original9;
    QString firstOut;
    {
        Oxisim sim(
            {"--model", "4", "--id", "2:600", "--id", "9:250", "--seed", "5", "--frame", "1024", "--stray", "2"});
        ASSERT_FALSE(sim.port.isEmpty());
        // Unarchived: the second download would find the nights there and say so.
        const CliRun r =
            cli({"download", "--port", sim.port, "--out", dir.filePath("a"), "--raw", dump, "--no-archive"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        firstOut = r.out;
    }
    EXPECT_TRUE(firstOut.contains(QLatin1String("Frames announced: 7, arrived: 7\n"))) << firstOut.toStdString();
    EXPECT_TRUE(firstOut.contains(QRegularExpression(
        QStringLiteral("ID 2: first reading \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d, last reading "))))
        << firstOut.toStdString();

    Oxisim replay({"--replay", dump});
    ASSERT_FALSE(replay.port.isEmpty());
    const CliRun again = cli({"download", "--port", replay.port, "--out", dir.filePath("b"), "--no-archive"});
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    // The summary says the same, bar the paths the files went to.
    EXPECT_EQ(again.out.section(QLatin1String("ID 2: 600"), 0, 0), firstOut.section(QLatin1String("ID 2: 600"), 0, 0));
    for (const char *name : {"id2.dat", "id9.dat"}) {
        QFile a(dir.filePath(QStringLiteral("a/") + QLatin1String(name)));
        QFile b(dir.filePath(QStringLiteral("b/") + QLatin1String(name)));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << name;
        EXPECT_EQ(a.readAll(), b.readAll()) << name;
    }

    // A dump that cannot be written is refused before the device is touched,
    // and a file that is not a dump is not replayed.
    const CliRun unwritable = cli({"download", "--port", replay.port, "--out", dir.path(), "--raw",
                                   dir.filePath(QStringLiteral("missing/dir/x.dump"))});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.contains(QLatin1String("cannot write the raw dump"))) << unwritable.err.toStdString();
    // Nor is anything but a regular file: a FIFO without a writer or an endless
    // device is refused at once, not waited for or read until memory runs out.
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {dir.filePath("a/id2.dat"), fifo, QStringLiteral("/dev/zero")}) {
        QProcess bad;
        bad.start(kBin + QStringLiteral("/tools/oxisim/oxisim"), {"--replay", path});
        ASSERT_TRUE(bad.waitForFinished(5000)) << path.toStdString();
        EXPECT_EQ(bad.exitCode(), 2) << path.toStdString();
    }
}

TEST(CliDownload, BluetoothUnixSocketPath)
{
    QTemporaryDir dir;
    const QString socket = dir.filePath(QStringLiteral("oxi.sock"));
    Oxisim sim({"--unix", socket, "--model", "3", "--id", "1:300", "--seed", "8"});
    ASSERT_EQ(sim.port, QStringLiteral("unix:") + socket);
    const CliRun r = cli({"download", "--bluetooth", sim.port, "--out", dir.path()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    expectFileHolds(dir.filePath(QStringLiteral("id1.dat")), 1, nightOf(8, 1, 300));
}

TEST(CliDownload, FailuresAreExplainedAndExitNonZero)
{
    QTemporaryDir dir;
    const CliRun none = cli({"download", "--port", dir.filePath(QStringLiteral("ttyUSB0")), "--out", dir.path()});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.contains(QLatin1String("Can't find right COM or the device is power off !")))
        << none.err.toStdString();

    const CliRun usage = cli({"download", "--port"});
    EXPECT_EQ(usage.exitCode, 2);
}

TEST(CliDownload, APartialDownloadNeverReplacesAFile)
{
    QTemporaryDir dir;
    {
        Oxisim whole({"--id", "3:400", "--frame", "128", "--seed", "4"});
        ASSERT_EQ(cli({"download", "--port", whole.port, "--out", dir.path()}).exitCode, 0);
    }
    const auto night = nightOf(4, 3, 400);
    // A retry against a device that goes quiet: what arrived goes beside the
    // complete file, under a name no file has, and the shortfall is said.
    Oxisim quiet({"--id", "3:400", "--frame", "128", "--seed", "4", "--silent-from", "3"});
    const std::vector<SampleRecord> first48(night.begin(), night.begin() + 48);
    for (const char *name : {"id3.partial.dat", "id3.partial.2.dat"}) {
        const CliRun partial = cli({"download", "--port", quiet.port, "--out", dir.path()});
        EXPECT_EQ(partial.exitCode, 3) << partial.err.toStdString();
        EXPECT_TRUE(partial.err.contains(QLatin1String("Read data timeout,please retry"))) << partial.err.toStdString();
        EXPECT_TRUE(partial.err.contains(QLatin1String("Only 3 of the 25 announced frames arrived.")));
        EXPECT_TRUE(partial.out.contains(QLatin1String(name))) << partial.out.toStdString();
        expectFileHolds(dir.filePath(QLatin1String(name)), 3, first48);
    }
    expectFileHolds(dir.filePath(QStringLiteral("id3.dat")), 3, night);
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.dat")}).size(), 3);
}

// A complete download shorter than an earlier one in the same folder names the
// parts the earlier one left beyond it, and removes them only when asked.
TEST(CliDownload, PartsAnEarlierLongerDownloadLeftAreNamedAndRemovedWhenAsked)
{
    Oxisim sim({"--id", "3:400", "--frame", "128", "--seed", "4"});
    ASSERT_FALSE(sim.port.isEmpty());
    for (const bool remove : {false, true}) {
        QTemporaryDir dir;
        const auto earlier = nightOf(9, 3, RecordStore::kFileCapacity + 30);
        ASSERT_TRUE(DatFile::writeRecording(dir.filePath(QStringLiteral("id3.dat")), 3, earlier.data(),
                                            int(earlier.size()), QString())
                        .ok);
        const QString stale = dir.filePath(QStringLiteral("id3-2.dat"));
        ASSERT_TRUE(QFileInfo::exists(stale));
        QStringList args{"download", "--port", sim.port, "--out", dir.path()};
        if (remove)
            args << QStringLiteral("--remove-stale-parts");
        const CliRun r = cli(args);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        expectFileHolds(dir.filePath(QStringLiteral("id3.dat")), 3, nightOf(4, 3, 400));
        EXPECT_TRUE(r.err.contains(stale)) << r.err.toStdString();
        EXPECT_EQ(QFileInfo::exists(stale), !remove) << r.err.toStdString();
    }
}

// SIGINT or SIGTERM mid-transfer: the device is told to stop, what arrived is
// written as a partial file, the raw dump is kept, and the exit status says which.
TEST(CliDownload, AnInterruptedDownloadStopsTheDeviceAndKeepsWhatArrived)
{
    for (const auto &[signalNumber, exitCode] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        QTemporaryDir dir;
        // About half a second a frame, 32 frames.
        Oxisim sim({"--id", "1:2000", "--seed", "6", "--frame", "512", "--baud", "9600", "--pace"});
        ASSERT_FALSE(sim.port.isEmpty());
        const QString dump = dir.filePath(QStringLiteral("x.dump"));
        QProcess p;
        p.setReadChannel(QProcess::StandardError);
        p.start(kBin + QStringLiteral("/quellix-cli"),
                {"download", "--port", sim.port, "--out", dir.path(), "--raw", dump});
        QByteArray err;
        // Two frames in: the progress line has moved past the first.
        const QRegularExpression twoFrames(QStringLiteral("\\] [2-9]/32 frames"));
        while (!twoFrames.match(QString::fromLatin1(err)).hasMatch() && p.waitForReadyRead(20000))
            err += p.readAllStandardError();
        ASSERT_TRUE(twoFrames.match(QString::fromLatin1(err)).hasMatch()) << err.toStdString();
        ::kill(pid_t(p.processId()), signalNumber);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << signalNumber;
        EXPECT_EQ(p.exitCode(), exitCode);
        err += p.readAllStandardError();
        EXPECT_FALSE(err.contains("Read data timeout")) << err.toStdString();

        const DatFile::ReadResult r = DatFile::read(dir.filePath(QStringLiteral("id1.partial.dat")));
        ASSERT_TRUE(r.ok) << err.toStdString();
        const auto night = nightOf(6, 1, 2000);
        ASSERT_GE(r.contents.samples.size(), 128u);
        ASSERT_LT(r.contents.samples.size(), night.size());
        EXPECT_TRUE(std::equal(r.contents.samples.begin(), r.contents.samples.end(), night.begin()));
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("id1.dat"))));
        const auto events = RawDump::load(dump);
        ASSERT_TRUE(events.ok()) << events.detail().toStdString();
        EXPECT_GT(events.value().size(), 4u);
        // The device reads its line only between the frames it is still sending.
        QString log;
        for (int i = 0; i < 100 && log.count(QLatin1String("CMD 55 AA F3 00 00 F3")) < 2; ++i)
            log += sim.output();
        EXPECT_EQ(log.count(QLatin1String("CMD 55 AA F3 00 00 F3")), 2) << log.toStdString();
    }
}

TEST(CliMaintenance, SetClockAndDeleteReachTheDevice)
{
    Oxisim sim({"--id", "9:20", "--id", "2:20", "--delete-delay", "100"});
    ASSERT_FALSE(sim.port.isEmpty());
    const CliRun setClock = cli({"set-clock", "--port", sim.port, "--time", "2010-07-21 14:35:09"});
    EXPECT_EQ(setClock.exitCode, 0) << setClock.err.toStdString();
    EXPECT_TRUE(setClock.err.contains(QLatin1String("Set Date and Time Succeed !")));
    const CliRun del = cli({"delete", "--port", sim.port, "--id", "9", "--type", "spo2pr"});
    EXPECT_EQ(del.exitCode, 0) << del.err.toStdString();
    EXPECT_TRUE(del.err.contains(QLatin1String("Device data cleared !")));
    const QString log = sim.output();
    EXPECT_TRUE(log.contains(QLatin1String("CMD 55 AA F7 CA 55 16"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QLatin1String("CMD 55 AA F8 37 26 55")));
    EXPECT_TRUE(log.contains(QLatin1String("CMD 55 AA F4 10 09 0D")));

    EXPECT_EQ(cli({"set-clock", "--time", "21 July 2010"}).exitCode, 2);
    EXPECT_EQ(cli({"delete", "--id", "3", "--type", "pulse"}).exitCode, 2);
}

// Erasing every ID takes an explicit choice and, without --yes, a "y" typed
// on a terminal; anything else leaves the device untouched.
TEST(CliMaintenance, EraseAllNeedsToBeAskedFor)
{
    Oxisim sim({"--id", "9:20", "--id", "2:20", "--delete-delay", "100"});
    ASSERT_FALSE(sim.port.isEmpty());
    const QString question = QStringLiteral("Erase all readings on the oximeter? [y/N]");
    const QString eraseAll = QStringLiteral("CMD 55 AA F4 00 00 F4");
    struct Case {
        const char *what;
        QStringList args;
        std::optional<QByteArray> typed; // nullopt: standard input is not a terminal
        int exitCode;
        bool asked;
        bool erased;
    };
    const QStringList port{"--port", sim.port};
    const Case cases[] = {
        {"no ID named", QStringList{"delete"} + port, std::nullopt, 2, false, false},
        {"no ID named, --yes", QStringList{"delete", "--yes"} + port, QByteArray("y\n"), 2, false, false},
        {"both named", QStringList{"delete", "--all", "--id", "3"} + port, std::nullopt, 2, false, false},
        {"no terminal", QStringList{"delete", "--all"} + port, std::nullopt, 2, false, false},
        {"no terminal, --id 0", QStringList{"delete", "--id", "0"} + port, std::nullopt, 2, false, false},
        {"answered no", QStringList{"delete", "--all"} + port, QByteArray("n\n"), 1, true, false},
        {"answered nothing", QStringList{"delete", "--all"} + port, QByteArray("\n"), 1, true, false},
        {"answered yes", QStringList{"delete", "--id", "0"} + port, QByteArray("y\n"), 0, true, true},
    };
    for (const Case &c : cases) {
        const CliRun r = c.typed ? cliOnTerminal(c.args, *c.typed) : cli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.what << ": " << r.err.toStdString();
        EXPECT_EQ(r.err.contains(question), c.asked) << c.what;
        // Refused or declined before the device is searched: no command at all.
        const QString log = sim.output();
        EXPECT_EQ(log.contains(QLatin1String("CMD")), c.erased) << c.what;
        EXPECT_EQ(log.contains(eraseAll), c.erased) << c.what;
    }
    // --yes skips the question; the device was erased above, and says so.
    const CliRun again = cli(QStringList{"delete", "--all", "--yes"} + port);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_FALSE(again.err.contains(question));
    EXPECT_TRUE(again.err.contains(QLatin1String("no data!"))) << again.err.toStdString();
}

TEST(CliPorts, OneLinePerPortWithItsKind)
{
    const CliRun r = cli({"ports"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QRegularExpression line(QStringLiteral("^.+ \\([^()]+\\)\\t(bridge|bluetooth|other)$"));
    for (const QString &l : r.out.split(u'\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(line.match(l).hasMatch()) << l.toStdString();
}

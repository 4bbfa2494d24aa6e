// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandTable.h"
#include "Commands.h"

#include <QApplication>
#include <QTextStream>

#include <functional>
#include <map>
#include <memory>

namespace
{

void usage(QTextStream &out)
{
    // A summary starts in this column, or on the next line below a long synopsis.
    constexpr int column = 28;
    out << "usage: quellix-cli COMMAND [ARGS]\n";
    for (const CliCommand &c : kCliCommands) {
        QString line = QStringLiteral("  ") + QLatin1String(c.name.data(), qsizetype(c.name.size()));
        if (!c.args.empty())
            line += QLatin1Char(' ') + QLatin1String(c.args.data(), qsizetype(c.args.size()));
        if (line.size() < column)
            line = line.leftJustified(column);
        else
            line += QLatin1Char('\n') + QString(column, QLatin1Char(' '));
        out << line << QLatin1String(c.summary.data(), qsizetype(c.summary.size())) << "\n";
    }
}

// Reports paint with the views, which need a GUI application; without a
// platform named, they paint off screen, so no display is needed.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv)
{
    if (argc > 1 && (qstrcmp(argv[1], "report") == 0 || qstrcmp(argv[1], "overview") == 0)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char **argv)
{
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quellix-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUELLIX_VERSION));

    QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        usage(args.isEmpty() ? err : out);
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == QLatin1String("--version")) {
        out << "quellix-cli " << QUELLIX_VERSION << "\n";
        return 0;
    }

    const std::map<QString, std::function<int(const QStringList &)>> commands = {
        {QStringLiteral("info"), runInfo},         {QStringLiteral("export"), runExport},
        {QStringLiteral("settings"), runSettings}, {QStringLiteral("ports"), runPorts},
        {QStringLiteral("download"), runDownload}, {QStringLiteral("set-clock"), runSetClock},
        {QStringLiteral("delete"), runDelete},     {QStringLiteral("report"), runReport},
        {QStringLiteral("analyze"), runAnalyze},   {QStringLiteral("events"), runEvents},
        {QStringLiteral("archive"), runArchive},   {QStringLiteral("overview"), runOverview},
    };
    // A global option, handed to the command it comes before.
    QStringList server;
    if (args.first() == QLatin1String("--archive-server")) {
        if (args.size() < 3) {
            usage(err);
            return 2;
        }
        server = args.mid(0, 2);
        args.remove(0, 2);
        if (args.first() != QLatin1String("archive") && args.first() != QLatin1String("download") &&
            args.first() != QLatin1String("overview")) {
            err << "--archive-server is for the archive, download and overview commands\n";
            return 2;
        }
    }
    const QString name = args.takeFirst();
    args += server;
    const auto it = commands.find(name);
    if (it == commands.end()) {
        err << "unknown command: " << name << "\n";
        usage(err);
        return 2;
    }
    return it->second(args);
}

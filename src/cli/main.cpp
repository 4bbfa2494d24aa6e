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
    out << "usage: quellix-cli COMMAND [ARGS]\n"
           "  --version                 print the version\n"
           "  info FILE.dat             show what a saved recording holds\n"
           "  export IN.dat OUT         write IN as OUT.dat, .txt, .xls, .csv or .edf\n"
           "  settings get NAME         print a setting (its default when missing)\n"
           "  settings set NAME VALUE   store a setting\n"
           "  ports                     list serial ports\n"
           "  download [--port NAME | --bluetooth ADDR] --out DIR [--log FILE]\n"
           "  set-clock [--port NAME] [--time \"YYYY-MM-DD hh:mm:ss\"]\n"
           "  delete [--port NAME] (--id N | --all) [--type all|spo2pr] [--yes]\n"
           "                            erase one ID, or every ID (--id 0 or --all; asks unless --yes)\n"
           "  report IN.dat --mode trend|table|analysis OUT.pdf [--size WxH]\n"
           "  analyze FILE.dat [--json] event, statistical and clinical figures (stored settings)\n"
           "  events FILE.dat OUT.txt   write the event-time file\n"
           "  archive [--archive FILE] list|import|export|remove|backup|restore|check ...\n"
           "                            the nights kept in the archive (quellix-cli archive for details)\n";
}

// Reports paint with the views, which need a GUI application; without a
// platform named, they paint off screen, so no display is needed.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "report") == 0) {
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
        {QStringLiteral("archive"), runArchive},
    };
    const QString name = args.takeFirst();
    const auto it = commands.find(name);
    if (it == commands.end()) {
        err << "unknown command: " << name << "\n";
        usage(err);
        return 2;
    }
    return it->second(args);
}

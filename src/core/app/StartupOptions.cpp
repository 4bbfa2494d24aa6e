// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartupOptions.h"

#include <QCommandLineParser>

namespace
{

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption demo{QStringLiteral("demo"), QStringLiteral("Use the built-in simulated oximeter.")};
    QCommandLineOption port{QStringLiteral("port"), QStringLiteral("Try this serial port first (e.g. ttyUSB0)."),
                            QStringLiteral("NAME")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Show the version.")};

    Parser()
    {
        parser.setApplicationDescription(QStringLiteral("Quellix: pulse oximeter recordings on the desktop."));
        parser.addOptions({demo, port, help, version});
        parser.addPositionalArgument(QStringLiteral("FILE.dat"), QStringLiteral("A saved recording to open."),
                                     QStringLiteral("[FILE.dat]"));
    }
};

} // namespace

StartupOptions StartupOptions::parse(const QStringList &arguments)
{
    Parser p;
    StartupOptions o;
    if (!p.parser.parse(arguments)) {
        o.error = p.parser.errorText();
        return o;
    }
    o.demo = p.parser.isSet(p.demo);
    o.help = p.parser.isSet(p.help);
    o.version = p.parser.isSet(p.version);
    if (p.parser.isSet(p.port)) {
        o.port = p.parser.value(p.port).trimmed();
        if (o.port.startsWith(QLatin1String("/dev/")))
            o.port = o.port.mid(5);
        if (o.port.isEmpty())
            o.error = QStringLiteral("--port needs a port name");
    }
    const QStringList files = p.parser.positionalArguments();
    if (files.size() > 1)
        o.error = QStringLiteral("only one file can be opened at a time");
    else if (files.size() == 1)
        o.file = files.first();
    return o;
}

QString StartupOptions::helpText()
{
    return QStringLiteral("usage: quellix [FILE.dat] [--demo] [--port NAME]\n"
                          "  FILE.dat      open a saved recording at start\n"
                          "  --demo        use the built-in simulated oximeter\n"
                          "  --port NAME   try this serial port first (e.g. ttyUSB0)\n"
                          "  --help        show this help\n"
                          "  --version     show the version\n");
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for: quellix [FILE.dat] [--demo] [--port NAME].
struct StartupOptions {
    QString file;      // a saved recording to open at start; empty opens nothing
    bool demo = false; // use the built-in simulated oximeter
    QString port;      // serial port to try first (name below /dev)
    bool help = false;
    bool version = false;
    QString error; // set when the command line cannot be understood

    // arguments includes the program name first, as QCoreApplication::arguments().
    static StartupOptions parse(const QStringList &arguments);
    static QString helpText();
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartupOptions.h"
#include "shell/Application.h"

#include <QApplication>
#include <QIcon>
#include <QTextStream>

#include <cstring>

int main(int argc, char **argv)
{
    // --help and --version need no window system.
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            QTextStream(stdout) << StartupOptions::helpText();
            return 0;
        }
        if (!std::strcmp(argv[i], "--version") || !std::strcmp(argv[i], "-v")) {
            QTextStream(stdout) << "quellix " << QUELLIX_VERSION << "\n";
            return 0;
        }
    }
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quellix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUELLIX_VERSION));
    // Ties the windows to the installed desktop entry and its icon (the task bar
    // on Wayland matches them by this name).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quellix.Quellix"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.quellix.Quellix")));
    Application quellix;
    return quellix.run();
}

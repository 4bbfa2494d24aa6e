#include "app/StartupOptions.h"
#include "shell/Application.h"

#include <QApplication>
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
    Application quellix;
    return quellix.run();
}

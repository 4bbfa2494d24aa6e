// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Application.h"

#include "app/DataFolder.h"
#include "app/Language.h"
#include "app/Settings.h"
#include "app/SingleInstance.h"
#include "app/Texts.h"
#include "device/DeviceCommands.h"
#include "shell/MainWindow.h"
#include "views/DataView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPainter>
#include <QScreen>
#include <QSplashScreen>
#include <QTextStream>
#include <QTimer>

namespace
{

QPixmap splashPicture()
{
    QPixmap pm(450, 237);
    QPainter p(&pm);
    QLinearGradient g(0, 0, 0, pm.height());
    g.setColorAt(0, QColor(40, 110, 170));
    g.setColorAt(1, QColor(20, 50, 90));
    p.fillRect(pm.rect(), g);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 90), 3));
    p.drawPolyline(QPolygon({{30, 170}, {150, 170}, {175, 120}, {200, 210}, {225, 150}, {420, 150}}));
    QFont f = p.font();
    f.setPixelSize(44);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 30, pm.width(), 70), Qt::AlignCenter, QStringLiteral("Quellix"));
    f.setPixelSize(15);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(0, 95, pm.width(), 30), Qt::AlignCenter,
               QCoreApplication::translate("Application", "Pulse oximeter recordings"));
    return pm;
}

} // namespace

// The store starts empty (RecordStore's constructor clears it).
Application::Application() = default;

Application::~Application() = default;

void Application::showSplashWhile(const std::function<void()> &work)
{
    QElapsedTimer shown;
    QSplashScreen splash(splashPicture());
    splash.show();
    QCoreApplication::processEvents();
    shown.start();
    work();
    // The splash stays for one second in all.
    const qint64 left = 1000 - shown.elapsed();
    if (left > 0) {
        QEventLoop wait;
        QTimer::singleShot(int(left), &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    splash.close();
}

bool Application::InitInstance(const QStringList &arguments)
{
    options_ = StartupOptions::parse(arguments);
    if (!options_.error.isEmpty()) {
        QTextStream(stderr) << "quellix: " << options_.error << "\n" << StartupOptions::helpText();
        return false;
    }

    // 1. Locale: the user's own, remembered so that exit can restore it.
    savedLocale_ = QLocale();
    QLocale::setDefault(QLocale::system());

    // 2. Screen size: warn, but carry on. The warning waits for the main window
    // so that it belongs to it and never keeps the program alive on its own.
    bool screenTooSmall = false;
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect g = screen->geometry();
        screenTooSmall = g.width() < 1024 || g.height() < 768;
    }

    // 3. One copy per user.
    instance_ = std::make_unique<SingleInstance>();
    if (!instance_->acquire()) {
        QTextStream(stderr) << "quellix: " << Text(TextNo::AlreadyRunning) << "\n";
        prompts_.warning(Text(TextNo::AlreadyRunning));
        return false;
    }

    // 5. Language: the setting, 0 for the system's; English when there is no translation.
    languageId_ = Language::resolve(Settings().language(), QLocale::system().uiLanguages());
    if (!languageSwitch_.apply(languageId_))
        languageId_ = Language::English;
    QLocale::setDefault(Language::localeFor(languageId_, QLocale::system()));

    // 8. The main window, behind the one-second splash.
    showSplashWhile([this] {
        mainWindow_ = std::make_unique<MainWindow>(store_, prompts_, languageId_);
        mainWindow_->setLanguageSwitch(&languageSwitch_);
        prompts_.setParent(mainWindow_.get());
        mainWindow_->setStartupOptions(options_);
        // 9. The data folder.
        if (!DataFolder::ensure())
            QTextStream(stderr) << "quellix: cannot create " << DataFolder::markerPath() << "\n";
    });

    // 11. Shown maximised; then 10. the file named on the command line, if any.
    // Without a window manager "maximised" means nothing; fill the screen anyway.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        mainWindow_->setGeometry(screen->availableGeometry());
    mainWindow_->showMaximized();
    if (screenTooSmall)
        prompts_.notice(QCoreApplication::translate(
            "Application",
            "Screen reslution is to small to run the program,please change reslution over 1024 in horizontal "
            "and over 768 in vertical,otherwise the effect is not well!"));

    // The device: the demo oximeter or a port named on the command line is
    // tried first; plugging a serial port in starts a download.
    DeviceCommands &device = mainWindow_->deviceCommands();
    if (options_.demo && !device.startDemo())
        prompts_.warning(QCoreApplication::translate("Application", "The simulated oximeter could not be started."));
    if (!options_.port.isEmpty())
        device.context().firstPort = options_.port;
    device.startArrivalMonitor();
    if (!options_.file.isEmpty())
        mainWindow_->openSavedFile(options_.file);
    return true;
}

void Application::ExitInstance()
{
    mainWindow_.reset();
    store_.ClearAllData();
    languageSwitch_.clear();
    QLocale::setDefault(savedLocale_);
    instance_.reset();
}

int Application::run()
{
    if (!InitInstance(QCoreApplication::arguments())) {
        ExitInstance();
        return 1;
    }
    const int code = QApplication::exec();
    ExitInstance();
    return code;
}

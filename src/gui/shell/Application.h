// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/LanguageSwitch.h"
#include "app/StartupOptions.h"
#include "model/RecordStore.h"
#include "shell/GuiPrompts.h"

#include <QLocale>

#include <memory>

class MainWindow;
class SingleInstance;

// The application object: start-up in order, the run, and the clean-up at exit.
class Application
{
public:
    Application();
    ~Application();

    // Runs start-up with the given command line (program name first); false when
    // the program must end (the reason was shown).
    bool InitInstance(const QStringList &arguments);
    // Clears the store, removes the translation and restores the locale.
    void ExitInstance();
    // InitInstance, the event loop, ExitInstance; returns the exit code.
    int run();

    RecordStore &store() { return store_; }
    const StartupOptions &options() const { return options_; }
    int languageId() const { return languageId_; }
    MainWindow *mainWindow() const { return mainWindow_.get(); }

private:
    void showSplashWhile(const std::function<void()> &work);

    RecordStore store_;
    GuiPrompts prompts_;
    StartupOptions options_;
    QLocale savedLocale_;
    int languageId_ = 1033;
    std::unique_ptr<SingleInstance> instance_;
    LanguageSwitch languageSwitch_;
    std::unique_ptr<MainWindow> mainWindow_;
};

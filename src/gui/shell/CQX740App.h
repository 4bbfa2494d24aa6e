#pragma once

#include "app/StartupOptions.h"
#include "model/RecordStore.h"
#include "shell/GuiPrompts.h"

#include <QLocale>
#include <QTranslator>

#include <memory>

class CMainFrame;
class SingleInstance;

// The application object: start-up in order, the run, and the clean-up at exit.
class CQX740App {
public:
    CQX740App();
    ~CQX740App();

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
    CMainFrame *mainFrame() const { return mainFrame_.get(); }

private:
    void showSplashWhile(const std::function<void()> &work);

    RecordStore store_;
    GuiPrompts prompts_;
    StartupOptions options_;
    QLocale savedLocale_;
    int languageId_ = 1033;
    std::unique_ptr<SingleInstance> instance_;
    QTranslator translator_;
    QTranslator qtTranslator_;
    std::unique_ptr<CMainFrame> mainFrame_;
};

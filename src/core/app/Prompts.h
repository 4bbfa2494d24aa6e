// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Every message box and file dialog goes through this interface, so the GUI can
// show real dialogs while tests and the command line script the answers.
class Prompts
{
public:
    enum class Answer { Ok, Cancel, Yes, No, Save, Discard };

    virtual ~Prompts() = default;

    virtual void information(const QString &text) = 0;
    virtual void warning(const QString &text) = 0;
    // A warning with the system's reason on a line of its own (the text stays exact).
    virtual void warningWithDetail(const QString &text, const QString &detail)
    {
        warning(detail.isEmpty() ? text : text + QLatin1Char('\n') + detail);
    }
    // A message that must not hold up what follows (shown without waiting for OK).
    virtual void notice(const QString &text) { information(text); }
    // OK/Cancel question; returns Ok or Cancel.
    virtual Answer question(const QString &text) = 0;
    // Before unsaved work goes: returns Save, Discard or Cancel.
    virtual Answer saveDiscardCancel(const QString &text)
    {
        return question(text) == Answer::Ok ? Answer::Discard : Answer::Cancel;
    }

    struct FileRequest {
        QString defaultSuffix; // without the dot
        QString initialName;   // may be empty
        QString directory;     // where the dialog starts; empty for the platform's choice
        QString filter;        // Qt filter, e.g. "Data file (*.dat)"
        bool confirmOverwrite = true;
    };
    // Empty string when the user cancels.
    virtual QString openFileName(const FileRequest &request) = 0;
    virtual QString saveFileName(const FileRequest &request) = 0;
};

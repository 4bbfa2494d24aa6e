// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Prompts.h"

#include <QStringList>

#include <deque>

// Prompts with prepared answers that records every text shown. Used by tests
// and by the command line (which answers every question with the default).
class ScriptedPrompts : public Prompts
{
public:
    void information(const QString &text) override { shown.append(text); }
    void warning(const QString &text) override { shown.append(text); }
    void warningWithDetail(const QString &text, const QString &detail) override
    {
        shown.append(text);
        details.append(detail);
    }
    Answer question(const QString &text) override
    {
        shown.append(text);
        if (answers.empty())
            return Answer::Cancel;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    Answer saveDiscardCancel(const QString &text) override { return question(text); }
    QString openFileName(const FileRequest &request) override
    {
        lastRequest = request;
        return takeFile();
    }
    QString saveFileName(const FileRequest &request) override
    {
        lastRequest = request;
        return takeFile();
    }

    QStringList shown;          // texts of every message, in order
    QStringList details;        // detail lines of warnings that have one, in order
    std::deque<Answer> answers; // answers to questions, in order
    std::deque<QString> files;  // answers to file dialogs, in order
    FileRequest lastRequest;

private:
    QString takeFile()
    {
        if (files.empty())
            return {};
        QString f = files.front();
        files.pop_front();
        return f;
    }
};

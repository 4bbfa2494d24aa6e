// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Prompts.h"

// Starts every file dialog in the folder of the file chosen last, also after a
// restart, and remembers the file each dialog returned. Messages pass through.
class FolderPrompts : public Prompts
{
public:
    explicit FolderPrompts(Prompts &inner) : inner_(inner) {}

    void information(const QString &text) override { inner_.information(text); }
    void warning(const QString &text) override { inner_.warning(text); }
    void warningWithDetail(const QString &text, const QString &detail) override
    {
        inner_.warningWithDetail(text, detail);
    }
    void notice(const QString &text) override { inner_.notice(text); }
    Answer question(const QString &text) override { return inner_.question(text); }
    Answer saveDiscardCancel(const QString &text) override { return inner_.saveDiscardCancel(text); }
    QString openFileName(const FileRequest &request) override;
    QString saveFileName(const FileRequest &request) override;

    // The file the last dialog returned; empty before the first and after a cancel.
    QString lastFile() const { return lastFile_; }

    // The stored folder; empty when none is stored or it is gone.
    static QString lastFolder();

private:
    FileRequest startingInLastFolder(FileRequest request) const;
    QString remember(const QString &path);

    Prompts &inner_;
    QString lastFile_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Prompts.h"

#include <QPointer>
#include <QWidget>

// Prompts shown as real message boxes and file dialogs over a parent window.
class GuiPrompts : public Prompts
{
public:
    explicit GuiPrompts(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }

    void information(const QString &text) override;
    void warning(const QString &text) override;
    void warningWithDetail(const QString &text, const QString &detail) override;
    void notice(const QString &text) override;
    Answer question(const QString &text) override;
    Answer saveDiscardCancel(const QString &text) override;
    QString openFileName(const FileRequest &request) override;
    QString saveFileName(const FileRequest &request) override;

private:
    QPointer<QWidget> parent_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <QVector>

#include <memory>

class QTranslator;

// The translations installed into the application: Quellix's own texts and Qt's
// (standard buttons and dialogs) for one language. Switching installs the new
// pair before removing the old, so every widget receives one LanguageChange and
// retranslates; a language that cannot be loaded changes nothing.
class LanguageSwitch
{
public:
    LanguageSwitch();
    ~LanguageSwitch();
    LanguageSwitch(const LanguageSwitch &) = delete;
    LanguageSwitch &operator=(const LanguageSwitch &) = delete;

    struct Choice {
        int languageId;
        QString nativeName; // the language's name in that language
    };
    // The languages Quellix has translations for, English first.
    static QVector<Choice> available();

    // Makes languageId (1033, 1036, 2052) the language of the texts and of the
    // default locale. False, with nothing changed, when it has no translation.
    bool apply(int languageId);
    // Removes the installed translations (English texts again).
    void clear();

    int languageId() const { return languageId_; }

private:
    std::unique_ptr<QTranslator> program_;
    std::unique_ptr<QTranslator> qt_;
    int languageId_ = 1033;
};

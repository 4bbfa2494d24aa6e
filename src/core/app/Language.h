// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

class QTranslator;

// The user-interface language. The "Language" setting keeps the Windows
// language numbers: 1033 English, 1036 French, 2052 simplified Chinese; 0 means
// the system's user-interface language.
namespace Language
{

inline constexpr int English = 1033;
inline constexpr int French = 1036;
inline constexpr int ChineseSimplified = 2052;

// The language number of a BCP 47 name such as "fr-FR" or "zh-Hans-CN"; languages
// Quellix has no number for give 0.
int idForLocaleName(const QString &name);

// The setting, with 0 replaced by the first of the system's UI languages.
int resolve(int setting, const QStringList &systemUiLanguages);

// The embedded translation of a language; empty for English, which needs none.
QString translationFile(int languageId);

// The locale numbers and dates are shown in for a language; other numbers keep fallback.
QLocale localeFor(int languageId, const QLocale &fallback);

struct Loaded {
    int languageId = English;
    bool translated = false; // a translation was installed into the translator
};

// Loads the translation of the resolved language into translator; when there is
// none for it, falls back to English (1033).
Loaded load(int setting, const QStringList &systemUiLanguages, QTranslator &translator);

} // namespace Language

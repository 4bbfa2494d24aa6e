// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Language.h"

#include <QFile>
#include <QTranslator>

namespace Language
{

int idForLocaleName(const QString &name)
{
    const QLocale l(name);
    switch (l.language()) {
    case QLocale::English:
        return English;
    case QLocale::French:
        return French;
    case QLocale::Chinese:
        // Only simplified script has a translation number; traditional Chinese is 1028.
        if (l.script() == QLocale::TraditionalChineseScript)
            return 1028;
        return ChineseSimplified;
    default:
        return 0;
    }
}

int resolve(int setting, const QStringList &systemUiLanguages)
{
    if (setting != 0)
        return setting;
    if (systemUiLanguages.isEmpty())
        return English;
    const int id = idForLocaleName(systemUiLanguages.first());
    return id != 0 ? id : English;
}

QString translationFile(int languageId)
{
    switch (languageId) {
    case French:
        return QStringLiteral(":/i18n/quellix_fr.qm");
    case ChineseSimplified:
        return QStringLiteral(":/i18n/quellix_zh_CN.qm");
    default:
        return {};
    }
}

QLocale localeFor(int languageId, const QLocale &fallback)
{
    switch (languageId) {
    case English:
        return QLocale(QLocale::English, QLocale::UnitedStates);
    case French:
        return QLocale(QLocale::French, QLocale::France);
    case ChineseSimplified:
        return QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    default:
        return fallback;
    }
}

Loaded load(int setting, const QStringList &systemUiLanguages, QTranslator &translator)
{
    Loaded result;
    const int id = resolve(setting, systemUiLanguages);
    if (id == English)
        return result;
    const QString file = translationFile(id);
    if (!file.isEmpty() && QFile::exists(file) && translator.load(file)) {
        result.languageId = id;
        result.translated = true;
    }
    return result;
}

} // namespace Language

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LanguageSwitch.h"

#include "app/Language.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

LanguageSwitch::LanguageSwitch() = default;

LanguageSwitch::~LanguageSwitch()
{
    clear();
}

QVector<LanguageSwitch::Choice> LanguageSwitch::available()
{
    QVector<Choice> out{{Language::English, QStringLiteral("English")}};
    for (int id : {Language::French, Language::ChineseSimplified}) {
        if (!QFile::exists(Language::translationFile(id)))
            continue;
        const QString name = id == Language::French ? QStringLiteral("Français") : QStringLiteral("简体中文");
        out.append({id, name});
    }
    return out;
}

bool LanguageSwitch::apply(int languageId)
{
    std::unique_ptr<QTranslator> program;
    std::unique_ptr<QTranslator> qt;
    if (languageId != Language::English) {
        const QString file = Language::translationFile(languageId);
        program = std::make_unique<QTranslator>();
        if (file.isEmpty() || !program->load(file))
            return false;
        // Qt's own texts are a bonus: without them the standard buttons stay English.
        qt = std::make_unique<QTranslator>();
        const QLocale locale = Language::localeFor(languageId, QLocale());
        if (!qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            qt.reset();
    }
    QLocale::setDefault(Language::localeFor(languageId, QLocale()));
    if (program)
        QCoreApplication::installTranslator(program.get());
    if (qt)
        QCoreApplication::installTranslator(qt.get());
    clear();
    program_ = std::move(program);
    qt_ = std::move(qt);
    languageId_ = languageId;
    return true;
}

void LanguageSwitch::clear()
{
    if (qt_)
        QCoreApplication::removeTranslator(qt_.get());
    if (program_)
        QCoreApplication::removeTranslator(program_.get());
    qt_.reset();
    program_.reset();
    languageId_ = Language::English;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Language.h"
#include "app/Texts.h"
#include "shell/Resources.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>

#include <gtest/gtest.h>

namespace
{

TEST(EmbeddedLanguage, TranslationsAndManualsAreInsideTheProgram)
{
    initQuellixResources(); // as the main window does
    for (const char *path : {":/i18n/quellix_fr.qm", ":/i18n/quellix_zh_CN.qm", ":/manual/Manual-1033.html",
                             ":/manual/Manual-1036.html", ":/manual/Manual-2052.html"})
        EXPECT_TRUE(QFile::exists(QLatin1String(path))) << path;
}

TEST(EmbeddedLanguage, SystemLanguageIsUsedWhenTheSettingIsZero)
{
    QTranslator french;
    const auto fr = Language::load(0, {QStringLiteral("fr-CA")}, french);
    EXPECT_EQ(fr.languageId, Language::French);
    EXPECT_TRUE(fr.translated);

    QTranslator chinese;
    const auto zh = Language::load(0, {QStringLiteral("zh-Hans-CN"), QStringLiteral("en-US")}, chinese);
    EXPECT_EQ(zh.languageId, Language::ChineseSimplified);

    QTranslator other;
    EXPECT_EQ(Language::load(0, {QStringLiteral("ja-JP")}, other).languageId, Language::English);
    EXPECT_EQ(Language::load(1041, {QStringLiteral("fr-FR")}, other).languageId, Language::English)
        << "a language number without a translation falls back to English";
    EXPECT_EQ(Language::load(1033, {QStringLiteral("fr-FR")}, other).languageId, Language::English);
}

TEST(EmbeddedLanguage, EnglishTextsNeedNoTranslation)
{
    EXPECT_EQ(Text(TextNo::AlreadyRunning), QStringLiteral("You have Run one"));
    EXPECT_EQ(Text(TextNo::PagePane), QStringLiteral("Page:          "));
    EXPECT_TRUE(Text(1).isEmpty());
}

} // namespace

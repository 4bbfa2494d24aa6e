// SPDX-License-Identifier: GPL-3.0-or-later
#include "GlyphCheck.h"
#include "PaintCounter.h"
#include "app/Language.h"
#include "app/LanguageSwitch.h"
#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/LanguageDialog.h"
#include "model/RecordStore.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"
#include "test_env.h"
#include "views/DataView.h"
#include "views/ReportHeader.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace
{

using namespace CommandId;

QStringList menuTitles(MainWindow &frame)
{
    QStringList out;
    for (QAction *m : frame.menuBar()->actions())
        out << m->text();
    return out;
}

QImage renderView(DataView &view)
{
    QImage image(view.size(), QImage::Format_RGB32);
    QPainter p(&image);
    view.renderPage(p, view.size(), 0);
    return image;
}

QImage iconImage(const QAction *a)
{
    return a->icon().pixmap(24, 24).toImage();
}

class LanguageSwitching : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame.resize(1100, 800);
        frame.show();
        ASSERT_TRUE(frame.openSavedFile(testenv::dataFile(QStringLiteral("valid-night-id7.dat"))));
        prompts.shown.clear();
        QCoreApplication::processEvents();
    }
    void TearDown() override { frame.switchLanguage(Language::English); }

    RecordStore store;
    ScriptedPrompts prompts;
    MainWindow frame{store, prompts, Language::English};
};

TEST(LanguageDialog, ListsTheTranslatedLanguagesByTheirOwnNames)
{
    LanguageDialog dialog(Language::French);
    QComboBox *list = dialog.list();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), QStringLiteral("English"));
    EXPECT_EQ(list->itemText(1), QStringLiteral("Français"));
    EXPECT_EQ(list->itemText(2), QStringLiteral("简体中文"));
    EXPECT_EQ(list->itemData(0).toInt(), 1033);
    EXPECT_EQ(list->itemData(1).toInt(), 1036);
    EXPECT_EQ(list->itemData(2).toInt(), 2052);
    EXPECT_EQ(list->currentIndex(), 1) << "the language in use is selected";
    list->setCurrentIndex(2);
    dialog.accept();
    EXPECT_EQ(dialog.chosenId(), 2052);

    LanguageDialog other(1041); // a language without a translation: nothing selected
    EXPECT_EQ(other.list()->currentIndex(), -1);
    other.accept();
    EXPECT_EQ(other.chosenId(), -1);
}

TEST_F(LanguageSwitching, FrenchAndBackRetranslatesMenusToolbarStatusAndTheOpenView)
{
    const QStringList english = menuTitles(frame);
    DataView *view = frame.activeView();
    ASSERT_NE(view, nullptr);
    const QImage englishPage = renderView(*view);
    const QImage englishFlag = iconImage(frame.action(LanguageButton));
    PaintCounter counter(view);

    // Through the toolbar button and its dialog, as a user does it.
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<LanguageDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        dialog->list()->setCurrentIndex(dialog->list()->findData(Language::French));
        dialog->accept();
    });
    frame.action(LanguageButton)->trigger();
    ASSERT_TRUE(seen);
    QCoreApplication::processEvents();

    EXPECT_EQ(frame.languageId(), Language::French);
    EXPECT_EQ(ReadSetupInt(QStringLiteral("Language"), 0), 1036);
    EXPECT_EQ(menuTitles(frame).first(), QStringLiteral("Fichier(&F)"));
    EXPECT_EQ(frame.action(NewDataCapture)->text(), QStringLiteral("Nouvelle acquisition (&N)"));
    EXPECT_EQ(frame.action(ModeTrend)->toolTip(), QStringLiteral("Tendance"));
    EXPECT_EQ(frame.action(LanguageButton)->toolTip(), QStringLiteral("Langue")) << "toolbar tips follow";
    EXPECT_EQ(frame.toolBar()->windowTitle(), QStringLiteral("Barre d'outils"));
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Prêt"));
    EXPECT_TRUE(frame.pageReadoutText().startsWith(QStringLiteral("Page :"))) << frame.pageReadoutText().toStdString();
    EXPECT_TRUE(frame.pageReadoutText().endsWith(QStringLiteral("1/1 ")));
    EXPECT_NE(iconImage(frame.action(LanguageButton)), englishFlag) << "the button shows the French flag";

    // The open view repaints with French labels.
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 2000));
    EXPECT_EQ(CurrentHeaderContent(store).gender, QStringLiteral("masculin"));
    EXPECT_NE(renderView(*view), englishPage);

    // Windows opened afterwards, and Help, are French too.
    AboutDialog about(&frame);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("À propos de "));
    EXPECT_TRUE(frame.extractManual().endsWith(QStringLiteral("Manual-1036.html")));

    ASSERT_TRUE(frame.switchLanguage(Language::English));
    QCoreApplication::processEvents();
    EXPECT_EQ(menuTitles(frame), english);
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Ready"));
    EXPECT_EQ(CurrentHeaderContent(store).gender, QStringLiteral("male"));
    EXPECT_EQ(renderView(*view), englishPage);
    EXPECT_EQ(iconImage(frame.action(LanguageButton)), englishFlag);
    EXPECT_EQ(ReadSetupInt(QStringLiteral("Language"), 0), 1033);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(LanguageSwitching, ChineseTextsRenderWithoutMissingGlyphs)
{
    ASSERT_TRUE(frame.switchLanguage(Language::ChineseSimplified));
    QCoreApplication::processEvents();
    EXPECT_EQ(menuTitles(frame).first(), QStringLiteral("文件(&F)"));
    EXPECT_EQ(ReadSetupInt(QStringLiteral("Language"), 0), 2052);
    QStringList texts = menuTitles(frame);
    for (QAction *m : frame.menuBar()->actions())
        for (QAction *a : m->menu()->actions())
            texts << a->text();
    texts << frame.statusBar()->currentMessage() << frame.pageReadoutText();
    const ReportHeaderContent header = CurrentHeaderContent(store);
    texts << header.gender;
    EXPECT_GT(MissingGlyphs(QString(QChar(0xFFFF)), frame.menuBar()->font()), 0) << "the check sees a missing glyph";
    for (const QString &t : texts)
        EXPECT_EQ(MissingGlyphs(t, frame.menuBar()->font()), 0) << t.toStdString();
    EXPECT_TRUE(frame.extractManual().endsWith(QStringLiteral("Manual-2052.html")));
}

TEST_F(LanguageSwitching, ALanguageWithoutTranslationChangesNothing)
{
    WriteSetupValue(QStringLiteral("Language"), QStringLiteral("1033"));
    const QStringList before = menuTitles(frame);
    EXPECT_FALSE(frame.switchLanguage(1041));
    EXPECT_FALSE(frame.switchLanguage(-1));
    QCoreApplication::processEvents();
    EXPECT_EQ(menuTitles(frame), before);
    EXPECT_EQ(frame.languageId(), Language::English);
    EXPECT_EQ(ReadSetupInt(QStringLiteral("Language"), 0), 1033);
}

TEST(LanguageSwitch, OffersEveryEmbeddedTranslationAndFallsBackCleanly)
{
    LanguageSwitch languages;
    EXPECT_EQ(LanguageSwitch::available().size(), 3);
    ASSERT_TRUE(languages.apply(Language::French));
    EXPECT_EQ(QCoreApplication::translate("Texts", "male"), QStringLiteral("masculin"));
    EXPECT_EQ(QLocale().language(), QLocale::French);
    EXPECT_FALSE(languages.apply(1041));
    EXPECT_EQ(languages.languageId(), Language::French) << "a failed switch keeps the language in use";
    EXPECT_EQ(QCoreApplication::translate("Texts", "male"), QStringLiteral("masculin"));
    ASSERT_TRUE(languages.apply(Language::ChineseSimplified));
    EXPECT_EQ(QCoreApplication::translate("Texts", "male"), QStringLiteral("男"));
    languages.clear();
    EXPECT_EQ(QCoreApplication::translate("Texts", "male"), QStringLiteral("male"));
}

} // namespace

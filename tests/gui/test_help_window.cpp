// SPDX-License-Identifier: GPL-3.0-or-later
// The manual and the help window F1 opens: every language's page, its pictures,
// contents, search, and the copy written out for a browser.
#include "app/ScriptedPrompts.h"
#include "help/HelpWindow.h"
#include "help/Manual.h"
#include "help/ManualBrowser.h"
#include "help/ManualPictures.h"
#include "model/RecordStore.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace
{

const int kLanguages[] = {1033, 1036, 2052};

QString pageText(int languageId)
{
    QFile f(Manual::resource(languageId));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The page without its comments, which hold hooks rather than content.
QString pageContent(int languageId)
{
    static const QRegularExpression comment(QStringLiteral("<!--.*?-->"),
                                            QRegularExpression::DotMatchesEverythingOption);
    return pageText(languageId).remove(comment);
}

QStringList matches(const QString &text, const QString &pattern)
{
    QStringList found;
    auto it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured(1);
    return found;
}

QStringList matches(const QString &text, const char *pattern)
{
    return matches(text, QString::fromLatin1(pattern));
}

// Pixels that differ from white: a picture that is more than an empty page.
int inkedPixels(const QImage &image)
{
    int inked = 0;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            inked += image.pixel(x, y) != qRgb(255, 255, 255);
    return inked;
}

} // namespace

TEST(Manual, EveryLanguageHasTheSameSectionsAndOnlyPicturesTheProgramPaints)
{
    const QString english = pageContent(1033);
    const QStringList englishSections = matches(english, "<h[23][^>]*id=\"([^\"]+)\"");
    ASSERT_GE(englishSections.size(), 10);
    const QStringList pictures = ManualPictures::names();
    for (int id : kLanguages) {
        ASSERT_TRUE(Manual::exists(id)) << id;
        const QString page = pageContent(id);
        EXPECT_EQ(matches(page, "<h[23][^>]*id=\"([^\"]+)\""), englishSections) << id;
        const QStringList images =
            matches(page, QStringLiteral("<img[^>]*src=\"%1/([^\"]+)\"").arg(Manual::pictureFolder(id)));
        EXPECT_EQ(QSet<QString>(images.begin(), images.end()), QSet<QString>(pictures.begin(), pictures.end())) << id;
        // Internal links lead somewhere.
        for (const QString &target : matches(page, "href=\"#([^\"]+)\""))
            EXPECT_TRUE(page.contains(QStringLiteral("id=\"%1\"").arg(target))) << id << target.toStdString();
    }
    EXPECT_FALSE(Manual::exists(1041));
    for (const QString &name : pictures)
        EXPECT_GT(inkedPixels(ManualPictures::render(name)), 2000) << name.toStdString();
    EXPECT_TRUE(ManualPictures::render(QStringLiteral("nothing.png")).isNull());
}

TEST(Manual, WrittenOutWithItsPicturesOrNotAtAll)
{
    QTemporaryDir dir;
    const QString page = Manual::writeTo(1036, dir.path() + QStringLiteral("/m"));
    ASSERT_FALSE(page.isEmpty());
    QFile written(page);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()), pageText(1036));
    for (const QString &name : ManualPictures::names()) {
        const QImage image(dir.path() + QStringLiteral("/m/images/1036/") + name);
        EXPECT_FALSE(image.isNull()) << name.toStdString();
        EXPECT_EQ(image, ManualPictures::render(name)) << name.toStdString();
    }

    // A folder that cannot be made (a file is in the way), or a language without a manual.
    QFile blocker(dir.path() + QStringLiteral("/file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_TRUE(Manual::writeTo(1033, blocker.fileName() + QStringLiteral("/m")).isEmpty());
    EXPECT_TRUE(Manual::writeTo(1041, dir.path() + QStringLiteral("/x")).isEmpty());
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/x")));
}

TEST(HelpWindowTest, ContentsFollowTheHeadingsAndShowTheirSection)
{
    for (int id : kLanguages) {
        HelpWindow window(id);
        window.resize(900, 600);
        window.show();
        QTreeWidget *contents = window.contents();
        const QStringList sections = matches(pageContent(id), "<h2[^>]*>([^<]+)</h2>");
        ASSERT_EQ(contents->topLevelItemCount(), sections.size()) << id;
        for (int i = 0; i < sections.size(); ++i)
            EXPECT_EQ(contents->topLevelItem(i)->text(0), sections[i].simplified()) << id;

        // The last chapter is far down the page: showing it scrolls there.
        QTreeWidgetItem *last = contents->topLevelItem(contents->topLevelItemCount() - 1);
        window.showSection(last);
        EXPECT_GT(window.browser()->verticalScrollBar()->value(), 0) << id;
        EXPECT_EQ(window.browser()->textCursor().block().text().simplified(), last->text(0)) << id;
        window.showSection(contents->topLevelItem(0));
        EXPECT_LT(window.browser()->verticalScrollBar()->value(), 400) << id;
    }
}

TEST(HelpWindowTest, PicturesAreShownFromTheProgramsOwnPainting)
{
    HelpWindow window(1033);
    for (const QString &name : ManualPictures::names()) {
        const QVariant loaded =
            window.browser()->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("images/") + name));
        ASSERT_TRUE(loaded.canConvert<QImage>()) << name.toStdString();
        EXPECT_EQ(loaded.value<QImage>(), ManualPictures::render(name)) << name.toStdString();
    }
}

TEST(HelpWindowTest, SearchFindsEachPlaceInTurnAndSaysWhenThereIsNone)
{
    HelpWindow window(1033);
    const QString plain = window.browser()->toPlainText();
    const QString word = QStringLiteral("Bluetooth");
    const int count = plain.count(word, Qt::CaseInsensitive);
    ASSERT_GE(count, 2);

    QList<int> seen;
    for (int i = 0; i < count; ++i) {
        ASSERT_TRUE(window.find(word));
        EXPECT_EQ(window.browser()->textCursor().selectedText().toLower(), word.toLower());
        seen << window.browser()->textCursor().position();
    }
    for (int i = 1; i < seen.size(); ++i)
        EXPECT_GT(seen[i], seen[i - 1]);
    // Past the last place the search wraps to the first; backwards it goes back.
    ASSERT_TRUE(window.find(word));
    EXPECT_EQ(window.browser()->textCursor().position(), seen.first());
    ASSERT_TRUE(window.find(word, true));
    EXPECT_EQ(window.browser()->textCursor().position(), seen.last());
    EXPECT_EQ(window.browser()->extraSelections().size(), count);
    EXPECT_TRUE(window.searchStatus()->text().isEmpty());

    // Typing searches from the top of the page; Enter goes on to the next place.
    window.browser()->moveCursor(QTextCursor::End);
    QTest::keyClicks(window.searchField(), word);
    EXPECT_EQ(window.browser()->textCursor().position(), seen.first());
    QTest::keyClick(window.searchField(), Qt::Key_Return);
    EXPECT_EQ(window.browser()->textCursor().position(), seen[1]);

    EXPECT_FALSE(window.find(QStringLiteral("zzqqxx")));
    EXPECT_EQ(window.searchStatus()->text(), QStringLiteral("Not found"));
    EXPECT_TRUE(window.browser()->extraSelections().isEmpty());
    EXPECT_FALSE(window.find(QString()));
    EXPECT_TRUE(window.searchStatus()->text().isEmpty());
}

TEST(HelpWindowTest, F1OpensOneWindowInTheLanguageAndItsBrowserCopy)
{
    RecordStore store;
    ScriptedPrompts prompts;
    MainWindow frame(store, prompts, 1036);
    QUrl opened;
    frame.setUrlOpener([&](const QUrl &url) {
        opened = url;
        return true;
    });
    frame.action(CommandId::Help)->trigger();
    HelpWindow *help = frame.helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->languageId(), 1036);
    frame.action(CommandId::Help)->trigger();
    EXPECT_EQ(frame.helpWindow(), help);
    EXPECT_TRUE(prompts.shown.isEmpty());

    Q_EMIT help->openInBrowserRequested(1036);
    ASSERT_TRUE(opened.isLocalFile());
    EXPECT_TRUE(opened.toLocalFile().endsWith(QStringLiteral("/Manual-1036.html")));
    QFile copy(opened.toLocalFile());
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(copy.readAll()), pageText(1036));
    for (const QString &name : ManualPictures::names())
        EXPECT_FALSE(QImage(QFileInfo(copy).dir().filePath(QStringLiteral("images/1036/") + name)).isNull());
    EXPECT_TRUE(prompts.shown.isEmpty());

    // No browser on the machine.
    frame.setUrlOpener([](const QUrl &) { return false; });
    Q_EMIT help->openInBrowserRequested(1036);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Can't open file")});
}

TEST(HelpWindowTest, F1WithoutTheLanguagesManualSaysSo)
{
    RecordStore store;
    ScriptedPrompts prompts;
    MainWindow frame(store, prompts, 1041);
    frame.action(CommandId::Help)->trigger();
    EXPECT_EQ(frame.helpWindow(), nullptr);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("Can't open file")});
}

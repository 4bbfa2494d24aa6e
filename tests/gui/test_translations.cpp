// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ScriptedPrompts.h"
#include "app/Texts.h"
#include "model/RecordStore.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"
#include "shell/Resources.h"
#include "texts/DeviceTexts.h"
#include "texts/ImportTexts.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace
{

struct Translated {
    const char *qm;
    const char *ts;
    int id;
};

const Translated kFrench{":/i18n/quellix_fr.qm", "quellix_fr.ts", 1036};
const Translated kChinese{":/i18n/quellix_zh_CN.qm", "quellix_zh_CN.ts", 2052};

// Installs an embedded translation for the lifetime of the object.
class Installed
{
public:
    explicit Installed(const Translated &language)
    {
        initQuellixResources();
        loaded_ = translator_.load(QLatin1String(language.qm));
        if (loaded_)
            QCoreApplication::installTranslator(&translator_);
    }
    ~Installed() { QCoreApplication::removeTranslator(&translator_); }
    bool loaded() const { return loaded_; }

private:
    QTranslator translator_;
    bool loaded_ = false;
};

QString menuTitles(const MainWindow &frame)
{
    QStringList titles;
    for (QAction *a : frame.menuBar()->actions())
        titles.append(a->text());
    return titles.join(u'|');
}

// Qt's %1..%99 and %n, and printf's %d / %3d / %-10s, as written in a message.
std::multiset<QString> placeholders(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("%(?:L?[0-9]{1,2}|n|-?[0-9]*[ds])"));
    std::multiset<QString> found;
    for (const auto &m : re.globalMatch(text))
        found.insert(m.captured());
    return found;
}

struct Message {
    QString context;
    QString source;
    QStringList translations; // one per plural form
    bool unfinished = false;
};

std::vector<Message> readTs(const char *fileName)
{
    const QString path = QStringLiteral(QUELLIX_TEST_DATA_DIR "/../../translations/") + QLatin1String(fileName);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    std::vector<Message> messages;
    QString context;
    bool numerus = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto tag = xml.name();
        if (tag == u"name") {
            context = xml.readElementText();
        } else if (tag == u"message") {
            numerus = xml.attributes().value(QLatin1String("numerus")) == u"yes";
            messages.push_back({context, {}, {}, false});
        } else if (tag == u"source" && !messages.empty()) {
            messages.back().source = xml.readElementText();
        } else if (tag == u"translation" && !messages.empty()) {
            Message &m = messages.back();
            m.unfinished = xml.attributes().value(QLatin1String("type")) == u"unfinished";
            if (!numerus)
                m.translations.append(xml.readElementText());
            else
                while (xml.readNextStartElement())
                    m.translations.append(xml.readElementText());
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return messages;
}

class Translation : public ::testing::TestWithParam<Translated>
{
};

TEST_P(Translation, KeyTextsAreTranslatedWhereTheProgramShowsThem)
{
    const QString englishCantOpen = Text(TextNo::CantOpenFile);
    const QString englishPage = Text(TextNo::PagePane);
    RecordStore store;
    ScriptedPrompts prompts;
    const MainWindow english(store, prompts, 1033);
    const QString englishMenus = menuTitles(english);
    const QString englishSave = english.action(CommandId::SaveData)->text();
    ImportedNight night;
    night.read = 1203;
    night.refused = 4;
    night.firstRefusal = {ImportError::TimeNotATime, 17, QStringLiteral("25:61:00")};
    const QString englishRows = ImportTexts::summary(night);

    Installed installed(GetParam());
    ASSERT_TRUE(installed.loaded()) << GetParam().qm;

    const QString cantOpen = Text(TextNo::CantOpenFile);
    EXPECT_FALSE(cantOpen.isEmpty());
    EXPECT_NE(cantOpen, englishCantOpen);
    EXPECT_NE(DeviceTexts::text(DeviceMessage::ReadTimeout), QStringLiteral("Read data timeout,please retry"));
    EXPECT_TRUE(DeviceTexts::ConnectSucceeded(42).contains(QStringLiteral(" 42 ")))
        << "the count keeps its spaces between the two translated halves";
    // An import's refusals, with the values they name.
    const QString rows = ImportTexts::summary(night);
    EXPECT_NE(rows, englishRows);
    for (const char *value : {"1,203", " 4", "17", "'25:61:00'"})
        EXPECT_TRUE(rows.contains(QLatin1String(value))) << rows.toStdString() << " lacks " << value;

    // Texts aligned by the program keep their trailing padding.
    const QString page = Text(TextNo::PagePane);
    EXPECT_NE(page, englishPage);
    EXPECT_TRUE(page.endsWith(QStringLiteral("   "))) << page.toStdString();

    const MainWindow frame(store, prompts, GetParam().id);
    const QString menus = menuTitles(frame);
    EXPECT_NE(menus, englishMenus);
    EXPECT_TRUE(menus.contains(QStringLiteral("(&F)"))) << "the File menu keeps its Alt+F accelerator";
    const QString save = frame.action(CommandId::SaveData)->text();
    EXPECT_NE(save, englishSave);
    EXPECT_EQ(save.count(u'&'), 1) << save.toStdString();
}

TEST_P(Translation, EveryMessageIsFinishedAndKeepsItsPlaceholdersAndSpacing)
{
    const auto messages = readTs(GetParam().ts);
    ASSERT_GT(messages.size(), 100u) << "the translation file lists the program's texts";
    for (const Message &m : messages) {
        const std::string where = (m.context + QStringLiteral(": ") + m.source).toStdString();
        EXPECT_FALSE(m.unfinished) << where;
        for (const QString &t : m.translations) {
            EXPECT_FALSE(t.trimmed().isEmpty()) << where;
            EXPECT_EQ(placeholders(t), placeholders(m.source)) << where << " -> " << t.toStdString();
            EXPECT_EQ(t.startsWith(u' '), m.source.startsWith(u' ')) << where;
            EXPECT_EQ(t.endsWith(u' '), m.source.endsWith(u' ')) << where;
            EXPECT_EQ(t.count(u'\t'), m.source.count(u'\t')) << where;
            // One accelerator per text, in the texts that have one.
            static const QRegularExpression accel(QStringLiteral("&[^&\\s]"));
            EXPECT_EQ(t.contains(accel), m.source.contains(accel)) << where << " -> " << t.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, Translation, ::testing::Values(kFrench, kChinese),
                         [](const ::testing::TestParamInfo<Translated> &info) {
                             return info.param.id == 1036 ? std::string("French") : std::string("Chinese");
                         });

} // namespace

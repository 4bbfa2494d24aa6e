// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DataFolder.h"
#include "app/Language.h"
#include "app/SingleInstance.h"
#include "app/StartupOptions.h"
#include "test_env.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

namespace
{

StartupOptions parse(std::initializer_list<const char *> args)
{
    QStringList list{QStringLiteral("quellix")};
    for (const char *a : args)
        list << QString::fromUtf8(a);
    return StartupOptions::parse(list);
}

TEST(StartupOptions, CommandLineIsUnderstood)
{
    const auto plain = parse({});
    EXPECT_TRUE(plain.error.isEmpty());
    EXPECT_TRUE(plain.file.isEmpty()) << "a plain start opens nothing";
    EXPECT_FALSE(plain.demo);

    const auto full = parse({"--demo", "--port", "/dev/ttyUSB1", "night.dat"});
    EXPECT_TRUE(full.error.isEmpty()) << full.error.toStdString();
    EXPECT_TRUE(full.demo);
    EXPECT_EQ(full.port, QStringLiteral("ttyUSB1"));
    EXPECT_EQ(full.file, QStringLiteral("night.dat"));

    EXPECT_EQ(parse({"--port=pts/3"}).port, QStringLiteral("pts/3"));
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(parse({"--version"}).version);
}

TEST(StartupOptions, MistakesAreReported)
{
    EXPECT_FALSE(parse({"--bogus"}).error.isEmpty());
    EXPECT_FALSE(parse({"--port"}).error.isEmpty());
    EXPECT_FALSE(parse({"--port", ""}).error.isEmpty());
    EXPECT_FALSE(parse({"a.dat", "b.dat"}).error.isEmpty());
}

TEST(Language, SettingOrSystemLanguageChoosesTheNumber)
{
    EXPECT_EQ(Language::resolve(0, {QStringLiteral("fr-FR")}), Language::French);
    EXPECT_EQ(Language::resolve(0, {QStringLiteral("zh-Hans-CN")}), Language::ChineseSimplified);
    EXPECT_EQ(Language::resolve(0, {QStringLiteral("zh-CN")}), Language::ChineseSimplified);
    EXPECT_EQ(Language::resolve(0, {QStringLiteral("zh-TW")}), 1028);
    EXPECT_EQ(Language::resolve(0, {QStringLiteral("en-GB")}), Language::English);
    EXPECT_EQ(Language::resolve(0, {QStringLiteral("de-DE")}), Language::English);
    EXPECT_EQ(Language::resolve(0, {}), Language::English);
    EXPECT_EQ(Language::resolve(2052, {QStringLiteral("fr-FR")}), Language::ChineseSimplified) << "the setting wins";
}

TEST(Language, MissingTranslationFallsBackToEnglish)
{
    // This test program carries no embedded translations, like a missing language folder.
    QTranslator t;
    const auto french = Language::load(0, {QStringLiteral("fr-FR")}, t);
    EXPECT_EQ(french.languageId, Language::English);
    EXPECT_FALSE(french.translated);
    EXPECT_EQ(Language::load(1041, {}, t).languageId, Language::English);
    EXPECT_EQ(Language::localeFor(Language::French, QLocale::c()).language(), QLocale::French);
    EXPECT_EQ(Language::localeFor(1041, QLocale::c()), QLocale::c());
}

TEST(DataFolder, CreatedEmptyAndNeverTruncated)
{
    const QString path = DataFolder::markerPath();
    EXPECT_TRUE(path.startsWith(testenv::root() + QStringLiteral("/data/"))) << path.toStdString();
    EXPECT_TRUE(path.endsWith(QStringLiteral("/bldb/pationtrec.dat")));
    ASSERT_TRUE(DataFolder::ensure());
    EXPECT_EQ(QFileInfo(path).size(), 0);

    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("kept");
    }
    ASSERT_TRUE(DataFolder::ensure());
    EXPECT_EQ(QFileInfo(path).size(), 4);
}

TEST(SingleInstance, SecondHolderIsRefusedAndDoesNotFreeTheFirst)
{
    auto first = std::make_unique<SingleInstance>();
    ASSERT_TRUE(first->acquire());
    {
        SingleInstance second;
        EXPECT_FALSE(second.acquire());
    }
    SingleInstance third;
    EXPECT_FALSE(third.acquire()) << "a refused copy must not remove the running copy's lock";
    first.reset();
    EXPECT_TRUE(third.acquire());
}

TEST(SingleInstance, RunningProgramBlocksAndItsCrashDoesNot)
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(QUELLIX_BINARY_DIR "/quellix"), {});
    ASSERT_TRUE(program.waitForStarted());
    const QString lock = SingleInstance::lockPath();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(lock); }, 15000));

    {
        SingleInstance copy;
        EXPECT_FALSE(copy.acquire());
    }
    EXPECT_EQ(program.state(), QProcess::Running) << "the first copy keeps running";

    program.kill(); // a crash: no clean-up at all
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_TRUE(QFile::exists(lock)) << "the crashed copy left its lock behind";

    SingleInstance next;
    EXPECT_TRUE(next.acquire());
}

TEST(CommandLine, HelpAndVersionNeedNoWindow)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QUELLIX_BINARY_DIR "/quellix"), {QStringLiteral("--version")});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(p.readAllStandardOutput().startsWith("quellix " QUELLIX_VERSION));
    p.start(QStringLiteral(QUELLIX_BINARY_DIR "/quellix"), {QStringLiteral("--help")});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0);
    const QByteArray help = p.readAllStandardOutput();
    EXPECT_TRUE(help.contains("--demo") && help.contains("--port NAME") && help.contains("FILE.dat"));
}

} // namespace

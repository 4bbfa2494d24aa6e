// SPDX-License-Identifier: GPL-3.0-or-later
// `cmake --install` into a scratch prefix: every file in its place and accepted
// by the tools a desktop and a distribution check it with.
#include "CommandTable.h"
#include "InstalledTree.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSize>
#include <QTemporaryDir>
#include <QtEndian>

#include <memory>

using namespace installed;

namespace
{

class Install : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        const QString cmake = tool("cmake");
        ASSERT_FALSE(cmake.isEmpty());
        const Result r = run(cmake, {QStringLiteral("--install"), QStringLiteral(QUELLIX_BINARY_DIR),
                                     QStringLiteral("--prefix"), dir_->path()});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    static void TearDownTestSuite() { dir_.reset(); }

    static QString path(const QString &relative) { return dir_->path() + QLatin1Char('/') + relative; }
    static QString appFile(const char *folder, const char *suffix)
    {
        return path(QLatin1String(folder) + QLatin1String(appId()) + QLatin1String(suffix));
    }

    static std::unique_ptr<QTemporaryDir> dir_;
};

std::unique_ptr<QTemporaryDir> Install::dir_;

// Width and height from a PNG's header; 0, 0 when it is not a PNG.
QSize pngSize(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = f.read(24);
    if (head.size() < 24 || !head.startsWith("\x89PNG\r\n\x1a\n") || head.mid(12, 4) != "IHDR")
        return {};
    return QSize(qFromBigEndian<quint32>(head.constData() + 16), qFromBigEndian<quint32>(head.constData() + 20));
}

} // namespace

TEST_F(Install, EveryFileInItsPlaceAndTheProgramsRun)
{
    for (const QString &file : expectedFiles())
        EXPECT_TRUE(QFileInfo(path(file)).isFile()) << file.toStdString();
    for (const char *program : {"bin/quellix", "bin/quellix-cli"})
        EXPECT_TRUE(QFileInfo(path(QLatin1String(program))).isExecutable()) << program;

    const Result cli = run(path(QStringLiteral("bin/quellix-cli")), {QStringLiteral("--version")});
    EXPECT_EQ(cli.exitCode, 0);
    EXPECT_EQ(cli.out.trimmed(), QStringLiteral("quellix-cli " QUELLIX_VERSION));
}

TEST_F(Install, DesktopEntryAndAppStreamDataPassTheirValidators)
{
    const QString desktop = appFile("share/applications/", ".desktop");
    const QString validator = tool("desktop-file-validate");
    ASSERT_FALSE(validator.isEmpty()) << "desktop-file-utils is missing";
    const Result d = run(validator, {desktop});
    EXPECT_EQ(d.exitCode, 0) << d.out.toStdString() << d.err.toStdString();
    EXPECT_TRUE(d.out.trimmed().isEmpty()) << d.out.toStdString();

    const QString metainfo = appFile("share/metainfo/", ".metainfo.xml");
    const QString appstream = tool("appstreamcli");
    ASSERT_FALSE(appstream.isEmpty()) << "appstream is missing";
    const Result a = run(appstream, {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
    EXPECT_EQ(a.exitCode, 0) << a.out.toStdString() << a.err.toStdString();

    // The pieces point at each other: the entry starts an installed program with
    // an installed icon, and the AppStream data launches this entry.
    const QString entry = readText(desktop);
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=quellix %f\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=") + QLatin1String(appId()) + QLatin1Char('\n')));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nCategories=Science;MedicalSoftware;\n")));
    // The window's class, so a dock matches the running window to this entry.
    EXPECT_TRUE(entry.contains(QStringLiteral("\nStartupWMClass=quellix\n")));
    const QString data = readText(metainfo);
    EXPECT_TRUE(data.contains(QStringLiteral("<launchable type=\"desktop-id\">") + QLatin1String(appId()) +
                              QStringLiteral(".desktop</launchable>")));
    EXPECT_TRUE(data.contains(QStringLiteral("<release version=\"" QUELLIX_VERSION "\"")));
    EXPECT_GE(data.count(QStringLiteral("<screenshot")), 2);
    EXPECT_TRUE(data.contains(QStringLiteral("<project_license>GPL-3.0-or-later</project_license>")));
}

TEST_F(Install, IconsInEveryHicolorSize)
{
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QString file = path(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(appId()));
        EXPECT_EQ(pngSize(file), QSize(size, size)) << file.toStdString();
    }
    EXPECT_TRUE(readText(appFile("share/icons/hicolor/scalable/apps/", ".svg")).contains(QStringLiteral("<svg")));
}

TEST_F(Install, UdevRuleLetsTheDeskOpenTheBridge)
{
    const QString file = path(QStringLiteral("lib/udev/rules.d/70-quellix-oximeter.rules"));
    // uaccess only works when the tag is set before 73-seat-late.rules runs.
    EXPECT_LT(QFileInfo(file).fileName().left(2).toInt(), 73);
    QStringList rules;
    for (const QString &line : readText(file).split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty() && !line.trimmed().startsWith(QLatin1Char('#')))
            rules << line.trimmed();
    }
    ASSERT_EQ(rules.size(), 1);
    // Every clause is KEY or KEY{attribute}, an operator and a quoted value.
    static const QRegularExpression clause(
        QStringLiteral("^([A-Z]+)(\\{[A-Za-z_]+\\})?(==|!=|\\+=|-=|:=|=)\"([^\"]*)\"$"));
    QStringList clauses;
    for (const QString &part : rules.first().split(QLatin1Char(','))) {
        const auto m = clause.match(part.trimmed());
        EXPECT_TRUE(m.hasMatch()) << part.toStdString();
        clauses << part.trimmed();
    }
    EXPECT_EQ(clauses, (QStringList{QStringLiteral("SUBSYSTEM==\"tty\""), QStringLiteral("ATTRS{idVendor}==\"10c4\""),
                                    QStringLiteral("ATTRS{idProduct}==\"ea60\""), QStringLiteral("TAG+=\"uaccess\"")}));
}

TEST_F(Install, ManualsInEveryLanguageWithTheirPictures)
{
    static const QRegularExpression image(QStringLiteral("<img[^>]*src=\"([^\"]+)\""));
    static const QRegularExpression comment(QStringLiteral("<!--.*?-->"),
                                            QRegularExpression::DotMatchesEverythingOption);
    for (int language : {1033, 1036, 2052}) {
        const QString name = QStringLiteral("Manual-%1.html").arg(language);
        const QString page = readText(path(QStringLiteral("share/doc/quellix/manual/") + name));
        EXPECT_EQ(page, readText(sourceDir() + QStringLiteral("/resources/manual/") + name)) << language;
        QString content = page;
        content.remove(comment);
        int pictures = 0;
        for (auto it = image.globalMatch(content); it.hasNext(); ++pictures) {
            const QString src = it.next().captured(1);
            EXPECT_FALSE(pngSize(path(QStringLiteral("share/doc/quellix/manual/") + src)).isEmpty())
                << language << " " << src.toStdString();
        }
        EXPECT_GE(pictures, 2) << language;

        // The PDF copy Qt printed at build time holds the same text, pictures included.
        const QString pdf = path(QStringLiteral("share/doc/quellix/manual/Manual-%1.pdf").arg(language));
        const QString pdftotext = tool("pdftotext");
        ASSERT_FALSE(pdftotext.isEmpty()) << "poppler-utils is missing";
        const Result text = run(pdftotext, {pdf, QStringLiteral("-")});
        EXPECT_EQ(text.exitCode, 0) << language;
        // Typeset ligatures ("ff" in "Effacer") come back as one character.
        const QString printed = text.out.normalized(QString::NormalizationForm_KC);
        static const QRegularExpression heading(QStringLiteral("<h2[^>]*>([^<]+)</h2>"));
        for (auto it = heading.globalMatch(content); it.hasNext();) {
            // Folded alike: a full-width colon comes back as ':'.
            const QString title = it.next().captured(1).simplified().normalized(QString::NormalizationForm_KC);
            EXPECT_TRUE(printed.contains(title)) << language << " " << title.toStdString();
        }
        const Result images = run(tool("pdfimages"), {QStringLiteral("-list"), pdf});
        EXPECT_GE(images.out.count(QLatin1Char('\n')) - 2, pictures) << language;
    }
}

namespace
{

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString synopsis(const CliCommand &c)
{
    return c.args.empty() ? fromView(c.name) : fromView(c.name) + QLatin1Char(' ') + fromView(c.args);
}

QStringList optionsOf(const QString &text)
{
    static const QRegularExpression option(QStringLiteral("--[a-z-]+"));
    QStringList options;
    for (auto it = option.globalMatch(text); it.hasNext();)
        options << it.next().captured(0);
    options.removeDuplicates();
    options.sort();
    return options;
}

// The tag lines of the man page's COMMANDS section as plain text.
QStringList manCommandTags(const QString &source)
{
    static const QRegularExpression font(QStringLiteral(R"(\\f[BIRP])"));
    static const QRegularExpression macro(QStringLiteral("^\\.(B|BI|BR|RI|IR) "));
    const QStringList lines = source.split(QLatin1Char('\n'));
    const qsizetype from = lines.indexOf(QStringLiteral(".SH COMMANDS"));
    QStringList tags;
    for (qsizetype i = from + 1; from >= 0 && i + 1 < lines.size() && !lines[i].startsWith(QLatin1String(".SH")); ++i) {
        if (lines[i] != QLatin1String(".TP"))
            continue;
        QString tag = lines[i + 1];
        const bool quotedArgs = macro.match(tag).hasMatch();
        tag.remove(macro).remove(font).replace(QStringLiteral("\\-"), QStringLiteral("-"));
        // ".BI "settings get" " NAME"" alternates quoted words; inline fonts keep their quotes.
        if (quotedArgs)
            tag.remove(QLatin1Char('"'));
        tags << tag.simplified();
    }
    return tags;
}

} // namespace

// --help, the man page and the bash completion name the commands and options
// of the one table in src/cli.
TEST_F(Install, HelpManPageAndCompletionFollowTheCommandTable)
{
    QStringList synopses, names;
    for (const CliCommand &c : kCliCommands) {
        synopses << synopsis(c);
        names << fromView(c.name);
    }
    names.removeDuplicates();

    const Result usage = run(path(QStringLiteral("bin/quellix-cli")), {QStringLiteral("--help")});
    EXPECT_EQ(usage.exitCode, 0);
    for (const QString &line : synopses)
        EXPECT_TRUE(usage.out.contains(QStringLiteral("\n  ") + line)) << line.toStdString();

    // The page is checked in its source: every tag line is one of the table's.
    QStringList tags = manCommandTags(readText(sourceDir() + QStringLiteral("/resources/linux/quellix-cli.1")));
    QStringList expected = synopses;
    tags.sort();
    expected.sort();
    EXPECT_EQ(tags, expected);

    const QString framework = QStringLiteral("/usr/share/bash-completion/bash_completion");
    ASSERT_TRUE(QFileInfo::exists(framework)) << "bash-completion is missing";
    const QString script = path(QStringLiteral("share/bash-completion/completions/quellix-cli"));
    auto complete = [&](const QString &words, int index) {
        const QString program = QStringLiteral("source %1; source %2; COMP_WORDS=(%3); COMP_CWORD=%4; "
                                               "COMP_LINE='%3'; COMP_POINT=${#COMP_LINE}; _quellix_cli; "
                                               "printf '%s\\n' \"${COMPREPLY[@]}\"")
                                    .arg(framework, script, words)
                                    .arg(index);
        QStringList offered =
            run(tool("bash"), {QStringLiteral("-c"), program}).out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        offered.sort();
        return offered;
    };
    QStringList sortedNames = names;
    sortedNames.sort();
    EXPECT_EQ(complete(QStringLiteral("quellix-cli ''"), 1), sortedNames);
    for (const QString &name : names) {
        if (name.startsWith(QLatin1String("--")))
            continue;
        QString args;
        for (const CliCommand &c : kCliCommands)
            if (fromView(c.name) == name)
                args += fromView(c.args) + QLatin1Char(' ');
        EXPECT_EQ(complete(QStringLiteral("quellix-cli %1 --").arg(name), 2), optionsOf(args)) << name.toStdString();
    }
}

TEST_F(Install, ManPagesRenderCleanly)
{
    const QString man = tool("man");
    ASSERT_FALSE(man.isEmpty()) << "man-db is missing";
    for (const char *page : {"quellix", "quellix-cli", "oxisim"}) {
        const QString file = path(QStringLiteral("share/man/man1/%1.1.gz").arg(QLatin1String(page)));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MANWIDTH"), QStringLiteral("100"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        p.setProcessEnvironment(env);
        p.start(man, {QStringLiteral("--warnings"), QStringLiteral("-l"), file});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_EQ(p.exitCode(), 0) << page;
        EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).isEmpty()) << page;
        EXPECT_TRUE(out.contains(QStringLiteral("NAME"))) << page;
        EXPECT_TRUE(out.contains(QStringLiteral(QUELLIX_VERSION))) << page;
    }
}

TEST_F(Install, BashCompletionCompletesValues)
{
    const QString framework = QStringLiteral("/usr/share/bash-completion/bash_completion");
    ASSERT_TRUE(QFileInfo::exists(framework)) << "bash-completion is missing";
    const QString script = path(QStringLiteral("share/bash-completion/completions/quellix-cli"));
    auto complete = [&](const QString &words, int index) {
        const QString program = QStringLiteral("source %1; source %2; COMP_WORDS=(%3); COMP_CWORD=%4; "
                                               "COMP_LINE='%3'; COMP_POINT=${#COMP_LINE}; _quellix_cli; "
                                               "printf '%s\\n' \"${COMPREPLY[@]}\"")
                                    .arg(framework, script, words)
                                    .arg(index);
        return run(tool("bash"), {QStringLiteral("-c"), program}).out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    };
    EXPECT_EQ(complete(QStringLiteral("quellix-cli se"), 1),
              (QStringList{QStringLiteral("settings"), QStringLiteral("set-clock")}));
    EXPECT_EQ(complete(QStringLiteral("quellix-cli delete --type ''"), 3),
              (QStringList{QStringLiteral("all"), QStringLiteral("spo2pr")}));
    EXPECT_TRUE(complete(QStringLiteral("quellix-cli settings get Pr"), 3).contains(QStringLiteral("PrHigh")));
}

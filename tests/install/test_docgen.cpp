// SPDX-License-Identifier: GPL-3.0-or-later
// The manuals and icons the build writes: the same bytes from two builders
// with different settings and locales, and pictures in each manual's language.
#include "InstalledTree.h"

#include <QDirIterator>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <map>

using namespace installed;

namespace
{

// Every file below folder by its path relative to it.
std::map<QString, QByteArray> filesBelow(const QString &folder)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        files[QDir(folder).relativeFilePath(path)] = f.readAll();
    }
    return files;
}

// One build's docgen run into out, with a builder's own settings and locale.
void runDocgen(const QString &out, const QString &configHome, const QString &lang)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("LANG"), lang);
    env.insert(QStringLiteral("SOURCE_DATE_EPOCH"), QStringLiteral("1700000000"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QUELLIX_BINARY_DIR "/tools/docgen/quellix-docgen"),
            {out + QStringLiteral("/manual"), sourceDir() + QStringLiteral("/resources/linux/org.quellix.Quellix.svg"),
             QLatin1String(appId()), out + QStringLiteral("/icons")});
    ASSERT_TRUE(p.waitForFinished(240000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
}

} // namespace

TEST(Docgen, TwoBuildersWriteTheSameBytesWithPicturesInEachLanguage)
{
    QTemporaryDir scratch;
    const QString plain = scratch.path() + QStringLiteral("/plain");
    const QString other = scratch.path() + QStringLiteral("/other");
    // The second builder keeps British units and stricter thresholds, and speaks French.
    const QString settings = scratch.path() + QStringLiteral("/config");
    ASSERT_TRUE(QDir().mkpath(settings + QStringLiteral("/quellix")));
    QFile setup(settings + QStringLiteral("/quellix/setup.conf"));
    ASSERT_TRUE(setup.open(QIODevice::WriteOnly));
    setup.write("[General]\nUnitSetup=1\nSaturationsLow=94\nDesaturationsEvent=2\nLanguage=1036\n");
    setup.close();
    runDocgen(plain, scratch.path() + QStringLiteral("/empty"), QStringLiteral("C.UTF-8"));
    runDocgen(other, settings, QStringLiteral("fr_FR.UTF-8"));

    const auto a = filesBelow(plain);
    const auto b = filesBelow(other);
    ASSERT_EQ(a.size(), b.size());
    for (const auto &[name, bytes] : a) {
        ASSERT_TRUE(b.count(name)) << name.toStdString();
        EXPECT_TRUE(bytes == b.at(name)) << name.toStdString();
    }

    // 2023-11-14 22:13:20 UTC, not the time of writing.
    for (int language : {1033, 1036, 2052}) {
        const QByteArray &pdf = a.at(QStringLiteral("manual/Manual-%1.pdf").arg(language));
        EXPECT_TRUE(pdf.contains("/CreationDate (D:20231114221320Z)")) << language;
    }
    for (const QString &picture : {QStringLiteral("trend.png"), QStringLiteral("analysis.png")}) {
        const QByteArray &english = a.at(QStringLiteral("manual/images/1033/") + picture);
        EXPECT_NE(english, a.at(QStringLiteral("manual/images/1036/") + picture)) << picture.toStdString();
        EXPECT_NE(english, a.at(QStringLiteral("manual/images/2052/") + picture)) << picture.toStdString();
    }
}

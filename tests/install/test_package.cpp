// SPDX-License-Identifier: GPL-3.0-or-later
// The Debian package `make package` builds: made by CPack into a scratch
// folder, unpacked with dpkg -x into a scratch root, and run from there.
#include "InstalledTree.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace installed;

TEST(Package, DebUnpacksIntoAScratchRootAndRuns)
{
    const QString cpack = tool("cpack");
    const QString dpkg = tool("dpkg");
    const QString dpkgDeb = tool("dpkg-deb");
    ASSERT_FALSE(cpack.isEmpty() || dpkg.isEmpty() || dpkgDeb.isEmpty());
    QTemporaryDir scratch;
    const QString out = scratch.path() + QStringLiteral("/out");
    const Result made = run(cpack,
                            {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), out,
                             QStringLiteral("--config"), QStringLiteral(QUELLIX_BINARY_DIR "/CPackConfig.cmake")},
                            200000, QStringLiteral(QUELLIX_BINARY_DIR));
    ASSERT_EQ(made.exitCode, 0) << made.out.toStdString() << made.err.toStdString();
    const QStringList debs = QDir(out).entryList({QStringLiteral("*.deb")}, QDir::Files);
    ASSERT_EQ(debs.size(), 1);
    const QString deb = out + QLatin1Char('/') + debs.first();
    const QString arch = run(dpkg, {QStringLiteral("--print-architecture")}).out.trimmed();
    EXPECT_EQ(debs.first(), QStringLiteral("quellix_" QUELLIX_VERSION "_%1.deb").arg(arch));

    // Library dependencies worked out from the programs, plus what is loaded at run time.
    const Result fields = run(dpkgDeb, {QStringLiteral("-f"), deb, QStringLiteral("Package"), QStringLiteral("Version"),
                                        QStringLiteral("Depends")});
    ASSERT_EQ(fields.exitCode, 0) << fields.err.toStdString();
    EXPECT_TRUE(fields.out.contains(QStringLiteral("Package: quellix\n")));
    EXPECT_TRUE(fields.out.contains(QStringLiteral("Version: " QUELLIX_VERSION "\n")));
    for (const char *dependency : {"libqt6core6", "libqt6widgets6", "libqt6serialport6", "libudev1", "libbluetooth3",
                                   "qt6-qpa-plugins", "libqt6sql6-sqlite", "fonts-liberation2", "hicolor-icon-theme"})
        EXPECT_TRUE(fields.out.contains(QLatin1String(dependency))) << dependency;

    const QString root = scratch.path() + QStringLiteral("/root");
    const Result unpacked = run(dpkg, {QStringLiteral("-x"), deb, root});
    ASSERT_EQ(unpacked.exitCode, 0) << unpacked.err.toStdString();
    for (const QString &file : expectedFiles())
        EXPECT_TRUE(QFileInfo(root + QStringLiteral("/usr/") + file).isFile()) << file.toStdString();
    // Everything lives below /usr, where the desktop, man and udev look.
    QDirIterator top(root, QDir::AllEntries | QDir::NoDotAndDotDot);
    QStringList tops;
    while (top.hasNext())
        tops << QFileInfo(top.next()).fileName();
    EXPECT_EQ(tops, QStringList{QStringLiteral("usr")});

    const Result version = run(root + QStringLiteral("/usr/bin/quellix-cli"), {QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_EQ(version.out.trimmed(), QStringLiteral("quellix-cli " QUELLIX_VERSION));

    // Hardened as Debian builds: full RELRO needs BIND_NOW in every program.
    const QString readelf = tool("readelf");
    ASSERT_FALSE(readelf.isEmpty());
    for (const char *program : {"quellix", "quellix-cli", "oxisim"}) {
        const Result dynamic =
            run(readelf, {QStringLiteral("-d"), root + QStringLiteral("/usr/bin/") + QLatin1String(program)});
        EXPECT_TRUE(dynamic.out.contains(QLatin1String("BIND_NOW"))) << program;
    }

    // Lintian's errors fail the package; its warnings are listed for the reader.
    const QString lintian = tool("lintian");
    ASSERT_FALSE(lintian.isEmpty()) << "lintian is missing (scripts/install-deps.sh test)";
    const Result checked = run(lintian, {QStringLiteral("--fail-on"), QStringLiteral("error"), deb}, 600000);
    EXPECT_EQ(checked.exitCode, 0) << checked.out.toStdString() << checked.err.toStdString();
    for (const QString &line : checked.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        EXPECT_FALSE(line.startsWith(QLatin1String("E: "))) << line.toStdString();
}

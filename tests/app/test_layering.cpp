// SPDX-License-Identifier: GPL-3.0-or-later
// The layers hold by what each target links, but a header-only include from a
// higher layer would still compile into core. These tests read the sources and
// resolve each #include the way the include paths of the build would.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

struct Include {
    QString file;   // the including source, relative to the tree
    QString target; // the header it names, resolved and relative; empty if unresolved
    QString text;   // as written
};

// Every folder some target puts on the include path, in the order a compiler
// of any target could find a header in them.
const QStringList kIncludeRoots{
    QStringLiteral("src/core"),     QStringLiteral("src/gui"),      QStringLiteral("src/sim"), QStringLiteral("src"),
    QStringLiteral("tools/oxisim"), QStringLiteral("tools/docgen"), QStringLiteral(".")};

QString resolve(const QDir &tree, const QString &fromDir, const QString &name)
{
    QStringList dirs{fromDir};
    dirs += kIncludeRoots;
    for (const QString &dir : dirs) {
        const QString path = QDir::cleanPath(dir + QLatin1Char('/') + name);
        if (!path.startsWith(QLatin1String("..")) && QFileInfo(tree.filePath(path)).isFile())
            return path;
    }
    return {};
}

std::vector<Include> includesUnder(const QDir &tree, const QString &folder)
{
    static const QRegularExpression line(QStringLiteral(R"(^\s*#\s*include\s*([<"])([^">]+)[">])"),
                                         QRegularExpression::MultilineOption);
    std::vector<Include> found;
    QDirIterator it(tree.filePath(folder), {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            ADD_FAILURE() << "cannot read " << path.toStdString();
        const QString text = QString::fromUtf8(file.readAll());
        const QString relative = tree.relativeFilePath(path);
        const QString dir = QFileInfo(relative).path();
        auto matches = line.globalMatch(text);
        while (matches.hasNext()) {
            const auto m = matches.next();
            const QString name = m.captured(2).trimmed();
            found.push_back({relative, resolve(tree, dir, name), m.captured(0).trimmed()});
        }
    }
    return found;
}

bool inside(const QString &path, const QString &folder)
{
    return path.startsWith(folder + QLatin1Char('/'));
}

// Core may use only its own headers and outside libraries: a quoted include it
// cannot find in core is a header of some other layer (or of the build tree).
QStringList coreViolations(const QDir &tree)
{
    QStringList out;
    for (const Include &inc : includesUnder(tree, QStringLiteral("src/core"))) {
        const bool quoted = inc.text.contains(QLatin1Char('"'));
        const bool ownHeader = inside(inc.target, QStringLiteral("src/core"));
        if (ownHeader)
            continue;
        if (!inc.target.isEmpty() || quoted)
            out << inc.file + QStringLiteral(": ") + inc.text;
    }
    return out;
}

// Nothing in the program's sources may reach into the tools built beside it.
QStringList toolViolations(const QDir &tree)
{
    QStringList out;
    for (const Include &inc : includesUnder(tree, QStringLiteral("src"))) {
        const QString written = QDir::cleanPath(inc.text.section(QRegularExpression(QStringLiteral("[<\"]")), 1));
        if (inside(inc.target, QStringLiteral("tools")) || written.contains(QLatin1String("tools/")))
            out << inc.file + QStringLiteral(": ") + inc.text;
    }
    return out;
}

QString joined(const QStringList &list)
{
    return list.join(QLatin1Char('\n'));
}

void write(const QDir &tree, const QString &path, const QByteArray &text)
{
    ASSERT_TRUE(tree.mkpath(QFileInfo(path).path()));
    QFile file(tree.filePath(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

TEST(Layering, SourceTreeKeepsCoreBelowEverythingAndToolsOutOfTheProgram)
{
    const QDir tree(QStringLiteral(QUELLIX_SOURCE_DIR));
    ASSERT_TRUE(tree.exists(QStringLiteral("src/core/model/RecordStore.h"))) << QUELLIX_SOURCE_DIR;

    // Guard against a scanner that silently reads nothing.
    const auto core = includesUnder(tree, QStringLiteral("src/core"));
    EXPECT_GT(core.size(), 200u);
    EXPECT_GT(includesUnder(tree, QStringLiteral("src")).size(), core.size());

    EXPECT_TRUE(coreViolations(tree).isEmpty()) << joined(coreViolations(tree)).toStdString();
    EXPECT_TRUE(toolViolations(tree).isEmpty()) << joined(toolViolations(tree)).toStdString();
}

TEST(Layering, CoreTargetLinksNoProjectLayerAboveIt)
{
    const QDir tree(QStringLiteral(QUELLIX_SOURCE_DIR));
    QFile cmake(tree.filePath(QStringLiteral("src/core/CMakeLists.txt")));
    ASSERT_TRUE(cmake.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(cmake.readAll());
    ASSERT_TRUE(text.contains(QLatin1String("target_link_libraries(quellix_core")));
    for (const char *above : {"quellix_gui", "quellix_sim", "quellix_texts", "Qt6::Widgets", "Qt6::Gui"})
        EXPECT_FALSE(text.contains(QLatin1String(above))) << "core links " << above;
}

TEST(Layering, ScannerFindsEachKindOfForbiddenInclude)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir tree(dir.path());
    write(tree, QStringLiteral("src/core/model/Store.h"), "#pragma once\n#include <QString>\n");
    write(tree, QStringLiteral("src/gui/views/TrendView.h"), "#pragma once\n");
    write(tree, QStringLiteral("src/sim/VirtualClock.h"), "#pragma once\n");
    write(tree, QStringLiteral("src/texts/DeviceTexts.h"), "#pragma once\n");
    write(tree, QStringLiteral("tools/oxisim/Options.h"), "#pragma once\n");

    // Allowed: own headers by root and by folder, outside libraries.
    write(tree, QStringLiteral("src/core/model/Store.cpp"),
          "#include \"Store.h\"\n#include \"model/Store.h\"\n#include <vector>\n#include <QFile>\n");
    EXPECT_TRUE(coreViolations(tree).isEmpty()) << joined(coreViolations(tree)).toStdString();
    EXPECT_TRUE(toolViolations(tree).isEmpty());

    write(tree, QStringLiteral("src/core/device/Bad.cpp"),
          "#include \"views/TrendView.h\"\n"
          "  #  include <VirtualClock.h>\n"
          "#include \"texts/DeviceTexts.h\"\n"
          "#include \"../../gui/views/TrendView.h\"\n"
          "#include \"ui_Generated.h\"\n");
    EXPECT_EQ(coreViolations(tree).size(), 5) << joined(coreViolations(tree)).toStdString();

    write(tree, QStringLiteral("src/gui/shell/Uses.cpp"),
          "#include \"Options.h\"\n#include \"tools/oxisim/Options.h\"\n#include \"views/TrendView.h\"\n");
    EXPECT_EQ(toolViolations(tree).size(), 2) << joined(toolViolations(tree)).toStdString();
}

// The libraries list their sources by name, so a file left out of its list is
// not compiled (and its texts not translated) without a word from the build.
TEST(Layering, EverySourceIsListedInItsLibrary)
{
    const QDir tree(QStringLiteral(QUELLIX_SOURCE_DIR));
    int checked = 0;
    for (const char *lib : {"core", "gui", "cli", "sim", "texts"}) {
        const QString folder = QStringLiteral("src/") + QLatin1String(lib);
        QFile cmake(tree.filePath(folder + QStringLiteral("/CMakeLists.txt")));
        ASSERT_TRUE(cmake.open(QIODevice::ReadOnly)) << lib;
        const QStringList listed = QString::fromUtf8(cmake.readAll()).split(QLatin1Char('\n'));
        QDirIterator it(tree.filePath(folder), {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString name = QDir(tree.filePath(folder)).relativeFilePath(it.next());
            EXPECT_TRUE(listed.contains(QStringLiteral("  ") + name))
                << folder.toStdString() << ": " << name.toStdString() << " is not listed";
            ++checked;
        }
    }
    EXPECT_GT(checked, 250);
}

} // namespace

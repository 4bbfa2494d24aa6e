// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TerminalText.h"
#include "model/DatFile.h"
#include "test_env.h"
#include "test_files.h"
#include "test_samples.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace
{

using namespace testfiles;

TEST(CliInfo, ValidFilesPrintTheirSummary)
{
    const CliRun night = cli({QStringLiteral("info"), testenv::dataFile(QStringLiteral("valid-night-id7.dat"))});
    EXPECT_EQ(night.code, 0) << night.err.toStdString();
    EXPECT_EQ(night.out, QString::fromUtf8("id: 7\nreadings: 5\ntitle: Sleep lab \u2013 room 4 \u00e9t\u00e9\n"
                                           "first: 2026/03/14 23:00:00\nlast: 2026/03/14 23:00:04\n"));

    const CliRun empty = cli({QStringLiteral("info"), testenv::dataFile(QStringLiteral("valid-empty.dat"))});
    EXPECT_EQ(empty.code, 0);
    EXPECT_TRUE(empty.out.startsWith(QStringLiteral("id: 0\nreadings: 0\ntitle: \n"))) << empty.out.toStdString();

    for (const char *name : {"valid-narrow-title.dat", "valid-id128-bounds.dat"})
        EXPECT_EQ(cli({QStringLiteral("info"), testenv::dataFile(QLatin1String(name))}).code, 0) << name;
}

TEST(CliInfo, RefusedFilesNameTheCheckAndItsOffset)
{
    const CliRun spo2 = cli({QStringLiteral("info"), testenv::dataFile(QStringLiteral("bad-spo2-101.dat"))});
    EXPECT_EQ(spo2.code, 1);
    EXPECT_TRUE(spo2.out.isEmpty());
    EXPECT_TRUE(spo2.err.startsWith(QStringLiteral("can't open the file\n"))) << spo2.err.toStdString();
    EXPECT_TRUE(spo2.err.contains(QStringLiteral("SpO2 above 100")));
    EXPECT_TRUE(spo2.err.contains(QStringLiteral("byte 34")));

    for (const char *name : {"bad-empty.dat", "bad-header-129.dat", "bad-too-many.dat", "bad-short-by-one.dat",
                             "bad-long-by-one.dat", "bad-reading-id-129.dat", "bad-feb29-2011.dat", "bad-hour-24.dat",
                             "bad-pulse-29.dat", "bad-title-past-end.dat", "no-such-file.dat"}) {
        const CliRun r = cli({QStringLiteral("info"), testenv::dataFile(QLatin1String(name))});
        EXPECT_EQ(r.code, 1) << name;
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("can't open the file\n"))) << name;
        EXPECT_TRUE(r.err.contains(QStringLiteral("(byte "))) << name;
    }
    EXPECT_EQ(cli({QStringLiteral("info")}).code, 2);
}

TEST(TerminalText, ControlsAndTheBackslashAreEscaped)
{
    const struct {
        QString in;
        QString out;
    } cases[] = {
        {QStringLiteral("Ward B \u00e9t\u00e9 \u4f60\u597d"), QStringLiteral("Ward B \u00e9t\u00e9 \u4f60\u597d")},
        {QStringLiteral("a\nb\r\tc"), QStringLiteral("a\\nb\\r\\tc")},
        {QStringLiteral("\x1b[2J\x07\x7f"), QStringLiteral("\\x1b[2J\\x07\\x7f")},
        {QString(QChar(0)) + QChar(0x1f) + QChar(0x20), QStringLiteral("\\x00\\x1f ")},
        {QString(QChar(0x80)) + QChar(0x9b) + QChar(0x9f) + QChar(0xa0), QStringLiteral("\\u0080\\u009b\\u009f\u00a0")},
        {QStringLiteral("C:\\n"), QStringLiteral("C:\\\\n")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(EscapeControls(c.in), c.out) << c.in.toStdString();
}

// A title cannot forge the lines scripts read nor reach the terminal, and a
// year past 2099 is printed whole.
TEST(CliInfo, TitleIsEscapedAndYearsPrintedWhole)
{
    const QString title = QStringLiteral("a\nreadings: 9\x1b]0;t\x07\u009b2J\\") + QChar(0) + QLatin1Char('z');
    std::vector<SampleRecord> samples{testdata::Reading(3, 0), testdata::Reading(3, 1)};
    samples[0].year = 255;
    samples[0].month = 12;
    samples[0].day = 31;
    const QString path = tempPath(QStringLiteral("hostile.dat"));
    ASSERT_TRUE(DatFile::write(path, DatFile::encode(3, samples.data(), 2, title)));
    const CliRun r = cli({QStringLiteral("info"), path});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("id: 3\nreadings: 2\ntitle: a\\nreadings: 9\\x1b]0;t\\x07\\u009b2J\\\\\\x00z\n"
                                    "first: 2255/12/31 22:30:00\nlast: 2026/03/14 22:30:01\n"));
}

TEST(CliSettings, GetGivesDefaultsAndSetStores)
{
    EXPECT_EQ(cli({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("SaturationsHigh")}).out,
              QStringLiteral("94\n"));
    EXPECT_EQ(cli({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("DefaultCOM")}).out,
              QStringLiteral("\n"));

    EXPECT_EQ(
        cli({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("PulseEvent"), QStringLiteral("9")})
            .code,
        0);
    EXPECT_EQ(cli({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("PulseEvent")}).out,
              QStringLiteral("9\n"));
    EXPECT_EQ(cli({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("DefaultCOM"),
                   QStringLiteral("ttyACM0")})
                  .code,
              0);
    EXPECT_EQ(cli({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("DefaultCOM")}).out,
              QStringLiteral("ttyACM0\n"));

    const CliRun unknown = cli({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("Colour")});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("unknown setting")));
    EXPECT_NE(cli({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("DefaultCOM"),
                   QStringLiteral("ttyUSB12345")})
                  .code,
              0);
    EXPECT_EQ(cli({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("DefaultCOM")}).out,
              QStringLiteral("ttyACM0\n"))
        << "a refused value leaves the stored one";
    // The stored text reaches the terminal escaped, like a file's title.
    ASSERT_EQ(cli({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("DefaultCOM"),
                   QStringLiteral("a\x1b]0;x\x07")})
                  .code,
              0);
    EXPECT_EQ(cli({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("DefaultCOM")}).out,
              QStringLiteral("a\\x1b]0;x\\x07\n"));
}

// What the dialogs would never store is refused before it reaches the store,
// whose leading-digits rule made "abc" and "-5" a 0 and "99999999999" 1215752191.
TEST(CliSettings, ValuesOutsideTheDialogsRangesAreRefused)
{
    const struct {
        const char *name;
        const char *value;
        const char *range;
    } refused[] = {
        {"PulseEvent", "abc", "a number from 1 to 20"},
        {"PulseEvent", "-5", "a number from 1 to 20"},
        {"PulseEvent", "9x", "a number from 1 to 20"},
        {"PulseEvent", "99999999999", "a number from 1 to 20"},
        {"DesaturationsEvent", "0", "a number from 1 to 20"},
        {"SaturationsLow", "101", "a number from 40 to 100"},
        {"PrHigh", "14", "a number from 15 to 300"},
        {"UnitSetup", "2", "a number from 0 to 1"},
        {"Language", "1040", "one of 0, 1033, 1036, 2052"},
        {"DefaultCOM", "ttyUSB12345", "text of at most 9 characters"},
    };
    for (const auto &r : refused) {
        const QString name = QLatin1String(r.name);
        const QString before = cli({QStringLiteral("settings"), QStringLiteral("get"), name}).out;
        const CliRun set = cli({QStringLiteral("settings"), QStringLiteral("set"), name, QLatin1String(r.value)});
        EXPECT_EQ(set.code, 2) << r.name << " " << r.value;
        EXPECT_TRUE(set.err.contains(QLatin1String(r.range))) << set.err.toStdString();
        EXPECT_EQ(cli({QStringLiteral("settings"), QStringLiteral("get"), name}).out, before) << r.name;
    }
    for (const char *value : {"1", "20"}) {
        const CliRun set = cli({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("DesaturationsEvent"),
                                QLatin1String(value)});
        EXPECT_EQ(set.code, 0) << value;
        EXPECT_EQ(set.out, QStringLiteral("DesaturationsEvent = %1\n").arg(QLatin1String(value)));
    }
}

TEST(Cli, VersionIsPrinted)
{
    const CliRun v = cli({QStringLiteral("--version")});
    EXPECT_EQ(v.code, 0);
    EXPECT_EQ(v.out, QStringLiteral("quellix-cli " QUELLIX_VERSION "\n"));
}

} // namespace

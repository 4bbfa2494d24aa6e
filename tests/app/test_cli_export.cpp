// SPDX-License-Identifier: GPL-3.0-or-later
// quellix-cli export, run as a program against real files.
#include "app/Settings.h"
#include "model/DatFile.h"
#include "model/PatientStore.h"
#include "test_env.h"
#include "test_files.h"

#include <QFile>
#include <QProcess>

#include "small_fs.h"
#include "test_samples.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace
{

using namespace testfiles;

// A saved recording of count readings of ID 8.
QString savedRecording(const QString &name, int count)
{
    std::vector<SampleRecord> v(std::size_t(count), testdata::Reading(8, 0, 96, 61, 5));
    for (int i = 0; i < count; ++i)
        v[std::size_t(i)].second = std::uint8_t(i % 60);
    const QString path = tempPath(name);
    EXPECT_TRUE(DatFile::write(path, DatFile::encode(8, v.data(), count, QStringLiteral("Ward 3"))));
    return path;
}

TEST(CliExport, EveryFormatInAnyLetterCase)
{
    PatientRecord p;
    p.idNumber = 8;
    PatientRecord::setText(p.name, QStringLiteral("Lea"));
    p.height = 178;
    p.weight = 70;
    p.unitSystem = 1;
    ASSERT_TRUE(StorePatientInfo(7, p));
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("UnitSetup"), QStringLiteral("0")));
    const QString in = savedRecording(QStringLiteral("in.dat"), 3);

    const CliRun text = cli({QStringLiteral("export"), in, tempPath(QStringLiteral("out.TXT"))});
    EXPECT_EQ(text.code, 0) << text.err.toStdString();
    const QByteArray bytes = fileBytes(tempPath(QStringLiteral("out.TXT")));
    EXPECT_TRUE(bytes.startsWith("PatId\tName :\r\n8\tLea\r\n")) << bytes.left(40).toStdString();
    EXPECT_TRUE(bytes.contains("male\t0\t70 in\t154 lb\r\n")) << "stored details in the stored units";
    EXPECT_TRUE(bytes.endsWith("2026/03/14 22:30:02\t\t\t96\t\t61\r\n"));

    const CliRun xls = cli({QStringLiteral("export"), in, tempPath(QStringLiteral("out.Xls"))});
    EXPECT_EQ(xls.code, 0) << xls.err.toStdString();
    EXPECT_TRUE(fileBytes(tempPath(QStringLiteral("out.Xls"))).startsWith("\xD0\xCF\x11\xE0"));

    const CliRun dat = cli({QStringLiteral("export"), in, tempPath(QStringLiteral("copy.DAT"))});
    EXPECT_EQ(dat.code, 0) << dat.err.toStdString();
    EXPECT_EQ(fileBytes(tempPath(QStringLiteral("copy.DAT"))), fileBytes(in));
    EXPECT_EQ(dat.out, QStringLiteral("3 readings -> %1\n").arg(tempPath(QStringLiteral("copy.DAT"))));

    const CliRun csv = cli({QStringLiteral("export"), in, tempPath(QStringLiteral("out.Csv"))});
    EXPECT_EQ(csv.code, 0) << csv.err.toStdString();
    EXPECT_EQ(fileBytes(tempPath(QStringLiteral("out.Csv"))),
              QByteArray("time,spo2,pulse_rate\r\n2026-03-14T22:30:00,96,61\r\n"
                         "2026-03-14T22:30:01,96,61\r\n2026-03-14T22:30:02,96,61\r\n"));

    const CliRun edf = cli({QStringLiteral("export"), in, tempPath(QStringLiteral("out.EDF"))});
    EXPECT_EQ(edf.code, 0) << edf.err.toStdString();
    const QByteArray header = fileBytes(tempPath(QStringLiteral("out.EDF"))).left(256);
    EXPECT_TRUE(header.startsWith("0       ")) << "EDF version field";
    EXPECT_TRUE(header.mid(8, 80).contains("Lea")) << "patient subfields from the stored details";
}

TEST(CliExport, FailuresExitWithOneAndWriteNothing)
{
    const QString in = savedRecording(QStringLiteral("in2.dat"), 2);

    const CliRun odd = cli({QStringLiteral("export"), in, tempPath(QStringLiteral("out.xlsx"))});
    EXPECT_EQ(odd.code, 1);
    EXPECT_TRUE(odd.err.contains(QLatin1String(".dat, .txt, .xls, .csv or .edf"))) << odd.err.toStdString();
    EXPECT_FALSE(QFile::exists(tempPath(QStringLiteral("out.xlsx"))));

    const CliRun bad = cli({QStringLiteral("export"), testenv::dataFile(QStringLiteral("bad-spo2-101.dat")),
                            tempPath(QStringLiteral("bad.txt"))});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.err.startsWith(QLatin1String("can't open the file\n")));
    EXPECT_FALSE(QFile::exists(tempPath(QStringLiteral("bad.txt"))));

    const CliRun nowhere = cli({QStringLiteral("export"), in, QStringLiteral("/proc/quellix.xls")});
    EXPECT_EQ(nowhere.code, 1);
    EXPECT_TRUE(nowhere.err.startsWith(QLatin1String("Can't create the file"))) << nowhere.err.toStdString();

    EXPECT_EQ(cli({QStringLiteral("export"), in}).code, 2) << "usage";
}

TEST(CliInfo, DevicesAreRefusedWithoutReadingThemWhole)
{
    const CliRun zero = cli({QStringLiteral("info"), QStringLiteral("/dev/zero")});
    EXPECT_EQ(zero.code, 1);
    EXPECT_TRUE(zero.err.startsWith(QLatin1String("can't open the file\n"))) << zero.err.toStdString();
    EXPECT_FALSE(zero.err.contains(QLatin1String("bad_alloc")));
}

TEST(CliExport, FullDiskExitsWithOneKeepsTheEarlierFileAndSaysWhy)
{
    testfs::SmallFileSystem disk(QStringLiteral("full"), "size=64k");
    if (!disk.mounted())
        GTEST_SKIP() << "this machine does not let the test mount a small file system";
    const QString in = savedRecording(QStringLiteral("long.dat"), 8000); // 88 kB as .dat, 250 kB as text
    for (const char *name : {"night.txt", "night.dat"}) {
        const QString out = disk.file(name);
        ASSERT_TRUE(testfs::putFile(out, "the earlier export"));
        const CliRun r = cli({QStringLiteral("export"), in, out});
        EXPECT_EQ(r.code, 1) << name;
        EXPECT_TRUE(r.err.startsWith(QLatin1String("Can't create the file"))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromLocal8Bit(std::strerror(ENOSPC)))) << r.err.toStdString();
        EXPECT_EQ(testfs::bytesOf(out), QByteArray("the earlier export")) << name;
        EXPECT_EQ(disk.entries().size(), 1) << name << ": no partial file is left";
        QFile::remove(out);
    }
}

TEST(CliExport, StalePartsAreNamedAndRemovedOnlyWhenAsked)
{
    const QString in = savedRecording(QStringLiteral("short.dat"), 20);
    const QString out = tempPath(QStringLiteral("night.dat"));
    const QString stale = tempPath(QStringLiteral("night-2.dat"));
    const QString unrelated = tempPath(QStringLiteral("night-3.dat"));
    // An earlier two-part save of night.dat, and a file that only shares the name.
    const auto saveEarlier = [&] {
        std::vector<SampleRecord> v(std::size_t(259200 + 5), testdata::Reading(8, 0));
        for (std::size_t i = 0; i < v.size(); ++i) {
            v[i].hour = std::uint8_t(i / 3600 % 24);
            v[i].minute = std::uint8_t(i / 60 % 60);
            v[i].second = std::uint8_t(i % 60);
            v[i].day = std::uint8_t(1 + i / 86400);
        }
        ASSERT_TRUE(DatFile::writeRecording(out, 8, v.data(), int(v.size()), QStringLiteral("Ward 3")).ok);
    };
    saveEarlier();
    writeBytes(unrelated, fileBytes(in));

    const CliRun kept = cli({QStringLiteral("export"), in, out});
    EXPECT_EQ(kept.code, 0) << kept.err.toStdString();
    EXPECT_TRUE(kept.err.contains(stale)) << kept.err.toStdString();
    EXPECT_TRUE(kept.err.contains(QLatin1String("--remove-stale-parts")));
    EXPECT_FALSE(kept.err.contains(unrelated));
    EXPECT_TRUE(QFile::exists(stale));

    saveEarlier();
    const CliRun removed = cli({QStringLiteral("export"), in, out, QStringLiteral("--remove-stale-parts")});
    EXPECT_EQ(removed.code, 0) << removed.err.toStdString();
    EXPECT_TRUE(removed.err.contains(stale)) << removed.err.toStdString();
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_EQ(fileBytes(unrelated), fileBytes(in)) << "a file that only shares the name stays";
    EXPECT_EQ(fileBytes(out), fileBytes(in));
    EXPECT_EQ(cli({QStringLiteral("export"), in, QStringLiteral("--remove-stale-parts")}).code, 2);
}

TEST(CliExport, FullFileStaysOneFile)
{
    const QString in = savedRecording(QStringLiteral("full.dat"), 259200);
    const CliRun r = cli({QStringLiteral("export"), in, tempPath(QStringLiteral("full-copy.dat"))});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(tempPath(QStringLiteral("full-copy-2.dat"))));
    EXPECT_EQ(fileBytes(tempPath(QStringLiteral("full-copy.dat"))), fileBytes(in));
}

} // namespace

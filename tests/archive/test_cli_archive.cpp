// SPDX-License-Identifier: GPL-3.0-or-later
// quellix-cli archive, run as a program against a real archive file.
#include "archive/SqliteArchive.h"
#include "archive_samples.h"
#include "model/DatFile.h"
#include "test_files.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace
{

using namespace testfiles;
using archivetest::night;

const QString kArchive = QStringLiteral("archive");

QString datFile(const QString &name, const std::vector<SampleRecord> &readings)
{
    const QString path = tempPath(name);
    EXPECT_TRUE(DatFile::write(
        path, DatFile::encode(readings.front().id, readings.data(), int(readings.size()), QStringLiteral("Ward 3"))));
    return path;
}

QJsonArray listJson(const QStringList &extra = {})
{
    const CliRun r = cli(QStringList{kArchive, QStringLiteral("list"), QStringLiteral("--json")} + extra);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    return QJsonDocument::fromJson(r.out.toUtf8()).array();
}

void rawSql(const QString &statement)
{
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        d.setDatabaseName(SqliteArchive::defaultPath());
        ASSERT_TRUE(d.open());
        QSqlQuery q(d);
        ASSERT_TRUE(q.exec(statement)) << statement.toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

// Each test starts without an archive, also when the tests share one process.
void removeArchive()
{
    const QDir folder = QFileInfo(SqliteArchive::defaultPath()).dir();
    for (const QString &f : folder.entryList({QStringLiteral("archive.sqlite*")}, QDir::Files))
        QFile::remove(folder.filePath(f));
}

TEST(CliArchive, ImportListExportRemove)
{
    removeArchive();
    // Two nights of ID 8 (an hour apart) in one file, one night of ID 9 in another.
    std::vector<SampleRecord> twoNights = night(8, 0, 500);
    const std::vector<SampleRecord> later = night(8, 500 + 3600, 300);
    twoNights.insert(twoNights.end(), later.begin(), later.end());
    const QString a = datFile(QStringLiteral("a.dat"), twoNights);
    const QString b = datFile(QStringLiteral("b.dat"), night(9, 86400, 400));

    CliRun r = cli({kArchive, QStringLiteral("import"), a, b});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith(QLatin1String("\n3 nights archived, 0 already in the archive.\n")))
        << r.out.toStdString();
    r = cli({kArchive, QStringLiteral("import"), b});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, b + QStringLiteral(": 0 nights archived, 1 already in the archive.\n"));

    const QJsonArray nights = listJson();
    ASSERT_EQ(nights.size(), 3);
    const QJsonObject third = nights[2].toObject();
    EXPECT_EQ(third[QLatin1String("id")].toInt(), 9);
    EXPECT_EQ(third[QLatin1String("start")].toString(), QStringLiteral("2026-03-15 22:00:00"));
    EXPECT_EQ(third[QLatin1String("readings")].toInt(), 400);
    EXPECT_EQ(third[QLatin1String("patient")].toString(), QStringLiteral("ID 9 (no name)"));
    EXPECT_EQ(third[QLatin1String("source")].toString(), QStringLiteral("import"));
    for (const char *key : {"night", "end", "validSeconds", "odi3", "odi4", "t90Percent", "nadir", "pulseMean",
                            "coverage", "hypoxicBurden", "shortRecording"})
        EXPECT_TRUE(third.contains(QLatin1String(key))) << key;
    EXPECT_EQ(listJson({QStringLiteral("--from"), QStringLiteral("2026-03-15")}).size(), 1);
    EXPECT_EQ(listJson({QStringLiteral("--patient"), QStringLiteral("8")}).size(), 2);

    // A night exported is the file Save Data writes for the same readings.
    const QString number = QString::number(third[QLatin1String("night")].toInteger());
    for (const char *ext : {"dat", "csv", "txt"}) {
        const QString fromArchive = tempPath(QStringLiteral("night.") + QLatin1String(ext));
        const QString fromFile = tempPath(QStringLiteral("file.") + QLatin1String(ext));
        r = cli({kArchive, QStringLiteral("export"), number, fromArchive});
        EXPECT_EQ(r.code, 0) << ext << r.err.toStdString();
        EXPECT_EQ(cli({QStringLiteral("export"), b, fromFile}).code, 0);
        EXPECT_EQ(fileBytes(fromArchive), fileBytes(fromFile)) << ext;
    }
    EXPECT_EQ(fileBytes(tempPath(QStringLiteral("night.dat"))), fileBytes(b));
    // Exported and imported again, it is found present.
    r = cli({kArchive, QStringLiteral("import"), tempPath(QStringLiteral("night.dat"))});
    EXPECT_TRUE(r.out.endsWith(QLatin1String(": 0 nights archived, 1 already in the archive.\n")));

    EXPECT_EQ(cli({kArchive, QStringLiteral("remove"), number}).code, 0);
    r = cli({kArchive, QStringLiteral("remove"), number});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QLatin1String("no night"))) << r.err.toStdString();
    r = cli({kArchive, QStringLiteral("export"), number, tempPath(QStringLiteral("gone.dat"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(QFile::exists(tempPath(QStringLiteral("gone.dat"))));
    EXPECT_EQ(listJson().size(), 2);

    // --archive uses another file; the default one is not touched.
    const QString other = tempPath(QStringLiteral("other.sqlite"));
    r = cli({kArchive, QStringLiteral("--archive"), other, QStringLiteral("import"), b});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_EQ(listJson().size(), 2);
    EXPECT_EQ(cli({kArchive, QStringLiteral("check")}).code, 0);

    // Figures an older program computed are computed again before they are listed.
    const QJsonArray current = listJson();
    rawSql(QStringLiteral("UPDATE night SET summary_version = 0, odi4 = -1"));
    EXPECT_EQ(listJson(), current);
}

TEST(CliArchive, RefusesBadArgumentsAndFilesWithTheirExitCodes)
{
    removeArchive();
    const QString bad = tempPath(QStringLiteral("bad.dat"));
    writeBytes(bad, QByteArray("\x07\x01\x00\x00\x00", 5));
    const QString good = datFile(QStringLiteral("good.dat"), night(3, 0, 10));
    const struct {
        QStringList args;
        int code;
        const char *says;
    } cases[] = {
        {{}, 2, "usage"},
        {{QStringLiteral("frobnicate")}, 2, "usage"},
        {{QStringLiteral("list"), QStringLiteral("--from"), QStringLiteral("14.3.2026")}, 2, "YYYY-MM-DD"},
        {{QStringLiteral("export"), QStringLiteral("x"), tempPath(QStringLiteral("o.dat"))}, 2, "not a night number"},
        {{QStringLiteral("import"), bad, good}, 1, "1 of 2 files not archived"},
        {{QStringLiteral("export"), QStringLiteral("1"), tempPath(QStringLiteral("o.xlsx"))}, 1, ".csv or .edf"},
        {{QStringLiteral("backup"), good}, 1, "exists already"},
        {{QStringLiteral("restore"), good}, 1, "nothing was changed"},
    };
    for (const auto &c : cases) {
        const CliRun r = cli(QStringList{kArchive} + c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.says))) << r.err.toStdString();
    }
    EXPECT_EQ(listJson().size(), 1) << "the good file of the failed import is archived";

    // A newer program's archive is named as such, with what to do, and left as it is.
    rawSql(QStringLiteral("UPDATE schema_version SET version = %1").arg(SqlArchive::kSchemaVersion + 1));
    const CliRun newer = cli({kArchive, QStringLiteral("list")});
    EXPECT_EQ(newer.code, 1);
    for (const char *says : {"made by a newer Quellix", "left unchanged", "--archive FILE"})
        EXPECT_TRUE(newer.err.contains(QLatin1String(says))) << newer.err.toStdString();
    rawSql(QStringLiteral("UPDATE schema_version SET version = %1").arg(SqlArchive::kSchemaVersion));
}

TEST(CliArchive, CheckFindsEveryDamagedNight)
{
    removeArchive();
    const QString a = datFile(QStringLiteral("a.dat"), night(1, 0, 100));
    const QString b = datFile(QStringLiteral("b.dat"), night(2, 0, 100));
    const QString c = datFile(QStringLiteral("c.dat"), night(3, 0, 100));
    ASSERT_EQ(cli({kArchive, QStringLiteral("import"), a, b, c}).code, 0);
    EXPECT_EQ(cli({kArchive, QStringLiteral("check")}).code, 0);

    rawSql(QStringLiteral("UPDATE night_readings SET readings = X'00000010789C' WHERE night = 1"));
    rawSql(QStringLiteral("UPDATE night SET readings_sha256 = X'00' WHERE night = 3"));
    const CliRun r = cli({kArchive, QStringLiteral("check")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, QStringLiteral("night 1: its readings do not decode\n"
                                    "night 3: its readings do not match their SHA-256\n"));
}

TEST(CliArchive, KilledImportKeepsEveryCommittedNight)
{
    removeArchive();
    QStringList files;
    for (int i = 0; i < 150; ++i)
        files << datFile(QStringLiteral("n%1.dat").arg(i), night(1 + i % 100, 0, 7200, i));
    QProcess p;
    p.start(QStringLiteral(QUELLIX_BINARY_DIR "/quellix-cli"), QStringList{kArchive, QStringLiteral("import")} + files);
    QByteArray seen;
    while (seen.count('\n') < 3 && p.waitForReadyRead(60000))
        seen += p.readAllStandardOutput();
    p.kill(); // SIGKILL: no chance to finish the file in hand
    p.waitForFinished();
    seen += p.readAllStandardOutput();
    ASSERT_EQ(p.exitStatus(), QProcess::CrashExit) << "the import ended before it was killed";
    const int reported = int(seen.count('\n'));

    const CliRun check = cli({kArchive, QStringLiteral("check")});
    EXPECT_EQ(check.code, 0) << check.out.toStdString();
    const QJsonArray nights = listJson();
    // Every file reported was committed; the one in hand may or may not be.
    EXPECT_GE(nights.size(), reported);
    EXPECT_LE(nights.size(), reported + 1);
    for (int i = 0; i < nights.size(); ++i)
        EXPECT_EQ(nights[i].toObject()[QLatin1String("readings")].toInt(), 7200);
}

} // namespace

namespace
{

TEST(CliArchive, TwoProgramsImportAtTheSameTime)
{
    removeArchive();
    std::vector<std::unique_ptr<QProcess>> runs;
    for (int program = 0; program < 2; ++program) {
        QStringList args{kArchive, QStringLiteral("import")};
        for (int i = 0; i < 20; ++i)
            args << datFile(QStringLiteral("p%1-%2.dat").arg(program).arg(i),
                            night(1 + program, i * 4000, 3600, program));
        runs.push_back(std::make_unique<QProcess>());
        runs.back()->start(QStringLiteral(QUELLIX_BINARY_DIR "/quellix-cli"), args);
    }
    for (const auto &p : runs) {
        ASSERT_TRUE(p->waitForFinished(60000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    EXPECT_EQ(listJson().size(), 40) << "neither gave up on the other's lock";
    EXPECT_EQ(cli({kArchive, QStringLiteral("check")}).code, 0);
}

} // namespace

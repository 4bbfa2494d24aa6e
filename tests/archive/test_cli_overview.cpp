// SPDX-License-Identifier: GPL-3.0-or-later
// quellix-cli overview, run as a program against an archive the test fills.
#include "archive/SqliteArchive.h"
#include "archive_samples.h"
#include "test_files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace
{

using namespace testfiles;
using archivetest::night;

constexpr int kDay = 86400;
constexpr int kFull = 7 * 3600; // over 4 hours valid: not short

NightInput input(int id, const char *name, int startSecond, int count, int shift)
{
    NightInput n;
    n.readings = night(id, startSecond, count, shift);
    n.patient.idNumber = std::uint8_t(id);
    PatientRecord::setText(n.patient.name, QString::fromUtf8(name));
    return n;
}

// Ann Lee (ID 2): 03-14, 03-15 (started 01:30 on 03-16), a short night on 03-17.
// Bo, Li (ID 5): one night on 03-15.
QString fillArchive()
{
    const QString path = tempPath(QStringLiteral("overview.sqlite"));
    QFile::remove(path);
    ArchiveResult<SqliteArchive::Opened> o = SqliteArchive::open(path);
    EXPECT_TRUE(o) << o.detail().toStdString();
    const std::vector<NightInput> nights = {
        input(2, "Ann Lee", 0, kFull, 0),
        input(2, "Ann Lee", kDay + 3 * 3600 + 1800, kFull + 600, 3),
        input(2, "Ann Lee", 3 * kDay, 3600, 5),
        input(5, "Bo, Li", kDay, kFull, 1),
    };
    EXPECT_EQ(o.value().archive->store(nights).value().added, 4);
    return path;
}

QJsonObject runJson(const QString &archive, const QStringList &extra)
{
    const CliRun r =
        cli(QStringList{QStringLiteral("overview"), QStringLiteral("--archive"), archive, QStringLiteral("--json")} +
            extra);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    return QJsonDocument::fromJson(r.out.toUtf8()).object();
}

TEST(CliOverview, JsonGivesTheNightsAndTheirStatistics)
{
    const QString archive = fillArchive();
    const QJsonObject o = runJson(archive, {QStringLiteral("--patient"), QStringLiteral("ann")});
    EXPECT_EQ(o[QLatin1String("patient")].toString(), QStringLiteral("Ann Lee (ID 2)"));
    const QJsonArray nights = o[QLatin1String("nights")].toArray();
    ASSERT_EQ(nights.size(), 3);
    QStringList dates;
    for (const QJsonValue &n : nights)
        dates << n[QLatin1String("date")].toString();
    EXPECT_EQ(dates,
              (QStringList{QStringLiteral("2026-03-14"), QStringLiteral("2026-03-15"), QStringLiteral("2026-03-17")}));

    // Each night is the row `archive list --json` gives, with its date.
    const CliRun listed = cli({QStringLiteral("archive"), QStringLiteral("--archive"), archive, QStringLiteral("list"),
                               QStringLiteral("--patient"), QStringLiteral("2"), QStringLiteral("--json")});
    const QJsonArray rows = QJsonDocument::fromJson(listed.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QJsonObject n = nights[i].toObject();
        n.remove(QStringLiteral("date"));
        EXPECT_EQ(n, rows[i].toObject()) << i;
    }
    const QJsonObject a = rows[0].toObject();
    const QJsonObject b = rows[1].toObject();
    ASSERT_FALSE(a[QLatin1String("shortRecording")].toBool());
    ASSERT_FALSE(b[QLatin1String("shortRecording")].toBool());
    ASSERT_TRUE(rows[2][QLatin1String("shortRecording")].toBool());

    const QJsonArray table = o[QLatin1String("statistics")].toArray();
    ASSERT_EQ(table.size(), 6);
    const QJsonObject recent = table[0].toObject();
    EXPECT_EQ(recent[QLatin1String("column")].toString(), QStringLiteral("mostRecent"));
    EXPECT_TRUE(recent[QLatin1String("shortRecording")].toBool());
    EXPECT_EQ(recent[QLatin1String("odi3")].toDouble(), rows[2][QLatin1String("odi3")].toDouble());
    const QJsonObject period = table[5].toObject();
    EXPECT_EQ(period[QLatin1String("column")].toString(), QStringLiteral("period"));
    EXPECT_EQ(period[QLatin1String("nights")].toInt(), 2);
    EXPECT_EQ(period[QLatin1String("leftOut")].toInt(), 1);
    for (const char *key :
         {"odi3", "odi4", "t90Percent", "meanSpo2", "pulseMean", "validSeconds", "hypoxicBurden", "coverage"})
        EXPECT_NEAR(period[QLatin1String(key)].toDouble(),
                    (a[QLatin1String(key)].toDouble() + b[QLatin1String(key)].toDouble()) / 2, 1e-9)
            << key;
    EXPECT_EQ(period[QLatin1String("nadir")].toInt(),
              std::min(a[QLatin1String("nadir")].toInt(), b[QLatin1String("nadir")].toInt()));

    // The period bounds the nights' dates: 03-15's night started on 03-16.
    const QJsonObject one =
        runJson(archive, {QStringLiteral("--patient"), QStringLiteral("2"), QStringLiteral("--from"),
                          QStringLiteral("2026-03-15"), QStringLiteral("--to"), QStringLiteral("2026-03-15")});
    ASSERT_EQ(one[QLatin1String("nights")].toArray().size(), 1);
    EXPECT_EQ(one[QLatin1String("nights")][0][QLatin1String("night")], b[QLatin1String("night")]);
}

TEST(CliOverview, CsvHoldsTheSameNightsAndStatistics)
{
    const QString archive = fillArchive();
    const QStringList args = {QStringLiteral("overview"), QStringLiteral("--archive"), archive,
                              QStringLiteral("--patient"), QStringLiteral("2")};
    const CliRun r = cli(args + QStringList{QStringLiteral("--csv")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonObject json = runJson(archive, {QStringLiteral("--patient"), QStringLiteral("2")});
    const QStringList sections = r.out.split(QStringLiteral("\n\n"));
    ASSERT_EQ(sections.size(), 2) << r.out.toStdString();

    const QStringList nightLines = sections[0].split(QLatin1Char('\n'));
    ASSERT_EQ(nightLines.size(), 4);
    const QStringList keys = nightLines[0].split(QLatin1Char(','));
    const QJsonObject first = json[QLatin1String("nights")][0].toObject();
    QStringList sortedKeys = keys;
    sortedKeys.sort();
    EXPECT_EQ(sortedKeys, first.keys()); // QJsonObject's keys come sorted
    const QStringList cells = nightLines[1].split(QLatin1Char(','));
    ASSERT_EQ(cells.size(), keys.size());
    for (const char *key : {"date", "night", "nadir", "patient", "shortRecording"})
        EXPECT_EQ(cells[keys.indexOf(QLatin1String(key))], first[QLatin1String(key)].toVariant().toString()) << key;

    const QStringList statLines = sections[1].trimmed().split(QLatin1Char('\n'));
    ASSERT_EQ(statLines.size(), 7);
    const QStringList statKeys = statLines[0].split(QLatin1Char(','));
    const QStringList period = statLines[6].split(QLatin1Char(','));
    ASSERT_EQ(period.size(), statKeys.size());
    const QJsonObject periodJson = json[QLatin1String("statistics")][5].toObject();
    for (const char *key : {"nights", "leftOut", "odi3", "validSeconds", "nadir", "pulseMax"})
        EXPECT_NEAR(period[statKeys.indexOf(QLatin1String(key))].toDouble(),
                    periodJson[QLatin1String(key)].toVariant().toDouble(), 1e-6)
            << key;
    EXPECT_EQ(period[0], QStringLiteral("period"));
}

TEST(CliOverview, RefusesMoreThanOnePatientAndNamesThem)
{
    const QString archive = fillArchive();
    const struct {
        QStringList extra;
        int code;
    } cases[] = {{{}, 2},
                 {{QStringLiteral("--patient"), QStringLiteral("l")}, 2},
                 {{QStringLiteral("--patient"), QStringLiteral("nobody")}, 1}};
    for (const auto &c : cases) {
        const CliRun r = cli(QStringList{QStringLiteral("overview"), QStringLiteral("--archive"), archive} + c.extra);
        EXPECT_EQ(r.code, c.code) << c.extra.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        if (c.code == 2) {
            EXPECT_TRUE(r.err.contains(QStringLiteral("  Ann Lee (ID 2)\n"))) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(QStringLiteral("  Bo, Li (ID 5)\n"))) << r.err.toStdString();
        }
    }
}

TEST(CliOverview, PrintsThePageIntoAPdf)
{
    const QString archive = fillArchive();
    const QString pdf = tempPath(QStringLiteral("overview.pdf"));
    const CliRun r = cli({QStringLiteral("overview"), QStringLiteral("--archive"), archive, QStringLiteral("--patient"),
                          QStringLiteral("5"), pdf});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("1 nights -> %1\n").arg(pdf));
    EXPECT_TRUE(fileBytes(pdf).startsWith("%PDF-"));
}

} // namespace

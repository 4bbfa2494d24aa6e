// SPDX-License-Identifier: GPL-3.0-or-later
// `quellix-cli report`: PDF pages from a saved recording without a window or a
// display, compared with what the views paint and print.
#include "views/AnalysisView.h"
#include "views/ReportPdf.h"
#include "views/TableView.h"
#include "views/TrendView.h"

#include "analysis/RunAnalysis.h"
#include "app/Settings.h"
#include "clinical/ClinicalSummary.h"
#include "model/DatFile.h"
#include "model/PatientStore.h"

#include "PdfTestTools.h"
#include "ViewTestData.h"
#include "cli_run.h"
#include "small_fs.h"
#include "test_env.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSettings>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <unistd.h>

using clitest::CliRun;
using pdftest::MeanDifference;
using pdftest::PdfInfo;
using pdftest::PdfPages;
using pdftest::PdfText;
using pdftest::Rasterise;

namespace
{

// As a user would run it without a display: no platform named.
CliRun Cli(const QStringList &args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return clitest::RunCli(args, env);
}

QString Path(const QString &name)
{
    return testenv::root() + QLatin1Char('/') + name;
}

// A saved night of ID 3 with stored patient details; each trend page at its own level.
QString SaveNight(RecordStore &store, int count)
{
    viewtest::FillRecording(
        store, count, [](int i) { return 60 + (i / 840) % 4 * 10; }, [](int) { return 70; });
    for (SampleRecord &s : store.currentSamples)
        s.id = 3;
    store.reportTitle = QStringLiteral("Clinic batch");
    PatientRecord patient;
    patient.idNumber = 3;
    PatientRecord::setText(patient.name, QStringLiteral("Ann Lee"));
    patient.age = 61;
    EXPECT_TRUE(StorePatientInfo(2, patient));
    store.currentPatient = patient;
    const QString path = Path(QStringLiteral("night.dat"));
    EXPECT_TRUE(DatFile::write(path, DatFile::encode(3, store.currentSamples.data(), count, store.reportTitle)));
    return path;
}

QImage Picture(DataView &view, int page)
{
    QImage image(view.size(), QImage::Format_RGB32);
    QPainter p(&image);
    view.renderPage(p, view.size(), page);
    return image.scaled(1092, 764, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool NoPartialFilesIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.part")}, QDir::Files).isEmpty();
}

} // namespace

TEST(CliReport, TrendPagesAreThePrintedPagesWithStoredPatientDetails)
{
    RecordStore store;
    const QString dat = SaveNight(store, 3000);
    const QString pdf = Path(QStringLiteral("trend.pdf"));
    const CliRun r = Cli({QStringLiteral("report"), dat, QStringLiteral("--mode"), QStringLiteral("trend"), pdf});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();

    // The default view is the printed picture's 1092 x 764.
    TrendView view(store);
    view.resize(defaultReportViewSize());
    ASSERT_EQ(view.size(), QSize(1092, 764));
    const int pages = view.pageCount();
    ASSERT_GE(pages, 3);
    EXPECT_EQ(r.out, QStringLiteral("%1: %2 pages\n").arg(pdf).arg(pages));
    EXPECT_EQ(PdfPages(pdf), pages);
    EXPECT_TRUE(PdfInfo(pdf).contains(QLatin1String("842 x 595 pts (A4)")));
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();

    const QString text = PdfText(pdf, 1);
    EXPECT_TRUE(text.contains(QLatin1String("Ann Lee"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("Clinic batch")));
    EXPECT_TRUE(text.contains(QLatin1String("61")));

    // Page 2 is the view's page 2: its picture, and the first time on its axis.
    const QImage printed = Rasterise(pdf, 2).copy(0, 0, 1092, 764);
    EXPECT_LT(MeanDifference(printed, Picture(view, 1)), 6.0);
    const QString secondStart = viewtest::TimeOf(store, view.samplesPerPage() + 60);
    EXPECT_TRUE(PdfText(pdf, 2).contains(secondStart)) << secondStart.toStdString();
    EXPECT_FALSE(PdfText(pdf, 1).contains(secondStart));
    EXPECT_TRUE(NoPartialFilesIn(testenv::root()));
}

TEST(CliReport, TablePagesFollowTheViewSizeAndTheStoredLanguage)
{
    RecordStore store;
    const QString dat = SaveNight(store, 700);
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("Language"), QStringLiteral("1036")));
    const QString pdf = Path(QStringLiteral("table.pdf"));
    const CliRun r = Cli({QStringLiteral("report"), QStringLiteral("--size"), QStringLiteral("900x600"), dat,
                          QStringLiteral("--mode"), QStringLiteral("table"), pdf});
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("Language"), QStringLiteral("1033")));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();

    TableView view(store);
    view.resize(900, 600);
    const int pages = view.pageCount();
    ASSERT_GE(pages, 2);
    EXPECT_EQ(PdfPages(pdf), pages);
    EXPECT_TRUE(PdfText(pdf, 1).contains(QString::fromUtf8("Données patient"))) << PdfText(pdf, 1).toStdString();
    // A smaller view holds fewer rows: more pages.
    const CliRun small = Cli({QStringLiteral("report"), dat, QStringLiteral("--mode"), QStringLiteral("table"), pdf,
                              QStringLiteral("--size"), QStringLiteral("900x400")});
    ASSERT_EQ(small.code, 0) << small.err.toStdString();
    EXPECT_GT(PdfPages(pdf), pages);
}

TEST(CliReport, AnalysisIsOnePrintedPageWithTheStoredSettings)
{
    QSettings("quellix", "setup").clear();
    RecordStore store;
    const QString dat = SaveNight(store, 3000);
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("DesaturationsEvent"), QStringLiteral("7")));
    ASSERT_TRUE(WriteSetupValue(QStringLiteral("SaturationsLow"), QStringLiteral("75")));
    const QString pdf = Path(QStringLiteral("analysis.pdf"));
    const CliRun r = Cli({QStringLiteral("report"), dat, QStringLiteral("--mode"), QStringLiteral("analysis"), pdf});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("%1: 1 page\n").arg(pdf));
    EXPECT_EQ(PdfPages(pdf), 1);

    // The page the window paints with the same stored settings.
    AnalysisResults results;
    RecordingStatistics statistics;
    RunAnalysis(store.currentSamples.data(), 3000, Settings().analysis(), results, statistics);
    ASSERT_EQ(results.saturationsLow, 75);
    const ClinicalSummary clinical = computeClinicalSummary(store.currentSamples.data(), 3000);
    AnalysisView view(store, results, statistics, &clinical);
    view.resize(defaultReportViewSize());
    const QImage printed = Rasterise(pdf, 1).copy(0, 0, 1092, 764);
    EXPECT_LT(MeanDifference(printed, Picture(view, 0)), 6.0);

    const QString text = PdfText(pdf, 1);
    EXPECT_TRUE(text.contains(QLatin1String("Ann Lee"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("SpO2 < 75"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("at least 7%"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("Nadir SpO2: 60%"))) << text.toStdString();
    QSettings("quellix", "setup").clear();

    // Any allowed view size still gives the one page.
    const CliRun small = Cli({QStringLiteral("report"), dat, QStringLiteral("--mode"), QStringLiteral("analysis"), pdf,
                              QStringLiteral("--size"), QStringLiteral("400x300")});
    ASSERT_EQ(small.code, 0) << small.err.toStdString();
    EXPECT_EQ(PdfPages(pdf), 1);
    EXPECT_TRUE(NoPartialFilesIn(testenv::root()));
}

TEST(CliReport, RefusalsSayWhyAndLeaveAnExistingReport)
{
    RecordStore store;
    const QString dat = SaveNight(store, 100);
    const QString pdf = Path(QStringLiteral("kept.pdf"));
    QFile keep(pdf);
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("an earlier report");
    keep.close();
    auto report = [&](const QStringList &extra) { return Cli(QStringList{QStringLiteral("report")} + extra); };

    // Nothing to analyse: refused, not an empty page.
    const CliRun analysis = report({testenv::dataFile(QStringLiteral("valid-empty.dat")), QStringLiteral("--mode"),
                                    QStringLiteral("analysis"), pdf});
    EXPECT_EQ(analysis.code, 1);
    EXPECT_TRUE(analysis.err.contains(QLatin1String("no reading to analyse"))) << analysis.err.toStdString();

    for (const char *size : {"10x10", "399x600", "900x299", "10001x600", "900", "ax600", "-900x600", "900x600x1"}) {
        const CliRun r = report({dat, QStringLiteral("--mode"), QStringLiteral("trend"), pdf, QStringLiteral("--size"),
                                 QLatin1String(size)});
        EXPECT_EQ(r.code, 2) << size;
        EXPECT_TRUE(r.err.contains(QLatin1String("--size"))) << size;
    }
    EXPECT_EQ(report({dat, QStringLiteral("--mode"), QStringLiteral("graph"), pdf}).code, 2);
    EXPECT_EQ(report({dat, pdf}).code, 2);
    EXPECT_EQ(report({dat, QStringLiteral("--mode"), QStringLiteral("trend")}).code, 2);
    EXPECT_EQ(report({dat, QStringLiteral("--mode"), QStringLiteral("trend"), pdf, QStringLiteral("--colour")}).code,
              2);

    const CliRun bad = report({testenv::dataFile(QStringLiteral("bad-spo2-101.dat")), QStringLiteral("--mode"),
                               QStringLiteral("trend"), pdf});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.err.startsWith(QLatin1String("can't open the file\n"))) << bad.err.toStdString();

    const CliRun nowhere =
        report({dat, QStringLiteral("--mode"), QStringLiteral("trend"), Path(QStringLiteral("no/such/folder/r.pdf"))});
    EXPECT_EQ(nowhere.code, 1);
    EXPECT_TRUE(nowhere.err.startsWith(QLatin1String("report: "))) << nowhere.err.toStdString();

    ASSERT_TRUE(keep.open(QIODevice::ReadOnly));
    EXPECT_EQ(keep.readAll(), QByteArray("an earlier report"));
    EXPECT_TRUE(NoPartialFilesIn(testenv::root()));
}

TEST(CliReport, OutputThatIsTheInputOrNoPdfIsRefused)
{
    RecordStore store;
    const QString dat = SaveNight(store, 100);
    const QByteArray before = testfs::bytesOf(dat);
    const QString symlink = Path(QStringLiteral("symlink.pdf"));
    const QString hardLink = Path(QStringLiteral("hardlink.pdf"));
    ASSERT_TRUE(QFile::link(dat, symlink));
    ASSERT_EQ(::link(QFile::encodeName(dat).constData(), QFile::encodeName(hardLink).constData()), 0);
    const QString sameByDots = Path(QStringLiteral("sub/../night.dat"));
    QDir().mkpath(Path(QStringLiteral("sub")));
    for (const QString &out :
         {dat, sameByDots, symlink, hardLink, Path(QStringLiteral("report.dat")), Path(QStringLiteral("report"))}) {
        const CliRun r = Cli({QStringLiteral("report"), dat, QStringLiteral("--mode"), QStringLiteral("trend"), out});
        EXPECT_EQ(r.code, 2) << out.toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << out.toStdString();
    }
    EXPECT_EQ(testfs::bytesOf(dat), before);
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("report.dat"))));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("report"))));

    // Upper-case ".PDF" is a PDF name too.
    const CliRun upper = Cli({QStringLiteral("report"), dat, QStringLiteral("--mode"), QStringLiteral("trend"),
                              Path(QStringLiteral("NIGHT.PDF"))});
    EXPECT_EQ(upper.code, 0) << upper.err.toStdString();
}

TEST(CliReport, FullDiskKeepsTheEarlierReportAndSaysWhy)
{
    testfs::SmallFileSystem disk(QStringLiteral("full"), "size=256k");
    if (!disk.mounted())
        GTEST_SKIP() << "this machine does not let the test mount a small file system";
    RecordStore store;
    const QString dat = SaveNight(store, 3000);
    const QString pdf = disk.file("kept.pdf");
    ASSERT_TRUE(testfs::putFile(pdf, "an earlier report"));
    ASSERT_TRUE(disk.leaveFree(8192));
    const CliRun r = Cli({QStringLiteral("report"), dat, QStringLiteral("--mode"), QStringLiteral("table"), pdf});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QString::fromLocal8Bit(std::strerror(ENOSPC)))) << r.err.toStdString();
    EXPECT_EQ(testfs::bytesOf(pdf), QByteArray("an earlier report"));
    EXPECT_EQ(disk.entries(), (QStringList{QStringLiteral("filler"), QStringLiteral("kept.pdf")}));
}

TEST(CliReport, PdfCutShortAnywhereIsNotWhole)
{
    RecordStore store;
    viewtest::FillRecording(
        store, 100, [](int) { return 95; }, [](int) { return 70; });
    const QString path = Path(QStringLiteral("whole.pdf"));
    ASSERT_EQ(writeReportPdf(store, ReportMode::Trend, defaultReportViewSize(), path).status,
              ReportPdfResult::Status::Written);
    const QByteArray pdf = testfs::bytesOf(path);
    EXPECT_TRUE(isWholePdf(pdf));
    EXPECT_FALSE(isWholePdf(pdf.left(pdf.size() / 2)));
    EXPECT_FALSE(isWholePdf(pdf.chopped(3)));
    EXPECT_FALSE(isWholePdf(QByteArray(pdf).remove(pdf.size() / 3, 4096))) << "bytes lost in the middle";
    EXPECT_FALSE(isWholePdf(QByteArray()));
}

TEST(CliReport, RecordingWithoutPatientDetailsOrReadings)
{
    // ID 7 has no stored details, as after a download: the report is made quietly.
    const QString pdf = Path(QStringLiteral("night7.pdf"));
    const CliRun r = Cli({QStringLiteral("report"), testenv::dataFile(QStringLiteral("valid-night-id7.dat")),
                          QStringLiteral("--mode"), QStringLiteral("table"), pdf});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("%1: 1 page\n").arg(pdf));
    EXPECT_EQ(r.err, QString());
    EXPECT_EQ(PdfPages(pdf), 1);

    // No readings: one page with the empty panels, as printing gives.
    const CliRun empty = Cli({QStringLiteral("report"), testenv::dataFile(QStringLiteral("valid-empty.dat")),
                              QStringLiteral("--mode"), QStringLiteral("trend"), pdf});
    EXPECT_EQ(empty.code, 0) << empty.err.toStdString();
    EXPECT_EQ(PdfPages(pdf), 1);
}

TEST(CliReport, ViewTooSmallForOneReadingIsRefused)
{
    RecordStore store;
    viewtest::FillRecording(
        store, 100, [](int) { return 95; }, [](int) { return 70; });
    const ReportPdfResult r =
        writeReportPdf(store, ReportMode::Table, QSize(900, 40), Path(QStringLiteral("tiny.pdf")));
    EXPECT_EQ(r.status, ReportPdfResult::Status::TooSmall);
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("tiny.pdf"))));
    EXPECT_EQ(writeReportPdf(store, ReportMode::Trend, QSize(60, 700), Path(QStringLiteral("tiny.pdf"))).status,
              ReportPdfResult::Status::TooSmall);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "../archive/archive_samples.h"
#include "PdfTestTools.h"
#include "app/Language.h"
#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "archive/SqliteArchive.h"
#include "model/RecordStore.h"
#include "shell/BackgroundView.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"
#include "views/OverviewPainter.h"
#include "views/OverviewView.h"
#include "views/TrendView.h"
#include "views/ViewPrinting.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QTest>

#include <gtest/gtest.h>

namespace
{

NightInfo listed(qint64 number, int id, const char *name, const char *start)
{
    NightInfo n;
    n.night = number;
    n.deviceId = id;
    n.patientName = QLatin1String(name);
    n.summary.start = QLatin1String(start);
    return n;
}

std::vector<qint64> numbers(const NightList &nights)
{
    std::vector<qint64> out;
    for (const NightInfo &n : nights)
        out.push_back(n.night);
    return out;
}

TEST(OverviewChoice, PatientsOnceAndTheDatesOfEachPeriod)
{
    const std::vector<NightInfo> all = {
        listed(1, 5, "Ann Lee", "2026-03-01 22:00:00"),   listed(2, 6, "", "2026-03-02 22:00:00"),
        listed(3, 5, " Ann Lee ", "2026-03-03 22:00:00"), listed(4, 5, "ann lee", "2026-03-04 22:00:00"),
        listed(5, 2, "Bo", "2026-03-04 23:00:00"),        listed(6, 5, "Ann Lee", "2026-03-05 22:00:00"),
        listed(7, 5, "Ann Lee", "2026-03-06 02:00:00"), // after midnight: the date before, beside night 6
        listed(8, 5, "Ann Lee", "2026-03-09 21:00:00"),
    };
    const std::vector<OverviewPatient> patients = overviewPatients(all);
    ASSERT_EQ(patients.size(), 4U);
    // As the list shows them, letter case aside; the names as the nights give them, trimmed.
    EXPECT_EQ(patients[0].text(), QStringLiteral("Ann Lee (ID 5)"));
    EXPECT_EQ(patients[1].text(), QStringLiteral("ann lee (ID 5)"));
    EXPECT_EQ(patients[2].text(), QStringLiteral("Bo (ID 2)"));
    EXPECT_EQ(patients[3].text(), QStringLiteral("ID 6 (no name)"));
    const NightList ann = overviewNightsOf(all, patients[0]);
    EXPECT_EQ(numbers(ann), (std::vector<qint64>{1, 3, 6, 7, 8}));

    const struct {
        OverviewPeriod period;
        QDate from, to; // the choice's dates
        QDate wantFrom, wantTo;
    } cases[] = {
        {OverviewPeriod::Last7, {}, {}, {}, {}}, // five nights: all of them
        {OverviewPeriod::All, QDate(2026, 3, 4), {}, {}, {}},
        {OverviewPeriod::Dates, QDate(2026, 3, 2), QDate(2026, 3, 5), QDate(2026, 3, 2), QDate(2026, 3, 5)},
    };
    for (const auto &c : cases) {
        const OverviewRange r = overviewRange(ann, c.period, c.from, c.to);
        EXPECT_EQ(r.from, c.wantFrom) << int(c.period);
        EXPECT_EQ(r.to, c.wantTo) << int(c.period);
    }

    // The last N nights begin at the date of the Nth newest, wherever the gaps fall.
    NightList year;
    for (int day = 0; day < 400; ++day)
        if (day % 3 != 1) // a gap every third day
            year.append(
                listed(day, 5, "Ann",
                       qPrintable(QDate(2025, 1, 1).addDays(day).toString(Qt::ISODate) + QStringLiteral(" 22:30:00"))));
    year.append(listed(999, 5, "Ann", "2026-02-05 03:00:00")); // a second night of 2026-02-04, the newest date
    const QDate newest = QDate(2025, 1, 1).addDays(399);
    ASSERT_EQ(newest, QDate(2026, 2, 4));
    const struct {
        OverviewPeriod period;
        QDate from;
    } lasts[] = {
        {OverviewPeriod::Last7, newest.addDays(-7)}, // 2 nights on the newest date, 5 on the dates before
        {OverviewPeriod::Last30, newest.addDays(-42)},
        {OverviewPeriod::Last90, newest.addDays(-132)},
        {OverviewPeriod::Last365, {}}, // 268 nights in all
    };
    for (const auto &l : lasts) {
        const OverviewRange r = overviewRange(year, l.period);
        EXPECT_EQ(r.from, l.from) << int(l.period);
        EXPECT_FALSE(r.to.isValid());
        const OverviewData data = buildOverview(year, r.from, r.to, {});
        const std::size_t nights = l.period == OverviewPeriod::Last7    ? 7
                                   : l.period == OverviewPeriod::Last30 ? 30
                                   : l.period == OverviewPeriod::Last90 ? 90
                                                                        : 268;
        EXPECT_EQ(data.nights.size(), nights) << int(l.period);
    }
}

// The per-user archive of this test process, emptied for each test; the main window opens the same.
class OverviewPage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString path = SqliteArchive::defaultPath();
        for (const char *tail : {"", "-wal", "-shm"})
            QFile::remove(path + QLatin1String(tail));
        Settings settings;
        settings.setOverviewPatient(0, {});
        settings.setOverviewPeriod(-1);
    }

    // Ten minutes of readings of id from date at hour.
    qint64 store(int id, const QString &name, QDate date, int hour)
    {
        std::vector<SampleRecord> readings = archivetest::night(id, 0, 600, int(date.day()));
        for (SampleRecord &s : readings) {
            s.year = std::uint8_t(date.year() - 2000);
            s.month = std::uint8_t(date.month());
            s.day = std::uint8_t(date.day());
            s.hour = std::uint8_t(hour);
        }
        PatientRecord who;
        who.idNumber = id;
        PatientRecord::setText(who.name, name);
        NightInput in{readings, who, {}, NightSource::Download, QStringLiteral("demo"), false};
        ArchiveResult<SqliteArchive::Opened> o = SqliteArchive::open(SqliteArchive::defaultPath());
        if (!o)
            return 0;
        const ArchiveResult<StoreCounts> stored = o.value().archive->store({in});
        EXPECT_TRUE(stored) << stored.detail().toStdString();
        return stored && !stored.value().nights.empty() ? stored.value().nights.back() : 0;
    }

    OverviewView *showOverview()
    {
        frame.action(CommandId::ModeOverview)->trigger();
        return qobject_cast<OverviewView *>(frame.activeView());
    }

    static std::vector<qint64> shown(const OverviewView &view)
    {
        std::vector<qint64> out;
        for (const OverviewNight &n : view.data().nights)
            out.push_back(n.night);
        return out;
    }

    static void choose(QComboBox *box, const QString &text)
    {
        const int i = box->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        box->setCurrentIndex(i);
    }

    RecordStore rs;
    ScriptedPrompts prompts;
    MainWindow frame{rs, prompts, 1033};
};

TEST_F(OverviewPage, OfferedWithoutARecordingAndSaysWhenTheArchiveIsEmpty)
{
    using namespace CommandId;
    ASSERT_EQ(frame.displayMode(), DisplayMode::None);
    EXPECT_TRUE(frame.action(ModeOverview)->isEnabled());
    OverviewView *view = showOverview();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(frame.displayMode(), DisplayMode::Overview);
    EXPECT_FALSE(frame.action(ModeOverview)->isEnabled());
    // Still no recording to show another way.
    for (CommandId::Id id : {ModeTrend, ModeTable, ModeAnalysis, SaveData, PatientInfo})
        EXPECT_FALSE(frame.action(id)->isEnabled()) << id;
    EXPECT_TRUE(view->message()->isVisibleTo(view));
    EXPECT_FALSE(view->chart()->isVisibleTo(view));
    EXPECT_TRUE(view->message()->text().contains(QLatin1String("no nights"))) << view->message()->text().toStdString();
    EXPECT_EQ(view->patientChoice()->count(), 0);
    EXPECT_EQ(view->pageCount(), 0);

    // Close leaves the page for the start page.
    ASSERT_TRUE(frame.action(Close)->isEnabled());
    frame.action(Close)->trigger();
    EXPECT_EQ(frame.displayMode(), DisplayMode::None);
    EXPECT_EQ(frame.centralArea(), static_cast<QWidget *>(frame.background()));
    EXPECT_TRUE(frame.action(ModeOverview)->isEnabled());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(OverviewPage, ShowsTheChosenPatientsNightsAndOpensAClickedOne)
{
    const qint64 a1 = store(5, QStringLiteral("Ann Lee"), QDate(2026, 3, 1), 22);
    const qint64 other = store(6, {}, QDate(2026, 3, 2), 22);
    const qint64 a2 = store(5, QStringLiteral("Ann Lee"), QDate(2026, 3, 5), 22);
    const qint64 a3 = store(5, QStringLiteral("Ann Lee"), QDate(2026, 3, 6), 2); // beside a2
    const qint64 a4 = store(5, QStringLiteral("Ann Lee"), QDate(2026, 3, 10), 21);

    frame.show(); // the chart is laid out
    OverviewView *view = showOverview();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->patientChoice()->count(), 2);
    choose(view->patientChoice(), QStringLiteral("Ann Lee (ID 5)"));
    choose(view->periodChoice(), QStringLiteral("All nights"));
    EXPECT_EQ(shown(*view), (std::vector<qint64>{a1, a2, a3, a4}));
    EXPECT_EQ(view->data().patient, QStringLiteral("Ann Lee (ID 5)"));
    EXPECT_TRUE(view->chart()->isVisibleTo(view));
    EXPECT_FALSE(view->message()->isVisibleTo(view));
    EXPECT_EQ(view->pageCount(), 1);
    // The date fields tell what the period covers and wait for "From - to".
    EXPECT_EQ(view->fromDate()->date(), QDate(2026, 3, 1));
    EXPECT_EQ(view->toDate()->date(), QDate(2026, 3, 10));
    EXPECT_FALSE(view->fromDate()->isEnabled());

    choose(view->periodChoice(), QStringLiteral("From - to"));
    ASSERT_TRUE(view->fromDate()->isEnabled());
    view->fromDate()->setDate(QDate(2026, 3, 4));
    view->toDate()->setDate(QDate(2026, 3, 9));
    EXPECT_EQ(shown(*view), (std::vector<qint64>{a2, a3}));
    view->toDate()->setDate(QDate(2026, 3, 4));
    EXPECT_TRUE(shown(*view).empty());
    EXPECT_TRUE(view->message()->isVisibleTo(view));
    EXPECT_EQ(view->pageCount(), 0);

    choose(view->patientChoice(), QStringLiteral("ID 6 (no name)"));
    choose(view->periodChoice(), QStringLiteral("Last 7 nights"));
    EXPECT_EQ(shown(*view), std::vector<qint64>{other});

    // A click on the night's bar opens it on the trend page.
    choose(view->patientChoice(), QStringLiteral("Ann Lee (ID 5)"));
    QWidget *chart = view->chart();
    ASSERT_FALSE(chart->size().isEmpty());
    std::optional<QPoint> onA3;
    for (int y = 0; y < chart->height() && !onA3; y += 2)
        for (int x = 0; x < chart->width() && !onA3; x += 2)
            if (overviewNightAt(QSizeF(chart->size()), view->data(), QPointF(x, y)) == a3)
                onA3 = QPoint(x, y);
    ASSERT_TRUE(onA3) << "no bar of the night on the page";
    // A download kept nowhere is not dropped without asking, as from the Recordings window.
    rs.deviceSamples[0] = archivetest::night(1, 0, 60);
    frame.setDataArrived(true);
    prompts.answers = {Prompts::Answer::Cancel};
    QTest::mouseClick(chart, Qt::LeftButton, {}, *onA3);
    EXPECT_EQ(frame.displayMode(), DisplayMode::Overview);
    ASSERT_EQ(prompts.shown.size(), 1);
    prompts.answers = {Prompts::Answer::Discard};
    QTest::mouseClick(chart, Qt::LeftButton, {}, *onA3);
    EXPECT_EQ(frame.displayMode(), DisplayMode::Trend);
    EXPECT_NE(qobject_cast<TrendView *>(frame.activeView()), nullptr);
    EXPECT_EQ(rs.currentNights, std::vector<qint64>{a3});
    EXPECT_EQ(rs.currentSampleCount(), 600);
    EXPECT_TRUE(frame.action(CommandId::ModeTable)->isEnabled());
    EXPECT_EQ(prompts.shown.size(), 2);
}

TEST_F(OverviewPage, RemembersPatientAndPeriodAndPrintsOnePage)
{
    store(5, QStringLiteral("Ann Lee"), QDate(2026, 3, 1), 22);
    store(6, QStringLiteral("Cy Moe"), QDate(2026, 3, 2), 22);
    const qint64 late = store(6, QStringLiteral("Cy Moe"), QDate(2026, 3, 8), 22);
    store(6, QStringLiteral("Cy Moe"), QDate(2026, 2, 8), 22);
    {
        OverviewView *view = showOverview();
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->patientChoice()->currentText(), QStringLiteral("Ann Lee (ID 5)")) << "the first by name";
        choose(view->patientChoice(), QStringLiteral("Cy Moe (ID 6)"));
        choose(view->periodChoice(), QStringLiteral("From - to"));
        view->fromDate()->setDate(QDate(2026, 3, 1));
        view->toDate()->setDate(QDate(2026, 3, 31));
    }
    frame.action(CommandId::Close)->trigger();
    ASSERT_EQ(frame.activeView(), nullptr);

    // A new page, as after a restart: the same patient, period and dates.
    OverviewView *view = showOverview();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->patientChoice()->currentText(), QStringLiteral("Cy Moe (ID 6)"));
    EXPECT_EQ(view->periodChoice()->currentIndex(), int(OverviewPeriod::Dates));
    EXPECT_EQ(view->fromDate()->date(), QDate(2026, 3, 1));
    EXPECT_EQ(view->toDate()->date(), QDate(2026, 3, 31));
    ASSERT_EQ(view->data().nights.size(), 2U);
    EXPECT_EQ(view->data().nights.back().night, late);

    // File > Print gives the page on one A4 landscape sheet, with whose nights they are.
    view->resize(1092, 764);
    const QString path = testenv::root() + QStringLiteral("/overview.pdf");
    QPrinter printer(QPrinter::HighResolution);
    ConfigureReportPrinter(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    const PrintResult printed = PrintDataView(*view, printer);
    ASSERT_TRUE(printed.started);
    EXPECT_EQ(pdftest::PdfPages(path), 1);
    EXPECT_TRUE(pdftest::PdfInfo(path).contains(QLatin1String("842 x 595 pts (A4)")))
        << pdftest::PdfInfo(path).toStdString();
    EXPECT_TRUE(pdftest::PdfText(path, 1).contains(QLatin1String("Cy Moe"))) << pdftest::PdfText(path, 1).toStdString();
}

} // namespace

TEST_F(OverviewPage, SpeaksTheLanguageChosen)
{
    store(5, QStringLiteral("Ann Lee"), QDate(2026, 3, 1), 22);
    OverviewView *view = showOverview();
    ASSERT_NE(view, nullptr);
    const struct {
        int language;
        const char *menu, *period, *figure, *column;
    } languages[] = {
        {Language::French, "Vue d'ensemble", "7 dernières nuits", "IDO 4 %", "Plus récente (courte)"},
        {Language::ChineseSimplified, "总览", "最近 7 晚", "ODI 4 %", "最近一晚（过短）"},
        {Language::English, "Overview", "Last 7 nights", "ODI 4 %", "Most recent (short)"},
    };
    for (const auto &l : languages) {
        ASSERT_TRUE(frame.switchLanguage(l.language)) << l.language;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange); // as the event loop would
        EXPECT_EQ(frame.action(CommandId::ModeOverview)->text(), QString::fromUtf8(l.menu));
        EXPECT_EQ(view->periodChoice()->itemText(0), QString::fromUtf8(l.period));
        // The painter's texts, looked up as it paints: the night of ten minutes is short.
        EXPECT_EQ(overviewFigureName(OverviewFigure::Odi4), QString::fromUtf8(l.figure));
        EXPECT_EQ(overviewCellText(view->data(), 0, 1), QString::fromUtf8(l.column));
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "../archive/archive_samples.h"
#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "archive/ArchiveAccess.h"
#include "archive/ArchiveTasks.h"
#include "archive/NightListModel.h"
#include "archive/RecordingsWindow.h"
#include "archive/SqliteArchive.h"
#include "archive/StartPage.h"
#include "dialogs/PatientInfoDialog.h"
#include "model/DatFile.h"
#include "model/RecordStore.h"
#include "model/SavedData.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"
#include "test_env.h"
#include "views/TrendView.h"

#include <QAction>
#include <QCommandLinkButton>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace
{

using archivetest::night;

PatientRecord patient(int id, const QString &name)
{
    PatientRecord p;
    p.idNumber = id;
    PatientRecord::setText(p.name, name);
    p.age = 40 + id;
    return p;
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing: " + path.toUtf8());
}

// A fresh per-user archive for each test, so that the main window's own sees it.
class ArchiveGui : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString path = SqliteArchive::defaultPath();
        for (const char *tail : {"", "-wal", "-shm"})
            QFile::remove(path + QLatin1String(tail));
    }

    // Stores one night a batch; returns its number.
    qint64 store(const std::vector<SampleRecord> &readings, const PatientRecord &who, const QString &title = {})
    {
        NightInput in{readings, who, title, NightSource::Download, QStringLiteral("demo"), false};
        ArchiveResult<SqliteArchive::Opened> o = SqliteArchive::open(SqliteArchive::defaultPath());
        if (!o)
            return 0;
        const ArchiveResult<StoreCounts> stored = o.value().archive->store({in});
        EXPECT_TRUE(stored) << stored.detail().toStdString();
        return stored && !stored.value().nights.empty() ? stored.value().nights.back() : 0;
    }
    std::vector<qint64> numbers()
    {
        QString error;
        std::vector<qint64> out;
        for (const NightInfo &n : access.list(&error).value_or(std::vector<NightInfo>{}))
            out.push_back(n.night);
        return out;
    }

    ArchiveAccess access;
    ScriptedPrompts prompts;
    QTemporaryDir tmp;
};

NightInfo info(qint64 number, int id, const char *name, const char *start, const char *end, double odi4)
{
    NightInfo n;
    n.night = number;
    n.deviceId = id;
    n.patientName = QLatin1String(name);
    n.summary.start = QLatin1String(start);
    n.summary.end = QLatin1String(end);
    n.summary.readings = 100;
    n.summary.validSeconds = int(number * 10);
    n.summary.odi4 = odi4;
    return n;
}

std::vector<qint64> shown(const QAbstractItemModel &m)
{
    std::vector<qint64> out;
    for (int r = 0; r < m.rowCount(); ++r)
        out.push_back(m.index(r, 0).data(NightListModel::NightRole).toLongLong());
    return out;
}

TEST(NightList, FiltersByPatientAndDateAndSortsByValue)
{
    NightListModel model;
    model.setNights({info(1, 9, "Ann Lee", "2026-03-01 22:00:00", "2026-03-02 06:30:00", 12.5),
                     info(2, 10, "", "2026-03-05 23:10:00", "2026-03-06 01:00:00", 2.0),
                     info(3, 9, "bob annick", "2026-03-09 21:00:00", "2026-03-10 07:00:00", 30.0),
                     info(4, 1, "Cy", "2026-03-12 00:30:00", "2026-03-12 04:00:00", 7.25)});
    EXPECT_EQ(model.index(1, NightListModel::Patient).data().toString(), QStringLiteral("ID 10 (no name)"));
    EXPECT_EQ(model.index(0, NightListModel::Duration).data().toString(), QStringLiteral("8:30"));
    EXPECT_EQ(model.index(0, NightListModel::Start).data().toString(), QStringLiteral("22:00"));
    EXPECT_EQ(model.index(3, NightListModel::Valid).data().toString(), QStringLiteral("40.0"));

    NightFilterProxy proxy;
    proxy.setSourceModel(&model);
    const struct {
        const char *text;
        QDate from, to;
        std::vector<qint64> nights;
    } filters[] = {
        {"", {}, {}, {1, 2, 3, 4}},
        {"ANN", {}, {}, {1, 3}}, // part of a name, any letter case
        {"9", {}, {}, {1, 3}},   // an ID exactly: not 1 or 10
        {"1", {}, {}, {4}},      //
        {"no name", {}, {}, {}}, // the placeholder is no name
        {"", QDate(2026, 3, 5), QDate(2026, 3, 9), {2, 3}},
        {"", QDate(2026, 3, 6), {}, {3, 4}}, // a night counts by the day it started
        {"", {}, QDate(2026, 3, 1), {1}},
        {"ann", QDate(2026, 3, 2), {}, {3}},
    };
    for (const auto &f : filters) {
        proxy.setPatientText(QLatin1String(f.text));
        proxy.setDateRange(f.from, f.to);
        EXPECT_EQ(shown(proxy), f.nights) << f.text << " " << f.from.toString().toStdString();
    }

    proxy.setPatientText({});
    proxy.setDateRange({}, {});
    const struct {
        NightListModel::Column column;
        Qt::SortOrder order;
        std::vector<qint64> nights;
    } sorts[] = {
        {NightListModel::Id, Qt::AscendingOrder, {4, 1, 3, 2}}, // 1, 9, 9, 10: as numbers
        {NightListModel::Patient, Qt::AscendingOrder, {1, 3, 4, 2}},
        {NightListModel::Duration, Qt::DescendingOrder, {3, 1, 4, 2}},
        {NightListModel::Odi4, Qt::AscendingOrder, {2, 4, 1, 3}},
        {NightListModel::Start, Qt::AscendingOrder, {4, 3, 1, 2}}, // time of night: 00:30 first
        {NightListModel::Date, Qt::DescendingOrder, {4, 3, 2, 1}},
    };
    for (const auto &s : sorts) {
        proxy.sort(s.column, s.order);
        EXPECT_EQ(shown(proxy), s.nights) << s.column;
    }
}

TEST_F(ArchiveGui, OpenedNightIsTheStoredReadingsWithTheirPatient)
{
    const auto readings = night(5, 0, 600);
    const PatientRecord ann = patient(5, QStringLiteral("Ann Lee"));
    store(night(6, 0, 300), patient(6, QStringLiteral("Other")));
    const qint64 n = store(readings, ann, QStringLiteral("Sleep study"));

    RecordStore rs;
    MainWindow frame(rs, prompts, 1033);
    ASSERT_TRUE(frame.openArchivedNight(n));
    EXPECT_EQ(rs.currentSamples, readings);
    EXPECT_EQ(rs.currentPatient.toBytes(), ann.toBytes());
    EXPECT_EQ(rs.reportTitle, QStringLiteral("Sleep study"));
    EXPECT_EQ(rs.currentNights, std::vector<qint64>{n});
    EXPECT_NE(qobject_cast<TrendView *>(frame.activeView()), nullptr);
    EXPECT_FALSE(frame.dataCommandsDisabled());
    EXPECT_TRUE(frame.windowTitle().startsWith(QStringLiteral("Ann Lee (ID 5)"))) << frame.windowTitle().toStdString();

    // A missing night leaves the recording as it was.
    EXPECT_FALSE(frame.openArchivedNight(n + 100));
    EXPECT_EQ(rs.currentSamples, readings);
    EXPECT_EQ(prompts.shown.size(), 1);
}

TEST_F(ArchiveGui, DeleteAsksAndUndoRestoresTheSameNight)
{
    const auto readings = night(3, 0, 500);
    store(readings, patient(3, QStringLiteral("Ann")));
    store(night(4, 0, 200), patient(4, {}));
    RecordingsWindow window(access, prompts);
    ASSERT_EQ(window.model()->rowCount(), 2);
    auto selectAnn = [&] {
        window.patientFilter()->setText(QStringLiteral("Ann"));
        window.table()->selectRow(0);
    };
    selectAnn();
    const qint64 ann = window.selectedNights().at(0);
    QSignalSpy chosen(&window, &RecordingsWindow::nightChosen);
    QTest::keyClick(window.table(), Qt::Key_Return);
    ASSERT_EQ(chosen.size(), 1) << "Enter opens the night";
    EXPECT_EQ(chosen[0][0].toLongLong(), ann);

    prompts.answers = {Prompts::Answer::Cancel};
    QTest::keyClick(window.table(), Qt::Key_Delete);
    EXPECT_EQ(prompts.shown.size(), 1) << "Delete asks first";
    EXPECT_EQ(numbers().size(), 2u);

    prompts.answers = {Prompts::Answer::Ok};
    window.removeSelected();
    const std::vector<qint64> left = numbers();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_NE(left[0], ann);
    EXPECT_EQ(window.proxy()->rowCount(), 0);

    window.undoRemove();
    ASSERT_EQ(numbers().size(), 2u);
    QString error;
    const auto restored = access.night(numbers().back(), &error);
    ASSERT_TRUE(restored) << error.toStdString();
    EXPECT_EQ(restored->readings, readings);
    EXPECT_EQ(restored->patient.nameText(), QStringLiteral("Ann"));
    EXPECT_EQ(window.proxy()->rowCount(), 1);
    EXPECT_FALSE(access.canRestore());
}

TEST_F(ArchiveGui, ExportSelectedWritesWhatSaveDataWrites)
{
    const auto first = night(2, 0, 400);
    const auto second = night(7, 3600, 250, 3);
    const qint64 a = store(first, patient(2, QStringLiteral("Ann/Lee")), QStringLiteral("T1"));
    const qint64 b = store(second, patient(7, {}), QStringLiteral("T2"));
    RecordingsWindow window(access, prompts);
    window.table()->selectAll();
    const QString folder = tmp.filePath(QStringLiteral("out"));
    QDir().mkpath(folder);
    window.setFolderChooser([&] { return folder; });
    window.exportSelected();
    window.exportSelected(); // again: new names, nothing replaced

    // What Save Data writes for the same readings, title and patient.
    auto saved = [&](const std::vector<SampleRecord> &readings, const QString &title, const PatientRecord &who) {
        RecordStore rs;
        rs.currentSamples = readings;
        rs.reportTitle = title;
        rs.currentPatient = who;
        const QString path = tmp.filePath(QStringLiteral("saved.dat"));
        EXPECT_EQ(SavedData::writeDat(rs, path, prompts), SavedData::SaveOutcome::Written);
        return bytesOf(path);
    };
    const QByteArray firstDat = saved(first, QStringLiteral("T1"), patient(2, QStringLiteral("Ann/Lee")));
    const QByteArray secondDat = saved(second, QStringLiteral("T2"), patient(7, {}));
    const QString annName = QStringLiteral("ID 2  Name Ann_Lee 2026-03-14 22-00-00");
    const QString noName = QStringLiteral("ID 7  Name  2026-03-14 23-00-00");
    for (const QString &name : {annName + QStringLiteral(".dat"), annName + QStringLiteral(" (2).dat")})
        EXPECT_EQ(bytesOf(folder + u'/' + name), firstDat) << name.toStdString();
    for (const QString &name : {noName + QStringLiteral(".dat"), noName + QStringLiteral(" (2).dat")})
        EXPECT_EQ(bytesOf(folder + u'/' + name), secondDat) << name.toStdString();
    EXPECT_EQ(QDir(folder).count(), 2u + 4u);

    // Other formats go through the same writers; a night that is gone is reported.
    QString error;
    ASSERT_TRUE(access.remove(b, &error));
    const NightExportReport csv = exportNights(access, {a, b}, folder, QStringLiteral("csv"), 0);
    EXPECT_EQ(csv.written, QStringList{folder + u'/' + annName + QStringLiteral(".csv")});
    EXPECT_EQ(csv.failed.size(), 1);
}

TEST_F(ArchiveGui, ImportCountsAddedAndPresentNights)
{
    // One file of two IDs (two nights), one of a night stored already, one that is no .dat.
    std::vector<SampleRecord> two = night(1, 0, 300);
    const auto other = night(2, 600, 200); // the newest night
    two.insert(two.end(), other.begin(), other.end());
    const QString both = tmp.filePath(QStringLiteral("both.dat"));
    const QString again = tmp.filePath(QStringLiteral("again.dat"));
    const QString bad = testenv::dataFile(QStringLiteral("bad-hour-24.dat"));
    ASSERT_TRUE(DatFile::writeRecording(both, 1, two.data(), int(two.size()), {}).ok);
    const auto stored = night(3, 0, 100);
    ASSERT_TRUE(DatFile::writeRecording(again, 3, stored.data(), int(stored.size()), {}).ok);
    store(stored, patient(3, {}));

    RecordStore rs;
    MainWindow frame(rs, prompts, 1033);
    const ImportTally first = frame.importIntoArchive({both, again, bad});
    EXPECT_EQ(first.added, 2);
    EXPECT_EQ(first.present, 1);
    EXPECT_EQ(first.failed.size(), 1);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].startsWith(QStringLiteral("2 nights archived, 1 already in the archive.")))
        << prompts.shown[0].toStdString();
    EXPECT_TRUE(prompts.shown[0].contains(QStringLiteral("bad-hour-24.dat")));
    EXPECT_EQ(numbers().size(), 3u);
    EXPECT_EQ(rs.currentSamples, other) << "the newest night imported opens";

    const ImportTally second = frame.importIntoArchive({both});
    EXPECT_EQ(second.added, 0);
    EXPECT_EQ(second.present, 2);

    // Stopping before the second file keeps the first one's nights only.
    const ImportTally stopped = importFiles(access, {again, both}, [](int done) { return done < 1; });
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.done, 1);
    EXPECT_EQ(stopped.present, 1);
}

TEST_F(ArchiveGui, StartPageListsTheLatestNightsAndLeadsIn)
{
    for (int i = 0; i < 12; ++i)
        store(night(1 + i % 3, i * 7200, 60, i), patient(1 + i % 3, i == 11 ? QStringLiteral("Zoe") : QString()));
    RecordStore rs;
    MainWindow frame(rs, prompts, 1033);
    frame.refreshStartPage();
    StartPage *page = frame.startPage();
    ASSERT_NE(page, nullptr);
    QTreeWidget *list = page->nightList();
    ASSERT_EQ(list->topLevelItemCount(), 10);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("Zoe")) << "newest first";
    EXPECT_EQ(list->topLevelItem(1)->text(0), QStringLiteral("ID 2 (no name)"));
    EXPECT_EQ(list->topLevelItem(1)->text(1), QStringLiteral("2026-03-15"));
    EXPECT_EQ(list->topLevelItem(1)->text(2), QStringLiteral("18:00"));
    EXPECT_EQ(list->topLevelItem(9)->text(2), QStringLiteral("02:00"));

    Q_EMIT list->itemActivated(list->topLevelItem(0), 0);
    EXPECT_EQ(rs.currentSamples, night(3, 11 * 7200, 60, 11));
    EXPECT_EQ(rs.currentPatient.nameText(), QStringLiteral("Zoe"));

    for (auto [id, button] : {std::pair{CommandId::NewDataCapture, page->downloadButton()},
                              std::pair{CommandId::OpenSavedData, page->openButton()}}) {
        QAction *a = frame.action(id);
        EXPECT_EQ(button->description(), a->shortcut().toString(QKeySequence::NativeText));
        QObject::disconnect(a, &QAction::triggered, &frame, nullptr); // no real download or file dialog
        QSignalSpy triggered(a, &QAction::triggered);
        button->click();
        EXPECT_EQ(triggered.size(), 1) << id;
    }
    EXPECT_EQ(frame.action(CommandId::Recordings)->shortcut(), QKeySequence(QStringLiteral("Ctrl+R")));
}

TEST_F(ArchiveGui, FiguresOfAnOlderQuellixAreMarkedThenComputedAgain)
{
    const std::vector<SampleRecord> readings = night(1, 0, 600);
    store(readings, patient(1, QStringLiteral("Ann")));
    {
        // As an older program left them: another version, other figures.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("older"));
        db.setDatabaseName(SqliteArchive::defaultPath());
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("UPDATE night SET summary_version = 1, odi4 = 99")));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("older"));
    QString error;
    std::vector<NightInfo> before = access.list(&error).value();
    ASSERT_EQ(before.size(), 1u);
    NightListModel model;
    model.setNights(before);
    EXPECT_TRUE(model.index(0, NightListModel::Odi4).data(Qt::FontRole).value<QFont>().italic());
    EXPECT_FALSE(model.index(0, NightListModel::Patient).data(Qt::FontRole).isValid());

    RecordStore rs;
    MainWindow frame(rs, prompts, 1033);
    frame.refreshStartPage();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto nights = access.list(&error);
            return nights && nights->front().summaryIsCurrent();
        },
        20000));
    const NightInfo after = access.list(&error).value().front();
    EXPECT_EQ(after.summary, summarizeNight(readings.data(), int(readings.size())));
    model.setNights({after});
    EXPECT_FALSE(model.index(0, NightListModel::Odi4).data(Qt::FontRole).isValid());
}

TEST_F(ArchiveGui, PatientDetailsEditedInTheListReachTheArchiveAndTheOpenNightOnly)
{
    const qint64 n = store(night(5, 0, 120), patient(5, QStringLiteral("Ann")));
    RecordStore rs;
    MainWindow frame(rs, prompts, 1033);
    ASSERT_TRUE(frame.openArchivedNight(n));
    frame.action(CommandId::Recordings)->trigger();
    RecordingsWindow *window = frame.recordingsWindow();
    ASSERT_NE(window, nullptr);
    window->table()->selectRow(0);

    bool deleteOffered = true;
    auto rename = [&](const QString &name, bool save) {
        window->setPatientEditor([&, name, save](RecordStore &scratch) {
            PatientInfoDialog dialog(scratch, prompts, 0, nullptr, PatientInfoLogic::Keep::InMemory);
            deleteOffered = !dialog.deleteButton()->isHidden();
            dialog.edit(PatientField::Name)->setText(name);
            if (save)
                dialog.accept();
            return save;
        });
        window->table()->selectRow(0);
        window->editPatient();
    };
    rename(QStringLiteral("Bo"), false);
    QString error;
    EXPECT_EQ(access.night(n, &error)->patient.nameText(), QStringLiteral("Ann")) << "Cancel keeps them";

    rename(QStringLiteral("Ann Lee"), true);
    EXPECT_FALSE(deleteOffered);
    const auto stored = access.night(n, &error);
    ASSERT_TRUE(stored) << error.toStdString();
    EXPECT_EQ(stored->patient.nameText(), QStringLiteral("Ann Lee"));
    EXPECT_EQ(stored->patient.age, 45) << "the other details stay";
    EXPECT_EQ(rs.currentPatient.toBytes(), stored->patient.toBytes()) << "the open night follows";
    EXPECT_TRUE(frame.windowTitle().startsWith(QStringLiteral("Ann Lee (ID 5)")));
    EXPECT_EQ(window->model()->index(0, NightListModel::Patient).data().toString(), QStringLiteral("Ann Lee"));
    RecordStore fresh;
    EXPECT_EQ(fresh.LoadPatientInfo(4), RecordStore::PatientLoad::Missing)
        << "whoever has ID 5 now keeps their own details";

    // Removing the open night leaves the recording on screen, no longer tied to it.
    prompts.answers = {Prompts::Answer::Ok};
    window->table()->selectRow(0);
    window->removeSelected();
    EXPECT_TRUE(rs.currentNights.empty());
    EXPECT_FALSE(rs.currentSamples.empty());
}

TEST_F(ArchiveGui, HandMarksChangeTheFiguresAndStayWithTheNight)
{
    // A steady 96 % with one real 20-s fall to 80 %: the nadir until it is marked.
    std::vector<SampleRecord> readings = night(5, 0, 600);
    for (int i = 0; i < 600; ++i) {
        readings[std::size_t(i)].spo2 = i >= 100 && i < 120 ? 80 : 96;
        readings[std::size_t(i)].pulseRate = 60;
    }
    const qint64 n = store(readings, patient(5, QStringLiteral("Ann")));
    const qint64 other = store(night(6, 0, 300), patient(6, QStringLiteral("Bo")));

    RecordStore rs;
    MainWindow frame(rs, prompts, 1033);
    ASSERT_TRUE(frame.openArchivedNight(n));
    frame.onModeAnalysis();
    EXPECT_EQ(frame.clinicalSummary().nadir, 80);
    frame.onRecordings();
    RecordingsWindow *window = frame.recordingsWindow();
    ASSERT_NE(window, nullptr);
    const auto listedNadir = [&] {
        for (int row = 0; row < window->model()->rowCount(); ++row) {
            if (window->model()->index(row, 0).data(NightListModel::NightRole).toLongLong() == n)
                return window->model()->index(row, NightListModel::Nadir).data(NightListModel::SortRole).toInt();
        }
        return -1;
    };
    EXPECT_EQ(listedNadir(), 80);

    ASSERT_TRUE(frame.markArtefact({95, 110}));
    ASSERT_TRUE(frame.markArtefact({105, 125})) << prompts.shown.join(u'|').toStdString();
    EXPECT_EQ(rs.currentMarks, (std::vector<ReadingSpan>{{95, 125}})) << "overlapping marks are joined";
    EXPECT_EQ(frame.clinicalSummary().nadir, 96) << "the page's figures follow at once";
    EXPECT_EQ(frame.clinicalSummary().validSeconds, 600 - 31);
    EXPECT_EQ(listedNadir(), 96) << "the open list shows the night's new figures";

    // Another night has none; the marked one has its marks again when reopened.
    ASSERT_TRUE(frame.openArchivedNight(other));
    EXPECT_TRUE(rs.currentMarks.empty());
    ASSERT_TRUE(frame.openArchivedNight(n));
    EXPECT_EQ(rs.currentMarks, (std::vector<ReadingSpan>{{95, 125}}));
    frame.onModeAnalysis();
    EXPECT_EQ(frame.clinicalSummary().validSeconds, 600 - 31);

    ASSERT_TRUE(frame.clearArtefactMark({95, 125}));
    EXPECT_TRUE(rs.currentMarks.empty());
    EXPECT_EQ(frame.clinicalSummary().nadir, 80);
    QString error;
    ArchiveAccess access;
    EXPECT_TRUE(access.night(n, &error)->marks.empty()) << error.toStdString();
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'|').toStdString();

    // Where no one archived night is open, or the archive is off, marking is refused and says why.
    const QString why =
        QStringLiteral("Marks are kept with nights in the archive: open this night from File > Recordings...");
    Settings().setKeepInArchive(false);
    EXPECT_FALSE(frame.markArtefact({1, 2}));
    EXPECT_EQ(prompts.shown, QStringList{why});
    Settings().setKeepInArchive(true);
    ASSERT_TRUE(frame.openSavedFile(testenv::dataFile(QStringLiteral("valid-night-id7.dat"))));
    prompts.shown.clear(); // the file's ID has no stored details
    EXPECT_FALSE(frame.markArtefact({1, 2}));
    EXPECT_TRUE(rs.currentMarks.empty());
    EXPECT_EQ(prompts.shown, QStringList{why});
    EXPECT_TRUE(access.night(n, &error)->marks.empty()) << "the night open before keeps what it had";
}

} // namespace

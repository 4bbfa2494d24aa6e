// SPDX-License-Identifier: GPL-3.0-or-later
// The download window keeps each download in the archive; the main window asks
// before a download kept nowhere goes, and Save Info reaches the archive.
#include "download_fixture.h"

#include "app/Settings.h"
#include "archive/SqliteArchive.h"
#include "dialogs/PatientInfoDialog.h"
#include "test_env.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace
{

using namespace CommandId;

const QString kQuestion = QStringLiteral("The downloaded recording is not saved. Discard it?");

class DownloadArchive : public DownloadFixture
{
protected:
    QTemporaryDir files;

    void SetUp() override
    {
        DownloadFixture::SetUp();
        Settings().setKeepInArchive(true);
        frame.action(KeepInArchive)->setChecked(true);
    }
    void TearDown() override { Settings().setKeepInArchive(true); }

    // Downloads and makes ID 3 the current recording.
    void downloadAndChoose()
    {
        DownloadDialog *w = openWindow();
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(waitFinished(w));
        w->idList()->setCurrentRow(0);
        QTest::mouseClick(w->startButton(), Qt::LeftButton);
        ASSERT_EQ(store.currentPatient.idNumber, 3);
        ASSERT_TRUE(QTest::qWaitFor([this] { return frame.deviceCommands().downloadWindow() == nullptr; }, 5000));
    }
    std::vector<NightInfo> nights()
    {
        ArchiveResult<SqliteArchive::Opened> o = SqliteArchive::open(context().archiveFile());
        if (!o)
            return {};
        const ArchiveResult<NightList> listed = o.value().archive->list({});
        return listed ? std::vector<NightInfo>(listed.value().begin(), listed.value().end()) : std::vector<NightInfo>{};
    }
};

TEST_F(DownloadArchive, EachDownloadIsArchivedOnceUnlessTurnedOff)
{
    startDevice(config(), {{3, 700}, {12, 1100}});
    struct Step {
        bool keep;
        const char *lastLine;
        size_t nights;
    };
    const Step steps[] = {
        {true, "2 nights archived, 0 already in the archive.", 2},
        {true, "0 nights archived, 2 already in the archive.", 2},
        {false, "ID 12: first reading", 2},
    };
    for (const Step &s : steps) {
        if (frame.action(KeepInArchive)->isChecked() != s.keep)
            frame.action(KeepInArchive)->trigger();
        EXPECT_EQ(Settings().keepInArchive(), s.keep);
        DownloadDialog *w = openWindow();
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(waitFinished(w));
        EXPECT_TRUE(w->checkLabel()->text().split(u'\n').last().startsWith(QLatin1String(s.lastLine)))
            << w->checkLabel()->text().toStdString();
        EXPECT_EQ(nights().size(), s.nights);
        EXPECT_EQ(store.archivedNights[2].empty(), !s.keep);
        w->reject();
        ASSERT_TRUE(QTest::qWaitFor([this] { return frame.deviceCommands().downloadWindow() == nullptr; }, 5000));
    }
    EXPECT_FALSE(prompts.shown.contains(kQuestion)) << "a download kept in the archive is never asked about";
}

TEST_F(DownloadArchive, AnArchiveThatCannotBeWrittenIsToldAndTheReadingsStay)
{
    QFile blocker(files.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    context().archivePath = blocker.fileName() + QStringLiteral("/archive.sqlite");
    startDevice(config(), {{3, 700}});
    downloadAndChoose();
    ASSERT_TRUE(std::any_of(prompts.shown.begin(), prompts.shown.end(), [](const QString &t) {
        return t.startsWith(QLatin1String("The archive could not be written ("));
    })) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(store.currentSamples, sim->readings(3));
    EXPECT_TRUE(store.currentNights.empty());
}

enum class Kept { Saved, Archived, ArchiveOff, ArchiveFailed };

class LeavingADownload : public DownloadArchive, public ::testing::WithParamInterface<Kept>
{
};

// Each way the downloaded readings go out of reach, after each way they may
// have been kept or not: asked only when kept nowhere; Cancel stops it.
TEST_P(LeavingADownload, AsksOnlyWhenTheDownloadIsKeptNowhere)
{
    struct Action {
        const char *name;
        std::function<bool()> run; // true when it went ahead
    };
    const QString datFile = testenv::dataFile(QStringLiteral("valid-night-id7.dat"));
    const Action actions[] = {
        {"close",
         [this] {
             frame.action(Close)->trigger();
             return frame.displayMode() == DisplayMode::None;
         }},
        {"open",
         [this, &datFile] {
             prompts.files = {datFile};
             frame.action(OpenSavedData)->trigger();
             const bool opened = prompts.files.empty();
             prompts.files.clear();
             return opened;
         }},
        {"new download",
         [this] {
             frame.action(NewDataCapture)->trigger();
             DownloadDialog *w = frame.deviceCommands().downloadWindow();
             if (!w)
                 return false;
             waitFinished(w);
             w->reject();
             return QTest::qWaitFor([this] { return frame.deviceCommands().downloadWindow() == nullptr; }, 5000);
         }},
        {"exit", [this] { return frame.close(); }},
    };
    const Kept kept = GetParam();
    startDevice(config(), {{3, 200}});
    QFile blocker(files.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    Settings().setKeepInArchive(kept == Kept::Archived);
    if (kept == Kept::ArchiveFailed)
        context().archivePath = blocker.fileName() + QStringLiteral("/archive.sqlite");
    const bool asks = kept == Kept::ArchiveOff || kept == Kept::ArchiveFailed;
    for (const Action &action : actions) {
        SCOPED_TRACE(action.name);
        frame.show();
        downloadAndChoose();
        if (kept == Kept::Saved) {
            prompts.files = {files.filePath(QStringLiteral("saved-%1.dat").arg(&action - actions))};
            frame.action(SaveData)->trigger();
        }
        prompts.shown.clear();
        prompts.answers = {Prompts::Answer::Cancel};
        EXPECT_EQ(action.run(), !asks);
        EXPECT_EQ(prompts.shown.contains(kQuestion), asks);
        if (asks) {
            EXPECT_EQ(frame.displayMode(), DisplayMode::Trend) << "Cancel keeps the recording";
            prompts.answers = {Prompts::Answer::Discard};
            EXPECT_TRUE(action.run());
            EXPECT_TRUE(prompts.answers.empty());
        }
    }
}

const char *nameOf(Kept kept)
{
    static const char *const names[] = {"Saved", "Archived", "ArchiveOff", "ArchiveFailed"};
    return names[int(kept)];
}

void PrintTo(Kept kept, std::ostream *os)
{
    *os << nameOf(kept);
}

std::string keptName(const ::testing::TestParamInfo<Kept> &info)
{
    return nameOf(info.param);
}

INSTANTIATE_TEST_SUITE_P(Kept, LeavingADownload,
                         ::testing::Values(Kept::Saved, Kept::Archived, Kept::ArchiveOff, Kept::ArchiveFailed),
                         keptName);

TEST_F(DownloadArchive, SaveAnswerSavesTheRecordingFirst)
{
    Settings().setKeepInArchive(false);
    startDevice(config(), {{3, 700}});
    downloadAndChoose();
    const QString saved = files.filePath(QStringLiteral("asked.dat"));
    struct Case {
        const char *file; // the Save dialog's answer; empty: cancelled
        bool closes;
    };
    for (const Case &c : {Case{"", false}, Case{"asked.dat", true}}) {
        prompts.answers = {Prompts::Answer::Save};
        prompts.files = {QString::fromLatin1(c.file).isEmpty() ? QString() : saved};
        frame.action(Close)->trigger();
        EXPECT_EQ(frame.displayMode() == DisplayMode::None, c.closes) << c.file;
        EXPECT_EQ(QFile::exists(saved), c.closes);
    }
}

TEST_F(DownloadArchive, SaveInfoUpdatesTheArchivedNights)
{
    startDevice(config(), {{3, 700}});
    downloadAndChoose();
    ASSERT_EQ(store.currentNights.size(), 1u);
    const qint64 night = store.currentNights.front();
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        auto *dialog = qobject_cast<PatientInfoDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        dialog->edit(PatientField::Name)->setText(QStringLiteral("Ann Lee"));
        QTest::mouseClick(dialog->saveButton(), Qt::LeftButton);
    });
    frame.action(PatientInfo)->trigger();
    ASSERT_TRUE(seen);
    ArchiveResult<SqliteArchive::Opened> o = SqliteArchive::open(context().archiveFile());
    ASSERT_TRUE(o);
    const ArchiveResult<StoredNight> stored = o.value().archive->night(night);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored.value().info.patientName, QStringLiteral("Ann Lee"));
    EXPECT_EQ(stored.value().patient.nameText(), QStringLiteral("Ann Lee"));
}

} // namespace

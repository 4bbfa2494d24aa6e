// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ScriptedPrompts.h"
#include "dialogs/ExportProgress.h"
#include "export/XlsExport.h"
#include "model/PatientRecord.h"
#include "model/RecordStore.h"
#include "shell/CommandIds.h"
#include "shell/GuiPrompts.h"
#include "shell/MainWindow.h"
#include "test_env.h"
#include "test_files.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "test_samples.h"

#include <gtest/gtest.h>

namespace
{

using namespace testfiles;

std::vector<SampleRecord> readings(int id, int count)
{
    std::vector<SampleRecord> v(std::size_t(count), testdata::Reading(id, 0));
    for (int i = 0; i < count; ++i)
        v[std::size_t(i)].second = std::uint8_t(i % 60);
    return v;
}

TEST(ExportProgress, BarFollowsTheReadingsAndCancelStops)
{
    ExportProgress progress;
    progress.begin(1000);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_TRUE(progress.windowTitle().isEmpty());
    EXPECT_EQ(progress.bar()->minimum(), 0);
    EXPECT_EQ(progress.bar()->maximum(), 1000);
    EXPECT_EQ(progress.bar()->value(), 0);
    EXPECT_TRUE(progress.advance(250));
    EXPECT_EQ(progress.bar()->value(), 250);

    progress.cancelButton()->click();
    EXPECT_FALSE(progress.advance(500)) << "the export is told to stop";
    EXPECT_TRUE(progress.cancelled());
    progress.end();
    EXPECT_FALSE(progress.isVisible());

    // Escape stops as well, and a new export starts afresh.
    progress.begin(10);
    EXPECT_FALSE(progress.cancelled());
    progress.reject();
    EXPECT_FALSE(progress.advance(5));
    progress.end();
}

TEST(ExportProgress, CancelDuringASpreadsheetLeavesNoFile)
{
    ExportProgress progress;
    // Clicked as soon as the window first lets events through.
    QTimer::singleShot(0, progress.cancelButton(), &QPushButton::click);
    const QString path = tempPath(QStringLiteral("cancelled.xls"));
    EXPECT_EQ(XlsExport::write(path, PatientRecord{}, readings(2, 30000), 0, &progress).maybeError(),
              FileError::Cancelled);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(progress.isVisible());
}

TEST(SaveDialog, ChosenTypeGivesATypedNameItsExtension)
{
    const QString folder = tempPath(QStringLiteral("dialog"));
    ASSERT_TRUE(QDir().mkpath(folder));
    Prompts::FileRequest request;
    request.defaultSuffix = QStringLiteral("dat");
    request.filter = QStringLiteral("(*.dat);;(*.txt);;(*.xls)");
    request.initialName = folder + QStringLiteral("/night");
    QString suffixAfterChoice;
    // Runs inside the dialog's own loop: pick the spreadsheet type, then accept.
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectNameFilter(QStringLiteral("(*.xls)"));
        Q_EMIT dialog->filterSelected(QStringLiteral("(*.xls)"));
        suffixAfterChoice = dialog->defaultSuffix();
        static_cast<QDialog *>(dialog)->accept(); // the dialog's own accept, as its Save button
    });
    GuiPrompts prompts;
    const QString chosen = prompts.saveFileName(request);
    EXPECT_EQ(suffixAfterChoice, QStringLiteral("xls"));
    EXPECT_TRUE(chosen.endsWith(QLatin1String("/night.xls"))) << chosen.toStdString();
}

TEST(SaveDialog, StartsInTheFolderAsked)
{
    const QString folder = tempPath(QStringLiteral("start"));
    ASSERT_TRUE(QDir().mkpath(folder));
    Prompts::FileRequest request;
    request.defaultSuffix = QStringLiteral("dat");
    request.filter = QStringLiteral("(*.dat)");
    request.initialName = QStringLiteral("night.dat");
    request.directory = folder;
    QString shown;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = dialog->directory().absolutePath();
        static_cast<QDialog *>(dialog)->accept();
    });
    GuiPrompts prompts;
    EXPECT_EQ(prompts.saveFileName(request), folder + QStringLiteral("/night.dat"));
    EXPECT_EQ(shown, folder);
}

TEST(SaveDialog, FailedSaveShowsTheExactTextWithTheReasonBelow)
{
    QString text;
    QString detail;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text();
        detail = box->informativeText();
        box->accept();
    });
    GuiPrompts prompts;
    prompts.warningWithDetail(QStringLiteral("Can't create the file"), QStringLiteral("No space left on device"));
    EXPECT_EQ(text, QStringLiteral("Can't create the file"));
    EXPECT_EQ(detail, QStringLiteral("No space left on device"));
}

class SaveAndDrop : public ::testing::Test
{
protected:
    RecordStore store;
    ScriptedPrompts prompts;
    MainWindow frame{store, prompts, 1033};

    template <class Event> bool sendDrag(const QString &file)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        Event event(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&frame, &event);
        return event.isAccepted();
    }
    // Qt delivers a drop only to the widget that took the drag on entering.
    void drop(const QString &file)
    {
        EXPECT_TRUE(sendDrag<QDragEnterEvent>(file)) << file.toStdString();
        sendDrag<QDropEvent>(file);
    }
};

TEST_F(SaveAndDrop, SaveDataWritesEveryFormatFromTheMainWindow)
{
    ASSERT_TRUE(frame.openSavedFile(testenv::dataFile(QStringLiteral("valid-night-id7.dat"))));
    prompts.shown.clear();
    for (const char *name : {"night.XLS", "night.txt"}) {
        prompts.files.push_back(tempPath(QLatin1String(name)));
        frame.action(CommandId::SaveData)->trigger();
        EXPECT_TRUE(QFile::exists(tempPath(QLatin1String(name)))) << name;
    }
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(store.patientFlags[6].infoSaved, 1);
}

TEST_F(SaveAndDrop, DroppedDatFileOpensLikeOpenSavedData)
{
    EXPECT_TRUE(frame.acceptDrops());
    const QString dat = testenv::dataFile(QStringLiteral("valid-night-id7.dat"));
    const QString copy = tempPath(QStringLiteral("NIGHT.DAT"));
    ASSERT_TRUE(QFile::copy(dat, copy));

    EXPECT_FALSE(sendDrag<QDragEnterEvent>(tempPath(QStringLiteral("night.txt")))) << "only data files are taken";
    drop(copy);
    EXPECT_EQ(frame.displayMode(), DisplayMode::Trend);
    EXPECT_EQ(store.currentSampleCount(), 5);
    EXPECT_FALSE(frame.dataCommandsDisabled());

    // A refused file changes nothing, as with the command.
    prompts.shown.clear();
    const QString bad = tempPath(QStringLiteral("bad.dat"));
    ASSERT_TRUE(QFile::copy(testenv::dataFile(QStringLiteral("bad-spo2-101.dat")), bad));
    drop(bad);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("can't open the file")});
    EXPECT_EQ(store.currentSampleCount(), 5);
}

} // namespace

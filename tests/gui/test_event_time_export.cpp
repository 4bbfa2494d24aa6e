// SPDX-License-Identifier: GPL-3.0-or-later
// File > "Check out the SpO2 event time...": a fresh analysis with the settings
// in force, then the file.
#include "app/ScriptedPrompts.h"
#include "app/Settings.h"
#include "model/RecordStore.h"
#include "shell/CommandIds.h"
#include "shell/MainWindow.h"
#include "test_env.h"

#include "ViewTestData.h"

#include <QAction>
#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

TEST(EventTimeExport, RunsAFreshAnalysisAndWritesTheFile)
{
    QSettings("quellix", "setup").clear();
    RecordStore store;
    ScriptedPrompts prompts;
    MainWindow frame(store, prompts, 1033);
    QAction *command = frame.action(CommandId::EventTimeExport);
    ASSERT_NE(command, nullptr);
    EXPECT_FALSE(command->isEnabled());

    // A fall of 3 points for 12 seconds from 2013/05/07 22:01:40.
    viewtest::FillRecording(
        store, 600, [](int i) { return i >= 100 && i < 112 ? 94 : 97; }, [](int) { return 70; });
    store.currentPatient.idNumber = 4;
    frame.showRecording();
    frame.setDataArrived(false);
    frame.action(CommandId::ModeAnalysis)->trigger();
    EXPECT_EQ(frame.analysisResults().spo2EventCount, 0);

    // Changed after the page was drawn: the export still uses it.
    WriteSetupValue(QStringLiteral("DesaturationsEvent"), QStringLiteral("3"));
    const QString path = testenv::root() + QStringLiteral("/night.txt");
    prompts.files = {path};
    ASSERT_TRUE(command->isEnabled());
    command->trigger();
    EXPECT_EQ(prompts.lastRequest.initialName, QStringLiteral("ID 4  Name Event "));
    EXPECT_EQ(frame.analysisResults().spo2EventCount, 1);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("2013/05/07-22:01:40\t2013/05/07-22:01:51\t12\t\t94\t\t94\r\n"));
    EXPECT_TRUE(prompts.shown.isEmpty());
    QSettings("quellix", "setup").clear();
}

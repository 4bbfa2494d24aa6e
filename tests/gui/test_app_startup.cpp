// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DataFolder.h"
#include "app/SingleInstance.h"
#include "model/PatientStore.h"
#include "model/RecordStore.h"
#include "shell/Application.h"
#include "shell/MainWindow.h"
#include "test_env.h"

#include <QFile>

#include <gtest/gtest.h>

namespace
{

TEST(Application, StartsWithTheFileOfTheCommandLineAndClearsEverythingAtExit)
{
    // Stored details for the file's ID, so that no message box waits for an answer.
    PatientRecord p;
    p.idNumber = 7;
    ASSERT_TRUE(StorePatientInfo(6, p));
    Application app;
    ASSERT_TRUE(
        app.InitInstance({QStringLiteral("quellix"), QStringLiteral("--demo"), QStringLiteral("--port"),
                          QStringLiteral("ttyUSB3"), testenv::dataFile(QStringLiteral("valid-night-id7.dat"))}));
    EXPECT_TRUE(app.options().demo);
    EXPECT_EQ(app.options().port, QStringLiteral("ttyUSB3"));
    ASSERT_NE(app.mainWindow(), nullptr);
    EXPECT_TRUE(app.mainWindow()->startupOptions().demo) << "the download finds the options here";
    EXPECT_EQ(app.mainWindow()->startupOptions().port, QStringLiteral("ttyUSB3"));
    EXPECT_TRUE(app.mainWindow()->isVisible());
    EXPECT_EQ(app.mainWindow()->displayMode(), DisplayMode::Trend);
    EXPECT_EQ(app.store().currentSampleCount(), 5);
    EXPECT_TRUE(QFile::exists(DataFolder::markerPath()));

    SingleInstance second;
    EXPECT_FALSE(second.acquire()) << "a second copy is refused while this one runs";

    app.store().deviceSamples[4].resize(10);
    app.ExitInstance();
    EXPECT_EQ(app.store().currentSampleCount(), 0);
    EXPECT_FALSE(app.store().hasDownloadedData());
    EXPECT_TRUE(second.acquire()) << "the lock is given back at exit";
}

TEST(Application, PlainStartOpensNothingAndBadOptionsStop)
{
    {
        Application app;
        ASSERT_TRUE(app.InitInstance({QStringLiteral("quellix")}));
        EXPECT_EQ(app.mainWindow()->displayMode(), DisplayMode::None);
        EXPECT_EQ(app.mainWindow()->activeView(), nullptr);
        EXPECT_EQ(app.languageId(), 1033);
        app.ExitInstance();
    }
    Application wrong;
    EXPECT_FALSE(wrong.InitInstance({QStringLiteral("quellix"), QStringLiteral("--nonsense")}));
    EXPECT_EQ(wrong.mainWindow(), nullptr);
}

} // namespace

#include "app/DataFolder.h"
#include "app/SingleInstance.h"
#include "model/PatientStore.h"
#include "model/RecordStore.h"
#include "shell/CMainFrame.h"
#include "shell/CQX740App.h"
#include "test_env.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(CQX740App, StartsWithTheFileOfTheCommandLineAndClearsEverythingAtExit)
{
    // Stored details for the file's ID, so that no message box waits for an answer.
    PatientRecord p;
    p.idNumber = 7;
    ASSERT_TRUE(StorePatientInfo(6, p));
    CQX740App app;
    ASSERT_TRUE(app.InitInstance({QStringLiteral("quellix"), QStringLiteral("--demo"), QStringLiteral("--port"),
                                  QStringLiteral("ttyUSB3"), testenv::dataFile(QStringLiteral("valid-night-id7.dat"))}));
    EXPECT_TRUE(app.options().demo);
    EXPECT_EQ(app.options().port, QStringLiteral("ttyUSB3"));
    ASSERT_NE(app.mainFrame(), nullptr);
    EXPECT_TRUE(app.mainFrame()->startupOptions().demo) << "the download finds the options here";
    EXPECT_EQ(app.mainFrame()->startupOptions().port, QStringLiteral("ttyUSB3"));
    EXPECT_TRUE(app.mainFrame()->isVisible());
    EXPECT_EQ(app.mainFrame()->displayMode(), 1);
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

TEST(CQX740App, PlainStartOpensNothingAndBadOptionsStop)
{
    {
        CQX740App app;
        ASSERT_TRUE(app.InitInstance({QStringLiteral("quellix")}));
        EXPECT_EQ(app.mainFrame()->displayMode(), 0);
        EXPECT_EQ(app.mainFrame()->activeView(), nullptr);
        EXPECT_EQ(app.languageId(), 1033);
        app.ExitInstance();
    }
    CQX740App wrong;
    EXPECT_FALSE(wrong.InitInstance({QStringLiteral("quellix"), QStringLiteral("--nonsense")}));
    EXPECT_EQ(wrong.mainFrame(), nullptr);
}

} // namespace

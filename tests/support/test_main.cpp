// SPDX-License-Identifier: GPL-3.0-or-later
// Shared main for every test program: isolates the process's files, then runs
// GoogleTest inside a Qt application object (a widget one for GUI tests).
#include "test_env.h"

#include <gtest/gtest.h>

#ifdef QUELLIX_TEST_GUI
#include <QApplication>
using TestApp = QApplication;
#else
#include <QCoreApplication>
using TestApp = QCoreApplication;
#endif

#include <cstdlib>

int main(int argc, char **argv)
{
    testenv::isolate();
#ifdef QUELLIX_TEST_GUI
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    TestApp app(argc, argv);
    return RUN_ALL_TESTS();
}

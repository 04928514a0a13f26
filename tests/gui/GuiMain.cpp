#include "shell/qt/DesktopApp.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

// The window tests need one application object for the whole run. Without
// a display they run on the offscreen platform (also when the test runner
// lists the tests).
int main(int argc, char **argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    zorbe::setupApplication(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

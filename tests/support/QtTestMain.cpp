#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

// Tests that draw need an application object (fonts, painters); without a
// display they run on the offscreen platform. It lives on the stack so that
// it is destroyed, and its fonts released, before the leak check at exit
// (the picture subcommands would otherwise create one and keep it).
int main(int argc, char **argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include <gtest/gtest.h>

#include <QApplication>

#include "App.h"
#include "TestSupport.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::SetAppTitle("Data Loader");
    // No test may block on a dialog or end the test program.
    testing_support::ResetProgram();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

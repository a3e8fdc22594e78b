#include <gtest/gtest.h>

#include <QApplication>

#include "App.h"
#include "TestSupport.h"
#include "UserSettings.h"

int main(int argc, char** argv) {
    // Headless always; a run may name its own offscreen screen (the layout tests' large one).
    if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The user's own settings stay untouched, the program's runs from here included.
    testing_support::TempDir config;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path().string()));
    QApplication application(argc, argv);
    platform::SetUserSettingsFolder(config.path().string());
    controls::SetAppTitle("Data Loader");
    // No test may block on a dialog or end the test program.
    testing_support::ResetProgram();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

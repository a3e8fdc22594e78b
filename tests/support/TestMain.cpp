#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "App.h"
#include "Dialogs.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::SetAppTitle("Data Loader");
    // No test may block on a dialog or end the test program.
    platform::SetDialogService(std::make_shared<platform::ScriptedDialogs>());
    platform::SetEndHandler([] {});
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

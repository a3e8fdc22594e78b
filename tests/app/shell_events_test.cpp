// The start-up window driven by real key events, as a user meets it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "App.h"
#include "AppSupport.h"
#include "Connection.h"
#include "MDIMain.h"
#include "Schema.h"
#include "Windows.h"
#include "frmSplash.h"

using testing_support::TempDir;

namespace {

class SplashKeys : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetAppPath(dir.path().string());
        testing_support::ScriptDialogs();
        { store::CreateEmptyDatabase(dir.file("water.db")); }
        testing_support::WriteFile(dir.file("datalocation.txt"), dir.file("water.db") + "\r\n");
        controls::SetEndHandler([this] { ended = true; });
    }
    void TearDown() override { testing_support::ResetApp(); }
    QWidget* shown(app::frmSplash& splash) {
        splash.Show();
        QWidget* w = splash.window();
        w->activateWindow();
        QApplication::processEvents();
        return w;
    }

    TempDir dir;
    bool ended = false;
};

}  // namespace

TEST_F(SplashKeys, EnterContinuesIntoTheMainWindowOnTheRememberedDatabase) {
    controls::FormInstance<app::frmSplash> splash;
    QTest::keyClick(shown(splash()), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_FALSE(ended);
    ASSERT_TRUE(app::MainWindowLoaded());
    EXPECT_TRUE(app::MainWindow().window()->isVisible());
    EXPECT_FALSE(splash.IsLoaded());
    ASSERT_NE(store::db(), nullptr);
}

TEST_F(SplashKeys, EscapeOrAnyCharacterEndsWithoutTheMainWindow) {
    for (const auto key : {Qt::Key_Escape, Qt::Key_Q}) {
        ended = false;
        controls::FormInstance<app::frmSplash> splash;
        QTest::keyClick(shown(splash()), key);
        QApplication::processEvents();
        EXPECT_TRUE(ended) << key;
        EXPECT_FALSE(app::MainWindowLoaded()) << key;
    }
    ended = false;
    controls::FormInstance<app::frmSplash> splash;
    shown(splash());
    QTest::mouseClick(splash().cmdCancel.widget(), Qt::LeftButton);
    EXPECT_TRUE(ended);
    EXPECT_FALSE(app::MainWindowLoaded());
}

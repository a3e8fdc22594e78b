// The program's own windows lay their controls out anew when their size changes.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "Connection.h"
#include "Resize.h"
#include "TestSupport.h"
#include "frmDataLoader.h"
#include "frmExport.h"
#include "frmFilterResults.h"

namespace {

class WindowResize : public ::testing::Test {
  protected:
    void SetUp() override {
        Resize::Forget();
        dialogs = testing_support::ScriptDialogs();
        store::setDb(testing_support::EmptyDatabase(dir.file("water.db")));
    }
    void TearDown() override {
        if (auto* filter = loader::FilterResultsWindow().get()) filter->Unload();
        exporter::ExportWindow().reset();
        testing_support::ResetProgram();
        Resize::Forget();
    }

    // Shows the window, makes its inner area twice as wide and half as high again, and
    // returns how far `probe` moved right and how much taller `tall` became, in percent.
    static std::pair<int, int> Stretch(platform::Form& window, const platform::Control& probe,
                                       const platform::Control& tall) {
        window.Show();
        QApplication::processEvents();
        const int left = probe.Left(), height = tall.Height();
        window.SetClientSize(window.ScaleWidth() * 2, window.ScaleHeight() * 3 / 2);
        QApplication::processEvents();
        return {probe.Left() * 100 / left, tall.Height() * 100 / height};
    }

    testing_support::TempDir dir;
    std::shared_ptr<platform::ScriptedDialogs> dialogs;
};

}  // namespace

// Each window scales by its own inner area: lefts with the width, heights with the height.
// Integer twips and the recorded margins allow a percent or two either way.
TEST_F(WindowResize, EveryWindowScalesItsControlsWithItsInnerArea) {
    loader::frmDataLoader data;
    data.Form_Load();
    const auto [dataLeft, dataHeight] = Stretch(data, data.cmdExitSample, data.SSTab1);
    EXPECT_NEAR(dataLeft, 200, 3);
    EXPECT_NEAR(dataHeight, 150, 3);

    auto& exportWindow = exporter::ExportWindow()();
    const auto [exportLeft, exportHeight] =
        Stretch(exportWindow, exportWindow.CmdExport, exportWindow.CmdExport);
    EXPECT_NEAR(exportLeft, 200, 3);
    EXPECT_NEAR(exportHeight, 150, 3);

    loader::frmFilterResults::owner = &data;
    auto& filter = loader::FilterResultsWindow()();
    const auto [filterLeft, filterHeight] = Stretch(filter, filter.cmdCancel, filter.Frame4);
    EXPECT_NEAR(filterLeft, 200, 3);
    EXPECT_NEAR(filterHeight, 150, 3);
}

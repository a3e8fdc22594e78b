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
    // returns how far `probe` moved right and how the heights of `watched` changed, in
    // percent.
    static std::vector<int> Stretch(controls::Form& window, const controls::Control& probe,
                                    std::vector<const controls::Control*> watched) {
        window.Show();
        QApplication::processEvents();
        const int left = probe.Left();
        std::vector<int> heights;
        for (const auto* c : watched) heights.push_back(c->Height());
        window.SetClientSize(window.ScaleWidth() * 2, window.ScaleHeight() * 3 / 2);
        QApplication::processEvents();
        std::vector<int> percent{probe.Left() * 100 / left};
        for (size_t i = 0; i < watched.size(); ++i)
            percent.push_back(watched[i]->Height() * 100 / heights[i]);
        return percent;
    }

    testing_support::TempDir dir;
    std::shared_ptr<controls::ScriptedDialogs> dialogs;
};

}  // namespace

// Each window scales by its own inner area: lefts with the width, heights of tabs, frames
// and multi-line boxes with the height; one-line controls keep theirs. Integer twips and the
// recorded margins allow a percent or two either way.
TEST_F(WindowResize, EveryWindowScalesItsControlsWithItsInnerArea) {
    const auto expectNear = [](const std::vector<int>& got, const std::vector<int>& want) {
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 3) << "at " << i;
    };
    loader::frmDataLoader data;
    data.Form_Load();
    expectNear(Stretch(data, data.cmdExitSample,
                       {&data.SSTab1, &data.txtcomment, &data.txtSampleNum, &data.cmbProject_Code,
                        &data.Check1, &data.cmdExitSample, &data.DTPicker1}),
               {200, 150, 150, 100, 100, 100, 100, 100});

    auto& exportWindow = exporter::ExportWindow()();
    expectNear(Stretch(exportWindow, exportWindow.CmdExport,
                       {&exportWindow.CmdExport, &exportWindow.txtsample}),
               {200, 100, 100});

    loader::frmFilterResults::owner = &data;
    auto& filter = loader::FilterResultsWindow()();
    expectNear(Stretch(filter, filter.cmdCancel, {&filter.Frame4, &filter.Combo1}),
               {200, 150, 100});
}

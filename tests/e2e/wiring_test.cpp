// Every button, check box, list and menu item of every window, pressed through real events
// on a fresh window: each must reach the handler named after it, and no button or check box
// may be left out of the table.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <set>

#include "App.h"
#include "AppSupport.h"
#include "CheckBox.h"
#include "CommandButton.h"
#include "Connection.h"
#include "Database.h"
#include "EventGuard.h"
#include "MDIMain.h"
#include "TestSupport.h"
#include "UserActions.h"
#include "Windows.h"
#include "frmExport.h"
#include "frmImportAccess.h"
#include "frmImportResults.h"
#include "frmPlot.h"
#include "frmRecordSummary.h"
#include "frmReview.h"
#include "frmSplash.h"

using namespace e2e;

namespace {

enum class How { Click, Pick, Type, GridMenu, MenuBar };

struct Press {
    const char* control;  // or the caption of a menu bar item
    const char* handler;
    How how = How::Click;
    const char* item = "Copy";  // the grid menu's item
};

// Buttons and boxes that have no handler of their own: their state is read by others.
const std::set<std::string> kNoHandler = {"Check5",
                                          "Check6",
                                          "Check7",
                                          "chkHeader",
                                          "chkSkipExisting",
                                          "chkCreateSamples",
                                          "chkHandEntered",
                                          "chkOutsideRange",
                                          "chkNotPossible",
                                          "chkSameSample",
                                          "chkReplicateNotScored",
                                          "chkPartWhole"};

const Press kDataLoader[] = {
    {"cmdExitSample", "cmdExitSample_Click"},
    {"CmdAddSample", "CmdAddSample_Click"},
    {"Check11", "Check11_Click"},
    {"Check1", "Check1_Click"},
    {"Check2", "Check2_Click"},
    {"cmdClear", "cmdClear_Click"},
    {"cmdLocate", "cmdLocate_Click"},
    {"cmdNextRecord", "cmdNextRecord_Click"},
    {"cmdPreviousRecord", "cmdPreviousRecord_Click"},
    {"cmddeleteS", "cmddeleteS_Click"},
    {"chkProjectStation", "chkProjectStation_Click"},
    {"ChkLocationStation", "ChkLocationStation_Click"},
    {"ChkWaterStation", "ChkWaterStation_Click"},
    {"cmdFindStation", "cmdFindStation_Click"},
    {"cmdFindSample", "cmdFindSample_Click"},
    {"cmdPrevious", "cmdPrevious_Click"},
    {"cmdNext", "cmdNext_Click"},
    {"Check13", "Check13_Click"},
    {"cmdParameterFind", "cmdParameterFind_Click"},
    {"Check3", "Check3_Click"},
    {"cmdAddResult", "cmdAddResult_Click"},
    {"cmdClearResults", "cmdClearResults_Click"},
    {"cmdExitResult", "cmdExitResult_Click"},
    {"cmdLocateResults", "cmdLocateResults_Click"},
    {"cmdPrevResult", "cmdPrevResult_Click"},
    {"cmdNextResult", "cmdNextResult_Click"},
    {"cmdDeleteR", "cmdDeleteR_Click"},
    {"Check10", "Check10_Click"},
    {"Check9", "Check9_Click"},
    {"Check8", "Check8_Click"},
    {"cmdSamples", "cmdSamples_Click"},
    {"Check12", "Check12_Click"},
    {"cmdSampletoResults", "cmdSampletoResults_Click"},
    {"Check4", "Check4_Click"},
    {"cmdLoadResult", "cmdLoadResult_Click"},
    {"cmdPlotResults", "cmdPlotResults_Click"},
    {"cmdPlotSample", "cmdPlotSample_Click"},
    {"cmbProject_Code", "cmbProject_Code_Click", How::Pick},
    {"txtResult_value", "txtResult_value_Change", How::Type},
    {"cmbRemark_code", "cmbRemark_code_Change", How::Type},
    {"MSFlexGrid1", "mnucopy1_Click", How::GridMenu},
    {"MSFlexGrid2", "mnucopy2_Click", How::GridMenu},
    {"MSFlexGrid3", "mnucopy3_Click", How::GridMenu},
    {"MSFlexGrid4", "mnucopy4_Click", How::GridMenu},
    {"MSFlexGrid1", "mnusavecsv1_Click", How::GridMenu, "Save as CSV"},
    {"MSFlexGrid2", "mnusavecsv2_Click", How::GridMenu, "Save as CSV"},
    {"MSFlexGrid3", "mnusavecsv3_Click", How::GridMenu, "Save as CSV"},
    {"MSFlexGrid4", "mnusavecsv4_Click", How::GridMenu, "Save as CSV"},
};

const Press kExport[] = {
    {"Check1", "Check1_Click"},
    {"cmdbrowseSample", "cmdbrowseSample_Click"},
    {"cmdbrowseresult", "cmdbrowseresult_Click"},
    {"cmdbrowsenon", "cmdbrowsenon_Click"},
    {"cmdreplicates", "cmdreplicates_Click"},
    {"CmdExport", "CmdExport_Click"},
};

const Press kImportAccess[] = {
    {"cmdBrowse", "cmdBrowse_Click"},
    {"cmdImport", "cmdImport_Click"},
};

const Press kFilterResults[] = {
    {"Command1", "Command1_Click"},
    {"cmdOK", "cmdOK_Click"},
    {"cmdCancel", "cmdCancel_Click"},
};

const Press kPlot[] = {
    {"cmdResetZoom", "cmdResetZoom_Click"},   {"cmdAddStation", "cmdAddStation_Click"},
    {"cmdBelowLimit", "cmdBelowLimit_Click"}, {"cmdSaveImage", "cmdSaveImage_Click"},
    {"cmdCopyImage", "cmdCopyImage_Click"},
};

const Press kImportResults[] = {
    {"cmdBrowse", "cmdBrowse_Click"}, {"cmdPaste", "cmdPaste_Click"},
    {"chkHeader", "chkHeader_Click"}, {"cmdCheck", "cmdCheck_Click"},
    {"cmdImport", "cmdImport_Click"}, {"cmdSaveRefused", "cmdSaveRefused_Click"},
    {"cmdClose", "cmdClose_Click"},
};

const Press kHistory[] = {
    {"cmdFilter", "cmdFilter_Click"},
    {"grdHistory", "mnucopyhistory_Click", How::GridMenu},
    {"grdHistory", "mnusavecsvhistory_Click", How::GridMenu, "Save as CSV"},
};

const Press kReview[] = {
    {"chkDates", "chkDates_Click"},
    {"chkReplicate", "chkReplicate_Click"},
    {"cmdRun", "cmdRun_Click"},
    {"cmdSummary", "cmdSummary_Click"},
    {"chkShowReviewed", "chkShowReviewed_Click"},
    {"cmdMarkReviewed", "cmdMarkReviewed_Click"},
    {"grdFindings", "mnuCopyFindings_Click", How::GridMenu},
    {"grdFindings", "mnuSaveFindings_Click", How::GridMenu, "Save as CSV"},
};

const Press kRecordSummary[] = {
    {"cmdResetZoom", "cmdResetZoom_Click"},
    {"cmdSaveImage", "cmdSaveImage_Click"},
    {"cmdCopyImage", "cmdCopyImage_Click"},
    {"grdSummary", "mnuCopySummary_Click", How::GridMenu},
    {"grdSummary", "mnuSaveSummary_Click", How::GridMenu, "Save as CSV"},
};

const Press kMainMenus[] = {
    {"Undo", "mnuUndo_Click", How::MenuBar},
    {"History", "mnuHistory_Click", How::MenuBar},
    {"View or Add Data", "mnuAdd_Click", How::MenuBar},
    {"Change Data File Location", "mnuChange_Click", How::MenuBar},
    {"Use a Database Server...", "mnuServer_Click", How::MenuBar},
    {"Export", "mnuExport_Click", How::MenuBar},
    {"Import Access Database", "mnuImportAccess_Click", How::MenuBar},
    {"Import Results", "mnuImportResults_Click", How::MenuBar},
    {"Review Results", "mnuReview_Click", How::MenuBar},
    {"1", "mnuRecent_Click", How::MenuBar},  // the data file opened last
    {"Exit", "MnuExit_Click", How::MenuBar},
    {"User Guide", "mnuUserGuide_Click", How::MenuBar},
    {"About", "mnuAbout_Click", How::MenuBar},
};

const Press kSplash[] = {
    {"cmdContinue", "cmdContinue_Click"},
    {"cmdCancel", "cmdCancel_Click"},
};

controls::Control* Named(controls::Form& form, const std::string& name) {
    for (auto* c : form.Controls())
        if (c->Name() == name) return c;
    return nullptr;
}

// Shows a control however the window starts: its tab forward, it and its frames visible
// and enabled. The wiring is under test here, not when a control is offered.
void Expose(controls::Form& form, controls::Control& control) {
    QWidget* w = control.widget();
    for (auto* c : form.Controls()) {
        if (auto* tabs = dynamic_cast<controls::SSTab*>(c)) {
            for (int t = 0; t < tabs->Tabs(); ++t)
                if (tabs->Page(t).area()->isAncestorOf(w)) tabs->SetTab(t);
        }
    }
    for (auto* c : form.Controls()) {
        if (c->widget()->isAncestorOf(w)) {
            c->SetVisible(true);
            c->SetEnabled(true);
        }
    }
    control.SetVisible(true);
    control.SetEnabled(true);
    QApplication::processEvents();
}

// The popup menu of a grid: the history's, the review's, the summary's, or one of the Data
// Loader's four (MSFlexGrid1..4).
controls::Menu& GridPopup(controls::Form& form, const std::string& grid) {
    if (auto* history = dynamic_cast<loader::frmHistory*>(&form)) return history->mnuCopyHistory;
    if (auto* review = dynamic_cast<review::frmReview*>(&form)) return review->mnuFindings;
    if (auto* summary = dynamic_cast<review::frmRecordSummary*>(&form)) return summary->mnuSummary;
    auto& loader = static_cast<loader::frmDataLoader&>(form);
    controls::Menu* menus[] = {&loader.MnuCopyStation, &loader.mnucopyproject,
                               &loader.mnuCopySamples, &loader.mnuCopyResults};
    return *menus[grid[10] - '1'];
}

void PressOn(controls::Form& form, const Press& press) {
    controls::Control* control = Named(form, press.control);
    ASSERT_NE(control, nullptr) << "no control " << press.control;
    Expose(form, *control);
    switch (press.how) {
        case How::Click:
            ASSERT_NO_FATAL_FAILURE(Click(*control));
            break;
        case How::Pick:
            ASSERT_NO_FATAL_FAILURE(Pick(*static_cast<controls::ComboBox*>(control), "P1"));
            break;
        case How::Type:
            ASSERT_NO_FATAL_FAILURE(Type(*control, "7"));
            break;
        case How::GridMenu: {
            auto& grid = static_cast<controls::MSFlexGrid&>(*control);
            ASSERT_NO_FATAL_FAILURE(
                ChooseFromGridPopup(grid, GridPopup(form, press.control), 1, 1, press.item));
            break;
        }
        case How::MenuBar:
            break;
    }
}

// The first handler the press ran is the one named after the control; the others ran from it.
void ExpectRan(const std::string& handler) {
    const auto& run = controls::HandlersRun();
    ASSERT_FALSE(run.empty()) << "no handler ran; expected " << handler;
    EXPECT_EQ(run.front(), handler);
}

class Wiring : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetAppPath(dir.path().string());
        dialogs = testing_support::ScriptDialogs();
        controls::SetEndHandler([this] { ++ended; });
        testing_support::EmptyDatabase(dir.file("water.db"))
            ->Execute(
                "insert into tblprojects_programs (project_code, program_project) values (?, ?)",
                {"P1", "Lakes"});
        testing_support::WriteFile(dir.file("datalocation.txt"),
                                   testing_support::Location(dir.file("water.db")) + "\r\n");
        app::MainWindow().Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app::MainWindow().window()));
    }
    void TearDown() override { testing_support::ResetApp(); }

    // A window of its kind, as the program would open it afresh.
    template <class Window>
    void Check(controls::FormInstance<Window>& instance, const Press& press) {
        SCOPED_TRACE(press.control);
        if (instance.get()) instance.get()->Unload();
        QApplication::processEvents();
        Window& form = instance();
        form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.window()));
        controls::ClearHandlersRun();
        ASSERT_NO_FATAL_FAILURE(PressOn(form, press));
        ExpectRan(press.handler);
    }

    // Every button and check box of the window is in the table or has no handler.
    template <class Window, size_t N>
    void ExpectAllListed(controls::FormInstance<Window>& instance, const Press (&table)[N]) {
        std::set<std::string> listed;
        for (const Press& p : table) listed.insert(p.control);
        for (auto* c : instance().Controls()) {
            const bool pressable =
                dynamic_cast<controls::CommandButton*>(c) || dynamic_cast<controls::CheckBox*>(c);
            if (pressable && !kNoHandler.contains(c->Name())) {
                EXPECT_TRUE(listed.contains(c->Name())) << c->Name() << " is not in the table";
            }
        }
    }

    testing_support::TempDir dir;
    std::shared_ptr<controls::ScriptedDialogs> dialogs;
    int ended = 0;
};

}  // namespace

TEST_F(Wiring, EveryControlOfTheDataLoaderReachesItsHandler) {
    for (const Press& press : kDataLoader) Check(loader::DataLoaderWindow(), press);
    ExpectAllListed(loader::DataLoaderWindow(), kDataLoader);
}

TEST_F(Wiring, EveryControlOfTheSmallWindowsReachesItsHandler) {
    for (const Press& press : kExport) Check(exporter::ExportWindow(), press);
    ExpectAllListed(exporter::ExportWindow(), kExport);
    for (const Press& press : kImportAccess) Check(accessdb::ImportAccessWindow(), press);
    ExpectAllListed(accessdb::ImportAccessWindow(), kImportAccess);
    for (const Press& press : kFilterResults) {
        loader::frmFilterResults::owner = &loader::DataLoaderWindow()();
        Check(loader::FilterResultsWindow(), press);
    }
    ExpectAllListed(loader::FilterResultsWindow(), kFilterResults);
    for (const Press& press : kImportResults) Check(importui::ImportResultsWindow(), press);
    ExpectAllListed(importui::ImportResultsWindow(), kImportResults);
    for (const Press& press : kHistory) Check(loader::HistoryWindow(), press);
    ExpectAllListed(loader::HistoryWindow(), kHistory);
    for (const Press& press : kPlot) Check(plot::PlotWindow(), press);
    ExpectAllListed(plot::PlotWindow(), kPlot);
    for (const Press& press : kReview) Check(review::ReviewWindow(), press);
    ExpectAllListed(review::ReviewWindow(), kReview);
    for (const Press& press : kRecordSummary) Check(review::RecordSummaryWindow(), press);
    ExpectAllListed(review::RecordSummaryWindow(), kRecordSummary);
    for (const Press& press : kSplash) {
        SCOPED_TRACE(press.control);
        app::frmSplash splash;
        splash.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(splash.window()));
        controls::ClearHandlersRun();
        ASSERT_NO_FATAL_FAILURE(PressOn(splash, press));
        ExpectRan(press.handler);
    }
}

TEST_F(Wiring, EveryItemOfTheMainMenuReachesItsHandler) {
    for (const Press& press : kMainMenus) {
        SCOPED_TRACE(press.control);
        controls::ClearHandlersRun();
        // The menu's text without its mnemonic marks, as ChooseFromMenuBar reads it.
        std::string recent = "1 " + testing_support::Location(dir.file("water.db"));
        std::erase(recent, '&');
        const std::string item = press.control == std::string("1") ? recent : press.control;
        const char* menu = item == "Exit"                            ? "File"
                           : item == "Undo" || item == "History"     ? "Edit"
                           : item == "User Guide" || item == "About" ? "Help"
                                                                     : "Data";
        ASSERT_NO_FATAL_FAILURE(ChooseFromMenuBar(app::MainWindow().window(), menu, item));
        ExpectRan(press.handler);
    }
    EXPECT_EQ(ended, 1);
}

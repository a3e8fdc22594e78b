// Edit > Undo and Edit > History through real events: a sample deleted in the Data Loader
// comes back with Ctrl+Z, the message says what came back, and the history lists it.
#include <gtest/gtest.h>

#include "App.h"
#include "AppSupport.h"
#include "Database.h"
#include "Results.h"
#include "Samples.h"
#include "TestSupport.h"
#include "UserActions.h"

using namespace e2e;

namespace {

class UndoAndHistory : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetAppPath(dir.path().string());
        dialogs = testing_support::ScriptDialogs();
        testing_support::EmptyDatabase(dir.file("water.db"))
            ->ExecuteNative(
                "insert into tblsample (idloc, sample_code, start_date) values "
                "('V', 5, '2004-03-04 10:30:00'), ('V', 6, '2004-03-05 09:00:00');"
                "insert into tblresults values ('V', 5, 400, 7.25, NULL, 'A', 'field');"
                "insert into tblresults_val_nonnumeric values ('V', 5, 410, 'TNTC', '>', 'B');");
        testing_support::WriteFile(dir.file("datalocation.txt"),
                                   testing_support::Location(dir.file("water.db")) + "\r\n");
        app::MainWindow().Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app::MainWindow().window()));
    }
    void TearDown() override { testing_support::ResetApp(); }
    std::string Rows() {
        return testing_support::QueryValue(
            store::requireDb(),
            "select (select count(*) from tblsample) || ' ' || (select count(*) from tblresults) "
            "|| ' ' || (select count(*) from tblresults_val_nonnumeric)");
    }
    std::string LastPrompt() {
        return dialogs->prompts.empty() ? "" : dialogs->prompts.back().text;
    }

    testing_support::TempDir dir;
    std::shared_ptr<controls::ScriptedDialogs> dialogs;
};

}  // namespace

TEST_F(UndoAndHistory, CtrlZBringsBackADeletedSampleAndTheHistoryListsIt) {
    ASSERT_NO_FATAL_FAILURE(
        ChooseFromMenuBar(app::MainWindow().window(), "Data", "View or Add Data"));
    auto& f = loader::DataLoaderWindow()();
    ASSERT_NO_FATAL_FAILURE(ClickTab(f.SSTab1, "Sample"));
    ASSERT_NO_FATAL_FAILURE(Type(f.txtSampleNum, "5"));
    ASSERT_NO_FATAL_FAILURE(Click(f.cmdLocate));
    ASSERT_NO_FATAL_FAILURE(Click(f.cmddeleteS));
    ASSERT_EQ(Rows(), "1 0 0");

    ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Z, Qt::ControlModifier));
    EXPECT_EQ(LastPrompt(), "Undone: deleted sample 5 with its 2 results.");
    EXPECT_EQ(Rows(), "2 1 1");
    ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Z, Qt::ControlModifier));
    EXPECT_EQ(LastPrompt(), "There is nothing to undo.");

    ASSERT_NO_FATAL_FAILURE(ChooseFromMenuBar(app::MainWindow().window(), "Edit", "History"));
    auto& history = loader::HistoryWindow()();
    EXPECT_EQ(history.lblRowCount.Caption(), "6 rows");
    for (const auto& [sample, rows] : {std::pair{"6", "0 rows"}, {"5", "6 rows"}}) {
        ASSERT_NO_FATAL_FAILURE(Type(history.txtSampleNumber, sample, true));
        ASSERT_NO_FATAL_FAILURE(Key(Qt::Key_Return));
        EXPECT_EQ(history.lblRowCount.Caption(), rows);
    }
    EXPECT_EQ(history.grdHistory.TextMatrix(2, 7), "undo of: deleted sample 5 with its 2 results");
}

TEST_F(UndoAndHistory, AnOpenDataLoaderShowsWhatTheUndoLeftAndKeepsWhatWasTyped) {
    auto& db = store::requireDb();
    db.ExecuteNative(
        "insert into tblprojects_programs (project_code, program_project) values ('8', 'State');"
        "insert into tblstation_information (station_id, place_name_description) values "
        "(109, 'Logan');"
        "insert into tblmedium values ('W', 'Water'); insert into tblsample_type values ('G', "
        "'Grab');"
        "update tblsample set project_code = '8', station_id = 109, medium = 'W', "
        "sample_type = 'G'");
    auto stored = store::Samples(db).Find("5", {});
    stored.MoveFirst();
    store::Sample moved = stored.Current();
    moved.start = platform::DateTime{2004, 3, 9, 8, 0, 0};
    // The user's last two changes: sample 5's number result deleted, then its date moved.
    store::Results(db).Delete(store::Results(db).OfSample("5").at(0));
    store::Samples(db).Update(moved);

    app::MainWindow().mnuAdd_Click();
    auto& f = loader::DataLoaderWindow()();
    auto shown = [&] {
        return f.lblCode.Caption() + " " + f.lblDate.Caption() + " " + f.lblMedium.Caption() +
               ", rows " + std::to_string(f.MSFlexGrid5.Rows() - 1);
    };
    f.txtResultSampleNum.SetText("5");
    f.cmdFindSample_Click();
    ASSERT_EQ(shown(), "5 3/9/2004 8:00:00 AM W-Water, rows 1");
    f.TXTGrade.SetText("typed");
    app::MainWindow().mnuUndo_Click();
    EXPECT_EQ(shown(), "5 3/4/2004 10:30:00 AM W-Water, rows 1");
    EXPECT_EQ(f.TXTGrade.Text(), "typed");
    f.cmdClearResults_Click();  // answered Yes
    app::MainWindow().mnuUndo_Click();
    EXPECT_EQ(shown(), "5 3/4/2004 10:30:00 AM W-Water, rows 2");

    // A sample the undo takes away leaves the tab with no sample.
    store::Samples(db).Add(stored.Current());
    f.txtResultSampleNum.SetText("7");
    f.cmdFindSample_Click();
    ASSERT_EQ(shown(), "7 3/4/2004 10:30:00 AM W-Water, rows 0");
    app::MainWindow().mnuUndo_Click();
    EXPECT_EQ(shown(), "  , rows 0");
    EXPECT_EQ(LastPrompt(), "Undone: added sample 7.");

    // An undo that changes nothing leaves the window as it was: a result on show stays.
    f.txtResultSampleNum.SetText("5");
    f.cmdFindSample_Click();
    f.cmdLocateResults_Click();
    ASSERT_EQ(f.cmdAddResult.Caption(), "Update");
    app::MainWindow().mnuUndo_Click();
    EXPECT_EQ(LastPrompt(), "There is nothing to undo.");
    EXPECT_EQ(f.cmdAddResult.Caption(), "Update");
}

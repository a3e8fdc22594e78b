// Edit > Undo and Edit > History through real events: a sample deleted in the Data Loader
// comes back with Ctrl+Z, the message says what came back, and the history lists it.
#include <gtest/gtest.h>

#include "App.h"
#include "AppSupport.h"
#include "Database.h"
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
    std::shared_ptr<platform::ScriptedDialogs> dialogs;
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
    EXPECT_EQ(history.grdHistory.TextMatrix(2, 3), "undo of: deleted sample 5 with its 2 results");
}

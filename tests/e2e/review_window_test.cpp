// Data > Review Results through real events: the scope and Run, Cancel, Mark Reviewed and
// Show reviewed, a read-only login's refusal, and a double click on a finding. What each check
// finds is the data layer's to test.
#include <gtest/gtest.h>
#include <unistd.h>

#include "AppSupport.h"
#include "FindingRows.h"
#include "Walk.h"
#include "frmRecordSummary.h"
#include "frmReview.h"

using namespace e2e;
namespace column = review::column;

namespace {

class ReviewWalk : public Walk {
  protected:
    void SetUp() override {
        Walk::SetUp();
        // Two pH values no water has: a hand-entered one at station 109, another source's at 105.
        Execute(
            "insert into tblresults (idloc, sample_code, parameter_code, result_value) values "
            "('V', 1, 400, 71), ('S', 2, 400, 15)");
    }

    // The main window on the office's data, then Data > Review Results.
    void OpenReview() {
        auto& main = app::MainWindow();
        main.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.window()));
        ASSERT_NO_FATAL_FAILURE(ChooseFromMenuBar(main.window(), "Data", "Review Results"));
        r = review::ReviewWindow().get();
        ASSERT_NE(r, nullptr);
        ASSERT_TRUE(WaitFor([&] { return r->cmdRun.widget()->isVisible(); }));
    }

    // "source sample parameter" of each finding listed, top to bottom.
    Texts Listed() {
        Texts rows;
        auto& grid = r->grdFindings;
        for (long long row = 2; row < grid.Rows(); ++row)
            rows.push_back(grid.TextMatrix(row, column::Source) + " " +
                           grid.TextMatrix(row, column::Sample) + " " +
                           grid.TextMatrix(row, column::Parameter));
        return rows;
    }
    long long RowOf(const std::string& source) {
        return FindRow(r->grdFindings, column::Source, source);
    }

    review::frmReview* r = nullptr;
};

}  // namespace

TEST_F(ReviewWalk, RunListsTheScopesFindingsAndCancelKeepsTheListBefore) {
    ASSERT_NO_FATAL_FAILURE(OpenReview());
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdRun));
    EXPECT_EQ(Listed(), (Texts{"S 2 400", "V 1 400"}));
    EXPECT_EQ(r->lblFindingCount.Caption(), "2 rows");
    ASSERT_FALSE(dialogs->progress.empty());
    EXPECT_EQ(dialogs->progress.back().label, "Reviewing the results...");
    EXPECT_FALSE(dialogs->progress.back().open);

    // The scope's boxes narrow the run; one that makes no sense is said and runs nothing.
    ASSERT_NO_FATAL_FAILURE(Type(r->txtStations, "109"));
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdRun));
    EXPECT_EQ(Listed(), (Texts{"V 1 400"}));
    EXPECT_EQ(r->lblFindingCount.Caption(), "1 row");
    ASSERT_NO_FATAL_FAILURE(Type(r->txtStations, "105, 109", true));
    ASSERT_NO_FATAL_FAILURE(Type(r->txtParameters, "Temp, SpCond"));
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdRun));
    EXPECT_EQ(Listed(), Texts{});
    ASSERT_NO_FATAL_FAILURE(Type(r->txtParameters, "pH", true));
    ASSERT_NO_FATAL_FAILURE(Click(r->chkHandEntered));
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdRun));
    EXPECT_EQ(Listed(), (Texts{"V 1 400"}));
    Shown();
    ASSERT_NO_FATAL_FAILURE(Type(r->txtStations, "109 10x", true));
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdRun));
    ASSERT_NO_FATAL_FAILURE(Type(r->txtStations, "", true));
    ASSERT_NO_FATAL_FAILURE(Type(r->txtParameters, "Turbidity", true));
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdRun));
    const Texts said = Shown();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0].rfind("\"10x\" is no station ID.", 0), 0u) << said[0];
    EXPECT_EQ(said[1].rfind("No parameter has the code or short name \"Turbidity\".", 0), 0u)
        << said[1];
    EXPECT_EQ(Listed(), (Texts{"V 1 400"}));

    // Cancel in the progress dialog keeps the list of the run before.
    ASSERT_NO_FATAL_FAILURE(Type(r->txtParameters, "", true));
    ASSERT_NO_FATAL_FAILURE(Click(r->chkHandEntered));
    dialogs->cancelAt = 0;
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdRun));
    EXPECT_EQ(Listed(), (Texts{"V 1 400"}));
    EXPECT_EQ(r->lblFindingCount.Caption(),
              "The review was cancelled: the list is that of the run before.");
    dialogs->cancelAt = -1;
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdRun));
    EXPECT_EQ(Listed(), (Texts{"S 2 400", "V 1 400"}));
}

TEST_F(ReviewWalk, MarkReviewedHidesTheFindingUntilShowReviewedIsTicked) {
    ASSERT_NO_FATAL_FAILURE(OpenReview());
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdRun));
    Shown();
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdMarkReviewed));  // nothing chosen yet
    EXPECT_EQ(Shown(), (Texts{"Choose the findings to mark in the list first: click one, or drag "
                              "over several."}));

    ASSERT_NO_FATAL_FAILURE(ClickCell(r->grdFindings, RowOf("V"), column::Value));
    ASSERT_NO_FATAL_FAILURE(Type(r->txtNote, "meter read 7.1"));
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdMarkReviewed));
    EXPECT_EQ(Shown(), Texts{});
    EXPECT_EQ(Listed(), (Texts{"S 2 400"}));
    EXPECT_EQ(r->lblFindingCount.Caption(), "1 row; 1 marked reviewed not shown");
    EXPECT_EQ(Value("select sample_code || ' ' || note from tblresult_review"), "1 meter read 7.1");
    // The next run leaves it out too.
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdRun));
    EXPECT_EQ(Listed(), (Texts{"S 2 400"}));

    ASSERT_NO_FATAL_FAILURE(Click(r->chkShowReviewed));
    EXPECT_EQ(Listed(), (Texts{"S 2 400", "V 1 400"}));
    const long long marked = RowOf("V");
    EXPECT_EQ(r->grdFindings.TextMatrix(marked, column::Note), "meter read 7.1");
    EXPECT_EQ(r->grdFindings.TextMatrix(marked, column::Reviewer),
              Value("select reviewer from tblresult_review"));
    EXPECT_EQ(r->grdFindings.TextMatrix(RowOf("S"), column::Reviewer), "");
    // Marked while shown, a finding stays and shows its mark.
    ASSERT_NO_FATAL_FAILURE(ClickCell(r->grdFindings, RowOf("S"), column::Value));
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdMarkReviewed));
    EXPECT_EQ(Listed(), (Texts{"S 2 400", "V 1 400"}));
    EXPECT_NE(r->grdFindings.TextMatrix(RowOf("S"), column::ReviewedOn), "");
    ASSERT_NO_FATAL_FAILURE(Click(r->chkShowReviewed));
    EXPECT_EQ(Listed(), Texts{});
    EXPECT_EQ(r->lblFindingCount.Caption(), "0 rows; 2 marked reviewed not shown");
}

TEST_F(ReviewWalk, ALoginThatMayOnlyReadIsToldItMayNotMarkAndNothingIsWritten) {
    if (!testing_support::OnServer()) GTEST_SKIP() << "a server's logins";
    auto owner = platform::Database::OpenDatabase(location());
    testing_support::ReadOnlyLogin login(*owner, location(), "review_window_reader");
    const std::string& reader = login.Location();
    testing_support::WriteFile(dir.file("datalocation.txt"), reader + "\r\n");

    ASSERT_NO_FATAL_FAILURE(OpenReview());
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdRun));
    ASSERT_EQ(Listed(), (Texts{"S 2 400", "V 1 400"}));
    Shown();
    ASSERT_NO_FATAL_FAILURE(ClickCell(r->grdFindings, RowOf("V"), column::Value));
    ASSERT_NO_FATAL_FAILURE(Type(r->txtNote, "read only"));
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdMarkReviewed));
    const Texts said = Shown();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].rfind("This login may not record reviews", 0), 0u) << said[0];
    EXPECT_EQ(Listed(), (Texts{"S 2 400", "V 1 400"}));
    EXPECT_EQ(r->txtNote.Text(), "read only");
    EXPECT_EQ(testing_support::QueryValue(*owner, "select count(*) from tblresult_review"), "0");
    EXPECT_FALSE(owner->TableExists("tblchange_journal"));
}

TEST_F(ReviewWalk, ADoubleClickOpensAHandEnteredResultAndSaysWhereAnotherComesFrom) {
    Execute(
        "insert into tblresults (idloc, sample_code, parameter_code, result_value) values "
        "('V', 2, 400, -1)");
    ASSERT_NO_FATAL_FAILURE(OpenReview());
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdRun));
    Shown();
    auto& grid = r->grdFindings;
    QWidget* cells = grid.view()->viewport();
    QTest::mouseDClick(cells, Qt::LeftButton, {}, CellPoint(grid, RowOf("S"), column::Detail));
    QApplication::processEvents();
    EXPECT_EQ(Shown(),
              (Texts{"Sample 2 of source S, station 105 (Bear Lake at Marina), 6/2/2003 10:00:00 "
                     "AM, was loaded from another source: only hand-entered samples open on the "
                     "Results tab."}));
    EXPECT_EQ(loader::DataLoaderWindow().get(), nullptr);

    QTest::mouseDClick(cells, Qt::LeftButton, {}, CellPoint(grid, RowOf("V"), column::Detail));
    QApplication::processEvents();
    EXPECT_EQ(Shown(), Texts{});
    auto* loaderWindow = loader::DataLoaderWindow().get();
    ASSERT_NE(loaderWindow, nullptr);
    EXPECT_EQ(loaderWindow->SSTab1.Tab(), loader::tab::Results);
    EXPECT_EQ(loaderWindow->lblCode.Caption(), "1");
    // The pH result chosen in the sample's grid and loaded for correction.
    EXPECT_EQ(loaderWindow->cmbParameter.ItemCode(loaderWindow->cmbParameter.ListIndex()), "400");
    EXPECT_EQ(loaderWindow->txtResult_value.Text(), "71");
    EXPECT_EQ(loaderWindow->cmdAddResult.Caption(), "Update");
    EXPECT_EQ(loaderWindow->MSFlexGrid5.TextMatrix(loaderWindow->MSFlexGrid5.Row(), 1), "400");

    // Before another sample, a correction typed and not stored is asked about, and No keeps it.
    const long long other = FindRow(grid, column::Station, "112");
    ASSERT_GT(other, 1);
    loaderWindow->txtResult_value.SetText("7.1");
    dialogs->answers = {controls::mb::No};
    QTest::mouseDClick(cells, Qt::LeftButton, {}, CellPoint(grid, other, column::Detail));
    QApplication::processEvents();
    EXPECT_EQ(Shown(), (Texts{"The result typed has not been stored.\n\nDiscard it?"}));
    EXPECT_EQ(loaderWindow->lblCode.Caption(), "1");
    EXPECT_EQ(loaderWindow->txtResult_value.Text(), "7.1");
    dialogs->answers = {controls::mb::Yes};
    QTest::mouseDClick(cells, Qt::LeftButton, {}, CellPoint(grid, other, column::Detail));
    QApplication::processEvents();
    EXPECT_EQ(Shown(), (Texts{"The result typed has not been stored.\n\nDiscard it?"}));
    EXPECT_EQ(loaderWindow->lblCode.Caption(), "2");
    EXPECT_EQ(loaderWindow->txtResult_value.Text(), "-1");
}

// The findings, and the summary, come from the file they were read from: another file closes
// them, so no mark is made in it for a finding of the old one.
TEST_F(ReviewWalk, AnotherDataFileClosesTheReviewAndItsSummary) {
    ASSERT_NO_FATAL_FAILURE(OpenReview());
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdRun));
    ASSERT_NO_FATAL_FAILURE(Click(r->cmdSummary));
    ASSERT_TRUE(review::RecordSummaryWindow().IsLoaded());
    const std::string other = testing_support::Location(dir.file("other.db"));
    testing_support::EmptyDatabase(dir.file("other.db"));
    dialogs->files.push_back(other);
    ASSERT_NO_FATAL_FAILURE(
        ChooseFromMenuBar(app::MainWindow().window(), "Data", "Change Data File Location"));
    EXPECT_EQ(store::requireDb().Name(), other);
    EXPECT_FALSE(review::ReviewWindow().IsLoaded());
    EXPECT_FALSE(review::RecordSummaryWindow().IsLoaded());
}

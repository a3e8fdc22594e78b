// "Edit Results" on the window: the locate reads the entry controls, steps show each row's
// own values, the delete asks and takes only the row still on show; and a sample keyed in,
// given results and corrected end to end. What matches is the results service's own test.
#include <gtest/gtest.h>

#include "ResultsTabSupport.h"

using loader_test::Pick;

namespace {

class ResultLocate : public loader_test::ResultsTest {
  protected:
    const Shown at10{"1.4", "A", "bank", "10", ""};
    const Shown at95{"892", "B", "bank lab", "95", "<"};
    const Shown at300{"8.4", "", "bank meter", "300", ""};  // no grade, no remark
};

}  // namespace

TEST_F(ResultLocate, LocateSearchesByEachEntryAndShowsTheFirstMatchOrChangesNothing) {
    struct Case {
        const char *parameter, *remark, *comment, *value;
        Shown shown;  // what shows afterwards
    };
    const Case cases[] = {
        {"300", "", "", "", at300},
        {"", "<", "", "", at95},
        {"", "", "meter", "", at300},
        {"", "", "", "892.0", at95},
        {"95", "<", "lab", "1", {"1", "", "lab", "95", "<"}},  // no match: nothing changes
    };
    auto& f = OpenOn("1");
    for (const auto& c : cases) {
        f.cmdClearResults_Click();
        if (*c.parameter) {
            ASSERT_TRUE(Pick(f.cmbParameter, c.parameter));
        }
        if (*c.remark) {
            ASSERT_TRUE(Pick(f.cmbRemark_code, c.remark));
        }
        f.txtCommentResult.SetText(c.comment);
        f.txtResult_value.SetText(c.value);
        f.cmdLocateResults_Click();
        EXPECT_EQ(Showing(f), c.shown);
        ExpectEditing(f, c.shown != Shown{"1", "", "lab", "95", "<"}, c.comment);
    }
    EXPECT_TRUE(dialogs->prompts.empty());
}

TEST_F(ResultLocate, StepsWalkTheFoundSetShowingEachRowsOwnValues) {
    auto& f = OpenOn("1");
    auto expectRefused = [&](const char* when) {
        dialogs->clear();
        f.cmdNextResult_Click();
        f.cmdPrevResult_Click();
        EXPECT_EQ(dialogs->texts(),
                  (std::vector<std::string>{"Record not found", "No record found"}))
            << when;
    };
    expectRefused("before any locate");
    f.txtCommentResult.SetText("bank");
    f.cmdLocateResults_Click();
    ASSERT_EQ(Showing(f), at10);
    // Each step shows that row's own values over what was typed.
    f.txtResult_value.SetText("typed");
    f.TXTGrade.SetText("typed");
    f.cmdNextResult_Click();
    EXPECT_EQ(Showing(f), at95);
    f.cmdNextResult_Click();
    EXPECT_EQ(Showing(f), at300);
    ExpectEditing(f, true, "stepping");

    // A find starts with the clear, which ends the found set.
    f.txtResultSampleNum.SetText("abc");
    f.cmdFindSample_Click();
    ExpectEditing(f, false, "after a find");
    expectRefused("after a find");
}

TEST_F(ResultLocate, DeleteAsksAndTakesOnlyTheRowStillOnShow) {
    const std::string noMatch =
        "No result matches what is shown (it may have been changed or deleted since it was "
        "located). Nothing was deleted.";
    const std::string ask = "Delete this result?\n\n300-DO: numeric result ";
    struct Case {
        const char* name;
        const char* value;  // typed after the locate; nullptr: deleted elsewhere instead
        std::vector<std::string> said;
        const char* row;  // 300 afterwards
    };
    const Case cases[] = {
        {"value changed", "8.5", {noMatch}, "8.4|~|~|bank meter"},
        {"value not a number", "abc", {noMatch}, "8.4|~|~|bank meter"},
        {"deleted elsewhere", nullptr, {noMatch}, ""},
        {"cancelled", "8.4", {ask + "8.4", "Delete Cancelled"}, "8.4|~|~|bank meter"},
        {"written differently", "8.40", {ask + "8.40"}, ""},
    };
    for (const auto& c : cases) {
        auto& f = OpenOn("1");
        ASSERT_TRUE(Pick(f.cmbParameter, "300"));
        f.cmdLocateResults_Click();
        if (c.value)
            f.txtResult_value.SetText(c.value);
        else
            db->ExecuteNative("delete from tblresults where parameter_code = 300");
        if (c.said.size() == 2) dialogs->answers.push_back(controls::mb::Cancel);
        f.cmdDeleteR_Click();
        EXPECT_EQ(dialogs->texts(), c.said) << c.name;
        EXPECT_EQ(Row("tblresults", 1, 300), c.row) << c.name;
        EXPECT_EQ(Row("tblresults", 1, 95), "892|<|B|bank lab") << c.name;
        ExpectEditing(f, std::string(c.name) != "written differently", c.name);
        db->ExecuteNative(
            "insert or replace into tblresults values ('V', 1, 300, 8.4, NULL, NULL, 'bank "
            "meter')");
    }
}

TEST_F(ResultLocate, AFailedSearchIsSaidAndTheTabKept) {
    Open().cmdLocateResults_Click();
    EXPECT_EQ(dialogs->texts(), std::vector<std::string>{"No sample is shown. Find the sample "
                                                         "first, then locate its results."});
    auto& f = OpenOn("1");
    ASSERT_TRUE(Pick(f.cmbParameter, "10"));
    f.txtResult_value.SetText("1.4");
    db->ExecuteNative("drop table tblresults");
    f.cmdLocateResults_Click();
    ASSERT_EQ(dialogs->texts().size(), 1u);
    EXPECT_NE(dialogs->texts()[0].find("'tblresults'"), std::string::npos) << dialogs->texts()[0];
    EXPECT_EQ(Showing(f), (Shown{"1.4", "", "", "10", ""}));
    ExpectEditing(f, false, "after the failed locate");
    EXPECT_EQ(f.MousePointer(), 0);
}

TEST_F(ResultLocate, ARowWhoseParameterTheListLacksBringsUpTheWholeList) {
    auto& f = OpenOn("1");
    f.Check13.SetValue(0);
    f.txtparameterFind.SetText("Temp");
    f.cmdParameterFind_Click();  // parameter 10 alone
    ASSERT_EQ(f.cmbParameter.ListCount(), 1);
    f.cmdLocateResults_Click();
    f.cmdNextResult_Click();
    EXPECT_EQ(Showing(f), at95);
    EXPECT_EQ(f.Check13.Value(), 1);
    // Update rewrites that row and no other.
    f.txtResult_value.SetText("9");
    f.cmdAddResult_Click();
    EXPECT_EQ(Row("tblresults", 1, 95), "9|<|B|bank lab");
    EXPECT_EQ(Row("tblresults", 1, 10), "1.4|~|A|bank");
}

TEST_F(ResultLocate, ASavedSampleTakesResultsThatAreFoundCorrectedAndDeleted) {
    auto& f = Open();
    ASSERT_TRUE(Pick(f.cmbProject_Code, "8"));
    ASSERT_TRUE(Pick(f.cmbStation_id, "109"));
    ASSERT_TRUE(Pick(f.cmbMedium, "W"));
    ASSERT_TRUE(Pick(f.CMBSample_Type, "G"));
    f.DTPicker2.SetValue({2005, 6, 8, 0, 0, 0});
    f.DTPicker1.SetValue({2005, 6, 8, 14, 5, 0});
    f.CmdAddSample_Click();
    ASSERT_EQ(f.lblCode.Caption(), "2");

    // A remark holding '-' and a value needing 17 digits come back whole; an Update of the
    // grade keeps the value.
    ASSERT_TRUE(Pick(f.cmbRemark_code, "J-"));
    for (const char* parameter : {"10", "300"}) {
        ASSERT_TRUE(Pick(f.cmbParameter, parameter));
        f.txtResult_value.SetText("0.30000000000000004");
        f.cmdAddResult_Click();
    }
    f.cmdLocateResults_Click();
    EXPECT_EQ(Showing(f), (Shown{"0.30000000000000004", "", "", "10", "J-"}));
    f.TXTGrade.SetText("B");
    f.cmdAddResult_Click();
    EXPECT_EQ(QueryValue(*db,
                         "select result_value = 0.30000000000000004 from tblresults "
                         "where sample_code = 2"),
              "1");
    EXPECT_TRUE(dialogs->prompts.empty());

    // Delete takes the row on show after a step, once confirmed.
    f.cmdLocateResults_Click();
    f.cmdNextResult_Click();
    f.cmdDeleteR_Click();
    EXPECT_EQ(Row("tblresults", 2, 300), "");
    ExpectEditing(f, false, "deleted");

    // A value of the other kind replaces the number, and says so.
    f.cmdLocateResults_Click();
    f.txtResult_value.SetText("<5");
    f.cmdAddResult_Click();
    EXPECT_EQ(dialogs->texts(), (std::vector<std::string>{
                                    "Delete this result?\n\n300-DO: numeric result "
                                    "0.30000000000000004",
                                    "The numeric result 0.30000000000000004 was replaced by <5"}));
    EXPECT_EQ(Row("tblresults", 2, 10), "");
    EXPECT_EQ(Row("tblresults_val_nonnumeric", 2, 10), "<5|J-|B");
}

TEST_F(ResultLocate, FindingAndSteppingAskBeforeATypedGradeIsLost) {
    db->ExecuteNative(
        "insert into tblsample (idloc, sample_code, project_code, station_id, start_date,"
        " medium, sample_type) values ('V', 2, '8', 109, '2005-06-07 16:00:00', 'W', 'G')");
    using F = loader::frmDataLoader;
    using Handler = void (F::*)();
    struct Case {
        const char* name;
        std::vector<Handler> before;  // run before anything is typed
        Handler handler;
        std::string code;  // the sample shown after Yes
        Shown shown;       // and the entry
    };
    const Shown cleared{};
    const Case cases[] = {
        {"find", {}, &F::cmdFindSample_Click, "1", cleared},
        {"next", {}, &F::cmdNext_Click, "2", cleared},
        {"previous", {&F::cmdNext_Click}, &F::cmdPrevious_Click, "1", cleared},
        {"locate", {}, &F::cmdLocateResults_Click, "1", at10},
        {"next result", {&F::cmdLocateResults_Click}, &F::cmdNextResult_Click, "1", at95},
        {"previous result",
         {&F::cmdLocateResults_Click, &F::cmdNextResult_Click},
         &F::cmdPrevResult_Click,
         "1",
         at10},
    };
    for (const auto& c : cases) {
        auto& f = Open();
        f.Check13.SetValue(1);
        f.DTPicker5.SetValue({2005, 6, 7, 0, 0, 0});
        f.cmdFindSample_Click();  // both samples of the day, the first on show
        for (Handler h : c.before) (f.*h)();
        f.TXTGrade.SetText("zz");
        const auto header = loader_test::HeaderOf(f);
        const Shown typed = Showing(f);
        const std::string caption = f.cmdAddResult.Caption();
        dialogs->clear();
        dialogs->answers = {controls::mb::No};
        (f.*c.handler)();
        EXPECT_EQ(dialogs->texts(),
                  std::vector<std::string>{"The result typed has not been stored.\n\nDiscard it?"})
            << c.name;
        EXPECT_EQ(loader_test::HeaderOf(f), header) << c.name;
        EXPECT_EQ(Showing(f), typed) << c.name;
        EXPECT_EQ(f.cmdAddResult.Caption(), caption) << c.name;
        // Yes does the handler's work, from where No left everything.
        (f.*c.handler)();
        EXPECT_EQ(f.lblCode.Caption(), c.code) << c.name;
        EXPECT_EQ(Showing(f), c.shown) << c.name;
        f.Unload();
    }
}

TEST_F(ResultLocate, ASampleSaveAsksBeforeACorrectionInHandIsLost) {
    auto& f = OpenOn("1");
    f.cmdLocateResults_Click();
    f.TXTGrade.SetText("zz");
    const Shown typed = Showing(f);
    ASSERT_TRUE(Pick(f.cmbProject_Code, "8"));
    ASSERT_TRUE(Pick(f.cmbStation_id, "109"));
    ASSERT_TRUE(Pick(f.cmbMedium, "W"));
    ASSERT_TRUE(Pick(f.CMBSample_Type, "G"));
    f.DTPicker2.SetValue({2005, 6, 8, 0, 0, 0});
    dialogs->answers = {controls::mb::No, controls::mb::Yes};
    f.CmdAddSample_Click();
    EXPECT_EQ(QueryValue(*db, "select count(*) from tblsample where sample_code = 2"), "0");
    EXPECT_EQ(Showing(f), typed);
    EXPECT_EQ(f.cmdAddResult.Caption(), "Update");
    f.CmdAddSample_Click();
    EXPECT_EQ(dialogs->texts(),
              std::vector<std::string>(2, "The result typed has not been stored.\n\nDiscard it?"));
    EXPECT_EQ(f.lblCode.Caption(), "2");
    EXPECT_EQ(Showing(f), Shown{});
}

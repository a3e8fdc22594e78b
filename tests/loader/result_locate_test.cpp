// "Edit Results": locating the shown sample's numeric results, stepping through them and
// deleting the one on show; and a sample keyed in, given results and corrected end to end.
#include <gtest/gtest.h>

#include "ResultsTabSupport.h"

using loader_test::Choose;
using loader_test::SelectedOf;
using platform::DateTime;

namespace {

class ResultLocate : public loader_test::ResultsTest {
  protected:
    // The parameters of the found set, from the row on show to the last.
    std::vector<std::string> Walk(loader::frmDataLoader& f) {
        std::vector<std::string> found{SelectedOf(f.cmbParameter)};
        for (int guard = 0; guard < 20; ++guard) {
            f.cmdNextResult_Click();
            if (SelectedOf(f.cmbParameter) == found.back()) break;
            found.push_back(SelectedOf(f.cmbParameter));
        }
        return found;
    }
    // Sample 1 located on one parameter.
    loader::frmDataLoader& LocateOn(int parameter) {
        auto& f = OpenOn("1");
        EXPECT_TRUE(Choose(f.cmbParameter, std::to_string(parameter)));
        f.cmdLocateResults_Click();
        return f;
    }
    void Restore300() {
        db->ExecuteNative(
            "insert or replace into tblresults values ('V', 1, 300, 8.4, NULL, 'A', 'Field "
            "meter')");
    }
    bool AskedToDelete() {
        for (const auto& p : dialogs->prompts)
            if (p.buttons == platform::mb::OKCancel) return true;
        return false;
    }
};

const std::vector<std::string> kAllOfOne = {"10",  "95",  "300", "400",   "530",
                                            "630", "665", "940", "31648", "70300"};

}  // namespace

TEST_F(ResultLocate, OnlyNumericHandEnteredResultsOfTheSampleThatMatchAreFound) {
    db->ExecuteNative(
        "update tblresults set remark_code = '<', comments = 'O''Neil [lab]*' "
        "where idloc = 'V' and sample_code = 1 and parameter_code = 95;"
        "update tblresults set remark_code = '<' "
        "where idloc = 'V' and sample_code = 1 and parameter_code = 400;"
        "insert into tblresults_val_nonnumeric values ('V', 1, 60, 'TNTC', NULL, 'A');"
        "insert into tblresults values ('V', 6, 76, 5, NULL, 'A', NULL);");
    struct Case {
        const char* name;
        const char* parameter;  // "" for none
        const char* remark;
        const char* value;
        const char* comment;
        std::vector<std::string> found;
    };
    const Case cases[] = {
        {"nothing", "", "", "", "", kAllOfOne},
        {"parameter", "300", "", "", "", {"300"}},
        {"remark", "", "<", "", "", {"95", "400"}},
        {"value", "", "", "843", "", {"31648"}},
        {"value written differently", "", "", "8.40", "", {"300"}},
        {"value that is not a number", "", "", "<5", "", kAllOfOne},
        {"comment", "", "", "", "meter", {"300"}},
        {"one-letter comment", "", "", "", "l", kAllOfOne},
        {"comment as typed", "", "", "", "O'Neil [lab]*", {"95"}},
        {"parameter and remark", "400", "<", "", "", {"400"}},
    };
    auto& f = OpenOn("1");
    for (const auto& c : cases) {
        f.cmdClearResults_Click();
        EXPECT_TRUE(!*c.parameter || Choose(f.cmbParameter, c.parameter)) << c.name;
        EXPECT_TRUE(!*c.remark || Choose(f.cmbRemark_code, c.remark)) << c.name;
        f.txtResult_value.SetText(c.value);
        f.txtCommentResult.SetText(c.comment);
        f.cmdLocateResults_Click();
        EXPECT_EQ(Walk(f), c.found) << c.name;
        EXPECT_EQ(f.lblCode.Caption(), "1") << c.name;
    }
    EXPECT_TRUE(dialogs->prompts.empty());
}

TEST_F(ResultLocate, LocateShowsTheFirstMatchOrChangesNothing) {
    auto& g = Open();
    g.Check13.SetValue(1);
    ASSERT_TRUE(Choose(g.cmbParameter, "10"));
    g.txtResult_value.SetText("1.4");
    g.cmdLocateResults_Click();  // no sample on show
    EXPECT_EQ(dialogs->prompts.size(), 1u);
    EXPECT_EQ(Showing(g), (Shown{"1.4", "", "", "10", ""}));
    EXPECT_FALSE(g.cmdDeleteR.Visible());
    EXPECT_TRUE(g.cmbParameter.Enabled());

    auto& f = OpenOn("1");
    ASSERT_TRUE(Choose(f.cmbParameter, "95"));
    f.txtResult_value.SetText("1");
    f.cmdLocateResults_Click();
    EXPECT_EQ(Showing(f), (Shown{"1", "", "", "95", ""}));
    ExpectEditing(f, false, "no match");

    ASSERT_TRUE(Choose(f.cmbParameter, "10"));
    f.txtResult_value.SetText("");
    f.TXTGrade.SetText("typed");
    f.txtCommentResult.SetText("x");  // too short to search by
    f.cmdLocateResults_Click();
    EXPECT_EQ(Showing(f), (Shown{"1.4", "A", "", "10", ""}));
    ExpectEditing(f, true, "found");
    EXPECT_TRUE(dialogs->prompts.empty());
}

TEST_F(ResultLocate, StepsWalkTheFoundSetShowingEachRowsOwnValues) {
    db->ExecuteNative(
        "update tblresults set comments = 'bank' "
        "where idloc = 'V' and sample_code = 1 and parameter_code = 10;"
        "update tblresults set remark_code = '<', grade = 'B', comments = 'bank lab' "
        "where idloc = 'V' and sample_code = 1 and parameter_code = 95;"
        "update tblresults set grade = NULL, comments = 'bank meter' "
        "where idloc = 'V' and sample_code = 1 and parameter_code = 300;");
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
    ASSERT_EQ(Showing(f), (Shown{"1.4", "A", "bank", "10", ""}));

    const Shown at95{"892", "B", "bank lab", "95", "<"};
    const Shown at300{"8.4", "", "bank meter", "300", ""};  // no grade, no remark
    const Shown at10{"1.4", "A", "bank", "10", ""};
    struct Step {
        bool next;
        Shown shown;  // a value of "typed": nothing was shown
    };
    const Step steps[] = {
        {true, at95},
        {true, at300},
        {true, {"typed", "typed", "bank meter", "300", ""}},
        {false, at300},
        {false, at95},
        {false, at10},
        {false, {"typed", "typed", "bank", "10", ""}},
        {true, at10},
    };
    dialogs->clear();
    int n = 0;
    for (const auto& s : steps) {
        f.txtResult_value.SetText("typed");
        f.TXTGrade.SetText("typed");
        s.next ? f.cmdNextResult_Click() : f.cmdPrevResult_Click();
        EXPECT_EQ(Showing(f), s.shown) << "step " << n;
        EXPECT_EQ(f.lblCode.Caption(), "1") << "step " << n;
        ExpectEditing(f, true, "step " + std::to_string(n));
        ++n;
    }
    EXPECT_TRUE(dialogs->prompts.empty());

    // A find starts with the clear, which ends the found set.
    f.txtResultSampleNum.SetText("abc");
    f.cmdFindSample_Click();
    ExpectEditing(f, false, "after a find");
    expectRefused("after a find");
}

TEST_F(ResultLocate, DeleteRefusesWithoutAskingWhenTheRowIsNoLongerOnShow) {
    struct Case {
        const char* name;
        const char* value;  // nullptr: the row is deleted elsewhere instead
    };
    const Case cases[] = {{"value changed", "8.5"},
                          {"value not a number", "abc"},
                          {"value emptied", ""},
                          {"row deleted elsewhere", nullptr}};
    const std::string row = "idloc = 'V' and sample_code = 1 and parameter_code = 300";
    for (const auto& c : cases) {
        auto& f = LocateOn(300);
        if (c.value)
            f.txtResult_value.SetText(c.value);
        else
            db->ExecuteNative("delete from tblresults where " + row);
        dialogs->clear();
        f.cmdDeleteR_Click();
        EXPECT_EQ(dialogs->prompts.size(), 1u)
            << c.name << " " << testing::PrintToString(dialogs->texts());
        EXPECT_FALSE(AskedToDelete()) << c.name;
        EXPECT_EQ(Count("tblresults", row), c.value ? 1 : 0) << c.name;
        EXPECT_EQ(Count("tblresults", "idloc = 'V' and sample_code = 1"), c.value ? 10 : 9);
        ExpectEditing(f, true, c.name);
        Restore300();
    }
}

TEST_F(ResultLocate, AStepOrLocateThatChangedNothingLeavesTheRowOnShowDeletable) {
    struct Case {
        const char* name;
        void (*act)(loader::frmDataLoader&);
    };
    const Case cases[] = {
        {"the value written differently",
         [](loader::frmDataLoader& f) { f.txtResult_value.SetText("8.40"); }},
        {"next at the last row", [](loader::frmDataLoader& f) { f.cmdNextResult_Click(); }},
        {"previous at the first row", [](loader::frmDataLoader& f) { f.cmdPrevResult_Click(); }},
        {"a locate that found nothing",
         [](loader::frmDataLoader& f) {
             f.txtResult_value.SetText("999");
             f.cmdLocateResults_Click();
             f.txtResult_value.SetText("8.4");
         }},
    };
    for (const auto& c : cases) {
        auto& f = LocateOn(300);
        c.act(f);
        EXPECT_EQ(f.TXTGrade.Text(), "A") << c.name;
        EXPECT_EQ(f.txtCommentResult.Text(), "Field meter") << c.name;
        ExpectEditing(f, true, c.name);
        dialogs->clear();
        f.cmdDeleteR_Click();
        EXPECT_EQ(dialogs->texts(), std::vector<std::string>{"Delete this result?"}) << c.name;
        EXPECT_EQ(Stored(1, 300), 0) << c.name;
        Restore300();
    }
}

TEST_F(ResultLocate, ASavedSampleTakesResultsThatAreThenFoundCorrectedAndDeleted) {
    auto& f = Open();
    FillValidEntry(f);
    f.DTPicker2.SetValue({2005, 6, 7, 0, 0, 0});
    f.DTPicker1.SetValue({2005, 6, 7, 14, 5, 0});
    f.CmdAddSample_Click();
    ASSERT_TRUE(dialogs->prompts.empty());
    ASSERT_EQ(f.lblCode.Caption(), "6");
    EXPECT_EQ(f.lblDate.Caption(), "6/7/2005 2:05:00 PM");

    auto add = [&](const char* parameter, const char* value, int replicate) {
        ASSERT_TRUE(Choose(f.cmbParameter, parameter));
        f.txtResult_value.SetText(value);
        f.Check3.SetValue(replicate);
        f.cmdAddResult_Click();
    };
    ASSERT_TRUE(Choose(f.cmbRemark_code, "<"));
    f.txtCommentResult.SetText("end to end");
    add("10", "12.5", 0);
    add("95", "300", 0);
    add("400", "7.1", 1);
    add("31648", "TNTC", 0);
    EXPECT_TRUE(dialogs->prompts.empty());
    EXPECT_EQ(Row("tblresults", 6, 10), "12.5|<||end to end");
    EXPECT_EQ(Row("tblreplicates", 6, 400), "7.1|~|");
    EXPECT_EQ(Row("tblresults_val_nonnumeric", 6, 31648), "TNTC|~|");

    f.txtResultSampleNum.SetText("");
    f.DTPicker5.SetValue({2005, 6, 7, 8, 0, 0});
    f.cmdFindSample_Click();
    EXPECT_EQ(f.lblCode.Caption(), "6");

    f.cmdLocateResults_Click();
    EXPECT_EQ(Showing(f), (Shown{"12.5", "", "end to end", "10", "<"}));
    f.txtResult_value.SetText("13");
    f.cmdAddResult_Click();
    EXPECT_EQ(Row("tblresults", 6, 10), "13|<||end to end");
    EXPECT_EQ(Stored(6, 10), 1);
    ExpectEditing(f, false, "updated");

    // Delete takes the row on show after a step, and only once confirmed.
    const long long others = Count("tblresults", "idloc <> 'V' or sample_code <> 6");
    f.cmdLocateResults_Click();
    f.cmdNextResult_Click();
    ASSERT_EQ(Showing(f), (Shown{"300", "", "", "95", ""}));
    dialogs->answers.push_back(platform::mb::Cancel);
    f.cmdDeleteR_Click();
    ASSERT_EQ(dialogs->prompts.size(), 2u);
    EXPECT_EQ(dialogs->prompts[0].text, "Delete this result?");
    EXPECT_EQ(dialogs->prompts[0].buttons, platform::mb::OKCancel);
    EXPECT_EQ(dialogs->prompts[1].text, "Delete Cancelled");
    EXPECT_EQ(Stored(6, 95), 1);
    ExpectEditing(f, true, "cancelled");

    dialogs->clear();
    f.cmdDeleteR_Click();
    EXPECT_EQ(dialogs->texts(), std::vector<std::string>{"Delete this result?"});
    EXPECT_EQ(Stored(6, 95), 0);
    EXPECT_EQ(Stored(6, 10) + Stored(6, 400) + Stored(6, 31648), 3);
    EXPECT_EQ(Count("tblresults", "idloc <> 'V' or sample_code <> 6"), others);
    EXPECT_EQ(Showing(f), (Shown{"", "", "", "", ""}));
    ExpectEditing(f, false, "deleted");
}

// A file that has lost a table: each search says why once and leaves the tab as it was.
TEST_F(ResultLocate, QueriesTheFileRefusesAreReportedAndTheTabKept) {
    auto& f = OpenOn("1");
    const auto parameters = loader_test::Entries(f.cmbParameter);
    ASSERT_TRUE(Choose(f.cmbParameter, "10"));
    f.txtResult_value.SetText("1.4");
    platform::FinishPendingReads();
    db->ExecuteNative("drop table tblparameter_codes; drop table tblresults");

    f.Check13.SetValue(0);
    f.cmdParameterFind_Click();
    EXPECT_EQ(dialogs->prompts.size(), 2u);
    EXPECT_EQ(loader_test::Entries(f.cmbParameter), parameters);

    dialogs->clear();
    f.cmdLocateResults_Click();
    ASSERT_EQ(dialogs->texts().size(), 1u);
    EXPECT_NE(dialogs->texts()[0].find("'tblresults'"), std::string::npos) << dialogs->texts()[0];
    EXPECT_EQ(Showing(f), (Shown{"1.4", "", "", "10", ""}));
    ExpectEditing(f, false, "after the failed locate");
    EXPECT_EQ(f.MousePointer(), 0);

    // The sample table too: Find Sample tries twice, then says why, the header kept.
    platform::FinishPendingReads();
    db->ExecuteNative("alter table tblsample rename to tblsample_gone");
    const auto header = loader_test::HeaderOf(f);
    dialogs->clear();
    f.txtResultSampleNum.SetText("4");
    f.cmdFindSample_Click();
    EXPECT_EQ(dialogs->prompts.size(), 1u);
    EXPECT_EQ(loader_test::HeaderOf(f), header);
}

TEST_F(ResultLocate, AnEditedValueOfAnotherKindGoesToItsOwnTable) {
    auto& f = OpenOn("1");
    ASSERT_TRUE(Choose(f.cmbParameter, "10"));
    f.cmdLocateResults_Click();
    ASSERT_EQ(Showing(f).value, "1.4");
    f.txtResult_value.SetText("<1");
    f.cmdAddResult_Click();
    EXPECT_EQ(Row("tblresults_val_nonnumeric", 1, 10), "<1|~|A");

    ASSERT_TRUE(Choose(f.cmbParameter, "10"));
    f.cmdLocateResults_Click();
    f.Check3.SetValue(1);
    f.txtResult_value.SetText("1.5");
    f.cmdAddResult_Click();
    EXPECT_EQ(Row("tblreplicates", 1, 10), "1.5|~|A");
    EXPECT_EQ(Row("tblresults", 1, 10), "1.4|~|A|~");
    EXPECT_TRUE(dialogs->prompts.empty());
}

TEST_F(ResultLocate, EachRowShowsItsOwnParameterRemarkAndGradeSoUpdateWritesOnlyIt) {
    db->ExecuteNative(
        "update tblresults set remark_code = '<', grade = 'B' "
        "where idloc = 'V' and sample_code = 1 and parameter_code = 95;"
        "update tblresults set grade = NULL "
        "where idloc = 'V' and sample_code = 1 and parameter_code = 300");
    auto& f = OpenOn("1");
    // 100 and 1002 come before 10 in the list, and 300 is not in it at all.
    f.cmbParameter.Clear();
    for (const char* entry : {"100-Hundred", "1002-As", "10-Temp", "95-Flow", "400-Other"})
        f.cmbParameter.AddItem(entry);
    f.cmdLocateResults_Click();
    ASSERT_EQ(Showing(f), (Shown{"1.4", "A", "", "10", ""}));
    f.cmdNextResult_Click();
    ASSERT_EQ(Showing(f).parameter, "95");
    ASSERT_EQ(Showing(f).remark, "<");
    ASSERT_EQ(Showing(f).grade, "B");

    // A row whose parameter the list lacks brings up the whole list to show it, with no
    // grade or remark of the row before; Update then rewrites that row and no other.
    f.cmdNextResult_Click();
    const std::string value = f.txtResult_value.Text();
    EXPECT_EQ(Showing(f), (Shown{value, "", "Field meter", "300", ""}));
    EXPECT_EQ(f.Check13.Value(), 1);
    const auto before95 = Row("tblresults", 1, 95);
    f.txtResult_value.SetText("9");
    f.cmdAddResult_Click();
    EXPECT_TRUE(dialogs->prompts.empty());
    EXPECT_EQ(Row("tblresults", 1, 95), before95);
    EXPECT_EQ(Row("tblresults", 1, 300), "9|~||Field meter");
}

// The grid of the sample's results on the "Results" tab: every kind listed, a row chosen
// corrected or deleted, and the questions a doubtful value or an unstored entry raises.
#include <gtest/gtest.h>

#include <QWidget>

#include "ResultsTabSupport.h"

using loader_test::Pick;
using Texts = std::vector<std::string>;

namespace {

class ResultSheet : public loader_test::ResultsTest {
  protected:
    void SetUp() override {
        ResultsTest::SetUp();
        db->ExecuteNative(
            "insert into tblresults_val_nonnumeric values ('V', 1, 400, 'TNTC', NULL, 'C');"
            "insert into tblreplicates values ('V', 1, 95, '901', 'J', NULL);");
    }
    // The grid's rows, cells joined by "|".
    static Texts Sheet(const loader::frmDataLoader& f) {
        Texts rows;
        for (long long r = 1; r < f.MSFlexGrid5.Rows(); ++r) {
            std::string row;
            for (int c = 0; c < f.MSFlexGrid5.Cols(); ++c)
                row += (c ? "|" : "") + f.MSFlexGrid5.TextMatrix(r, c);
            rows.push_back(row);
        }
        return rows;
    }
    // Chooses the grid row of the parameter and kind, as a click would.
    static void Choose(loader::frmDataLoader& f, const std::string& parameter,
                       const std::string& kind) {
        for (long long r = 1; r < f.MSFlexGrid5.Rows(); ++r)
            if (f.MSFlexGrid5.TextMatrix(r, 1) == parameter &&
                f.MSFlexGrid5.TextMatrix(r, 0) == kind) {
                f.MSFlexGrid5.SetRow(r);
                f.MSFlexGrid5_RowColChange();
                return;
            }
        ADD_FAILURE() << "no row " << kind << " " << parameter;
    }
};

}  // namespace

TEST_F(ResultSheet, EveryKindIsListedAndAChosenRowIsCorrectedOrDeleted) {
    auto& f = OpenOn("1");
    EXPECT_EQ(Sheet(f), (Texts{"Numeric|10|Temp|1.4||A|bank", "Numeric|95|Cond|892|<|B|bank lab",
                               "Replicate|95|Cond|901|J||", "Numeric|300|DO|8.4|||bank meter",
                               "Text|400|pH|TNTC||C|"}));

    // A text result, corrected.
    Choose(f, "400", "Text");
    EXPECT_EQ(Showing(f), (Shown{"TNTC", "C", "", "400", ""}));
    ExpectEditing(f, true, "text result chosen");
    f.txtResult_value.SetText("Present");
    f.cmdAddResult_Click();
    EXPECT_EQ(Row("tblresults_val_nonnumeric", 1, 400), "Present|~|C");
    EXPECT_EQ(Sheet(f).back(), "Text|400|pH|Present||C|");
    ExpectEditing(f, false, "stored");

    // A replicate, shown as one, turned into the sample's own number: it replaces the
    // replicate and the number stored before.
    Choose(f, "95", "Replicate");
    EXPECT_EQ(f.Check3.Value(), 1);
    EXPECT_TRUE(f.lblReplicateNote.Visible());
    f.Check3.SetValue(0);
    f.txtResult_value.SetText("905");
    f.cmdAddResult_Click();
    EXPECT_EQ(dialogs->texts(), Texts{"The replicate 901 was replaced by 905"});
    EXPECT_EQ(Row("tblreplicates", 1, 95), "");
    EXPECT_EQ(Row("tblresults", 1, 95), "905|J||");
    EXPECT_EQ(Sheet(f).size(), 4u);

    // The bin button names what it deletes.
    dialogs->clear();
    Choose(f, "400", "Text");
    dialogs->answers = {controls::mb::Cancel, controls::mb::OK, controls::mb::OK};
    f.cmdDeleteR_Click();
    f.cmdDeleteR_Click();
    EXPECT_EQ(dialogs->texts(),
              (Texts{"Delete this result?\n\n400-pH: text result Present", "Delete Cancelled",
                     "Delete this result?\n\n400-pH: text result Present"}));
    EXPECT_EQ(Row("tblresults_val_nonnumeric", 1, 400), "");
    EXPECT_EQ(Sheet(f).size(), 3u);
    ExpectEditing(f, false, "deleted");
}

TEST_F(ResultSheet, ADoubtfulValueIsAskedAboutAndStoredAsTheAnswerSays) {
    db->ExecuteNative(
        "create table tblparameter_limits (parameter_code integer, low_value real, high_value "
        "real); insert into tblparameter_limits values (99001, 6.5, 8.5)");
    using controls::mb::Cancel, controls::mb::No, controls::mb::OK, controls::mb::Yes;
    struct Case {
        const char* value;
        std::vector<int> answers;
        const char* numeric;  // the rows of 99001 afterwards, "" none
        const char* text;
    };
    const Case cases[] = {
        {"1,250", {No}, "", "1,250|~|A"}, {"7,5", {Yes}, "7.5|~|A|gauge", ""},
        {"12 mg/L", {Cancel}, "", ""},    {"<5", {Yes, OK}, "5|<|A|gauge", ""},  // below 6.5 too
        {"<5", {Yes, Cancel}, "", ""},    {"12.", {No}, "", "12.|~|A"},
    };
    for (const auto& c : cases) {
        auto& f = OpenOn("1");
        ASSERT_TRUE(Pick(f.cmbParameter, "99001"));
        f.txtResult_value.SetText(c.value);
        f.TXTGrade.SetText("A");
        f.txtCommentResult.SetText("gauge");
        dialogs->answers.assign(c.answers.begin(), c.answers.end());
        f.cmdAddResult_Click();
        EXPECT_EQ(dialogs->prompts.size(), c.answers.size()) << c.value;
        EXPECT_EQ(Row("tblresults", 1, 99001), c.numeric) << c.value;
        EXPECT_EQ(Row("tblresults_val_nonnumeric", 1, 99001), c.text) << c.value;
        // Cancelled, the entry stays as typed.
        const bool stored = *c.numeric || *c.text;
        EXPECT_EQ(f.txtResult_value.Text(), stored ? "" : c.value) << c.value;
        db->ExecuteNative(
            "delete from tblresults where parameter_code = 99001;"
            "delete from tblresults_val_nonnumeric where parameter_code = 99001");
        f.Unload();
    }
}

TEST_F(ResultSheet, ClearExitAndCloseAskBeforeATypedResultIsLost) {
    const std::string ask = "The result typed has not been stored.\n\nDiscard it?";
    auto& f = OpenOn("1");
    f.cmdClearResults_Click();  // nothing typed: nothing asked
    f.TXTGrade.SetText("A");
    dialogs->answers = {controls::mb::No, controls::mb::No, controls::mb::No};
    f.cmdClearResults_Click();
    f.cmdExitResult_Click();
    f.window()->close();
    EXPECT_EQ(dialogs->texts(), (Texts{ask, ask, ask}));
    EXPECT_EQ(f.TXTGrade.Text(), "A");
    EXPECT_FALSE(f.IsUnloaded());

    // A result chosen in the grid counts only once changed.
    dialogs->clear();
    f.cmdClearResults_Click();  // answered Yes
    Choose(f, "10", "Numeric");
    f.cmdExitResult_Click();
    EXPECT_EQ(dialogs->texts(), Texts{ask});
    EXPECT_TRUE(f.IsUnloaded());
    auto& g = OpenOn("1");
    Choose(g, "10", "Numeric");
    g.cmdExitResult_Click();
    EXPECT_TRUE(g.IsUnloaded());
    EXPECT_EQ(dialogs->texts(), Texts{});
}

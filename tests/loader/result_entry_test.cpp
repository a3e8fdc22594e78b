// Storing a result of the sample on show: the table by value and replicate box, the columns
// written, overwriting, failures, and the entry afterwards.
#include <gtest/gtest.h>

#include <tuple>

#include "ResultsTabSupport.h"

using loader_test::Choose;

namespace {

class ResultEntry : public loader_test::ResultsTest {
  protected:
    struct Entry {
        int parameter;
        const char* value;
        const char* remark;  // "" for none selected
        const char* grade;
        const char* comment;
        bool replicate;
    };
    void Key(loader::frmDataLoader& f, const Entry& e) {
        ASSERT_TRUE(Choose(f.cmbParameter, std::to_string(e.parameter)));
        f.txtResult_value.SetText(e.value);
        f.cmbRemark_code.SetListIndex(-1);
        if (*e.remark) {
            ASSERT_TRUE(Choose(f.cmbRemark_code, e.remark));
        }
        f.TXTGrade.SetText(e.grade);
        f.txtCommentResult.SetText(e.comment);
        f.Check3.SetValue(e.replicate ? 1 : 0);
    }
};

}  // namespace

TEST_F(ResultEntry, TheValueAndTheReplicateBoxChooseTheTable) {
    struct Case {
        Entry entry;
        const char* table;
        const char* row;
    };
    const Case cases[] = {
        {{60, "12", "", "A", "gauge", false}, "tblresults", "12|~|A|gauge"},
        {{76, " 12 ", "<", "B", "", false}, "tblresults", "12|<|B|"},
        {{78, "1e3", "", "A", "", false}, "tblresults", "1000|~|A|"},
        {{310, "-0.5", "J", "C", "x", false}, "tblresults", "-0.5|J|C|x"},
        {{340, "<5", "", "A", "lost", false}, "tblresults_val_nonnumeric", "<5|~|A"},
        {{410, "abc", "U", "A", "", false}, "tblresults_val_nonnumeric", "abc|U|A"},
        {{600, "", ">", "A", "", false}, "tblresults_val_nonnumeric", "|>|A"},
        {{610, "12", "", "A", "dup", true}, "tblreplicates", "12|~|A"},
        {{625, "TNTC", "Q", "B", "", true}, "tblreplicates", "TNTC|Q|B"},
    };
    auto& f = OpenOn("1");
    for (const auto& c : cases) {
        const std::string name = std::to_string(c.entry.parameter) + " \"" + c.entry.value + '"';
        dialogs->clear();
        Key(f, c.entry);
        f.cmdAddResult_Click();
        EXPECT_TRUE(dialogs->prompts.empty()) << name;
        EXPECT_EQ(Row(c.table, 1, c.entry.parameter), c.row) << name;
        EXPECT_EQ(Stored(1, c.entry.parameter), 1) << name;
        EXPECT_EQ(Showing(f), Shown{}) << name;
        ExpectEditing(f, false, name);
        EXPECT_EQ(f.Check3.Value(), c.entry.replicate ? 1 : 0) << name;
    }
}

TEST_F(ResultEntry, AStoredIdentityIsOverwrittenAndAnUnchosenRemarkKept) {
    auto& f = OpenOn("1");
    ASSERT_EQ(Row("tblresults", 1, 10), "1.4|~|A|~");
    Key(f, {10, "2.5", "<", "B", "first", false});
    f.cmdAddResult_Click();
    EXPECT_EQ(Row("tblresults", 1, 10), "2.5|<|B|first");
    Key(f, {10, "3", "", "", "", false});
    f.cmdAddResult_Click();
    EXPECT_EQ(Row("tblresults", 1, 10), "3|<||");
    EXPECT_EQ(Stored(1, 10), 1);

    // Codes typed instead of chosen stand for their entries, in either letter case.
    Key(f, {10, "3.5", "", "", "", false});
    f.cmbParameter.SetListIndex(-1);
    f.cmbParameter.SetText(" 60 ");
    f.cmbRemark_code.SetText("q");
    f.cmdAddResult_Click();
    EXPECT_TRUE(dialogs->prompts.empty());
    EXPECT_EQ(Row("tblresults", 1, 60), "3.5|Q||");

    // A typed code that stands for no entry is said, and nothing is stored or lost.
    for (auto [parameter, remark, message] :
         {std::tuple{"60", "QQ",
                     "The remark code 'QQ' is not in the list; choose one from the list."},
          std::tuple{"6", "Q",
                     "The parameter '6' is not in the list; choose one from the list."}}) {
        Key(f, {10, "4", "", "", "", false});
        f.cmbParameter.SetListIndex(-1);
        f.cmbParameter.SetText(parameter);
        f.cmbRemark_code.SetText(remark);
        dialogs->clear();
        f.cmdAddResult_Click();
        EXPECT_EQ(dialogs->texts(), std::vector<std::string>{message});
        EXPECT_EQ(Row("tblresults", 1, 60), "3.5|Q||");
        EXPECT_EQ(f.cmbRemark_code.Text(), remark);
        EXPECT_EQ(f.txtResult_value.Text(), "4");
    }
    dialogs->clear();

    ASSERT_EQ(Row("tblreplicates", 1, 400), "7.9|~|A");
    Key(f, {400, "8.1", "", "A", "", true});
    f.cmdAddResult_Click();
    EXPECT_EQ(Row("tblreplicates", 1, 400), "8.1|~|A");
    EXPECT_EQ(Count("tblreplicates", "idloc = 'V' and sample_code = 1"), 1);
    // The numeric result of the same parameter is another table's row.
    EXPECT_EQ(Row("tblresults", 1, 400), "6.7|~|A|~");
    EXPECT_TRUE(dialogs->prompts.empty());
}

TEST_F(ResultEntry, AFailureWritesNothingAndKeepsTheEntry) {
    // The file refuses negative numeric results, new or overwritten.
    db->ExecuteNative(
        "create trigger no_negative_insert before insert on tblresults "
        "when new.result_value < 0 begin select raise(abort, 'negative'); end;"
        "create trigger no_negative_update before update on tblresults "
        "when new.result_value < 0 begin select raise(abort, 'negative'); end;");
    struct Case {
        const char* name;
        const char* sample;  // "" finds none
        int parameter;       // 0 chooses none
        const char* value;
        bool replicate;
    };
    const Case cases[] = {
        {"no sample on show", "", 60, "12", false},
        {"no sample, non-numeric", "", 60, "abc", false},
        {"no parameter", "1", 0, "12", false},
        {"refused new row", "1", 60, "-4", false},
        {"refused overwrite", "1", 10, "-4", false},
    };
    const long long results = Count("tblresults"),
                    others = Count("tblresults_val_nonnumeric") + Count("tblreplicates");
    for (const auto& c : cases) {
        auto& f = OpenOn(c.sample);
        ASSERT_EQ(f.lblCode.Caption(), c.sample) << c.name;
        const std::string caption = f.cmdAddResult.Caption();
        if (c.parameter) {
            ASSERT_TRUE(Choose(f.cmbParameter, std::to_string(c.parameter)));
        }
        f.txtResult_value.SetText(c.value);
        ASSERT_TRUE(Choose(f.cmbRemark_code, "J"));
        f.TXTGrade.SetText("B");
        f.txtCommentResult.SetText("kept");
        f.Check3.SetValue(c.replicate ? 1 : 0);
        f.cmdAddResult_Click();
        EXPECT_EQ(dialogs->texts(), std::vector<std::string>{"Error occurred"}) << c.name;
        EXPECT_EQ(Count("tblresults"), results) << c.name;
        EXPECT_EQ(Count("tblresults_val_nonnumeric") + Count("tblreplicates"), others) << c.name;
        EXPECT_EQ(Showing(f), (Shown{c.value, "B", "kept",
                                     c.parameter ? std::to_string(c.parameter) : "", "J"}))
            << c.name;
        EXPECT_EQ(f.cmdAddResult.Caption(), caption) << c.name;
    }
    EXPECT_EQ(Row("tblresults", 1, 10), "1.4|~|A|~");

    // The sample on show was deleted since it was found: its code may go to a new sample,
    // which must not inherit the result.
    auto& f = OpenOn("1");
    db->ExecuteNative("delete from tblsample where idloc = 'V' and sample_code = 1");
    for (bool replicate : {false, true}) {
        Key(f, {60, "12", "", "", "", replicate});
        dialogs->clear();
        f.cmdAddResult_Click();
        EXPECT_EQ(dialogs->texts(),
                  std::vector<std::string>{
                      "Sample 1 no longer exists. Nothing was saved; find the sample again."});
        EXPECT_EQ(Count("tblresults"), results);
        EXPECT_EQ(Count("tblresults_val_nonnumeric") + Count("tblreplicates"), others);
        EXPECT_EQ(f.txtResult_value.Text(), "12");
    }
}

TEST_F(ResultEntry, AddIsEnabledByTheFirstChangeOfValueOrRemarkText) {
    auto& f = OpenOn("1");
    EXPECT_FALSE(f.cmdAddResult.Enabled());
    Key(f, {10, "", "<", "A", "c", true});
    EXPECT_FALSE(f.cmdAddResult.Enabled());
    f.txtResult_value.SetText("5");
    EXPECT_TRUE(f.cmdAddResult.Enabled());

    auto& g = Open();
    g.cmbRemark_code.SetText("<");
    EXPECT_TRUE(g.cmdAddResult.Enabled());
}

// Storing a result from the "Results" tab: the controls read, what is said, and the entry
// afterwards. What is stored where is the results service's own test.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QLineEdit>

#include "BusyWait.h"
#include "ResultsTabSupport.h"

using loader_test::Pick;

namespace {

class ResultEntry : public loader_test::ResultsTest {
  protected:
    // Parameter, value, remark ("" none), grade, comment, replicate box.
    void Key(loader::frmDataLoader& f, int parameter, const char* value, const char* remark,
             bool replicate = false) {
        ASSERT_TRUE(Pick(f.cmbParameter, std::to_string(parameter)));
        f.txtResult_value.SetText(value);
        f.cmbRemark_code.SetListIndex(-1);
        if (*remark) {
            ASSERT_TRUE(Pick(f.cmbRemark_code, remark));
        }
        f.TXTGrade.SetText("A");
        f.txtCommentResult.SetText("gauge");
        f.Check3.SetValue(replicate ? 1 : 0);
    }
};

}  // namespace

TEST_F(ResultEntry, AddStoresWhatTheControlsHoldAndClearsTheEntry) {
    auto& f = OpenOn("1");
    EXPECT_FALSE(f.cmdAddResult.Enabled());
    Key(f, 400, "12", "J-");
    EXPECT_TRUE(f.cmdAddResult.Enabled());  // the value typed enables it
    f.cmdAddResult_Click();
    EXPECT_EQ(Row("tblresults", 1, 400), "12|J-|A|gauge");
    Key(f, 99001, "7.1", "", true);
    f.cmdAddResult_Click();
    EXPECT_EQ(Row("tblreplicates", 1, 99001), "7.1|~|A");
    EXPECT_EQ(dialogs->texts(),
              std::vector<std::string>{"A replicate keeps no comment: the comment \"gauge\" will "
                                       "not be stored.\n\nStore the replicate without it?"});
    dialogs->clear();
    EXPECT_EQ(Showing(f), Shown{});
    ExpectEditing(f, false, "after a store");
    // The next result is the sample's own unless "Replicate" is ticked again.
    EXPECT_EQ(f.Check3.Value(), 0);
    EXPECT_FALSE(f.lblReplicateNote.Visible());

    // Codes typed instead of chosen stand for their entries; one that stands for none is
    // said, and nothing is stored.
    Key(f, 400, "13", "");
    f.cmbParameter.SetListIndex(-1);
    f.cmbParameter.SetText(" 400 ");
    f.cmbRemark_code.SetText("j-");
    f.Check3.SetValue(0);
    f.cmdAddResult_Click();
    EXPECT_EQ(Row("tblresults", 1, 400), "13|J-|A|gauge");
    f.cmbParameter.SetText("6");
    f.txtResult_value.SetText("4");
    f.cmdAddResult_Click();
    EXPECT_EQ(dialogs->texts(),
              std::vector<std::string>{"The parameter '6' is not in the list; choose one from the "
                                       "list."});
    EXPECT_EQ(Row("tblresults", 1, 400), "13|J-|A|gauge");

    auto& g = Open();
    g.cmbRemark_code.SetText("<");
    EXPECT_TRUE(g.cmdAddResult.Enabled());
}

TEST_F(ResultEntry, ARefusalOrFailureIsSaidAndTheEntryKept) {
    struct Case {
        const char* name;
        const char* sample;  // "" finds none
        const char* value;
        const char* change;  // SQL run before the store
        const char* message;
        bool busy = false;  // another program holds the file past the wait's limit
    };
    const Case cases[] = {
        {"no sample on show", "", "12", "",
         "No sample or no parameter is chosen. Nothing was saved."},
        {"file busy", "1", "12", "",
         "Error occurred\n\nThe result was not stored.\n\nThe data file is busy: another "
         "program is using it.",
         true},
        {"sample deleted since", "1", "12", "delete from tblsample",
         "Sample 1 no longer exists. Nothing was saved; find the sample again."},
    };
    auto other = platform::Database::OpenDatabase(path());
    platform::SetBusyLimit(std::chrono::milliseconds(50));
    for (const auto& c : cases) {
        auto& f = OpenOn(c.sample);
        Key(f, 400, c.value, "J");
        db->ExecuteNative(c.change);
        if (c.busy) other->ExecuteNative("BEGIN EXCLUSIVE");
        f.cmdAddResult_Click();
        if (c.busy) other->ExecuteNative("ROLLBACK");
        EXPECT_EQ(dialogs->texts(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(Row("tblresults", 1, 400) + Row("tblresults_val_nonnumeric", 1, 400), "")
            << c.name;
        EXPECT_EQ(Showing(f), (Shown{c.value, "A", "gauge", "400", "J"})) << c.name;
        EXPECT_EQ(f.cmdAddResult.Caption(), "Add") << c.name;
    }
}

TEST_F(ResultEntry, AOneLineBoxKeepsLongTextAndAFieldsLimitIsSaid) {
    auto& f = OpenOn("1");
    Key(f, 400, "12", "");
    const std::string grade = std::string(40000, 'g') + "hh";  // past Qt's 32,767
    f.TXTGrade.SetText(grade.substr(0, 40000));
    static_cast<QLineEdit*>(f.TXTGrade.widget())->insert("hh");  // as typed or pasted
    ASSERT_EQ(f.TXTGrade.Text(), grade);
    sqlite3_limit(db->handle(), SQLITE_LIMIT_LENGTH, 40001);  // lowered, to be met
    f.cmdAddResult_Click();
    EXPECT_EQ(dialogs->texts(),
              std::vector<std::string>{"The grade is too long: a field holds at most 40,001 "
                                       "bytes of text. Nothing was saved."});
    EXPECT_EQ(Row("tblresults", 1, 400), "");
    EXPECT_EQ(f.TXTGrade.Text(), grade);
    sqlite3_limit(db->handle(), SQLITE_LIMIT_LENGTH, 1000000000);
    f.cmdAddResult_Click();
    EXPECT_EQ(Row("tblresults", 1, 400), "12|~|" + grade + "|gauge");
}

// "Edit Sample": locating hand-entered samples, stepping through them and deleting the
// one on show.
#include <gtest/gtest.h>

#include "LoaderTestSupport.h"

using loader_test::Choose;
using platform::DateTime;

namespace {

class SampleLocate : public loader_test::LoaderTest {
  protected:
    // Three field duplicates: only the middle one has a composite statistic.
    void AddDuplicates() {
        db->ExecuteNative(
            "insert into tblsample values "
            "('V', 6, 'FCB', 106, '2003-06-01 08:00:00', 'N', NULL, 'W', 'D', NULL, 'first', NULL),"
            "('V', 7, 'FCB', 105, '2003-06-02 09:00:00', 'N', NULL, 'W', 'D', 1, 'second', 'M'),"
            "('V', 8, 'FCB', 106, '2003-06-03 10:00:00', 'N', NULL, 'W', 'D', NULL, 'third', "
            "NULL)");
    }
    // What the tab shows of the sample on show.
    struct Shown {
        std::string code, number, comment, composite;
        bool operator==(const Shown&) const = default;
    };
    Shown Showing(loader::frmDataLoader& f) {
        return {f.Label24.Caption(), f.txtSampleNum.Text(), f.txtcomment.Text(),
                f.CmbComposite_Statistic.Text()};
    }
    std::vector<std::string> Texts() { return dialogs->texts(); }
    long long ResultsOf(const std::string& idloc, int code) {
        const std::string where =
            "idloc = '" + idloc + "' and sample_code = " + std::to_string(code);
        return Count("tblresults", where) + Count("tblresults_val_nonnumeric", where) +
               Count("tblreplicates", where);
    }
};

}  // namespace

TEST_F(SampleLocate, LocateFillsTheTabFromTheFirstMatch) {
    auto& f = Open();
    f.txtSampleNum.SetText("4");
    f.cmdLocate_Click();
    EXPECT_TRUE(dialogs->prompts.empty());
    const DateTime start{2004, 2, 18, 13, 45, 0}, end{2004, 2, 19, 9, 0, 0};
    EXPECT_EQ(f.DTPicker2.Value(), start);
    EXPECT_EQ(f.DTPicker1.Value(), start);
    EXPECT_EQ(f.DTPicker3.Value(), end);
    EXPECT_EQ(f.DTPicker4.Value(), end);
    EXPECT_EQ(f.Check2.Value(), 1);
    EXPECT_TRUE(f.Frame1.Visible());
    EXPECT_EQ(f.Check1.Value(), 0);
    EXPECT_TRUE(f.DTPicker1.Visible());
    EXPECT_EQ(f.Check11.Value(), 1);
    EXPECT_EQ(f.txtcomment.Text(), "Calm, clear sky");
    EXPECT_EQ(f.txtSample_Depth.Text(), "0.5");
    EXPECT_EQ(f.Label24.Caption(), "4");
    EXPECT_EQ(f.txtSampleNum.Text(), "4");
    EXPECT_EQ(f.cmbProject_Code.Text(), "LKM-Lake Monitoring Program");
    EXPECT_EQ(f.cmbStation_id.Text(), "105-Clear Lake Deep Station");
    EXPECT_EQ(f.cmbMedium.Text(), "W-Water");
    EXPECT_EQ(f.CMBSample_Type.Text(), "G-Grab");
    EXPECT_EQ(f.CmbComposite_Statistic.Text(), "A-Arithmetic Mean");
    EXPECT_TRUE(f.cmddeleteS.Visible());
    EXPECT_EQ(f.CmdAddSample.Caption(), "Update");
}

TEST_F(SampleLocate, NullsLeaveTheBoxesAndAMissingTimeHidesTheTimePicker) {
    // A project listed first whose code merely begins with the sample's is passed over.
    db->ExecuteNative(
        "insert into tblprojects_programs (project_code, program_project) values "
        "('P10', 'Tenth'), ('P1', 'First');"
        "insert into tblsample (idloc, sample_code, project_code, station_id, start_date, "
        "missing_time) values ('V', 9, 'P1', 112, '2003-03-03 00:00:00', 'Y')");
    auto& f = Open();
    f.txtcomment.SetText("x");  // too short to search by
    f.txtSample_Depth.SetText("?");
    f.txtSampleNum.SetText("9");
    f.cmdLocate_Click();
    EXPECT_EQ(f.Label24.Caption(), "9");
    EXPECT_EQ(f.txtcomment.Text(), "x");
    EXPECT_EQ(f.txtSample_Depth.Text(), "?");
    EXPECT_EQ(f.Check1.Value(), 1);
    EXPECT_FALSE(f.DTPicker1.Visible());
    EXPECT_EQ(f.Check2.Value(), 0);
    EXPECT_EQ(f.cmbProject_Code.Text(), "P1-First");
    EXPECT_EQ(f.cmbStation_id.Text(), "112-Little Bear River near Paradise");
}

TEST_F(SampleLocate, ASearchThatFindsNothingChangesNothing) {
    auto& f = Open();
    f.txtSampleNum.SetText("4");
    f.cmdLocate_Click();
    ASSERT_EQ(f.Label24.Caption(), "4");
    const Shown shown = Showing(f);
    for (const char* number : {"99", "abc", "1.5"}) {
        f.txtSampleNum.SetText(number);
        f.cmdLocate_Click();
        EXPECT_EQ(Showing(f), (Shown{"4", number, shown.comment, shown.composite})) << number;
        EXPECT_EQ(f.txtSample_Depth.Text(), "0.5") << number;
        EXPECT_EQ(f.cmbProject_Code.Text(), "LKM-Lake Monitoring Program") << number;
        EXPECT_EQ(f.DTPicker2.Value(), (DateTime{2004, 2, 18, 13, 45, 0})) << number;
        EXPECT_EQ(f.Check2.Value(), 1) << number;
        EXPECT_TRUE(f.cmddeleteS.Visible()) << number;
        EXPECT_EQ(f.CmdAddSample.Caption(), "Update") << number;
    }
    EXPECT_TRUE(dialogs->prompts.empty());
}

TEST_F(SampleLocate, StepsWalkTheFoundSetAndStopAtEitherEnd) {
    AddDuplicates();
    auto& f = Open();
    ASSERT_TRUE(Choose(f.CMBSample_Type, "D"));
    f.cmdLocate_Click();
    const Shown first{"6", "6", "first", ""}, second{"7", "7", "second", "M-Median"},
        third{"8", "8", "third", ""};
    EXPECT_EQ(Showing(f), first);

    // Each row: the button, what shows afterwards, whether a message came.
    struct Step {
        bool forward;
        Shown shown;
        bool message;
    };
    const Step steps[] = {
        {true, second, false}, {true, third, false},   {true, third, true},   {true, third, false},
        {false, third, false}, {false, second, false}, {false, first, false}, {false, first, true},
        {false, first, false}, {true, first, false},   {true, second, false},
    };
    int n = 0;
    for (const auto& s : steps) {
        dialogs->clear();
        s.forward ? f.cmdNextRecord_Click() : f.cmdPreviousRecord_Click();
        EXPECT_EQ(Showing(f), s.shown) << "step " << n;
        if (s.message)
            EXPECT_EQ(Texts(), std::vector<std::string>{"Error Encountered"}) << "step " << n;
        else
            EXPECT_TRUE(dialogs->prompts.empty()) << "step " << n;
        ++n;
    }
}

TEST_F(SampleLocate, AStepOntoASampleWithoutCommentLoadsAllOfIt) {
    // Were the load to stop at the missing comment, the tab would show sample 7's date under
    // sample 6's number, and Update would write it over sample 6.
    AddDuplicates();
    db->ExecuteNative("update tblsample set comment = NULL where idloc = 'V' and sample_code = 7");
    auto& f = Open();
    ASSERT_TRUE(Choose(f.CMBSample_Type, "D"));
    f.cmdLocate_Click();
    ASSERT_EQ(f.Label24.Caption(), "6");
    f.cmdNextRecord_Click();
    EXPECT_TRUE(dialogs->prompts.empty());
    EXPECT_EQ(Showing(f), (Shown{"7", "7", "", "M-Median"}));
    EXPECT_EQ(f.DTPicker2.Value(), (DateTime{2003, 6, 2, 9, 0, 0}));

    f.CmdAddSample_Click();
    EXPECT_EQ(Sample(6, "start_date").toText(), "6/1/2003 8:00:00 AM");
    EXPECT_EQ(Sample(7, "comment").toText(), "");
}

TEST_F(SampleLocate, AStepShowsNoEndDateMissingTimeOrDepthOfTheSampleBefore) {
    AddDuplicates();
    db->ExecuteNative(
        "update tblsample set end_date = '2003-06-03 12:00:00', missing_time = 'Y' "
        "where idloc = 'V' and sample_code = 7");
    auto& f = Open();
    ASSERT_TRUE(Choose(f.CMBSample_Type, "D"));
    f.cmdLocate_Click();
    f.cmdNextRecord_Click();
    ASSERT_EQ(f.Label24.Caption(), "7");
    ASSERT_EQ(f.Check2.Value(), 1);
    ASSERT_EQ(f.Check1.Value(), 1);
    ASSERT_EQ(f.txtSample_Depth.Text(), "1");

    f.cmdNextRecord_Click();
    ASSERT_EQ(f.Label24.Caption(), "8");
    EXPECT_EQ(f.Check2.Value(), 0);
    EXPECT_FALSE(f.Frame1.Visible());
    EXPECT_EQ(f.Check1.Value(), 0);
    EXPECT_TRUE(f.DTPicker1.Visible());
    EXPECT_EQ(f.txtSample_Depth.Text(), "");

    // Saving without a change leaves sample 8 as it was.
    f.CmdAddSample_Click();
    EXPECT_TRUE(Sample(8, "end_date").isNull());
    EXPECT_EQ(Sample(8, "missing_time").toText(), "N");
    EXPECT_TRUE(Sample(8, "sample_depth").isNull());
}

TEST_F(SampleLocate, AStepBackToASavedSampleShowsWhatWasSaved) {
    // Were the found set to show the sample as first read, a second Update would write the
    // old comment back over the correction.
    AddDuplicates();
    auto& f = Open();
    ASSERT_TRUE(Choose(f.CMBSample_Type, "D"));
    f.cmdLocate_Click();
    ASSERT_EQ(f.Label24.Caption(), "6");
    f.txtcomment.SetText("corrected");
    f.CmdAddSample_Click();
    ASSERT_EQ(Sample(6, "comment").toText(), "corrected");
    db->ExecuteNative("delete from tblsample where idloc = 'V' and sample_code = 7");

    f.cmdNextRecord_Click();
    EXPECT_EQ(Showing(f), (Shown{"8", "8", "third", ""}));
    f.cmdPreviousRecord_Click();
    EXPECT_EQ(Showing(f), (Shown{"6", "6", "corrected", ""}));
    f.CmdAddSample_Click();
    EXPECT_EQ(Sample(6, "comment").toText(), "corrected");
    EXPECT_TRUE(dialogs->prompts.empty());
}

TEST_F(SampleLocate, StepsBeforeAnyLocateSayAnErrorWasEncountered) {
    auto& f = Open();
    f.cmdNextRecord_Click();
    f.cmdPreviousRecord_Click();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Error Encountered", "Error Encountered"}));
    EXPECT_EQ(f.Label24.Caption(), "");
}

TEST_F(SampleLocate, DeleteAsksAndTakesTheSampleWithAllItsResults) {
    // Sample 5, the highest, has rows in all three result tables.
    db->ExecuteNative("insert into tblreplicates values ('V', 5, 10, '4.4', NULL, 'A')");
    ASSERT_EQ(Count("tblresults", "idloc = 'V' and sample_code = 5"), 4);
    ASSERT_EQ(Count("tblresults_val_nonnumeric", "idloc = 'V' and sample_code = 5"), 1);
    const long long otherSource = ResultsOf("S", 5), neighbour = ResultsOf("V", 4);
    ASSERT_GT(otherSource, 0);
    auto& f = Open();
    f.txtSampleNum.SetText("5");
    f.cmdLocate_Click();

    dialogs->answers.push_back(platform::mb::Cancel);
    f.cmddeleteS_Click();
    ASSERT_EQ(dialogs->prompts.size(), 2u);
    EXPECT_EQ(dialogs->prompts[0].text, "Delete this sample and the matching results?");
    EXPECT_EQ(dialogs->prompts[0].buttons, 1);
    EXPECT_EQ(dialogs->prompts[1].text, "Delete Cancelled");
    EXPECT_EQ(Count("tblsample", "idloc = 'V' and sample_code = 5"), 1);
    EXPECT_EQ(ResultsOf("V", 5), 6);
    EXPECT_EQ(f.Label24.Caption(), "5");

    dialogs->clear();
    f.cmddeleteS_Click();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Delete this sample and the matching results?",
                                                 "Records Deleted"}));
    EXPECT_EQ(Count("tblsample", "idloc = 'V' and sample_code = 5"), 0);
    EXPECT_EQ(ResultsOf("V", 5), 0);
    EXPECT_EQ(ResultsOf("S", 5), otherSource);
    EXPECT_EQ(ResultsOf("V", 4), neighbour);
    EXPECT_EQ(Count("tblsample", "idloc = 'S' and sample_code = 5"), 1);
    EXPECT_EQ(f.Label24.Caption(), "");
    EXPECT_EQ(f.CmdAddSample.Caption(), "Add");
    EXPECT_FALSE(f.cmddeleteS.Visible());
    EXPECT_EQ(f.txtSampleNum.Text(), "");
    EXPECT_FALSE(db->InTransaction());

    // Its code is taken again, with no results left behind.
    dialogs->clear();
    FillValidEntry(f);
    f.CmdAddSample_Click();
    EXPECT_TRUE(dialogs->prompts.empty());
    EXPECT_EQ(f.lblCode.Caption(), "5");
    EXPECT_EQ(Sample(5, "project_code").toText(), "8");
    EXPECT_EQ(ResultsOf("V", 5), 0);
}

TEST_F(SampleLocate, DeleteWithNoSampleOnShowNeitherAsksNorDeletes) {
    auto& f = Open();
    const long long before = Count("tblsample");
    auto deleteRefused = [&](const char* when) {
        dialogs->clear();
        f.cmddeleteS_Click();
        ASSERT_EQ(dialogs->prompts.size(), 1u) << when;
        EXPECT_NE(dialogs->prompts[0].text, "Delete this sample and the matching results?") << when;
        EXPECT_NE(dialogs->prompts[0].buttons, platform::mb::OKCancel) << when;
    };
    deleteRefused("before any locate");
    EXPECT_EQ(Count("tblsample"), before);

    f.txtSampleNum.SetText("5");
    f.cmdLocate_Click();
    f.cmdNextRecord_Click();  // beyond the end
    f.txtSampleNum.SetText("99");
    f.cmdLocate_Click();
    deleteRefused("after a locate that found nothing");
    EXPECT_EQ(Count("tblsample"), before);

    f.cmdClear_Click();
    f.txtSampleNum.SetText("3");
    f.cmdLocate_Click();
    f.cmddeleteS_Click();  // answered OK
    ASSERT_EQ(Count("tblsample"), before - 1);
    deleteRefused("after the delete");
    EXPECT_EQ(Count("tblsample"), before - 1);
}

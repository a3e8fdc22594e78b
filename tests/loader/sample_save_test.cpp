// Saving a sample from the "Sample" tab: the checks, the new code, the columns written,
// the tab afterwards, editing, failures and two programs saving at once.
#include <gtest/gtest.h>

#include <QWidget>
#include <chrono>
#include <future>
#include <map>
#include <thread>

#include "LoaderTestSupport.h"

using loader_test::Choose;
using loader_test::Entries;
using platform::DateTime;

namespace {

class SampleSave : public loader_test::LoaderTest {
  protected:
    long long Samples() { return Count("tblsample"); }
    bool Mentions(const std::string& text, const std::string& word) {
        std::string lower = text;
        for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return lower.find(word) != std::string::npos;
    }
};

}  // namespace

TEST_F(SampleSave, AnIncompleteEntryIsRefusedWithOneMessageAndKeptAsTyped) {
    struct Case {
        const char* name;
        std::string skip;  // the lists left without a selection
        const char* depth;
        std::vector<const char*> said;  // words the message must hold
    };
    const Case cases[] = {
        {"no project", "project", "", {"project"}},
        {"no station", "station", "", {"station"}},
        {"no medium", "medium", "", {"medium"}},
        {"no sample type", "type", "", {"sample type"}},
        {"depth not a number", "", "2.5m", {"depth"}},
        {"depth a word", "", "deep", {"depth"}},
        {"all",
         "project station medium type",
         "x",
         {"project", "station", "medium", "sample type", "depth"}},
    };
    for (const auto& c : cases) {
        auto& f = Open();
        const long long before = Samples();
        f.Check11.SetValue(1);  // every station, with or without a project
        auto pick = [&](const char* which, platform::ComboBox& list, const char* code) {
            if (c.skip.find(which) == std::string::npos) {
                EXPECT_TRUE(Choose(list, code)) << which;
            }
        };
        pick("project", f.cmbProject_Code, "8");
        pick("station", f.cmbStation_id, "109");
        pick("medium", f.cmbMedium, "W");
        pick("type", f.CMBSample_Type, "G");
        f.txtSample_Depth.SetText(c.depth);
        f.txtcomment.SetText("kept");
        const int project = f.cmbProject_Code.ListIndex(), station = f.cmbStation_id.ListIndex();

        f.CmdAddSample_Click();
        EXPECT_EQ(Samples(), before) << c.name;
        ASSERT_EQ(dialogs->prompts.size(), 1u) << c.name;
        for (const char* word : c.said)
            EXPECT_TRUE(Mentions(dialogs->prompts[0].text, word)) << dialogs->prompts[0].text;
        // The focus goes where the first correction is to be made.
        const std::string first = c.skip.empty() ? "depth" : c.skip.substr(0, c.skip.find(' '));
        const std::map<std::string, const platform::Control*> controls = {
            {"project", &f.cmbProject_Code},
            {"station", &f.cmbStation_id},
            {"medium", &f.cmbMedium},
            {"type", &f.CMBSample_Type},
            {"depth", &f.txtSample_Depth}};
        QWidget* focus = f.CmdAddSample.widget()->window()->focusWidget();
        QWidget* expected = controls.at(first)->widget();
        EXPECT_TRUE(focus == expected || expected->isAncestorOf(focus)) << c.name;
        EXPECT_EQ(f.SSTab1.Tab(), 1) << c.name;
        EXPECT_EQ(f.Label24.Caption(), "") << c.name;
        EXPECT_EQ(f.txtcomment.Text(), "kept") << c.name;
        EXPECT_EQ(f.txtSample_Depth.Text(), c.depth) << c.name;
        EXPECT_EQ(f.cmbProject_Code.ListIndex(), project) << c.name;
        EXPECT_EQ(f.cmbStation_id.ListIndex(), station) << c.name;
        EXPECT_FALSE(db->InTransaction()) << c.name;
    }
}

TEST_F(SampleSave, NewCodeFollowsTheHighestHandEnteredOne) {
    struct Case {
        std::vector<int> existing;  // hand-entered codes in the file
        long long next;             // 0: the limit is reached
    };
    const Case cases[] = {{{}, 1},          {{1, 2, 3, 4, 5}, 6}, {{3, 41}, 42},
                          {{32766}, 32767}, {{32767}, 0},         {{5, 32767}, 0}};
    auto& f = Open();
    for (const auto& c : cases) {
        db->ExecuteNative("delete from tblsample where idloc = 'V'");
        for (int code : c.existing)
            db->ExecuteNative("insert into tblsample (idloc, sample_code) values ('V', " +
                              std::to_string(code) + ")");
        // Codes of the other source are higher still and must not count.
        db->ExecuteNative(
            "insert or ignore into tblsample (idloc, sample_code) values ('S', 40000)");
        const long long before = Samples();
        dialogs->clear();
        f.SSTab1.SetTab(1);
        FillValidEntry(f);
        f.CmdAddSample_Click();
        if (c.next) {
            EXPECT_TRUE(dialogs->prompts.empty()) << c.next;
            EXPECT_EQ(Samples(), before + 1) << c.next;
            EXPECT_EQ(Sample(c.next, "station_id").toText(), "109") << c.next;
            EXPECT_EQ(f.lblCode.Caption(), std::to_string(c.next));
        } else {
            EXPECT_EQ(Samples(), before);
            ASSERT_EQ(dialogs->prompts.size(), 1u);
            EXPECT_TRUE(Mentions(dialogs->prompts[0].text, "limit")) << dialogs->prompts[0].text;
            EXPECT_EQ(f.SSTab1.Tab(), 1);
            EXPECT_FALSE(db->InTransaction());
        }
    }
}

TEST_F(SampleSave, WritesTheColumnsTheEntryCallsFor) {
    struct Case {
        const char* name;
        int missingTime, endDate;
        const char* depth;
        const char* comment;
        const char* composite;  // nullptr: none chosen
        DateTime start;
        platform::Variant end, storedDepth, storedComposite;
    };
    const DateTime day{2004, 5, 6, 23, 59, 58}, time{2000, 1, 1, 14, 35, 47};
    const DateTime endDay{2004, 5, 8, 1, 2, 3}, endTime{2000, 1, 1, 7, 5, 31};
    const DateTime at{2004, 5, 6, 14, 35, 0};
    const Case cases[] = {
        {"plain", 0, 0, "", "", nullptr, at, {}, {}, {}},
        {"missing time", 1, 0, "   ", "no watch", nullptr, day, {}, {}, {}},
        {"end, depth", 0, 1, " 2.5 ", "O'Brien", "M", at, DateTime{2004, 5, 8, 7, 5, 0}, 2.5, "M"},
    };
    // A result that arrived since the window opened joins the parameter list on a save.
    db->ExecuteNative("insert into tblresults values ('V', 1, 1002, 3.1, NULL, 'A', NULL)");
    auto& f = Open();
    long long code = 5;
    for (const auto& c : cases) {
        ++code;
        FillValidEntry(f);
        f.DTPicker2.SetValue(day);
        f.DTPicker1.SetValue(time);
        f.DTPicker3.SetValue(endDay);
        f.DTPicker4.SetValue(endTime);
        f.Check1.SetValue(c.missingTime);
        f.Check2.SetValue(c.endDate);
        f.txtSample_Depth.SetText(c.depth);
        f.txtcomment.SetText(c.comment);
        if (c.composite) {
            ASSERT_TRUE(Choose(f.CmbComposite_Statistic, c.composite));
        }
        f.CmdAddSample_Click();
        ASSERT_TRUE(dialogs->prompts.empty()) << c.name << ": " << dialogs->texts().front();

        EXPECT_EQ(Sample(code, "project_code").toText(), "8") << c.name;
        EXPECT_EQ(Sample(code, "station_id").toInteger(), 109) << c.name;
        EXPECT_EQ(Sample(code, "medium").toText(), "W") << c.name;
        EXPECT_EQ(Sample(code, "sample_type").toText(), "G") << c.name;
        EXPECT_EQ(Sample(code, "start_date").toDate(), c.start) << c.name;
        EXPECT_EQ(Sample(code, "missing_time").toText(), c.missingTime ? "Y" : "N") << c.name;
        EXPECT_EQ(Sample(code, "end_date"), c.end) << c.name;
        EXPECT_EQ(Sample(code, "sample_depth"), c.storedDepth) << c.name;
        EXPECT_EQ(Sample(code, "comment").toText(), c.comment) << c.name;
        EXPECT_EQ(Sample(code, "composite_statistic_code"), c.storedComposite) << c.name;

        // The "Results" tab takes the sample over.
        EXPECT_EQ(f.lblCode.Caption(), std::to_string(code)) << c.name;
        EXPECT_EQ(f.lblProject.Caption(), "8-Statewide Ambient Monitoring Network");
        EXPECT_EQ(f.lblStation.Caption(), "109-Logan River at Canyon Mouth");
        EXPECT_EQ(f.lblMedium.Caption(), "W-Water");
        EXPECT_EQ(f.lblSampleType.Caption(), "G-Grab");
        EXPECT_EQ(f.lblDate.Caption(), platform::DateToText(c.start)) << c.name;
        EXPECT_EQ(f.lblDepth.Caption(), c.depth) << c.name;
        EXPECT_EQ(f.DTPicker5.Value(), day);
        EXPECT_EQ(f.SSTab1.Tab(), 3);
        const auto parameters = Entries(f.cmbParameter);
        EXPECT_EQ(parameters.size(), 11u) << c.name;
        EXPECT_EQ(std::count(parameters.begin(), parameters.end(), "1002-As"), 1) << c.name;

        // Ready for the next sample; dates and ticks stay.
        EXPECT_EQ(f.Label24.Caption(), "");
        EXPECT_EQ(f.txtSample_Depth.Text(), "");
        EXPECT_EQ(f.txtcomment.Text(), "");
        for (auto* list : {&f.cmbProject_Code, &f.cmbStation_id, &f.cmbMedium, &f.CMBSample_Type,
                           &f.CmbComposite_Statistic})
            EXPECT_EQ(list->ListIndex(), -1) << c.name << " " << list->Name();
        EXPECT_EQ(f.DTPicker2.Value(), day);
        EXPECT_EQ(f.DTPicker1.Value(), time);
        EXPECT_EQ(f.DTPicker3.Value(), endDay);
        EXPECT_EQ(f.DTPicker4.Value(), endTime);
        EXPECT_EQ(f.Check1.Value(), c.missingTime);
        EXPECT_EQ(f.Check2.Value(), c.endDate);
        EXPECT_EQ(f.CmdAddSample.Caption(), "Add");
        EXPECT_FALSE(f.cmddeleteS.Visible());
        f.SSTab1.SetTab(1);
    }
    EXPECT_EQ(f.lblDate.Caption(), "5/6/2004 2:35:00 PM");
}

TEST_F(SampleSave, EditRewritesTheLocatedSampleInPlace) {
    auto& f = Open();
    f.txtSampleNum.SetText("4");
    f.cmdLocate_Click();
    ASSERT_EQ(f.Label24.Caption(), "4");
    const long long before = Samples();
    // What is left blank or unticked keeps what the sample holds.
    f.Check2.SetValue(0);
    f.txtSample_Depth.SetText("");
    f.CmbComposite_Statistic.SetListIndex(-1);
    f.txtcomment.SetText("");
    ASSERT_TRUE(Choose(f.cmbMedium, "S"));
    f.CmdAddSample_Click();
    ASSERT_TRUE(dialogs->prompts.empty());

    EXPECT_EQ(Samples(), before);
    EXPECT_EQ(Sample(4, "medium").toText(), "S");
    EXPECT_EQ(Sample(4, "comment").toText(), "");
    EXPECT_EQ(Sample(4, "sample_depth"), platform::Variant(0.5));
    EXPECT_EQ(Sample(4, "end_date").toDate(), (DateTime{2004, 2, 19, 9, 0, 0}));
    EXPECT_EQ(Sample(4, "composite_statistic_code").toText(), "A");
    EXPECT_EQ(Sample(4, "start_date").toDate(), (DateTime{2004, 2, 18, 13, 45, 0}));
    EXPECT_EQ(Sample(4, "project_code").toText(), "LKM");
    EXPECT_EQ(f.lblCode.Caption(), "4");
    EXPECT_EQ(f.Label24.Caption(), "");

    // The next save adds again; with no project-8 results left the parameter list stays.
    db->ExecuteNative("delete from tblresults");
    FillValidEntry(f);
    f.CmdAddSample_Click();
    EXPECT_EQ(Samples(), before + 1);
    EXPECT_EQ(f.lblCode.Caption(), "6");
    EXPECT_EQ(f.cmbParameter.ListCount(), 10);
}

// The "Results" tab is ready for the new sample's results, even if a result of the sample
// shown before was located there for correcting.
TEST_F(SampleSave, TheResultsTabLeavesALocatedResultOfTheSampleBefore) {
    auto& f = Open();
    f.txtResultSampleNum.SetText("1");
    f.cmdFindSample_Click();
    ASSERT_TRUE(Choose(f.cmbParameter, "10"));
    f.cmdLocateResults_Click();
    ASSERT_EQ(f.cmdAddResult.Caption(), "Update");
    FillValidEntry(f);
    f.CmdAddSample_Click();
    ASSERT_TRUE(dialogs->prompts.empty());
    EXPECT_EQ(f.lblCode.Caption(), "6");
    EXPECT_EQ(f.cmdAddResult.Caption(), "Add");
    EXPECT_TRUE(f.cmbParameter.Enabled());
    EXPECT_FALSE(f.cmdDeleteR.Visible());
    EXPECT_EQ(f.txtResult_value.Text(), "");
}

TEST_F(SampleSave, EditOfASampleDeletedMeanwhileWritesNothing) {
    auto& f = Open();
    f.txtSampleNum.SetText("4");
    f.cmdLocate_Click();
    ASSERT_TRUE(Choose(f.cmbMedium, "T"));
    db->ExecuteNative("delete from tblsample where idloc = 'V' and sample_code = 4");
    const long long before = Samples();
    f.txtcomment.SetText("typed");
    f.CmdAddSample_Click();
    EXPECT_EQ(Samples(), before);
    EXPECT_EQ(dialogs->prompts.size(), 1u);
    EXPECT_EQ(f.Label24.Caption(), "4");
    EXPECT_EQ(f.txtcomment.Text(), "typed");
    EXPECT_EQ(f.cmbMedium.Text(), "T-Fish Tissue");
    EXPECT_EQ(f.SSTab1.Tab(), 1);
    EXPECT_FALSE(db->InTransaction());
}

TEST_F(SampleSave, ADatabaseFailureWritesNothingAndLeavesNoTransactionOpen) {
    struct Case {
        const char* event;
        const char* edited;  // the located sample, or "" to add
        long long saved;
    };
    for (const Case& c : {Case{"INSERT", "", 6}, Case{"UPDATE", "3", 3}}) {
        auto& f = Open();
        if (*c.edited) {
            f.txtSampleNum.SetText(c.edited);
            f.cmdLocate_Click();
        }
        db->ExecuteNative(std::string("CREATE TRIGGER refuse BEFORE ") + c.event +
                          " ON tblsample BEGIN SELECT RAISE(ABORT,'boom'); END");
        const long long before = Samples();
        FillValidEntry(f);
        f.txtSample_Depth.SetText("3");
        f.txtcomment.SetText("first try");
        f.CmdAddSample_Click();
        EXPECT_EQ(Samples(), before) << c.event;
        EXPECT_NE(Sample(c.saved, "comment").toText(), "first try") << c.event;
        ASSERT_EQ(dialogs->prompts.size(), 1u) << c.event;
        EXPECT_FALSE(db->InTransaction()) << c.event;
        EXPECT_EQ(f.SSTab1.Tab(), 1) << c.event;
        EXPECT_EQ(f.Label24.Caption(), c.edited) << c.event;
        EXPECT_EQ(f.txtcomment.Text(), "first try") << c.event;
        EXPECT_EQ(f.txtSample_Depth.Text(), "3") << c.event;
        EXPECT_EQ(f.cmbProject_Code.Text(), "8-Statewide Ambient Monitoring Network");
        EXPECT_EQ(f.cmbStation_id.Text(), "109-Logan River at Canyon Mouth");
        EXPECT_EQ(f.lblCode.Caption(), "") << c.event;

        db->ExecuteNative("DROP TRIGGER refuse");
        dialogs->clear();
        f.CmdAddSample_Click();
        EXPECT_TRUE(dialogs->prompts.empty()) << c.event;
        EXPECT_EQ(Sample(c.saved, "comment").toText(), "first try") << c.event;
        EXPECT_EQ(Sample(c.saved, "sample_depth"), platform::Variant(3.0)) << c.event;
    }
}

TEST_F(SampleSave, ASaveRacingAnotherProgramWaitsAndTakesTheNextCode) {
    auto& f = Open();
    FillValidEntry(f);
    std::promise<void> holding;
    auto held = holding.get_future();
    std::thread other([&, file = path()] {
        auto second = platform::Database::OpenDatabase(file);
        second->BeginTrans();
        second->ExecuteNative(
            "insert into tblsample (idloc, sample_code, project_code) values ('V', 6, 'BRW')");
        holding.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        second->CommitTrans();
    });
    held.wait();
    f.CmdAddSample_Click();  // waits for the other program's commit
    other.join();

    EXPECT_TRUE(dialogs->prompts.empty());
    EXPECT_EQ(f.lblCode.Caption(), "7");
    EXPECT_EQ(Sample(6, "project_code").toText(), "BRW");
    EXPECT_EQ(Sample(7, "project_code").toText(), "8");
}

// The "Sample" tab and the "Results" tab's sample finder over the samples service: what
// each button reads from the controls and leaves on them. Buttons are clicked as a user
// clicks them, so a button not wired to its handler fails here.
#include <gtest/gtest.h>

#include <QPushButton>

#include "BusyWait.h"
#include "LoaderTestSupport.h"
#include "LookupLists.h"
#include "ResultsTabSupport.h"

using loader_test::Header;
using loader_test::HeaderOf;
using platform::DateTime;

namespace {

void Click(controls::CommandButton& button) { static_cast<QPushButton*>(button.widget())->click(); }

class SampleWindow : public loader_test::LoaderTest {
  protected:
    bool demo() const override { return false; }
    void SetUp() override {
        LoaderTest::SetUp();
        db->ExecuteNative(
            "insert into tblprojects_programs (project_code, program_project) values "
            "('8', 'Statewide'), ('NC-01', 'North Coast'), ('NUL', NULL);"
            "insert into tblstation_information (station_id, place_name_description) values "
            "(109, 'Logan'), (110, 'Bear');"
            "insert into tblmedium values ('W', 'Water'), ('W-F', 'Filtered');"
            "insert into tblsample_type values ('G', 'Grab'), ('G-2', 'Grab two'), ('X', NULL);"
            "insert into tblcomposite_statistic values ('M', 'Median')");
    }
    // Hand-entered sample `code`: project, station, medium and type "NC-01", 109, "W-F",
    // "G-2" unless `rest` gives them and the columns after.
    void AddSample(int code, const std::string& start, const std::string& rest = "") {
        db->ExecuteNative(
            "insert into tblsample (idloc, sample_code, start_date, project_code, station_id, "
            "medium, sample_type" +
            std::string(rest.empty() ? "" : ", end_date, missing_time, sample_depth, comment") +
            ") values ('V', " + std::to_string(code) + ", '" + start + "', " +
            (rest.empty() ? "'NC-01', 109, 'W-F', 'G-2'" : rest) + ")");
    }
    void FillEntry(loader::frmDataLoader& f) {
        f.Check11.SetValue(1);  // every station, whatever the project
        ASSERT_TRUE(loader_test::Pick(f.cmbProject_Code, "NC-01"));
        ASSERT_TRUE(loader_test::Pick(f.cmbStation_id, "109"));
        ASSERT_TRUE(loader_test::Pick(f.cmbMedium, "W-F"));
        ASSERT_TRUE(loader_test::Pick(f.CMBSample_Type, "G-2"));
    }
    std::string Row(int code) {
        std::string text;
        for (const auto& row : testing_support::QueryRows(
                 *db,
                 "select project_code, station_id, medium, sample_type, start_date, "
                 "missing_time, end_date, sample_depth, comment, composite_statistic_code "
                 "from tblsample where idloc = 'V' and sample_code = " +
                     std::to_string(code)))
            for (const auto& cell : row) text += cell + "|";
        return text;
    }
};

}  // namespace

TEST_F(SampleWindow, SaveStoresTheEntryAndHandsTheSampleToTheResultsTab) {
    auto& f = Open();
    // A result that arrived since the window opened joins the parameter list.
    db->ExecuteNative(
        "insert into TBLParameter_Codes values (1002, 'As', 'Arsenic');"
        "insert into tblsample (idloc, sample_code, project_code) values ('S', 1, '8');"
        "insert into tblresults (idloc, sample_code, parameter_code) values ('S', 1, 1002)");
    const DateTime day{2004, 5, 6, 23, 59, 58}, time{2000, 1, 1, 14, 35, 47};
    FillEntry(f);
    ASSERT_TRUE(loader_test::Pick(f.CmbComposite_Statistic, "M"));
    f.DTPicker2.SetValue(day);
    f.DTPicker1.SetValue(time);
    f.Check2.SetValue(1);
    f.DTPicker3.SetValue({2004, 5, 8, 1, 2, 3});
    f.DTPicker4.SetValue(time);
    f.txtSample_Depth.SetText(" 2.5 ");
    f.txtcomment.SetText("O'Brien");
    Click(f.CmdAddSample);
    ASSERT_EQ(dialogs->texts(), std::vector<std::string>{});
    EXPECT_EQ(Row(1), "NC-01|109|W-F|G-2|5/6/2004 2:35:00 PM|N|5/8/2004 2:35:00 PM|2.5|O'Brien|M|");
    EXPECT_EQ(HeaderOf(f), (Header{"1", "NC-01-North Coast", "109-Logan", "5/6/2004 2:35:00 PM",
                                   "W-F-Filtered", "G-2-Grab two", " 2.5 "}));
    EXPECT_EQ(f.DTPicker5.Value(), day);
    EXPECT_EQ(f.SSTab1.Tab(), 3);
    EXPECT_EQ(loader_test::Entries(f.cmbParameter), std::vector<std::string>{"1002-As"});
    // Ready for the next sample; dates and ticks stay.
    EXPECT_EQ(f.Label24.Caption() + f.txtSample_Depth.Text() + f.txtcomment.Text(), "");
    for (auto* list : {&f.cmbProject_Code, &f.cmbStation_id, &f.cmbMedium, &f.CMBSample_Type,
                       &f.CmbComposite_Statistic})
        EXPECT_EQ(list->ListIndex(), -1) << list->Name();
    EXPECT_EQ(f.DTPicker2.Value(), day);
    EXPECT_EQ(f.Check2.Value(), 1);
    EXPECT_EQ(f.CmdAddSample.Caption(), "Add");

    // With the time missing the start is the date picker's own; no end date unticked.
    FillEntry(f);
    f.Check1.SetValue(1);
    f.Check2.SetValue(0);
    Click(f.CmdAddSample);
    EXPECT_EQ(Row(2), "NC-01|109|W-F|G-2|5/6/2004 11:59:58 PM|Y|||||");
}

TEST_F(SampleWindow, AnIncompleteEntryIsRefusedWithOneMessageAndTheFocusOnTheFirstFix) {
    auto& f = Open();
    auto refused = [&](controls::ComboBox& unchosen, const char* depth,
                       const controls::Control& first, std::vector<const char*> said) {
        dialogs->clear();
        FillEntry(f);
        unchosen.SetListIndex(-1);
        f.txtSample_Depth.SetText(depth);
        Click(f.CmdAddSample);
        EXPECT_EQ(QueryValue(*db, "select count(*) from tblsample"), "0");
        ASSERT_EQ(dialogs->prompts.size(), 1u);
        for (const char* word : said)
            EXPECT_NE(dialogs->prompts[0].text.find(word), std::string::npos) << word;
        QWidget* focus = f.CmdAddSample.widget()->window()->focusWidget();
        EXPECT_TRUE(focus == first.widget() || first.widget()->isAncestorOf(focus)) << said[0];
        EXPECT_EQ(f.SSTab1.Tab(), 1);
        EXPECT_EQ(f.txtSample_Depth.Text(), depth);
    };
    refused(f.cmbProject_Code, "", f.cmbProject_Code, {"a project"});
    refused(f.CMBSample_Type, "x", f.CMBSample_Type, {"a sample type", "depth \"x\""});
    refused(f.CmbComposite_Statistic, "deep", f.txtSample_Depth, {"depth \"deep\""});
}

TEST_F(SampleWindow, ASaveTheStoreRefusesIsSaidAndKeepsTheEntry) {
    const struct {
        const char* name;
        const char* setUp;
        const char* said;
    } cases[] = {
        {"edited sample gone", "delete from tblsample", "Sample 4 can no longer be found"},
        {"engine failure",
         "create trigger refuse before update on tblsample begin select raise(abort, 'boom'); end",
         "The sample was not saved.\n\n"},
    };
    for (const auto& c : cases) {
        AddSample(4, "2004-02-18 13:45:00");
        auto& f = Open();
        f.txtSampleNum.SetText("4");
        Click(f.cmdLocate);
        ASSERT_EQ(f.Label24.Caption(), "4");
        db->ExecuteNative(c.setUp);
        f.txtcomment.SetText("typed");
        Click(f.CmdAddSample);
        ASSERT_EQ(dialogs->prompts.size(), 1u) << c.name;
        EXPECT_EQ(dialogs->prompts[0].text.rfind(c.said, 0), 0u) << dialogs->prompts[0].text;
        EXPECT_EQ(f.Label24.Caption(), "4") << c.name;
        EXPECT_EQ(f.txtcomment.Text(), "typed") << c.name;
        EXPECT_EQ(f.SSTab1.Tab(), 1) << c.name;
    }
}

TEST_F(SampleWindow, LocateRecordsLoadsTheFirstMatchAndSaveRewritesIt) {
    AddSample(4, "2004-02-18 13:45:00",
              "'NC-01', 109, 'W-F', 'G-2', '2004-02-19 09:00:00', 'N', 0.5, 'Calm'");
    db->ExecuteNative("update tblsample set composite_statistic_code = 'M'");
    auto& f = Open();
    f.txtSampleNum.SetText("4");
    Click(f.cmdLocate);
    EXPECT_EQ(f.DTPicker2.Value(), (DateTime{2004, 2, 18, 13, 45, 0}));
    EXPECT_EQ(f.DTPicker1.Value(), (DateTime{2004, 2, 18, 13, 45, 0}));
    EXPECT_EQ(f.DTPicker4.Value(), (DateTime{2004, 2, 19, 9, 0, 0}));
    EXPECT_TRUE(f.Frame1.Visible());
    EXPECT_TRUE(f.DTPicker1.Visible());
    EXPECT_EQ(f.Check11.Value(), 1);
    EXPECT_EQ(f.txtSampleNum.Text(), "4");
    EXPECT_TRUE(f.cmddeleteS.Visible());
    const std::string shown =
        "4|Calm|0.5|NC-01-North Coast|109-Logan|W-F-Filtered|G-2-Grab two|M-Median|Update|";
    auto showing = [&] {
        std::string text;
        for (const std::string& s :
             {f.Label24.Caption(), f.txtcomment.Text(), f.txtSample_Depth.Text(),
              f.cmbProject_Code.Text(), f.cmbStation_id.Text(), f.cmbMedium.Text(),
              f.CMBSample_Type.Text(), f.CmbComposite_Statistic.Text(), f.CmdAddSample.Caption()})
            text += s + "|";
        return text;
    };
    EXPECT_EQ(showing(), shown);
    // A search that finds nothing leaves the tab as it is.
    for (const char* number : {"99", "abc"}) {
        f.txtSampleNum.SetText(number);
        Click(f.cmdLocate);
        EXPECT_EQ(showing(), shown) << number;
    }
    f.txtcomment.SetText("corrected");
    Click(f.CmdAddSample);
    EXPECT_EQ(QueryValue(*db, "select count(*) from tblsample"), "1");
    EXPECT_EQ(Row(4),
              "NC-01|109|W-F|G-2|2/18/2004 1:45:00 PM|N|2/19/2004 9:00:00 AM|0.5|"
              "corrected|M|");
    EXPECT_EQ(f.lblCode.Caption(), "4");
}

TEST_F(SampleWindow, ALocateUnderAnotherProgramsLockSaysSoAfterShowingTheWait) {
    AddSample(1, "2004-01-14 09:30:00");
    auto& f = Open();
    auto other = platform::Database::OpenDatabase(path());
    other->ExecuteNative("BEGIN EXCLUSIVE");
    platform::SetBusyLimit(std::chrono::milliseconds(50));
    f.txtSampleNum.SetText("1");
    Click(f.cmdLocate);
    EXPECT_EQ(dialogs->texts(), std::vector<std::string>{"The samples could not be searched.\n\n"
                                                         "The data file is busy: another "
                                                         "program is using it."});
    ASSERT_EQ(dialogs->progress.size(), 1u);
    EXPECT_EQ(dialogs->progress[0].label, platform::kBusyWaitText);
    EXPECT_FALSE(dialogs->progress[0].open);
    EXPECT_EQ(f.CmdAddSample.Caption(), "Add");
}

TEST_F(SampleWindow, StepsLoadEachSampleWholeAndStopAtEitherEnd) {
    AddSample(6, "2003-06-01 08:00:00", "'NC-01', 109, 'W-F', 'G-2', NULL, 'N', NULL, 'first'");
    AddSample(7, "2003-06-02 09:00:00", "'8', 110, 'W', 'G', '2003-06-03', 'Y', 1, NULL");
    AddSample(8, "2003-06-03 10:00:00", "'8', 999, 'W', 'G', NULL, 'N', NULL, 'third'");
    db->ExecuteNative("update tblsample set composite_statistic_code = 'M' where sample_code = 7");
    auto& f = Open();
    Click(f.cmdNextRecord);
    EXPECT_EQ(dialogs->texts(), std::vector<std::string>{"Error Encountered"});
    Click(f.cmdLocate);
    // Code, comment, composite, station, end date and missing time ticked, depth.
    using Shown = std::vector<std::string>;
    auto showing = [&] {
        return Shown{f.Label24.Caption() + "/" + f.txtSampleNum.Text(),
                     f.txtcomment.Text(),
                     f.CmbComposite_Statistic.Text(),
                     f.cmbStation_id.Text(),
                     std::to_string(f.Check2.Value()) + std::to_string(f.Check1.Value()),
                     f.txtSample_Depth.Text()};
    };
    const Shown six{"6/6", "first", "", "109-Logan", "00", ""},
        seven{"7/7", "", "M-Median", "110-Bear", "11", "1"},
        eight{"8/8", "third", "", "", "00", ""};
    EXPECT_EQ(showing(), six);
    const struct {
        bool next;
        Shown shown;
        bool said;
    } steps[] = {{true, seven, false}, {true, eight, false},  {true, eight, true},
                 {true, eight, false}, {false, eight, false}, {false, seven, false},
                 {false, six, false},  {false, six, true},    {false, six, false},
                 {true, six, false},   {true, seven, false}};
    int n = 0;
    for (const auto& s : steps) {
        dialogs->clear();
        Click(s.next ? f.cmdNextRecord : f.cmdPreviousRecord);
        EXPECT_EQ(showing(), s.shown) << "step " << n;
        EXPECT_EQ(dialogs->prompts.size(), s.said ? 1u : 0u) << "step " << n++;
    }
    EXPECT_FALSE(f.DTPicker1.Visible());

    // A step asks before a change to the sample on show is lost.
    f.txtcomment.SetText("edited");
    dialogs->clear();
    dialogs->answers = {controls::mb::No, controls::mb::Yes};
    Click(f.cmdNextRecord);
    EXPECT_EQ(showing(), (Shown{"7/7", "edited", "M-Median", "110-Bear", "11", "1"}));
    Click(f.cmdNextRecord);
    EXPECT_EQ(showing(), eight);
    EXPECT_EQ(dialogs->texts(),
              std::vector<std::string>(2, "The sample typed has not been saved.\n\nDiscard it?"));

    // From Locate, what the sample lacks keeps what the search field held.
    Click(f.cmdClear);
    f.txtSampleNum.SetText("7");
    f.txtcomment.SetText("x");
    Click(f.cmdLocate);
    EXPECT_EQ(showing(), (Shown{"7/7", "x", "M-Median", "110-Bear", "11", "1"}));
}

TEST_F(SampleWindow, DeleteAsksThenTakesTheSampleOnShowOnly) {
    AddSample(5, "2004-01-01");
    AddSample(6, "2004-01-02");
    db->ExecuteNative(
        "insert into tblresults (idloc, sample_code, parameter_code) values "
        "('V', 5, 10), ('V', 6, 10)");
    auto& f = Open();
    f.txtSampleNum.SetText("5");
    Click(f.cmdLocate);
    dialogs->answers.push_back(controls::mb::Cancel);
    Click(f.cmddeleteS);
    const std::string ask = "Delete this sample and the matching results?";
    ASSERT_EQ(dialogs->texts(), (std::vector<std::string>{ask, "Delete Cancelled"}));
    EXPECT_EQ(dialogs->prompts[0].buttons, controls::mb::OKCancel);
    EXPECT_EQ(QueryValue(*db, "select count(*) from tblresults"), "2");

    dialogs->clear();
    Click(f.cmddeleteS);
    EXPECT_EQ(dialogs->texts(), (std::vector<std::string>{ask, "Records Deleted"}));
    EXPECT_EQ(QueryValue(*db,
                         "select (select count(*) from tblsample where sample_code = 5) + "
                         "(select count(*) from tblresults where sample_code = 5)"),
              "0");
    EXPECT_EQ(f.Label24.Caption() + f.txtSampleNum.Text(), "");
    EXPECT_EQ(f.CmdAddSample.Caption(), "Add");
    EXPECT_FALSE(f.cmddeleteS.Visible());

    // Refused by the store: said, and the sample stays on show; then nothing on show.
    f.txtSampleNum.SetText("6");
    Click(f.cmdLocate);
    db->ExecuteNative(
        "create trigger refuse before delete on tblsample "
        "begin select raise(abort, 'locked'); end");
    dialogs->clear();
    Click(f.cmddeleteS);
    ASSERT_EQ(dialogs->prompts.size(), 2u);
    EXPECT_EQ(dialogs->prompts[1].text.rfind("Sample 6 was not deleted.\n\n", 0), 0u);
    EXPECT_EQ(f.Label24.Caption(), "6");
    f.txtSampleNum.SetText("99");
    Click(f.cmdLocate);
    dialogs->clear();
    Click(f.cmddeleteS);
    ASSERT_EQ(dialogs->prompts.size(), 1u);
    EXPECT_EQ(dialogs->prompts[0].text.rfind("There is no sample on show", 0), 0u);
    EXPECT_EQ(QueryValue(*db, "select count(*) from tblresults"), "1");
}

TEST_F(SampleWindow, FindSampleShowsTheHeaderAndTheStepsWalkTheDay) {
    AddSample(1, "2004-01-14 09:30:00");
    AddSample(2, "2004-01-14 12:00:00", "'8', 110, 'W', 'G', NULL, 'N', 2.5, NULL");
    AddSample(3, "2004-01-14 23:59:59");
    AddSample(4, "2004-01-15 00:00:00");
    auto& f = Open();
    f.DTPicker5.SetValue({2004, 1, 14, 6, 0, 0});
    Click(f.cmdFindSample);
    EXPECT_EQ(HeaderOf(f), (Header{"1", "NC-01-North Coast", "109-Logan", "1/14/2004 9:30:00 AM",
                                   "W-F-Filtered", "G-2-Grab two", ""}));
    EXPECT_EQ(f.DTPicker5.Value(), (DateTime{2004, 1, 14, 9, 30, 0}));
    // Only sample 2 has a depth; the samples after it leave it on show.
    const struct {
        bool next;
        const char* shows;
        const char* said;
        const char* depth;
    } steps[] = {{true, "2", "", "2.5"},
                 {true, "3", "", "2.5"},
                 {true, "3", "No More Records", "2.5"},
                 {false, "3", "", "2.5"},
                 {false, "2", "", "2.5"},
                 {false, "1", "", "2.5"},
                 {false, "1", "No Previous Record", "2.5"},
                 {true, "1", "", "2.5"}};
    int n = 0;
    for (const auto& s : steps) {
        dialogs->clear();
        Click(s.next ? f.cmdNext : f.cmdPrevious);
        EXPECT_EQ(f.lblCode.Caption() + "|" + f.lblDepth.Caption(),
                  std::string(s.shows) + "|" + s.depth)
            << "step " << n;
        EXPECT_EQ(dialogs->texts(),
                  *s.said ? std::vector<std::string>{s.said} : std::vector<std::string>{})
            << "step " << n++;
        EXPECT_TRUE(f.cmdNext.Enabled() && f.cmdPrevious.Enabled());
    }
    EXPECT_EQ(f.lblStation.Caption(), "109-Logan");
    EXPECT_EQ(f.DTPicker5.Value(), (DateTime{2004, 1, 14, 9, 30, 0}));
}

TEST_F(SampleWindow, AMissingDescriptionStopsTheHeaderWhereItIs) {
    AddSample(6, "2004-05-01", "'NUL', 109, 'W-F', 'X', NULL, 'N', 2, NULL");
    AddSample(7, "2004-05-02 10:00:00", "'8', 110, 'Z', 'G', NULL, 'N', 3, NULL");
    auto& f = Open();
    auto find = [&](const char* number) {
        dialogs->clear();
        f.txtResultSampleNum.SetText(number);
        Click(f.cmdFindSample);
    };
    find("7");  // the medium Z has no description row
    EXPECT_EQ(HeaderOf(f),
              (Header{"7", "8-Statewide", "110-Bear", "5/2/2004 10:00:00 AM", "Z", "", ""}));
    EXPECT_FALSE(f.cmdNext.Enabled() || f.cmdPrevious.Enabled());
    find("6");
    const Header six{"6", "NUL-", "109-Logan", "5/1/2004", "W-F-Filtered", "X-", "2"};
    EXPECT_EQ(HeaderOf(f), six);
    for (const char* number : {"99", "1.5"}) {
        find(number);
        EXPECT_EQ(HeaderOf(f), six) << number;
        EXPECT_EQ(dialogs->prompts.size(), *number == '1' ? 1u : 0u) << number;
    }
    find("7");
    EXPECT_EQ(HeaderOf(f),
              (Header{"7", "8-Statewide", "110-Bear", "5/2/2004 10:00:00 AM", "Z", "X-", "2"}));
}

TEST_F(SampleWindow, ASampleKeyedTwiceIsNamedAndMayBeOpenedInstead) {
    AddSample(4, "2004-05-06 14:35:00");
    db->ExecuteNative("insert into tblresults values ('V', 4, 10, 1.5, NULL, NULL, NULL)");
    auto& f = Open();
    const std::string ask =
        "Sample 4 was keyed with the same station, start date and time, medium and sample "
        "type.\n\nYes: open sample 4 instead.\nNo: add a new sample all the same.\nCancel: add "
        "nothing.";
    auto save = [&](int answer) {
        FillEntry(f);
        f.DTPicker2.SetValue({2004, 5, 6, 0, 0, 0});
        f.DTPicker1.SetValue({2000, 1, 1, 14, 35, 0});
        dialogs->answers = {answer};
        f.CmdAddSample_Click();
        EXPECT_EQ(dialogs->texts(), std::vector<std::string>{ask});
        dialogs->clear();
    };
    save(controls::mb::Cancel);
    EXPECT_EQ(Row(5), "");
    EXPECT_EQ(f.SSTab1.Tab(), loader::tab::Sample);
    save(controls::mb::Yes);
    EXPECT_EQ(Row(5), "");
    EXPECT_EQ(f.SSTab1.Tab(), loader::tab::Results);
    EXPECT_EQ(f.lblCode.Caption(), "4");
    EXPECT_EQ(f.MSFlexGrid5.TextMatrix(1, 3), "1.5");  // its results on show
    f.SSTab1.SetTab(loader::tab::Sample);
    save(controls::mb::No);
    EXPECT_NE(Row(5), "");
    EXPECT_EQ(f.lblCode.Caption(), "5");
}

TEST_F(SampleWindow, ClearExitAndCloseAskBeforeATypedSampleIsLost) {
    AddSample(4, "2004-01-14 09:30:00", "'NC-01', 109, 'W-F', 'G-2', NULL, 0, 2.5, 'bank'");
    const std::string ask = "The sample typed has not been saved.\n\nDiscard it?";
    auto& f = Open();
    f.cmdClear_Click();  // nothing chosen or typed: nothing asked
    ASSERT_TRUE(loader_test::Pick(f.CmbComposite_Statistic, "M"));
    dialogs->answers = {controls::mb::No, controls::mb::No, controls::mb::No};
    f.cmdClear_Click();
    f.cmdExitSample_Click();
    f.window()->close();
    EXPECT_EQ(dialogs->texts(), std::vector<std::string>(3, ask));
    EXPECT_EQ(loader_test::SelectedOf(f.CmbComposite_Statistic), "M");
    EXPECT_FALSE(f.IsUnloaded());

    // A located sample counts only once changed.
    f.cmdClear_Click();  // answered Yes
    f.txtSampleNum.SetText("4");
    f.cmdLocate_Click();
    f.txtcomment.SetText("bank, upstream");
    dialogs->clear();
    dialogs->answers = {controls::mb::No};
    f.cmdClear_Click();
    EXPECT_EQ(dialogs->texts(), std::vector<std::string>{ask});
    EXPECT_EQ(f.Label24.Caption(), "4");
    f.txtcomment.SetText("bank");
    f.cmdExitSample_Click();
    EXPECT_EQ(dialogs->texts(), std::vector<std::string>{ask});
    EXPECT_TRUE(f.IsUnloaded());

    // A stored code its list lacks shows as nothing chosen, which is no change.
    AddSample(5, "2004-01-15 09:30:00", "'NC-01', 999, 'W-F', 'G-2', NULL, 0, NULL, NULL");
    auto& again = Open();
    again.txtSampleNum.SetText("5");
    again.cmdLocate_Click();
    ASSERT_EQ(again.Label24.Caption(), "5");
    dialogs->clear();
    again.cmdClear_Click();
    EXPECT_EQ(dialogs->texts(), std::vector<std::string>{});
}

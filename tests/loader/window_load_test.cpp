// Opening and closing the data window, its lookup lists and project grid, and the
// "Sample" tab's station list, check boxes and clear, on a file of a few rows.
#include <gtest/gtest.h>

#include "LoaderTestSupport.h"

using loader_test::Entries;
using loader_test::Pick;
using loader_test::SecondsApart;
using loader_test::Sorted;
using platform::DateTime;
using Strings = std::vector<std::string>;

namespace {

// Rows out of code order, so a list that sorts instead of keeping the table's order shows.
// Project 8 measured 10 (by hand) and 95 (the other source); BRW's sample 'S' 2 shares its
// code with a project-8 one, and its parameter 1027 is not on project 8's list.
class DataWindow : public loader_test::LoaderTest {
  protected:
    bool demo() const override { return false; }
    void SetUp() override {
        LoaderTest::SetUp();
        db->ExecuteNative(
            "insert into tblprojects_programs (project_code, program_project) values "
            "('VSW', 'Volunteer'), ('8', 'Statewide'), ('BRW', 'Bear River');"
            "insert into tblstation_information (station_id, place_name_description) values "
            "(111, 'Cottonwood'), (104, 'Mill Creek'), (109, 'Logan');"
            "insert into tblmedium values ('W', 'Water'), ('Q', NULL);"
            "insert into tblsample_type values ('G', 'Grab'), ('C', 'Composite');"
            "insert into tblcomposite_statistic values ('M', 'Median');"
            "insert into tblresults_remarks values ('J', 'Estimated'), ('<', 'Less');"
            "insert into TBLParameter_Codes values (95, 'SpCond', 'Conductance'), "
            "(10, 'Temp', 'Temperature'), (1027, 'Cd', 'Cadmium');"
            "insert into tblsample (idloc, sample_code, project_code, station_id) values "
            "('V', 2, '8', 109), ('S', 2, 'BRW', 104), ('S', 3, '8', 111), ('V', 4, '8', 109);"
            "insert into tblresults (idloc, sample_code, parameter_code) values "
            "('V', 2, 10), ('S', 3, 95), ('S', 2, 1027)");
    }
};

const Strings kAllStations = {"104-Mill Creek", "109-Logan", "111-Cottonwood"};

}  // namespace

TEST_F(DataWindow, LoadFillsEveryListInTableOrderAndChoosesNothing) {
    auto& f = Open();
    const Strings projects = {"VSW-Volunteer", "8-Statewide", "BRW-Bear River"};
    EXPECT_EQ(Entries(f.CMBSample_Type), (Strings{"G-Grab", "C-Composite"}));
    EXPECT_EQ(Entries(f.cmbStation_id), kAllStations);
    EXPECT_EQ(Entries(f.cmbProject_Code), projects);
    EXPECT_EQ(Entries(f.cmbStationProject), projects);
    EXPECT_EQ(Entries(f.CmbComposite_Statistic), Strings{"M-Median"});
    EXPECT_EQ(Entries(f.cmbMedium), (Strings{"W-Water", "Q-"}));
    EXPECT_EQ(Entries(f.cmbRemark_code), (Strings{"J-Estimated", "<-Less"}));
    EXPECT_EQ(Sorted(Entries(f.cmbParameter)), (Strings{"10-Temp", "95-SpCond"}));
    EXPECT_EQ(f.MSFlexGrid2.Rows(), 2 + 3);  // header, blank row, the projects
    const auto now = DateTime::now();
    EXPECT_LE(SecondsApart(f.DTPicker2.Value(), now), 60);
    EXPECT_LE(SecondsApart(f.DTPicker3.Value(), now), 60);
    EXPECT_EQ(f.SSTab1.Tab(), 1);
    for (auto* list : {&f.cmbProject_Code, &f.cmbStation_id, &f.cmbMedium, &f.CMBSample_Type,
                       &f.CmbComposite_Statistic, &f.cmbStationProject, &f.cmbRemark_code})
        EXPECT_EQ(list->ListIndex(), -1) << list->Name();
    for (auto* box : {&f.Check1, &f.Check2, &f.Check11}) EXPECT_EQ(box->Value(), 0) << box->Name();
    EXPECT_EQ(f.Label24.Caption(), "");
    EXPECT_TRUE(dialogs->prompts.empty());
}

TEST_F(DataWindow, EmptyLookupTablesGiveEmptyListsWithoutAMessage) {
    db = testing_support::EmptyDatabase(dir.file("empty.db"));
    store::setDb(db);
    auto& f = Open();
    for (auto* list :
         {&f.cmbProject_Code, &f.cmbStation_id, &f.cmbMedium, &f.CMBSample_Type,
          &f.CmbComposite_Statistic, &f.cmbStationProject, &f.cmbRemark_code, &f.cmbParameter})
        EXPECT_EQ(list->ListCount(), 0) << list->Name();
    EXPECT_EQ(f.MSFlexGrid2.Rows(), 2);
    EXPECT_TRUE(dialogs->prompts.empty());
}

TEST_F(DataWindow, UnloadAndBothExitsCloseTheFoundSetsWhetherOpenOrNot) {
    for (int way = 0; way < 3; ++way) {
        auto& f = Open();
        if (way > 0) {
            f.txtSampleNum.SetText("2");
            f.cmdLocate_Click();
            ASSERT_TRUE(f.locatedSamples.IsOpen());
        }
        const std::function<void()> close[] = {[&] { f.Unload(); },
                                               [&] { f.cmdExitSample_Click(); },
                                               [&] { f.cmdExitResult_Click(); }};
        EXPECT_NO_THROW(close[way]()) << way;
        EXPECT_TRUE(f.IsUnloaded()) << way;
        EXPECT_FALSE(f.locatedSamples.IsOpen()) << way;
        EXPECT_TRUE(dialogs->prompts.empty()) << way;
    }
}

TEST_F(DataWindow, StationListFollowsTheProjectUnlessAllStationsIsTicked) {
    // VSW samples of both sources, one at a station the station table lacks.
    db->ExecuteNative(
        "insert into tblsample (idloc, sample_code, project_code, station_id) values "
        "('S', 900, 'VSW', 104), ('S', 901, 'VSW', 999), ('V', 60, 'VSW', 104)");
    const Strings vswStations = {"-", "104-Mill Creek"};
    auto& f = Open();

    ASSERT_TRUE(Pick(f.cmbProject_Code, "VSW"));
    EXPECT_EQ(Sorted(Entries(f.cmbStation_id)), vswStations);

    f.Check11.SetValue(1);
    EXPECT_EQ(Entries(f.cmbStation_id), kAllStations);
    ASSERT_TRUE(Pick(f.cmbProject_Code, "BRW"));
    EXPECT_EQ(Entries(f.cmbStation_id), kAllStations);

    ASSERT_TRUE(Pick(f.cmbProject_Code, "VSW"));
    f.Check11.SetValue(0);
    EXPECT_EQ(Sorted(Entries(f.cmbStation_id)), vswStations);

    f.Check11.SetValue(1);
    f.cmbProject_Code.SetListIndex(-1);
    f.Check11.SetValue(0);
    EXPECT_EQ(Entries(f.cmbStation_id), kAllStations);
}

TEST_F(DataWindow, ClearLeavesAnEmptyEntryInAddMode) {
    auto& f = Open();
    f.txtSampleNum.SetText("4");
    f.cmdLocate_Click();
    ASSERT_EQ(f.Label24.Caption(), "4");
    f.Check1.SetValue(1);
    f.Check2.SetValue(1);
    const DateTime old{2001, 1, 1, 1, 1, 0};
    for (auto* picker : {&f.DTPicker1, &f.DTPicker2, &f.DTPicker3, &f.DTPicker4})
        picker->SetValue(old);
    ASSERT_TRUE(Pick(f.cmbProject_Code, "VSW"));
    // The ticks show and hide their pickers.
    EXPECT_FALSE(f.DTPicker1.Visible());
    EXPECT_TRUE(f.Frame1.Visible());

    f.cmdClear_Click();
    EXPECT_TRUE(f.DTPicker1.Visible());
    EXPECT_FALSE(f.Frame1.Visible());
    EXPECT_EQ(f.CmdAddSample.Caption(), "Add");
    EXPECT_FALSE(f.cmddeleteS.Visible());
    for (auto* box : {&f.txtSampleNum, &f.txtcomment, &f.txtSample_Depth})
        EXPECT_EQ(box->Text(), "") << box->Name();
    EXPECT_EQ(f.Label24.Caption(), "");
    const auto now = DateTime::now();
    for (auto* picker : {&f.DTPicker1, &f.DTPicker2, &f.DTPicker3, &f.DTPicker4})
        EXPECT_LE(SecondsApart(picker->Value(), now), 60) << picker->Name();
    for (auto* box : {&f.Check1, &f.Check2, &f.Check11}) EXPECT_EQ(box->Value(), 0) << box->Name();
    for (auto* list : {&f.cmbProject_Code, &f.cmbStation_id, &f.cmbMedium, &f.CMBSample_Type,
                       &f.CmbComposite_Statistic})
        EXPECT_EQ(list->ListIndex(), -1) << list->Name();
    EXPECT_EQ(Entries(f.cmbStation_id), kAllStations);
}

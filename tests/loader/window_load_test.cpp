// Opening and closing the data window, its lookup lists and project grid, and the
// "Sample" tab's station list, check boxes and clear.
#include <gtest/gtest.h>

#include <map>

#include "LoaderTestSupport.h"

using loader_test::Choose;
using loader_test::Entries;
using loader_test::SecondsApart;
using loader_test::Sorted;
using platform::DateTime;
using Strings = std::vector<std::string>;

namespace {

const Strings kAllStations = {
    "101-Bear River at Highway 30 Bridge", "102-Bear River near Corinne",
    "103-Mill Creek above Confluence",     "104-Mill Creek at Park Road",
    "105-Clear Lake Deep Station",         "106-Clear Lake North Beach",
    "107-Willow Reservoir at Dam",         "108-Spring Creek at Fish Hatchery",
    "109-Logan River at Canyon Mouth",     "110-Silver Creek below Mine Tailings",
    "111-Cottonwood Creek at 4th Street",  "112-Little Bear River near Paradise"};

class DataWindow : public loader_test::LoaderTest {};

class EmptyDataWindow : public loader_test::LoaderTest {
  protected:
    bool demo() const override { return false; }
};

}  // namespace

TEST_F(DataWindow, LoadFillsEveryListInTableOrderAndChoosesNothing) {
    db->ExecuteNative("insert into tblmedium values ('Q', NULL)");
    auto& f = Open();
    const Strings projects = {"8-Statewide Ambient Monitoring Network",
                              "BRW-Bear River Watershed Assessment",
                              "LKM-Lake Monitoring Program",
                              "FCB-Beach Bacteria Study",
                              "MET-Metals in Mining District Streams",
                              "VSW-Volunteer Stream Watch"};
    EXPECT_EQ(Entries(f.CMBSample_Type), (Strings{"G-Grab", "C-Composite", "I-Depth Integrated",
                                                  "B-Field Blank", "D-Field Duplicate"}));
    EXPECT_EQ(Entries(f.cmbStation_id), kAllStations);
    EXPECT_EQ(Entries(f.cmbProject_Code), projects);
    EXPECT_EQ(Entries(f.cmbStationProject), projects);
    EXPECT_EQ(Entries(f.CmbComposite_Statistic),
              (Strings{"A-Arithmetic Mean", "M-Median", "X-Maximum", "N-Minimum"}));
    EXPECT_EQ(Entries(f.cmbMedium), (Strings{"W-Water", "S-Sediment", "T-Fish Tissue", "Q-"}));
    EXPECT_EQ(
        Entries(f.cmbRemark_code),
        (Strings{"<-Less than the reporting limit", ">-Greater than the upper calibration limit",
                 "J-Estimated value", "U-Analyzed for but not detected",
                 "B-Also detected in the blank", "Q-Holding time exceeded"}));
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

TEST_F(DataWindow, ParameterListHoldsWhatProjectEightMeasuredFromEverySource) {
    // Arsenic on a project-8 sample counts; cadmium on a BRW sample whose code a
    // project-8 sample of the other source shares does not.
    ASSERT_EQ(QueryValue(*db, "select project_code from tblsample where sample_code = 2 "
                              "order by idloc"),
              "BRW");  // S before V
    ASSERT_EQ(QueryValue(*db, "select project_code from tblsample where sample_code = 2 and "
                              "idloc = 'V'"),
              "8");
    db->ExecuteNative(
        "insert into tblresults values ('V', 1, 1002, 3.1, NULL, 'A', NULL);"
        "insert into tblresults values ('S', 2, 1027, 0.2, NULL, 'A', NULL);");
    auto& f = Open();
    EXPECT_EQ(Sorted(Entries(f.cmbParameter)),
              Sorted({"10-Temp", "95-SpCond", "300-DO", "400-pH", "530-TSS", "630-NO2NO3", "665-TP",
                      "940-Cl", "31648-E. coli", "70300-TDS", "1002-As"}));
}

TEST_F(DataWindow, ProjectGridShowsEveryProjectWithItsOrganization) {
    db->ExecuteNative(
        "insert into tblprojects_programs values ('EVE', 'Evening Survey', 2, 'Lakes', "
        "'Night sampling', '2003-04-01 08:30:00', NULL, 'Ann Lee', NULL)");
    auto& g = Open().MSFlexGrid2;
    ASSERT_EQ(g.Cols(), 9);
    ASSERT_EQ(g.Rows(), 2 + 7);
    // Each row's cells joined by '|', keyed by the row's code.
    std::map<std::string, std::string> rows;
    for (long long r = 0; r < g.Rows(); ++r) {
        std::string line = g.TextMatrix(r, 0);
        for (int c = 1; c < 9; ++c) line += "|" + g.TextMatrix(r, c);
        rows[r == 1 ? "blank" : g.TextMatrix(r, 0)] = line;
    }
    EXPECT_EQ(rows["Code"],
              "Code|Program/Project|Organization|Study Area|Purpose|Start Date|End Date|Contact "
              "Name|Contact Phone");
    EXPECT_EQ(rows["blank"], "||||||||");
    EXPECT_EQ(rows["BRW"],
              "BRW|Bear River Watershed Assessment|Bear River Basin Commission|Bear River "
              "basin|Nutrient and sediment loads for a TMDL|3/1/2002|12/31/2004|Marcus "
              "Lindqvist|(555) 318-2270");
    EXPECT_EQ(rows["VSW"],
              "VSW|Volunteer Stream Watch||Urban streams|Citizen monitoring and "
              "education|4/1/2003||Sam Becker|");
    EXPECT_EQ(
        rows["EVE"],
        "EVE|Evening Survey|Bear River Basin Commission|Lakes|Night sampling|4/1/2003 8:30:00 "
        "AM||Ann Lee|");
}

TEST_F(EmptyDataWindow, EmptyLookupTablesGiveEmptyListsWithoutAMessage) {
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
            f.txtSampleNum.SetText("1");
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
    const Strings vswStations = {"-", "104-Mill Creek at Park Road",
                                 "111-Cottonwood Creek at 4th Street"};
    auto& f = Open();

    ASSERT_TRUE(Choose(f.cmbProject_Code, "VSW"));
    EXPECT_EQ(Sorted(Entries(f.cmbStation_id)), vswStations);

    f.Check11.SetValue(1);
    EXPECT_EQ(Entries(f.cmbStation_id), kAllStations);
    ASSERT_TRUE(Choose(f.cmbProject_Code, "FCB"));
    EXPECT_EQ(Entries(f.cmbStation_id), kAllStations);

    ASSERT_TRUE(Choose(f.cmbProject_Code, "VSW"));
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
    const DateTime old{2001, 1, 1, 1, 1, 0};
    for (auto* picker : {&f.DTPicker1, &f.DTPicker2, &f.DTPicker3, &f.DTPicker4})
        picker->SetValue(old);
    ASSERT_TRUE(Choose(f.cmbProject_Code, "VSW"));
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

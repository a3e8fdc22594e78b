// "View Samples": the filters' lists and boxes, the sample list and "Select All".
#include <gtest/gtest.h>

#include "ViewerTestSupport.h"

using loader_test::Choose;
using loader_test::Entries;
using loader_test::Rows;
using loader_test::RowText;
using loader_test::Sorted;
using platform::DateTime;
using Strings = std::vector<std::string>;

namespace {

const std::string kHeaders =
    "Sample Code|Project Code|Station ID|Start Date|Missing Time|End Date|Medium|Sample "
    "Type|Composite Statistic Code|Sample Depth|Comment|IDLoc";
const char* kMine = "Currently only user entered records displayed.";
const char* kAll = "All Records Selected";

class SampleViewer : public loader_test::LoaderTest {
  protected:
    // "source:code" of every listed sample, sorted.
    Strings Listed(const loader::frmDataLoader& f) {
        Strings keys;
        for (long long r = 2; r < f.MSFlexGrid3.Rows(); ++r)
            keys.push_back(f.MSFlexGrid3.TextMatrix(r, 11) + ":" + f.MSFlexGrid3.TextMatrix(r, 0));
        return Sorted(keys);
    }
    // The same keys straight from the file.
    Strings Stored(const std::string& where) {
        Strings keys;
        auto rs =
            db->OpenRecordset("select idloc || ':' || sample_code from tblsample where " + where);
        for (; !rs->Eof(); rs->MoveNext()) keys.push_back(rs->Value(0).toText());
        rs->Close();
        return Sorted(keys);
    }
};

}  // namespace

TEST_F(SampleViewer, ProjectAndStationBoxesFillTheirListsAndShowThem) {
    db->ExecuteNative(
        "insert into tblsample (idloc, sample_code, project_code, station_id) values "
        "('S', 900, 'VSW', 104), ('S', 901, 'VSW', 104)");
    auto& f = Open();
    f.Check10.SetValue(1);
    EXPECT_EQ(Entries(f.cmbProject), Entries(f.cmbProject_Code));
    EXPECT_TRUE(f.cmbProject.Visible() && f.Label23.Visible());
    f.Check10.SetValue(0);
    EXPECT_FALSE(f.cmbProject.Visible() || f.Label23.Visible());
    EXPECT_EQ(Entries(f.cmbProject), Entries(f.cmbProject_Code));
    f.Check10.SetValue(1);
    EXPECT_EQ(Entries(f.cmbProject), Entries(f.cmbProject_Code));

    // The stations follow the project chosen on the "Sample" tab, whichever source sampled.
    struct Case {
        const char* project;  // "" for none
        Strings stations;
    };
    const Case cases[] = {
        {"LKM",
         {"105-Clear Lake Deep Station", "106-Clear Lake North Beach",
          "107-Willow Reservoir at Dam"}},
        {"VSW", {"104-Mill Creek at Park Road", "111-Cottonwood Creek at 4th Street"}},
        {"", Sorted(Entries(f.cmbStation_id))},
    };
    for (const auto& c : cases) {
        if (*c.project)
            ASSERT_TRUE(Choose(f.cmbProject_Code, c.project));
        else
            f.cmbProject_Code.SetListIndex(-1);
        f.Check9.SetValue(1);
        EXPECT_EQ(Sorted(Entries(f.cmbStation)), c.stations) << c.project;
        EXPECT_TRUE(f.cmbStation.Visible() && f.Label22.Visible()) << c.project;
        f.Check9.SetValue(0);
        EXPECT_FALSE(f.cmbStation.Visible() || f.Label22.Visible()) << c.project;
    }
    EXPECT_EQ(f.cmbStation.ListCount(), 12);

    EXPECT_FALSE(f.FrmDate.Visible());
    f.Check8.SetValue(1);
    EXPECT_TRUE(f.FrmDate.Visible());
    f.Check8.SetValue(0);
    EXPECT_FALSE(f.FrmDate.Visible());
    EXPECT_TRUE(dialogs->prompts.empty());
}

TEST_F(SampleViewer, HandEnteredSamplesOrEveryDatedSampleWithTheirDescriptions) {
    db->ExecuteNative(
        "insert into tblsample (idloc, sample_code, project_code, station_id) values "
        "('V', 6, '8', 101), ('V', 7, 'ZZZ', 999), ('S', 900, '8', 101)");
    auto& f = Open();
    f.MSFlexGrid3.AddItem("stale\trow");
    f.cmdSamples_Click();
    EXPECT_EQ(dialogs->texts(), Strings{kMine});
    EXPECT_TRUE(f.frmLoaded.Visible());
    EXPECT_EQ(RowText(f.MSFlexGrid3, 0), kHeaders);
    EXPECT_EQ(RowText(f.MSFlexGrid3, 1), std::string(11, '|'));
    EXPECT_EQ(Listed(f), Stored("idloc = 'V'"));
    const auto rows = Rows(f.MSFlexGrid3);
    for (const char* row :
         {"4|Lake Monitoring Program|Clear Lake Deep Station|2/18/2004 1:45:00 PM|N|2/19/2004 "
          "9:00:00 AM|Water|Grab|Arithmetic Mean|0.5|Calm, clear sky|V",
          "1|Statewide Ambient Monitoring Network|Logan River at Canyon Mouth|1/14/2004 9:30:00 "
          "AM|N||Water|Grab|||Ice along both banks|V",
          "6|Statewide Ambient Monitoring Network|Bear River at Highway 30 Bridge|||||||||V",
          // Project and station missing from their tables.
          "7|||||||||||V"})
        EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row;

    dialogs->clear();
    f.Check7.SetValue(1);
    f.cmdSamples_Click();
    EXPECT_EQ(dialogs->texts(), Strings{kAll});
    EXPECT_EQ(Listed(f), Stored("start_date is not null"));
    EXPECT_GT(Listed(f).size(), 60u);
    // A second press lists the same rows once.
    const auto first = Rows(f.MSFlexGrid3, 0);
    f.cmdSamples_Click();
    EXPECT_EQ(Rows(f.MSFlexGrid3, 0), first);
}

TEST_F(SampleViewer, FiltersNarrowTheListInBothModes) {
    db->ExecuteNative(
        "insert into tblsample (idloc, sample_code, project_code, station_id, start_date) values "
        "('V', 6, '8', 101, '2004-01-13 23:59:59'), ('V', 7, '8', 101, '2004-01-14 00:00:00'),"
        "('V', 8, '8', 101, '2004-01-14 23:59:59'), ('V', 9, '8', 101, '2004-02-03 00:00:00'),"
        "('V', 10, '8', 101, '2004-02-03 00:00:01'), ('V', 11, 'LKM', 109, NULL)");
    const std::string days =
        "start_date >= '2004-01-14 00:00:00' and start_date <= '2004-02-03 00:00:00'";
    const std::string allThree = days + " and station_id = 101 and project_code = '8'";
    struct Case {
        const char* name;
        bool dates;
        const char* station;  // "": box not ticked
        const char* project;
        Strings mine;       // hand-entered mode
        std::string every;  // the "All Records" mode, besides a start date
    };
    const Case cases[] = {
        {"days", true, "", "", {"V:1", "V:2", "V:7", "V:8", "V:9"}, days},
        {"station", false, "109", "", {"V:1", "V:11"}, "station_id = 109"},
        {"project", false, "", "LKM", {"V:11", "V:4"}, "project_code = 'LKM'"},
        {"all three", true, "101", "8", {"V:7", "V:8", "V:9"}, allThree},
        {"station of no sample", false, "108", "VSW", {}, "0"},
    };
    auto& f = Open();
    f.DTPicker6.SetValue(DateTime{2004, 1, 14, 0, 0, 0});
    f.DTPicker7.SetValue(DateTime{2004, 2, 3, 0, 0, 0});
    for (const auto& c : cases) {
        f.Check8.SetValue(c.dates ? 1 : 0);
        f.Check9.SetValue(*c.station ? 1 : 0);
        if (*c.station) {
            EXPECT_TRUE(Choose(f.cmbStation, c.station)) << c.name;
        }
        f.Check10.SetValue(*c.project ? 1 : 0);
        if (*c.project) {
            EXPECT_TRUE(Choose(f.cmbProject, c.project)) << c.name;
        }
        f.Check7.SetValue(0);
        f.cmdSamples_Click();
        EXPECT_EQ(Listed(f), Sorted(c.mine)) << c.name;
        f.Check7.SetValue(1);
        f.cmdSamples_Click();
        EXPECT_EQ(Listed(f), Stored(c.every + " and start_date is not null")) << c.name;
        EXPECT_EQ(dialogs->texts(), (Strings{kMine, kAll})) << c.name;
        dialogs->clear();
        f.Check8.SetValue(0);
        f.Check9.SetValue(0);
        f.Check10.SetValue(0);
    }
}

TEST_F(SampleViewer, ATickedFilterWithoutItsChoiceAsksOnceAndKeepsTheList) {
    auto& f = Open();
    f.cmdSamples_Click();
    const auto before = Rows(f.MSFlexGrid3, 0);
    for (auto* box : {&f.Check9, &f.Check10}) {
        dialogs->clear();
        box->SetValue(1);
        f.Check7.SetValue(1);
        f.cmdSamples_Click();
        EXPECT_EQ(dialogs->prompts.size(), 1u) << box->Name();
        EXPECT_EQ(Rows(f.MSFlexGrid3, 0), before) << box->Name();
        box->SetValue(0);
        f.Check7.SetValue(0);
    }
}

TEST_F(SampleViewer, SelectAllSpansEverySampleRowAndUntickingClearsIt) {
    auto& f = Open();
    f.Check7.SetValue(1);
    f.cmdSamples_Click();
    auto& g = f.MSFlexGrid3;
    f.Check12.SetValue(1);
    EXPECT_EQ(std::make_tuple(g.Row(), g.Col(), g.RowSel(), g.ColSel()),
              std::make_tuple(2LL, 1, g.Rows() - 1, 11));
    // A new list under a ticked box is selected whole too.
    f.Check7.SetValue(0);
    f.cmdSamples_Click();
    ASSERT_GT(g.Rows(), 3);
    EXPECT_EQ(std::make_tuple(g.Row(), g.Col(), g.RowSel(), g.ColSel()),
              std::make_tuple(2LL, 1, g.Rows() - 1, 11));
    f.Check12.SetValue(0);
    EXPECT_EQ(std::make_tuple(g.Row(), g.Col(), g.RowSel(), g.ColSel()),
              std::make_tuple(0LL, 0, 0LL, 0));
}

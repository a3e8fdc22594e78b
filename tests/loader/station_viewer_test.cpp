// "View Station": the station list with its project, place name and water body filters.
#include <gtest/gtest.h>

#include "ViewerTestSupport.h"

using loader_test::Choose;
using loader_test::Column;
using loader_test::Rows;
using loader_test::RowText;
using loader_test::Sorted;
using Strings = std::vector<std::string>;

namespace {

const std::string kHeaders =
    "Station ID|Latitude|Longitude|Accuracy Code|EPA Code|USGS Code|Station Code 1|Station Code "
    "2|Place Name Description|River-Stream-Lake|Total Area|HUC|Station Type|Water Body "
    "Name|RF3 Code|NHD 100K|Ambnt|";
const std::string kStation101 =
    "101|41.7362|-111.8338|1|EPA4900707|10105303|ST-101||Bear River at Highway 30 "
    "Bridge|River|15.5|16010202|River|Bear River|16010202-001||N|";
const Strings kAllIds = {"101", "102", "103", "104", "105", "106",
                         "107", "108", "109", "110", "111", "112"};

class StationViewer : public loader_test::LoaderTest {
  protected:
    // Ticks the boxes that have a value and fills their texts, then loads the stations.
    Strings Find(loader::frmDataLoader& f, const char* project, const char* place,
                 const char* water) {
        f.chkProjectStation.SetValue(project ? 1 : 0);
        if (project) {
            EXPECT_TRUE(Choose(f.cmbStationProject, project)) << project;
        }
        f.ChkLocationStation.SetValue(place ? 1 : 0);
        f.txtfindstation.SetText(place ? place : "");
        f.ChkWaterStation.SetValue(water ? 1 : 0);
        f.txtwaterbodyname.SetText(water ? water : "");
        f.cmdFindStation_Click();
        return Sorted(Column(f.MSFlexGrid1, 0));
    }
};

}  // namespace

TEST_F(StationViewer, NoFilterListsEveryStationUnderTheHeadersAndABlankRow) {
    auto& f = Open();
    auto& g = f.MSFlexGrid1;
    f.MSFlexGrid1.AddItem("left\tover");
    f.cmdFindStation_Click();
    ASSERT_EQ(g.Cols(), 18);
    EXPECT_EQ(RowText(g, 0), kHeaders);
    EXPECT_EQ(RowText(g, 1), std::string(17, '|'));
    EXPECT_EQ(Column(g, 0), kAllIds);
    EXPECT_EQ(RowText(g, 2), kStation101);
    // Nulls read as empty cells; lakes have no area, every third station no USGS code.
    EXPECT_EQ(RowText(g, 7),
              "106|41.6402|-111.6588|1|EPA4900742||ST-106||Clear Lake North "
              "Beach|Lake||16010203|Beach|Clear Lake|16010203-006||Y|");
    EXPECT_TRUE(dialogs->prompts.empty());

    // A second press lists the same rows, not twice as many.
    const auto first = Rows(g, 0);
    f.cmdFindStation_Click();
    EXPECT_EQ(Rows(g, 0), first);

    // Through the project's join, each row still reads the station table.
    EXPECT_EQ(Find(f, "BRW", nullptr, nullptr).size(), 5u);
    for (const auto& row : Rows(g))
        EXPECT_NE(std::find(first.begin(), first.end(), row), first.end()) << row;
}

TEST_F(StationViewer, FiltersCombineAndEachStationOfAProjectComesOnce) {
    db->ExecuteNative(
        "insert into tblstation_information (station_id, place_name_description, "
        "water_body_name) values (120, 'O''Brien''s Ford', 'Mill Creek'), (121, NULL, NULL);"
        "insert into tblprojects_programs (project_code, program_project) values ('NEW', 'New');"
        "insert into tblsample (idloc, sample_code, project_code, station_id) values "
        "('V', 50, 'VSW', 120), ('V', 51, 'VSW', 120), ('S', 950, 'VSW', 120)");
    struct Case {
        const char* name;
        const char* project;
        const char* place;
        const char* water;
        Strings ids;
    };
    const Case cases[] = {
        {"project of both sources", "8", nullptr, nullptr, {"101", "102", "107", "109", "112"}},
        {"project sampled by hand only", "VSW", nullptr, nullptr, {"111", "120"}},
        {"project without samples", "NEW", nullptr, nullptr, {}},
        {"place, any letter case", nullptr, "CREEK", nullptr, {"103", "104", "108", "110", "111"}},
        {"empty place drops Null names",
         nullptr,
         "",
         nullptr,
         {"101", "102", "103", "104", "105", "106", "107", "108", "109", "110", "111", "112",
          "120"}},
        {"quotes as typed", nullptr, "o'brien's", nullptr, {"120"}},
        {"star is a wildcard", nullptr, "Bear*Bridge", nullptr, {"101"}},
        {"no match", nullptr, "Atlantis", nullptr, {}},
        {"water body", nullptr, nullptr, "bear river", {"101", "102", "112"}},
        {"place and water body", nullptr, "Bear", "little", {"112"}},
        {"project and place", "8", "river", nullptr, {"101", "102", "109", "112"}},
        {"all three", "BRW", "creek", "mill", {"103", "104"}},
    };
    auto& f = Open();
    for (const auto& c : cases) {
        EXPECT_EQ(Find(f, c.project, c.place, c.water), Sorted(c.ids)) << c.name;
        EXPECT_TRUE(dialogs->prompts.empty()) << c.name;
        EXPECT_EQ(RowText(f.MSFlexGrid1, 0), kHeaders) << c.name;
        EXPECT_EQ(RowText(f.MSFlexGrid1, 1), std::string(17, '|')) << c.name;
    }
}

TEST_F(StationViewer, ProjectTickedWithoutAProjectAsksOnceAndKeepsTheList) {
    auto& f = Open();
    f.cmdFindStation_Click();
    const auto before = Rows(f.MSFlexGrid1, 0);
    f.chkProjectStation.SetValue(1);
    f.cmdFindStation_Click();
    EXPECT_EQ(dialogs->prompts.size(), 1u);
    EXPECT_EQ(Rows(f.MSFlexGrid1, 0), before);
}

TEST_F(StationViewer, TheBoxesShowAndHideTheirInputs) {
    auto& f = Open();
    struct Box {
        platform::CheckBox& box;
        std::vector<platform::Control*> shown;
    };
    const Box boxes[] = {{f.chkProjectStation, {&f.Label25, &f.cmbStationProject}},
                         {f.ChkLocationStation, {&f.Frame8}},
                         {f.ChkWaterStation, {&f.Frame12}}};
    for (const auto& b : boxes) {
        for (auto* c : b.shown) EXPECT_FALSE(c->Visible()) << c->Name();
        b.box.SetValue(1);
        for (auto* c : b.shown) EXPECT_TRUE(c->Visible()) << c->Name();
        b.box.SetValue(0);
        for (auto* c : b.shown) EXPECT_FALSE(c->Visible()) << c->Name();
    }
}

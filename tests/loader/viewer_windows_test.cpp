// The viewer tabs: each handler reads its boxes and lists, asks for a missing choice, and
// shows the rows under the header row and the blank row. What the rows hold is the store's.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "ViewerTestSupport.h"
#include "frmFilterResults.h"

using loader_test::Column;
using loader_test::Entries;
using loader_test::Rows;
using loader_test::RowText;
using Strings = std::vector<std::string>;

namespace {

const char* kMine = "Currently only user entered records displayed.";
const char* kAll = "All Records Selected";

class ViewerWindows : public loader_test::ViewerTest {
  protected:
    loader::frmFilterResults* Dialog() { return loader::FilterResultsWindow().get(); }
};

}  // namespace

TEST_F(ViewerWindows, FindStationReadsTheTickedBoxesAndKeepsEachValueInItsCell) {
    db->ExecuteNative(
        "insert into tblstation_information (station_id, place_name_description, "
        "TempRiver_Stream_Lake) values (103, 'Tab' || char(9) || 'Ford', 'River')");
    auto& f = Open();
    auto& g = f.MSFlexGrid1;
    g.AddItem("left\tover");
    f.cmdFindStation_Click();
    EXPECT_TRUE(RowText(g, 0).starts_with("Station ID|Latitude|Longitude|"));
    EXPECT_EQ(RowText(g, 1), std::string(17, '|'));
    EXPECT_EQ(Column(g, 0), (Strings{"101", "102", "103"}));
    // A tab inside a value stays in its cell; the next column keeps its own value.
    EXPECT_EQ(g.TextMatrix(4, 8), "Tab\tFord");
    EXPECT_EQ(g.TextMatrix(4, 9), "River");

    f.ChkLocationStation.SetValue(1);
    f.txtfindstation.SetText("bear");
    f.cmdFindStation_Click();
    EXPECT_EQ(Column(g, 0), Strings{"101"});
    f.ChkLocationStation.SetValue(0);
    f.ChkWaterStation.SetValue(1);
    f.txtwaterbodyname.SetText("mill");
    f.cmdFindStation_Click();
    EXPECT_EQ(Column(g, 0), Strings{"102"});
    f.ChkWaterStation.SetValue(0);
    f.chkProjectStation.SetValue(1);
    const auto before = Rows(g, 0);
    f.cmdFindStation_Click();
    EXPECT_EQ(dialogs->prompts.size(), 1u);
    EXPECT_EQ(Rows(g, 0), before);
    ASSERT_TRUE(loader::SelectEntryOfCode(f.cmbStationProject, "NC-01"));
    f.cmdFindStation_Click();
    EXPECT_EQ(Column(g, 0), Strings{"102"});
}

TEST_F(ViewerWindows, TheFilterBoxesShowAndHideTheirInputs) {
    auto& f = Open();
    struct Box {
        controls::CheckBox& box;
        std::vector<controls::Control*> shown;
    };
    const Box boxes[] = {{f.chkProjectStation, {&f.Label25, &f.cmbStationProject}},
                         {f.ChkLocationStation, {&f.Frame8}},
                         {f.ChkWaterStation, {&f.Frame12}},
                         {f.Check10, {&f.cmbProject, &f.Label23}},
                         {f.Check9, {&f.cmbStation, &f.Label22}},
                         {f.Check8, {&f.FrmDate}}};
    for (const auto& b : boxes) {
        for (int value : {1, 0}) {
            b.box.SetValue(value);
            for (auto* c : b.shown) EXPECT_EQ(c->Visible(), value == 1) << c->Name();
        }
    }
    f.Check10.SetValue(1);
    EXPECT_EQ(Entries(f.cmbProject), Entries(f.cmbProject_Code));
    // The station list follows the project chosen on the "Sample" tab.
    ASSERT_TRUE(loader::SelectEntryOfCode(f.cmbProject_Code, "NC-01"));
    f.Check9.SetValue(1);
    EXPECT_EQ(Entries(f.cmbStation), Strings{"102-Mill Creek at Park"});
}

TEST_F(ViewerWindows, FindSamplesReadsEachFilterAndSaysWhichSourcesItLists) {
    auto& f = Open();
    // Source and code of each row; with other sources listed the source follows the code.
    auto listed = [&] {
        Strings keys;
        const int source = f.Check7.Value() ? 1 : 11;
        for (long long r = 2; r < f.MSFlexGrid3.Rows(); ++r)
            keys.push_back(f.MSFlexGrid3.TextMatrix(r, source) + f.MSFlexGrid3.TextMatrix(r, 0));
        return loader_test::Sorted(keys);
    };
    f.MSFlexGrid3.AddItem("stale\trow");
    f.cmdSamples_Click();
    EXPECT_EQ(listed(), (Strings{"V1", "V2"}));
    EXPECT_TRUE(f.frmLoaded.Visible());
    EXPECT_EQ(RowText(f.MSFlexGrid3, 0),
              "Sample Code|Project Code|Station ID|Start Date|Missing Time|End Date|Medium|"
              "Sample Type|Composite Statistic Code|Sample Depth|Comment|IDLoc");
    f.Check7.SetValue(1);
    f.cmdSamples_Click();
    EXPECT_EQ(listed(), (Strings{"S1", "V1"}));
    EXPECT_EQ(dialogs->texts(), (Strings{kMine, kAll}));
    EXPECT_EQ(RowText(f.MSFlexGrid3, 0),
              "Sample Code|Source|Project Code|Station ID|Start Date|Missing Time|End Date|"
              "Medium|Sample Type|Composite Statistic Code|Sample Depth|Comment");

    f.Check7.SetValue(0);
    f.Check10.SetValue(1);
    ASSERT_TRUE(loader::SelectEntryOfCode(f.cmbProject, "NC-01"));
    f.cmdSamples_Click();
    EXPECT_EQ(listed(), Strings{"V2"});
    f.Check10.SetValue(0);
    f.Check9.SetValue(1);
    ASSERT_TRUE(loader::SelectEntryOfCode(f.cmbStation, "101"));
    f.cmdSamples_Click();
    EXPECT_EQ(listed(), Strings{"V1"});
    f.Check9.SetValue(0);
    f.Check8.SetValue(1);
    f.DTPicker6.SetValue(platform::DateTime{2004, 1, 1, 0, 0, 0});
    f.DTPicker7.SetValue(platform::DateTime{2004, 1, 13, 0, 0, 0});
    f.cmdSamples_Click();
    EXPECT_EQ(listed(), Strings{});

    // A ticked filter without its choice asks, and the list stays.
    f.Check8.SetValue(0);
    f.cmdSamples_Click();
    const auto before = Rows(f.MSFlexGrid3, 0);
    for (auto* box : {&f.Check9, &f.Check10}) {
        dialogs->clear();
        box->SetValue(1);
        f.cmdSamples_Click();
        EXPECT_EQ(dialogs->prompts.size(), 1u) << box->Name();
        EXPECT_EQ(Rows(f.MSFlexGrid3, 0), before) << box->Name();
        box->SetValue(0);
    }
}

TEST_F(ViewerWindows, SelectAllSpansEverySampleRowAndUntickingClearsIt) {
    auto& f = Open();
    auto& g = f.MSFlexGrid3;
    f.Check12.SetValue(1);
    f.cmdSamples_Click();  // a new list under a ticked box is selected whole too
    EXPECT_EQ(std::make_tuple(g.Row(), g.Col(), g.RowSel(), g.ColSel()),
              std::make_tuple(2LL, 1, 3LL, 11));
    f.Check12.SetValue(0);
    EXPECT_EQ(std::make_tuple(g.Row(), g.Col(), g.RowSel(), g.ColSel()),
              std::make_tuple(0LL, 0, 0LL, 0));
}

TEST_F(ViewerWindows, LoadResultsShowsReplicatesAndTextResultsEachByItsOwnBox) {
    auto& f = Open();
    f.TxtSampleNumber.SetText("1");
    struct Case {
        int replicates, nonNumeric;
        Strings values;
    };
    const Case cases[] = {{0, 0, {"12", "8.4"}},
                          {1, 0, {"12", "8.1", "8.4"}},
                          {0, 1, {"12", "8.4", "Dry"}},
                          {1, 1, {"12", "8.1", "8.4", "Dry"}}};
    for (const auto& c : cases) {
        f.Check5.SetValue(c.replicates);
        f.Check6.SetValue(c.nonNumeric);
        f.cmdLoadResult_Click();
        EXPECT_EQ(Column(f.MSFlexGrid4, 2), c.values) << c.replicates << c.nonNumeric;
    }
    EXPECT_EQ(RowText(f.MSFlexGrid4, 0),
              "Sample Code|Parameter Code|Result Value|Remark Code|Grade|Comments|IDLOC|Project "
              "Code|Start Date");
}

TEST_F(ViewerWindows, AllRecordsTakesTheCodesChosenInTheWindowNotTheCaptions) {
    auto& f = Open();
    f.Check4.SetValue(1);
    auto* dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(f.Frame4.Visible());
    EXPECT_TRUE(f.Frame5.Visible());
    EXPECT_EQ(Entries(dialog->Combo1), Entries(f.cmbParameter));
    EXPECT_EQ(Entries(dialog->Combo2), Entries(f.cmbStation_id));

    // Without both choices, OK asks and the window stays.
    dialog->cmdOK_Click();
    ASSERT_TRUE(loader::SelectEntryOfCode(dialog->Combo2, "101"));
    dialog->cmdOK_Click();
    EXPECT_EQ(dialogs->prompts.size(), 2u);
    EXPECT_EQ(Dialog(), dialog);
    ASSERT_TRUE(loader::SelectEntryOfCode(dialog->Combo1, "300"));
    dialog->cmdOK_Click();
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(f.Label19.Caption(), "101-Bear River at Bridge");
    EXPECT_EQ(f.Label16.Caption(), "300-DO");
    // Captions are for the eye only.
    f.Label19.SetCaption("102-Mill Creek at Park");
    f.cmdLoadResult_Click();
    // Every source listed: each row's source after its sample code.
    EXPECT_EQ(RowText(f.MSFlexGrid4, 0),
              "Sample Code|Source|Parameter Code|Result Value|Remark Code|Grade|Comments|Project "
              "Code|Start Date");
    EXPECT_EQ(Rows(f.MSFlexGrid4), (Strings{"1|V|300|8.4||A|Meter|Statewide|1/14/2004 9:30:00 AM",
                                            "1|S|300|7.5||B||Statewide|2/3/2004"}));

    // Cancel turns the mode off; the last choice stays written.
    f.Check4.SetValue(0);
    f.Check4.SetValue(1);
    Dialog()->cmdCancel_Click();
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(f.Check4.Value(), 0);
    EXPECT_TRUE(f.Frame4.Visible() && !f.Frame5.Visible());
    EXPECT_EQ(f.Label16.Caption(), "300-DO");
}

TEST_F(ViewerWindows, AllRecordsWithoutAChoiceAsksAndAWindowThatCannotFillStaysShut) {
    auto& f = Open();
    f.Check4.SetValue(1);
    // The choosing window, lost behind this one, comes back with the message; a closed one
    // is not opened behind the user's back. Either way the grid stays.
    Dialog()->Hide();
    f.cmdLoadResult_Click();
    EXPECT_TRUE(Dialog()->Visible());
    Dialog()->Unload();
    f.cmdLoadResult_Click();
    EXPECT_EQ(dialogs->prompts.size(), 2u);
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(f.MSFlexGrid4.Rows(), 2);

    f.Check4.SetValue(0);
    db->ExecuteNative("alter table tblstation_information rename to gone");
    f.Check4.SetValue(1);
    EXPECT_EQ(dialogs->prompts.size(), 3u);
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_TRUE(f.Check4.Value() == 0 && f.Frame4.Visible() && !f.Frame5.Visible());
}

TEST_F(ViewerWindows, TheWindowSearchesFullNamesOnEnterAndEnterElsewhereIsOk) {
    auto& f = Open();
    f.Check4.SetValue(1);
    auto* dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    QWidget* window = dialog->window();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    dialog->txtparameterfind.SetFocus();
    QWidget* box = dialog->txtparameterfind.widget();
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->hasFocus(); }));
    QTest::keyClicks(box, "o'neil");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(Entries(dialog->Combo1), Strings{"99-ONI"});
    EXPECT_EQ(Dialog(), dialog);

    ASSERT_TRUE(loader::SelectEntryOfCode(dialog->Combo2, "102"));
    ASSERT_TRUE(loader::SelectEntryOfCode(dialog->Combo1, "99"));
    dialog->Combo2.SetFocus();
    QWidget* stations = dialog->Combo2.widget();
    ASSERT_TRUE(QTest::qWaitFor([&] { return stations->hasFocus(); }));
    QTest::keyClick(stations, Qt::Key_Return);
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(f.Label16.Caption(), "99-ONI");
    EXPECT_TRUE(dialogs->prompts.empty());
    // The Data Loader takes the focus back on "Load Results", the next step.
    EXPECT_EQ(f.cmdLoadResult.widget()->window()->focusWidget(), f.cmdLoadResult.widget());
}

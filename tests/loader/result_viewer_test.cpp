// "View Results": hand-entered results by sample, results of every source at a station for a
// parameter, and the small window in which that station and parameter are chosen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "ViewerTestSupport.h"
#include "frmFilterResults.h"

using loader_test::Choose;
using loader_test::Column;
using loader_test::Entries;
using loader_test::Rows;
using loader_test::RowText;
using loader_test::Sorted;
using Strings = std::vector<std::string>;

namespace {

const std::string kHeaders =
    "Sample Code|Parameter Code|Result Value|Remark Code|Grade|Comments|IDLOC|Project "
    "Code|Start Date";
const char* kLogan = "109-Logan River at Canyon Mouth";
const char* kStatewide = "Statewide Ambient Monitoring Network";

class ResultViewer : public loader_test::LoaderTest {
  protected:
    // The results joined to their samples at `station` for `parameter`, one table.
    long long AtStation(const std::string& table, int station, int parameter) {
        return Value("select count(*) from " + table +
                     " r join tblsample s on s.idloc = r.idloc and s.sample_code = r.sample_code "
                     "where s.station_id = " +
                     std::to_string(station) +
                     " and r.parameter_code = " + std::to_string(parameter))
            .toInteger();
    }
    loader::frmFilterResults* Dialog() { return loader::FilterResultsWindow().get(); }
    // "All Records" ticked and the labels set as the window's OK sets them.
    void EveryRecordAt(loader::frmDataLoader& f, const std::string& station,
                       const std::string& parameter) {
        f.Check4.SetValue(1);
        f.Label19.SetCaption(station);
        f.Label16.SetCaption(parameter);
    }
};

}  // namespace

TEST_F(ResultViewer, HandEnteredResultsOfOneSampleOrOfAllInTableOrder) {
    db->ExecuteNative(
        "insert into tblresults_val_nonnumeric values ('V', 1, 60, 'Dry', 'J', 'C');"
        "update tblresults set result_value = 8.4 where idloc = 'V' and sample_code = 1 and "
        "parameter_code = 300");
    auto& f = Open();
    f.MSFlexGrid4.AddItem("stale");
    f.TxtSampleNumber.SetText("1");
    f.cmdLoadResult_Click();
    EXPECT_EQ(RowText(f.MSFlexGrid4, 0), kHeaders);
    EXPECT_EQ(RowText(f.MSFlexGrid4, 1), std::string(8, '|'));
    auto rows = Rows(f.MSFlexGrid4);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_NE(std::find(rows.begin(), rows.end(), "1|300|8.4||A|Field meter|||"), rows.end());

    // Replicates, then non-numeric results, each without a comment.
    f.Check5.SetValue(1);
    f.Check6.SetValue(1);
    f.cmdLoadResult_Click();
    rows = Rows(f.MSFlexGrid4);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[10], "1|400|7.9||A||||");
    EXPECT_EQ(rows[11], "1|60|Dry|J|C||||");
    for (size_t i = 0; i < 10; ++i) EXPECT_NE(rows[i].rfind("1|60|", 0), 0u) << rows[i];

    // Anything but a number lists every hand-entered result, never the other source's.
    const long long mine = Count("tblresults", "idloc = 'V'") +
                           Count("tblreplicates", "idloc = 'V'") +
                           Count("tblresults_val_nonnumeric", "idloc = 'V'");
    for (const char* typed : {"", "abc", "1x", " "}) {
        f.TxtSampleNumber.SetText(typed);
        f.cmdLoadResult_Click();
        EXPECT_EQ(f.MSFlexGrid4.Rows(), 2 + mine) << '"' << typed << '"';
        EXPECT_EQ(Column(f.MSFlexGrid4, 6), Strings(mine, "")) << '"' << typed << '"';
    }
    EXPECT_TRUE(dialogs->prompts.empty());
}

TEST_F(ResultViewer, AllRecordsListsEverySourceAtTheStationForTheParameter) {
    db->ExecuteNative(
        "update tblsample set station_id = 109 where idloc = 'S' and sample_code = 1;"
        "update tblresults set result_value = 8.4 where idloc = 'V' and sample_code = 1 and "
        "parameter_code = 300;"
        "insert into tblreplicates values ('V', 1, 300, '8.1', NULL, 'A');"
        "insert into tblresults_val_nonnumeric values ('S', 1, 300, 'n/a', NULL, 'C')");
    auto& f = Open();
    EveryRecordAt(f, kLogan, "300-DO");
    f.Check5.SetValue(1);
    f.Check6.SetValue(1);
    f.cmdLoadResult_Click();
    const long long numeric = AtStation("tblresults", 109, 300);
    ASSERT_GT(numeric, 3);
    const auto rows = Rows(f.MSFlexGrid4);
    ASSERT_EQ(rows.size(), numeric + 2);
    EXPECT_EQ(RowText(f.MSFlexGrid4, 0), kHeaders);
    const std::string project = std::string("|") + kStatewide + "|";
    const std::string start =
        Value("select start_date from tblsample where idloc = 'S' and sample_code = 1").toText();
    EXPECT_NE(std::find(rows.begin(), rows.begin() + numeric,
                        "1|300|8.4||A|Field meter|V" + project + "1/14/2004 9:30:00 AM"),
              rows.begin() + numeric);
    EXPECT_EQ(rows[numeric], "1|300|8.1||A||V" + project + "1/14/2004 9:30:00 AM");
    EXPECT_EQ(rows[numeric + 1], "1|300|n/a||C||S" + project + start);
    const auto sources = Column(f.MSFlexGrid4, 6);
    EXPECT_EQ(std::count(sources.begin(), sources.begin() + numeric, "S"), numeric - 1);
    EXPECT_EQ(Column(f.MSFlexGrid4, 7), Strings(rows.size(), kStatewide));
    EXPECT_TRUE(dialogs->prompts.empty());
}

TEST_F(ResultViewer, AllRecordsWithoutAValidChoiceAsksOnceAndKeepsTheGrid) {
    auto& f = Open();
    f.TxtSampleNumber.SetText("2");
    f.cmdLoadResult_Click();
    const auto before = Rows(f.MSFlexGrid4, 0);
    const std::pair<const char*, const char*> choices[] = {{"", ""},
                                                           {kLogan, ""},
                                                           {"", "300-DO"},
                                                           {"Logan", "300-DO"},
                                                           {"abc-Logan", "300-DO"},
                                                           {kLogan, "DO-300"}};
    for (const auto& [station, parameter] : choices) {
        dialogs->clear();
        EveryRecordAt(f, station, parameter);
        f.cmdLoadResult_Click();
        EXPECT_EQ(dialogs->prompts.size(), 1u) << station << " / " << parameter;
        EXPECT_EQ(Rows(f.MSFlexGrid4, 0), before) << station << " / " << parameter;
    }
    // The choosing window, lost from sight behind this one, comes back with the message; a
    // closed one is not opened behind the user's back.
    ASSERT_NE(Dialog(), nullptr);
    Dialog()->Hide();
    f.cmdLoadResult_Click();
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_TRUE(Dialog()->Visible());
    Dialog()->Unload();
    dialogs->clear();
    f.cmdLoadResult_Click();
    EXPECT_EQ(dialogs->prompts.size(), 1u);
    EXPECT_EQ(Dialog(), nullptr);

    // A window that cannot fill its lists leaves no half-made window and the box unticked,
    // so the sample-number mode stays on show and a new tick tries again.
    f.Check4.SetValue(0);
    db->ExecuteNative("alter table tblstation_information rename to gone");
    dialogs->clear();
    f.Check4.SetValue(1);
    EXPECT_EQ(dialogs->prompts.size(), 1u);
    EXPECT_EQ(f.Check4.Value(), 0);
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_TRUE(f.Frame4.Visible());
    EXPECT_FALSE(f.Frame5.Visible());
    db->ExecuteNative("alter table gone rename to tblstation_information");
    f.Check4.SetValue(1);
    EXPECT_NE(Dialog(), nullptr);
}

TEST_F(ResultViewer, TheWindowFiltersParametersByFullName) {
    db->ExecuteNative("insert into TBLParameter_Codes values (99001, 'ONI', 'O''Neil index')");
    auto& f = Open();
    f.Check4.SetValue(1);
    auto* dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    struct Case {
        const char* typed;
        Strings entries;
    };
    const Case cases[] = {
        {"OXYGEN", {"300-DO", "310-BOD5", "340-COD"}},
        {"o'neil", {"99001-ONI"}},
        {"Nitro*total", {"600-TN", "610-NH3-N", "625-TKN"}},
        {"zzz", {"600-TN", "610-NH3-N", "625-TKN"}},
        {"arsenic", {"1002-As"}},
    };
    for (const auto& c : cases) {
        dialog->txtparameterfind.SetText(c.typed);
        dialog->Command1_Click();
        EXPECT_EQ(Sorted(Entries(dialog->Combo1)), Sorted(c.entries)) << c.typed;
    }
    // Nothing typed: every parameter that has a full name.
    dialog->txtparameterfind.SetText("");
    dialog->Command1_Click();
    EXPECT_EQ(
        dialog->Combo1.ListCount(),
        Value("select count(*) from tblparameter_codes where full_name is not null").toInteger());
    EXPECT_TRUE(dialogs->prompts.empty());
}

TEST_F(ResultViewer, TheWindowOffersTheListsAndOkNeedsBothChoicesAndCancelTurnsItOff) {
    auto& f = Open();
    f.Check13.SetValue(1);
    f.Check4.SetValue(1);
    EXPECT_FALSE(f.Frame4.Visible());
    EXPECT_TRUE(f.Frame5.Visible());
    auto* dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->Visible());
    EXPECT_EQ(Entries(dialog->Combo1), Entries(f.cmbParameter));
    EXPECT_EQ(dialog->Combo1.ListCount(), 39);
    EXPECT_EQ(Entries(dialog->Combo2), Entries(f.cmbStation_id));
    EXPECT_EQ(dialog->Combo2.ListCount(), 12);

    dialog->cmdOK_Click();
    ASSERT_TRUE(Choose(dialog->Combo2, "109"));
    dialog->cmdOK_Click();
    EXPECT_EQ(dialogs->prompts.size(), 2u);
    EXPECT_EQ(Dialog(), dialog);
    EXPECT_EQ(f.Label19.Caption(), "");

    ASSERT_TRUE(Choose(dialog->Combo1, "300"));
    dialog->cmdOK_Click();
    EXPECT_EQ(dialogs->prompts.size(), 2u);
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(f.Label19.Caption(), kLogan);
    EXPECT_EQ(f.Label16.Caption(), "300-DO");
    EXPECT_EQ(f.Check4.Value(), 1);
    EXPECT_TRUE(f.Frame5.Visible());
    f.cmdLoadResult_Click();
    EXPECT_EQ(f.MSFlexGrid4.Rows(), 2 + AtStation("tblresults", 109, 300));
    EXPECT_EQ(Column(f.MSFlexGrid4, 1), Strings(f.MSFlexGrid4.Rows() - 2, "300"));

    // Opened again and cancelled: the box goes off, the last choice stays written.
    f.Check4.SetValue(0);
    EXPECT_TRUE(f.Frame4.Visible() && !f.Frame5.Visible());
    f.Check4.SetValue(1);
    dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(Choose(dialog->Combo2, "101"));
    dialog->cmdCancel_Click();
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(f.Check4.Value(), 0);
    EXPECT_TRUE(f.Frame4.Visible() && !f.Frame5.Visible());
    EXPECT_EQ(f.Label19.Caption(), kLogan);
    EXPECT_EQ(f.Label16.Caption(), "300-DO");
    EXPECT_EQ(dialogs->prompts.size(), 2u);
}

TEST_F(ResultViewer, EnterInTheSearchBoxFiltersAndEnterElsewhereIsOkThenLoadResultsIsNext) {
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
    QTest::keyClicks(box, "oxygen");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(Sorted(Entries(dialog->Combo1)), (Strings{"300-DO", "310-BOD5", "340-COD"}));
    EXPECT_EQ(Dialog(), dialog);
    EXPECT_TRUE(dialog->Visible());
    EXPECT_TRUE(dialogs->prompts.empty());

    // Out of the box, Enter is OK again.
    ASSERT_TRUE(Choose(dialog->Combo2, "109"));
    ASSERT_TRUE(Choose(dialog->Combo1, "310"));
    dialog->Combo2.SetFocus();
    QWidget* stations = dialog->Combo2.widget();
    ASSERT_TRUE(QTest::qWaitFor([&] { return stations->hasFocus(); }));
    QTest::keyClick(stations, Qt::Key_Return);
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(f.Label19.Caption(), kLogan);
    EXPECT_EQ(f.Label16.Caption(), "310-BOD5");
    EXPECT_TRUE(dialogs->prompts.empty());
    // The Data Loader takes the focus back on "Load Results", the next step.
    EXPECT_EQ(f.cmdLoadResult.widget()->window()->focusWidget(), f.cmdLoadResult.widget());
}

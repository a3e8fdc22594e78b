// "Load Results" of "View Samples": the query of the selected samples' results and the rows
// it appends to the result grid.
#include <gtest/gtest.h>

#include "ModStringSQL.h"
#include "ViewerTestSupport.h"

using loader_test::Rows;
using loader_test::RowText;
using Strings = std::vector<std::string>;

namespace {

const std::string kHeaders =
    "Sample Code|Parameter Code|Result Value|Remark Code|Grade|Comments|IDLOC|Project "
    "Code|Start Date";
const std::string kThree =
    "Select *, 'BRW' as project_code, '2/3/2004 10:00:00 AM' as start_date from tblresults "
    "where idloc = 'V' and sample_code = 3";
const std::string kThenOther =
    " union (Select *, 'O''K' as project_code , '7/4/2003' as start_date  from tblresults "
    "where idloc = 'S' and sample_code = 990)";

struct Selection {
    long long row, rowSel;
    int col, colSel;
    bool operator==(const Selection&) const = default;
};

class SampleHandOver : public loader_test::LoaderTest {
  protected:
    void SetUp() override {
        LoaderTest::SetUp();
        // A sample of the other source whose project code holds a quote.
        db->ExecuteNative(
            "insert into tblprojects_programs (project_code, program_project) values "
            "('O''K', 'Okay Project');"
            "insert into tblsample (idloc, sample_code, project_code, station_id, start_date) "
            "values ('S', 990, 'O''K', 101, '2003-07-04 00:00:00');"
            "insert into tblresults values ('S', 990, 300, 8.25, '<', 'B', 'O''Brien note'),"
            "('S', 990, 10, 12, NULL, 'A', NULL)");
    }
    // The sample list holding these "source:code" rows below the header and blank rows.
    platform::MSFlexGrid& List(loader::frmDataLoader& f, const Strings& samples) {
        auto& g = f.MSFlexGrid3;
        g.SetRows(2);
        for (const auto& s : samples) {
            const auto colon = s.find(':');
            g.AddItem(s.substr(colon + 1) + "\tP\tStation\t\t\t\t\t\t\t\t\t" + s.substr(0, colon));
        }
        return g;
    }
    void Select(platform::MSFlexGrid& g, Selection s) {
        g.SetRow(s.row);
        g.SetCol(s.col);
        g.SetRowSel(s.rowSel);
        g.SetColSel(s.colSel);
    }
    Selection Selected(const platform::MSFlexGrid& g) {
        return {g.Row(), g.RowSel(), g.Col(), g.ColSel()};
    }
    // The cells marked, whichever corner the selection started from.
    static Selection Block(Selection s) {
        return {std::min(s.row, s.rowSel), std::max(s.row, s.rowSel), std::min(s.col, s.colSel),
                std::max(s.col, s.colSel)};
    }
};

}  // namespace

TEST_F(SampleHandOver, TheQueryCoversTheSampleRowsOfTheRangeWhicheverWayItWasDragged) {
    auto& f = Open();
    auto& g = List(f, {"V:3", "S:990", "V:1"});
    struct Case {
        const char* name;
        Selection selection;
        std::string sql;
        long long lastRow;
    };
    const Case cases[] = {
        {"one row", {2, 2, 4, 4}, kThree, 2},
        {"top down", {2, 3, 0, 11}, kThree + kThenOther, 3},
        {"bottom up", {3, 2, 11, 0}, kThree + kThenOther, 3},
        {"from the header row", {0, 3, 1, 1}, kThree + kThenOther, 3},
        {"from the blank row up", {3, 1, 1, 1}, kThree + kThenOther, 3},
    };
    for (const auto& c : cases) {
        Select(g, c.selection);
        EXPECT_EQ(loader::BuildResultSQL(g), c.sql) << c.name;
        EXPECT_EQ(g.Row(), c.lastRow) << c.name;
        EXPECT_EQ(g.Col(), 11) << c.name;
        // The same block stays marked for another press.
        EXPECT_EQ(loader::BuildResultSQL(g), c.sql) << c.name;
    }
}

TEST_F(SampleHandOver, ARangeWithoutASampleOrWithAGoneSampleFailsAndKeepsTheSelection) {
    auto& f = Open();
    struct Case {
        const char* name;
        Strings samples;
        Selection selection;
    };
    const Case cases[] = {
        {"header and blank rows only", {"V:3"}, {0, 1, 2, 5}},
        {"empty list", {}, {1, 0, 0, 3}},
        {"sample deleted since listing", {"V:3", "V:77", "V:1"}, {2, 4, 1, 11}},
        {"same code, other source", {"S:5"}, {2, 2, 0, 0}},
        {"row without a code", {":V", "V:3"}, {3, 2, 0, 0}},
    };
    db->ExecuteNative("delete from tblsample where idloc = 'S' and sample_code = 5");
    for (const auto& c : cases) {
        auto& g = List(f, c.samples);
        Select(g, c.selection);
        EXPECT_THROW(loader::BuildResultSQL(g), loader::HandOverError) << c.name;
        EXPECT_EQ(Selected(g), c.selection) << c.name;

        f.cmdLoadResult_Click();
        const auto results = Rows(f.MSFlexGrid4, 0);
        f.SSTab1.SetTab(4);
        dialogs->clear();
        f.cmdSampletoResults_Click();
        EXPECT_EQ(dialogs->prompts.size(), 1u) << c.name;
        EXPECT_EQ(Rows(f.MSFlexGrid4, 0), results) << c.name;
        EXPECT_EQ(Selected(g), c.selection) << c.name;
        EXPECT_EQ(f.SSTab1.Tab(), 4) << c.name;
    }
}

TEST_F(SampleHandOver, ResultsAreAppendedWithProjectCodeAndDateAndTheResultTabComesForward) {
    auto& f = Open();
    f.TxtSampleNumber.SetText("5");
    f.cmdLoadResult_Click();
    const auto before = Rows(f.MSFlexGrid4, 2);
    ASSERT_EQ(before.size(), 4u);

    auto& g = List(f, {"V:3", "S:990"});
    Select(g, {3, 2, 0, 0});
    f.cmdSampletoResults_Click();
    EXPECT_TRUE(dialogs->prompts.empty());
    EXPECT_EQ(f.SSTab1.Tab(), 5);
    EXPECT_EQ(RowText(f.MSFlexGrid4, 0), kHeaders);
    auto rows = Rows(f.MSFlexGrid4, 2);
    ASSERT_EQ(rows.size(),
              before.size() + Count("tblresults", "idloc = 'V' and sample_code = 3") + 2);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), rows.begin()));
    const std::string value =
        Value(
            "select result_value from tblresults where idloc = 'V' and sample_code = 3 and "
            "parameter_code = 300")
            .toText();
    for (const auto& row :
         Strings{"990|300|8.25|<|B|O'Brien note|S|O'K|7/4/2003", "990|10|12||A||S|O'K|7/4/2003",
                 ("3|300|" + value + "||A|Field meter|V|BRW|2/3/2004 10:00:00 AM")})
        EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row;
}

TEST_F(SampleHandOver, SelectAllOverMoreSamplesThanOneQueryTakesHandsOverEveryResult) {
    db->ExecuteNative(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 700) "
        "insert into tblsample (idloc, sample_code, project_code, station_id, start_date) "
        "select 'S', 5000 + i, '8', 101, '2005-01-01 10:00:00' from n;"
        "insert into tblresults select 'S', sample_code, 10, 1.5, NULL, 'A', NULL "
        "from tblsample where sample_code > 5000;"
        "insert into tblresults select 'S', sample_code, 300, 9, NULL, 'A', NULL "
        "from tblsample where sample_code > 5350");
    const long long samples = Count("tblsample", "start_date is not null");
    const long long results =
        Count("tblresults",
              "exists (select 1 from tblsample s where s.idloc = tblresults.idloc and "
              "s.sample_code = tblresults.sample_code and s.start_date is not null)");
    auto& f = Open();
    f.Check7.SetValue(1);
    f.cmdSamples_Click();
    ASSERT_EQ(f.MSFlexGrid3.Rows(), 2 + samples);
    f.Check12.SetValue(1);
    dialogs->clear();
    f.cmdSampletoResults_Click();
    EXPECT_TRUE(dialogs->prompts.empty());
    EXPECT_EQ(f.MSFlexGrid4.Rows(), 2 + results);
    const auto rows = Rows(f.MSFlexGrid4);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "5700|300|9||A||S|8|1/1/2005 10:00:00 AM"), 1);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "5001|10|1.5||A||S|8|1/1/2005 10:00:00 AM"), 1);

    // A second press lists them all again.
    f.cmdSampletoResults_Click();
    EXPECT_EQ(f.MSFlexGrid4.Rows(), 2 + 2 * results);
}

// A long hand-over shows its progress; a cancel, while looking up the samples or while
// listing their results, leaves the result grid, the selection and the tab as they were.
TEST_F(SampleHandOver, ACancelledHandOverChangesNothing) {
    db->ExecuteNative(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 900) "
        "insert into tblsample (idloc, sample_code, project_code, station_id, start_date) "
        "select 'S', 5000 + i, '8', 101, '2005-01-01 10:00:00' from n;"
        "insert into tblresults select 'S', sample_code, 10, 1.5, NULL, 'A', NULL "
        "from tblsample where sample_code > 5000;");
    auto& f = Open();
    f.Check7.SetValue(1);
    f.cmdSamples_Click();
    f.Check12.SetValue(1);
    const long long samples = f.MSFlexGrid3.Rows() - 2;
    const Selection selected = Selected(f.MSFlexGrid3);
    f.TxtSampleNumber.SetText("5");
    f.cmdLoadResult_Click();
    const auto results = Rows(f.MSFlexGrid4, 0);
    f.SSTab1.SetTab(4);
    for (long long cancelAt : {10LL, samples + 1}) {
        dialogs->clear();
        dialogs->progress.clear();
        dialogs->cancelAt = cancelAt;
        f.cmdSampletoResults_Click();
        EXPECT_TRUE(dialogs->prompts.empty()) << cancelAt;
        ASSERT_EQ(dialogs->progress.size(), 1u) << cancelAt;
        EXPECT_EQ(dialogs->progress[0].maximum, 2 * samples) << cancelAt;
        EXPECT_FALSE(dialogs->progress[0].open) << cancelAt;
        EXPECT_EQ(Rows(f.MSFlexGrid4, 0), results) << cancelAt;
        EXPECT_EQ(Block(Selected(f.MSFlexGrid3)), Block(selected)) << cancelAt;
        EXPECT_EQ(f.SSTab1.Tab(), 4) << cancelAt;
        EXPECT_EQ(f.MousePointer(), 0) << cancelAt;
    }
    // Not cancelled, it counts to the end.
    dialogs->progress.clear();
    dialogs->cancelAt = -1;
    f.cmdSampletoResults_Click();
    ASSERT_EQ(dialogs->progress.size(), 1u);
    EXPECT_EQ(dialogs->progress[0].last, 2 * samples);
    EXPECT_EQ(f.SSTab1.Tab(), 5);
}

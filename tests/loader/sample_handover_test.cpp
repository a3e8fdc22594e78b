// "Load Results" of "View Samples": the selected rows' samples handed to the result grid.
#include <gtest/gtest.h>

#include "ViewerTestSupport.h"

using loader_test::Column;
using loader_test::Rows;
using Strings = std::vector<std::string>;

namespace {

struct Selection {
    long long row, rowSel;
    int col, colSel;
    bool operator==(const Selection&) const = default;
};

class SampleHandOver : public loader_test::ViewerTest {
  protected:
    // The sample list holding these samples (source and code) below the header and blank
    // rows, on the tab, with the selection made.
    controls::MSFlexGrid& List(loader::frmDataLoader& f, const store::GridRows& samples,
                               Selection s) {
        auto& g = f.MSFlexGrid3;
        g.SetRows(2);
        for (const auto& sample : samples)
            g.AddRows(
                {{sample.at(1), "P", "Station", "", "", "", "", "", "", "", "", sample.at(0)}});
        g.SetRow(s.row);
        g.SetCol(s.col);
        g.SetRowSel(s.rowSel);
        g.SetColSel(s.colSel);
        f.SSTab1.SetTab(loader::tab::ViewSamples);
        return g;
    }
    Selection Selected(const controls::MSFlexGrid& g) {
        return {g.Row(), g.RowSel(), g.Col(), g.ColSel()};
    }
};

const store::GridRows kFour = {{"V", "2"}, {"V", "1"}, {"S", "1"}, {"V", "2"}};

}  // namespace

TEST_F(SampleHandOver, TheResultsOfExactlyTheSelectedRowsAreAppended) {
    struct Case {
        const char* name;
        Selection selection;
        Strings values;  // of the results handed over
        Selection after;
    };
    const Case cases[] = {
        {"one row", {3, 3, 4, 4}, {"12", "8.4"}, {3, 3, 11, 4}},
        {"bottom up", {4, 3, 11, 0}, {"12", "7.5", "8.4"}, {4, 3, 11, 0}},
        {"from the header row", {0, 3, 1, 2}, {"12", "3", "8.4"}, {3, 2, 11, 1}},
        {"to the last row", {4, 5, 0, 0}, {"3", "7.5"}, {5, 4, 11, 0}},
    };
    auto& f = Open();
    for (const auto& c : cases) {
        f.TxtSampleNumber.SetText("2");
        f.cmdLoadResult_Click();
        auto& g = List(f, kFour, c.selection);
        f.cmdSampletoResults_Click();
        EXPECT_TRUE(dialogs->prompts.empty()) << c.name;
        EXPECT_EQ(f.SSTab1.Tab(), loader::tab::ViewResults) << c.name;
        const auto rows = Rows(f.MSFlexGrid4);
        ASSERT_EQ(rows.size(), 1 + c.values.size()) << c.name;
        EXPECT_EQ(rows[0], "2|10|3||A||||") << c.name;  // the rows on show stay first
        f.MSFlexGrid4.SetRows(2);
        f.cmdSampletoResults_Click();  // the same block, handed over again
        EXPECT_EQ(Column(f.MSFlexGrid4, 2), c.values) << c.name;
        EXPECT_EQ(Selected(g), c.after) << c.name;
    }
    // In the list's order, each row with its sample's source, project and start date.
    EXPECT_EQ(Rows(f.MSFlexGrid4), (Strings{"1|300|7.5||B||S|8|2/3/2004", "2|10|3||A||V|NC-01|"}));
}

TEST_F(SampleHandOver, ASelectionWithoutSamplesOrWithAGoneSampleSaysSoAndChangesNothing) {
    struct Case {
        store::GridRows samples;
        Selection selection;
        std::string message;
    };
    const Case cases[] = {
        {{{"V", "1"}}, {0, 1, 2, 5}, "Select the samples whose results you want to see first."},
        {{}, {1, 0, 0, 3}, "Select the samples whose results you want to see first."},
        {{{"V", "1"}, {"V", "77"}},
         {2, 3, 1, 11},
         "Sample 77 (V) no longer exists. Press Find Samples to list the samples again."},
        {{{"V", "1"}, {"V", ""}}, {3, 2, 0, 0}, "Row 3 of the sample list holds no sample."},
    };
    auto& f = Open();
    f.TxtSampleNumber.SetText("1");
    f.cmdLoadResult_Click();
    const auto results = Rows(f.MSFlexGrid4, 0);
    for (const auto& c : cases) {
        auto& g = List(f, c.samples, c.selection);
        dialogs->clear();
        f.cmdSampletoResults_Click();
        EXPECT_EQ(dialogs->texts(), Strings{c.message});
        EXPECT_EQ(Rows(f.MSFlexGrid4, 0), results) << c.message;
        EXPECT_EQ(Selected(g), c.selection) << c.message;
        EXPECT_EQ(f.SSTab1.Tab(), loader::tab::ViewSamples) << c.message;
    }
}

TEST_F(SampleHandOver, ACancelledHandOverChangesNothing) {
    auto& f = Open();
    f.TxtSampleNumber.SetText("2");
    f.cmdLoadResult_Click();
    const auto results = Rows(f.MSFlexGrid4, 0);
    const Selection selection{5, 2, 0, 11};
    auto& g = List(f, kFour, selection);
    dialogs->cancelAt = 3;
    f.cmdSampletoResults_Click();
    ASSERT_EQ(dialogs->progress.size(), 1u);
    EXPECT_EQ(dialogs->progress[0].maximum, 4);
    EXPECT_FALSE(dialogs->progress[0].open);
    EXPECT_EQ(Rows(f.MSFlexGrid4, 0), results);
    EXPECT_EQ(Selected(g), selection);
    EXPECT_EQ(f.SSTab1.Tab(), loader::tab::ViewSamples);
    EXPECT_EQ(f.MousePointer(), 0);
    EXPECT_TRUE(dialogs->prompts.empty());

    dialogs->cancelAt = -1;
    f.cmdSampletoResults_Click();
    EXPECT_EQ(dialogs->progress[1].last, 4);
    EXPECT_EQ(f.SSTab1.Tab(), loader::tab::ViewResults);
    // Nothing read before the cancel comes back with a later hand-over.
    EXPECT_EQ(Column(f.MSFlexGrid4, 2), (Strings{"12", "3", "3", "3", "7.5", "8.4"}));
}

// A sample list of every source hands over results that show their source after the code;
// rows handed to a grid that already shows results take its layout.
TEST_F(SampleHandOver, ResultsOfEverySourceShowTheirSourceAfterTheCode) {
    auto& f = Open();
    f.Check7.SetValue(1);
    f.cmdSamples_Click();
    auto& samples = f.MSFlexGrid3;
    ASSERT_EQ(samples.TextMatrix(0, 1), "Source");
    samples.SetRow(2);
    samples.SetCol(0);
    samples.SetRowSel(samples.Rows() - 1);
    samples.SetColSel(3);
    f.cmdSampletoResults_Click();
    EXPECT_EQ(loader_test::RowText(f.MSFlexGrid4, 0),
              "Sample Code|Source|Parameter Code|Result Value|Remark Code|Grade|Comments|Project "
              "Code|Start Date");
    EXPECT_EQ(loader_test::Sorted(Rows(f.MSFlexGrid4)),
              (Strings{"1|S|300|7.5||B||8|2/3/2004", "1|V|10|12||A||8|1/14/2004 9:30:00 AM",
                       "1|V|300|8.4||A|Meter|8|1/14/2004 9:30:00 AM"}));
    // Handed over, the current cell is on the last row's source.
    EXPECT_EQ(Selected(samples), (Selection{samples.Rows() - 1, 2, 1, 0}));

    // Into the hand-entered results on show, the same samples come as those are laid out.
    f.TxtSampleNumber.SetText("2");
    f.cmdLoadResult_Click();
    samples.SetRow(2);
    samples.SetRowSel(2);
    samples.SetCol(0);
    samples.SetColSel(1);
    const std::string first = samples.TextMatrix(2, 1) + samples.TextMatrix(2, 0);
    f.cmdSampletoResults_Click();
    EXPECT_TRUE(loader_test::RowText(f.MSFlexGrid4, 0).starts_with("Sample Code|Parameter Code|"));
    EXPECT_EQ(Rows(f.MSFlexGrid4).front(), "2|10|3||A||||");
    EXPECT_EQ(f.MSFlexGrid4.TextMatrix(3, 6) + f.MSFlexGrid4.TextMatrix(3, 0), first);
}

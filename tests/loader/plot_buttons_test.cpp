// The Plot buttons and the plot window: which series opens, a double click on a point, and
// the remarks read as below the limit. Checked on the data the chart is drawn from.
#include <QChartView>
#include <QTest>

#include "ViewerTestSupport.h"
#include "Windows.h"
#include "frmPlot.h"

using namespace loader_test;
using Strings = std::vector<std::string>;

namespace {

class PlotButtons : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        db->ExecuteNative(
            "insert into tblsample (idloc, sample_code, project_code, station_id, start_date) "
            "values ('V', 3, '8', 101, '2004-03-01 08:00:00');"
            "insert into tblresults values ('V', 3, 300, 0.5, 'K', 'A', NULL)");
    }
    void TearDown() override {
        plot::PlotWindow().reset();
        loader::FilterResultsWindow().reset();
        ViewerTest::TearDown();
    }

    // Points of the one series on show, as "source+sample kind value".
    static Strings Points() {
        auto* window = plot::PlotWindow().get();
        if (!window || window->Data().series.size() != 1) return {"no single series"};
        Strings out;
        for (const auto& p : window->Data().series[0].points)
            out.push_back(p.source + p.sampleCode + " " + std::to_string(int(p.kind)) + " " +
                          p.shownValue);
        return out;
    }

    // "All Records" of station 101 and parameter 300, listed.
    void ListAllRecords(loader::frmDataLoader& f) {
        f.Check4.SetValue(1);
        auto* dialog = loader::FilterResultsWindow().get();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(Pick(dialog->Combo2, "101"));
        ASSERT_TRUE(Pick(dialog->Combo1, "300"));
        dialog->cmdOK_Click();
        f.cmdLoadResult_Click();
    }
};

const Strings kStation101Oxygen = {"V1 0 8.4", "V1 2 8.1", "S1 0 7.5", "V3 0 0.5"};

TEST_F(PlotButtons, EachPlotButtonOpensItsStationAndParameter) {
    auto& f = Open();
    // View Results: only a listing of all records has a series to plot.
    EXPECT_FALSE(f.cmdPlotResults.Enabled());
    ASSERT_NO_FATAL_FAILURE(ListAllRecords(f));
    ASSERT_TRUE(f.cmdPlotResults.Enabled());
    f.cmdPlotResults.Press();
    EXPECT_EQ(Points(), kStation101Oxygen);
    EXPECT_EQ(plot::PlotWindow().get()->Data().parameterName, "Dissolved oxygen");
    f.Check4.SetValue(0);
    f.TxtSampleNumber.SetText("1");
    f.cmdLoadResult_Click();
    EXPECT_FALSE(f.cmdPlotResults.Enabled());
    plot::PlotWindow().reset();

    // Results: the found sample's station, the chosen parameter; each asked for when missing.
    dialogs->clear();
    f.cmdPlotSample.Press();
    f.txtResultSampleNum.SetText("2");
    f.cmdFindSample_Click();
    f.cmdPlotSample.Press();
    EXPECT_EQ(dialogs->prompts.size(), 2u);
    EXPECT_EQ(plot::PlotWindow().get(), nullptr);
    f.txtResultSampleNum.SetText("3");
    f.cmdFindSample_Click();
    ASSERT_TRUE(Pick(f.cmbParameter, "300"));
    f.cmdPlotSample.Press();
    EXPECT_EQ(Points(), kStation101Oxygen);
}

// A station without results of the parameter is said, not drawn: no window opens for it,
// and one added to a plot leaves the plot as it was.
TEST_F(PlotButtons, AStationWithoutResultsIsSaidNotDrawn) {
    auto& f = Open();
    f.txtResultSampleNum.SetText("2");  // at station 102, undated
    f.cmdFindSample_Click();
    ASSERT_TRUE(Pick(f.cmbParameter, "300"));
    dialogs->clear();
    f.cmdPlotSample.Press();
    ASSERT_EQ(dialogs->prompts.size(), 1u);
    EXPECT_EQ(dialogs->prompts[0].text, "No results of parameter 300 at station 102.");
    EXPECT_EQ(plot::PlotWindow().get(), nullptr);

    f.txtResultSampleNum.SetText("3");
    f.cmdFindSample_Click();
    ASSERT_TRUE(Pick(f.cmbParameter, "300"));
    f.cmdPlotSample.Press();
    ASSERT_NE(plot::PlotWindow().get(), nullptr);
    auto& window = *plot::PlotWindow().get();
    ASSERT_TRUE(Pick(window.cmbStation, "102"));
    dialogs->clear();
    window.cmdAddStation.Press();
    ASSERT_EQ(dialogs->prompts.size(), 1u);
    EXPECT_EQ(dialogs->prompts[0].text, "No results of parameter 300 at station 102.");
    EXPECT_EQ(Points(), kStation101Oxygen);

    // Another station with nothing to draw keeps the chart, and the window, as they were.
    EXPECT_FALSE(window.ShowSeries("102", "10"));
    EXPECT_EQ(dialogs->prompts.back().text, "No results of parameter 10 at station 102.");
    EXPECT_EQ(Points(), kStation101Oxygen);
    EXPECT_EQ(window.Caption(), "Plot - Dissolved oxygen");
    window.cmdBelowLimit.Press();
    EXPECT_EQ(Points(), kStation101Oxygen);
}

TEST_F(PlotButtons, DoubleClickOnAHandEnteredPointFindsItsSample) {
    auto& f = Open();
    f.SSTab1.SetTab(loader::tab::ViewResults);
    ASSERT_NO_FATAL_FAILURE(ListAllRecords(f));
    f.cmdPlotResults.Press();
    auto& window = *plot::PlotWindow().get();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.window()));
    QApplication::processEvents();
    const auto& points = window.Data().series.at(0).points;
    auto doubleClick = [&](size_t i) {
        QTest::mouseDClick(window.View().viewport(), Qt::LeftButton, {},
                           window.PositionOf(points.at(i)));
    };
    // Clicks land where Qt draws the point.
    QChart& chart = *window.View().chart();
    for (const auto& p : points) {
        const QPointF drawn = window.View().mapFromScene(chart.mapToScene(
            chart.mapToPosition({plot::PlotX(p.date), p.value}, chart.series().front())));
        EXPECT_LE((drawn - QPointF(window.PositionOf(p))).manhattanLength(), 2) << p.sampleCode;
    }
    dialogs->clear();
    doubleClick(2);  // the other source's sample: said, not opened
    EXPECT_EQ(dialogs->prompts.size(), 1u);
    EXPECT_EQ(f.SSTab1.Tab(), loader::tab::ViewResults);
    doubleClick(3);
    EXPECT_EQ(f.SSTab1.Tab(), loader::tab::Results);
    EXPECT_EQ(f.lblCode.Caption(), "3");
    EXPECT_EQ(f.lblStation.Caption(), "101-Bear River at Bridge");
}

TEST_F(PlotButtons, TheRemarksMarkedBelowTheLimitDrawOpenPoints) {
    auto& f = Open();
    ASSERT_NO_FATAL_FAILURE(ListAllRecords(f));
    f.cmdPlotResults.Press();
    auto& window = *plot::PlotWindow().get();
    window.txtBelowLimit.SetText("< K");
    window.cmdBelowLimit.Press();
    EXPECT_EQ(Points(), (Strings{"V1 0 8.4", "V1 2 8.1", "S1 0 7.5", "V3 1 0.5"}));
    window.txtBelowLimit.SetText("");
    window.cmdBelowLimit.Press();
    EXPECT_EQ(Points(), kStation101Oxygen);

    // The picture goes where the save dialog says, in the format its ending names.
    dialogs->files.push_back(dir.file("chart.svg"));
    window.cmdSaveImage.Press();
    EXPECT_NE(testing_support::ReadFile(dir.file("chart.svg")).find("<svg"), std::string::npos);
}

}  // namespace

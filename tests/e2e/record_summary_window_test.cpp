// The review window's "Summary..." through real events: the summary of the scope's record,
// its box plots by station and by month, hover, zoom, and the picture saved and copied.
#include <gtest/gtest.h>

#include <QBarCategoryAxis>
#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QClipboard>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>
#include <QWheelEvent>

#include "AppSupport.h"
#include "RecordSummary.h"
#include "Walk.h"
#include "frmRecordSummary.h"
#include "frmReview.h"

using namespace e2e;

namespace {

class SummaryWalk : public Walk {
  protected:
    void SetUp() override {
        Walk::SetUp();
        // A year of monthly pH at station 109, the April sample's below its limit of 6, and
        // two values at 112.
        std::string sql = "begin;";
        for (int month = 1; month <= 12; ++month) {
            const std::string code = std::to_string(10 + month);
            sql +=
                "insert into tblsample (idloc, sample_code, project_code, station_id, "
                "start_date, medium, sample_type) values ('S', " +
                code + ", '8', 109, '2003-" + (month < 10 ? "0" : "") + std::to_string(month) +
                "-15 10:00:00', 'W', 'G');";
            sql +=
                "insert into tblresults (idloc, sample_code, parameter_code, result_value, "
                "remark_code) values ('S', " +
                code + ", 400, " +
                (month == 4 ? "6, '<'" : std::to_string(7 + month * 0.1) + ", null") + ");";
        }
        sql +=
            "insert into tblsample (idloc, sample_code, project_code, station_id, start_date) "
            "values ('S', 30, '8', 112, '2003-03-01 09:00:00'), "
            "('S', 31, '8', 112, '2003-05-01 09:00:00');"
            "insert into tblresults (idloc, sample_code, parameter_code, result_value) values "
            "('S', 30, 400, 7.9), ('S', 31, 400, 8.1);"
            "commit;";
        Execute(sql);
    }

    // Data > Review Results, the stations typed, then "Summary...".
    void OpenSummary(const std::string& stations) {
        auto& main = app::MainWindow();
        main.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.window()));
        ASSERT_NO_FATAL_FAILURE(ChooseFromMenuBar(main.window(), "Data", "Review Results"));
        auto* review = review::ReviewWindow().get();
        ASSERT_NE(review, nullptr);
        ASSERT_NO_FATAL_FAILURE(Type(review->txtStations, stations));
        ASSERT_NO_FATAL_FAILURE(Click(review->cmdSummary));
        s = review::RecordSummaryWindow().get();
        ASSERT_NE(s, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(s->window()));
    }

    // The tip shown with the pointer over a box at a value, as the user sees it.
    std::string TipOver(std::size_t box, double value) {
        QToolTip::hideText();
        EXPECT_TRUE(WaitFor([] { return !QToolTip::isVisible(); }));
        QWidget* viewport = s->View().viewport();
        QTest::mouseMove(viewport, s->PositionOf(box, value));
        QApplication::processEvents();
        return QToolTip::isVisible() ? QToolTip::text().toStdString() : "";
    }

    template <class Series>
    Series* SeriesNamed(const QString& name) {
        for (auto* series : s->View().chart()->series())
            if (series->name() == name) return qobject_cast<Series*>(series);
        return nullptr;
    }

    review::frmRecordSummary* s = nullptr;
};

}  // namespace

TEST_F(SummaryWalk, TheSummaryListsTheScopesRecordAndItsBoxesByStation) {
    ASSERT_NO_FATAL_FAILURE(OpenSummary("109 112"));
    store::ReviewScope scope;
    scope.stations = {"109", "112"};
    const auto rows = store::RecordSummary(store::requireDb()).Rows(scope);
    ASSERT_EQ(s->grdSummary.Rows(), 2 + static_cast<long long>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto cells = store::RecordSummary::Cells(rows[i]);
        for (int col = 0; col < static_cast<int>(cells.size()); ++col)
            EXPECT_EQ(s->grdSummary.TextMatrix(2 + static_cast<long long>(i), col), cells[col]);
    }
    EXPECT_EQ(s->lblSummaryCount.Caption(), std::to_string(rows.size()) + " rows");
    EXPECT_EQ(s->lblScope.Caption(),
              "Every project, stations 109 and 112, every parameter, every date, every source");

    ASSERT_NO_FATAL_FAILURE(ClickTab(s->tabSummary, "Box Plots"));
    ASSERT_NO_FATAL_FAILURE(Pick(s->cmbPlotParameter, "400"));
    const auto& boxes = s->Plot().boxes;
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].label, "109");
    EXPECT_EQ(boxes[0].count, 12);  // with the office's own sample of June
    // The result below its limit is drawn beside the box at its limit, never in it.
    auto* below = SeriesNamed<QScatterSeries>("Below the limit, at the limit");
    ASSERT_NE(below, nullptr);
    ASSERT_EQ(below->count(), 1);
    EXPECT_EQ(below->at(0), QPointF(review::kBelowLimitOffset, 6));
    auto* drawn = SeriesNamed<QBoxPlotSeries>("Measured values");
    ASSERT_NE(drawn, nullptr);
    ASSERT_EQ(drawn->count(), 2);
    EXPECT_DOUBLE_EQ(drawn->boxSets()[0]->at(QBoxSet::LowerExtreme), 7.1);
    EXPECT_DOUBLE_EQ(drawn->boxSets()[0]->at(QBoxSet::Median), boxes[0].median);

    const std::string tip = TipOver(0, boxes[0].median);
    EXPECT_EQ(tip.substr(0, tip.find("\nUpper")),
              "Station 109, Logan River at Canyon Mouth\n12 measured, 1 below the limit");
    EXPECT_NE(tip.find("\nBelow the limits 6"), std::string::npos) << tip;
    EXPECT_EQ(TipOver(1, 8),
              "Station 112, Little Bear River near Paradise\n2 measured\nUpper "
              "whisker 8.1\nUpper quartile 8.05\nMedian 8\nLower quartile "
              "7.95\nLower whisker 7.9");
    EXPECT_EQ(TipOver(0, 9.5), "");  // above the whisker, off the box
}

TEST_F(SummaryWalk, TheSeasonsOfAStationAreTwelveBoxesThatZoomSaveAndCopy) {
    ASSERT_NO_FATAL_FAILURE(OpenSummary(""));
    // A double click on a row shows that station's parameter by month.
    long long row = 2;
    while (row < s->grdSummary.Rows() &&
           (s->grdSummary.TextMatrix(row, 0) != "109" || s->grdSummary.TextMatrix(row, 2) != "400"))
        ++row;
    ASSERT_LT(row, s->grdSummary.Rows());
    QTest::mouseDClick(s->grdSummary.view()->viewport(), Qt::LeftButton, {},
                       CellPoint(s->grdSummary, row, 3));
    QApplication::processEvents();
    EXPECT_EQ(s->tabSummary.Tab(), 1);
    EXPECT_EQ(s->cmbPlotBy.ListIndex(), review::frmRecordSummary::ByMonth);
    const auto& boxes = s->Plot().boxes;
    ASSERT_EQ(boxes.size(), 12u);
    EXPECT_EQ(s->Plot().title, "pH (400) by month at 109-Logan River at Canyon Mouth");
    auto* months =
        qobject_cast<QBarCategoryAxis*>(s->View().chart()->axes(Qt::Horizontal).value(0));
    ASSERT_NE(months, nullptr);
    EXPECT_EQ(months->count(), 12);
    EXPECT_EQ(months->at(2), "Mar");
    EXPECT_EQ(boxes[3].count, 0);
    EXPECT_EQ(boxes[3].belowLimit, std::vector<double>{6});
    EXPECT_EQ(TipOver(2, 7.3),
              "March\n1 measured\nUpper whisker 7.3\nUpper quartile 7.3\nMedian "
              "7.3\nLower quartile 7.3\nLower whisker 7.3");
    EXPECT_EQ(TipOver(3, 6).rfind("April\n0 measured, 1 below the limit", 0), 0u);

    // Another station from the list; the wheel zooms in and Reset Zoom goes back.
    ASSERT_NO_FATAL_FAILURE(Pick(s->cmbPlotStation, "112"));
    EXPECT_EQ(s->Plot().boxes[2].count, 1);
    auto* values = qobject_cast<QValueAxis*>(s->View().chart()->axes(Qt::Vertical).value(0));
    ASSERT_NE(values, nullptr);
    const double span = values->max() - values->min();
    QWidget* viewport = s->View().viewport();
    const QPointF middle = viewport->rect().center();
    QWheelEvent wheel(middle, viewport->mapToGlobal(middle), {}, {0, 120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    EXPECT_LT(values->max() - values->min(), span * 0.9);
    ASSERT_NO_FATAL_FAILURE(Click(s->cmdResetZoom));
    EXPECT_NEAR(values->max() - values->min(), span, span * 1e-9);

    dialogs->files = {dir.file("seasons.png"), dir.file("seasons.svg")};
    ASSERT_NO_FATAL_FAILURE(Click(s->cmdSaveImage));
    ASSERT_NO_FATAL_FAILURE(Click(s->cmdSaveImage));
    EXPECT_EQ(testing_support::ReadFile(dir.file("seasons.png")).substr(1, 3), "PNG");
    EXPECT_NE(testing_support::ReadFile(dir.file("seasons.svg")).find("<svg"), std::string::npos);
    QApplication::clipboard()->clear();
    ASSERT_NO_FATAL_FAILURE(Click(s->cmdCopyImage));
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());
}

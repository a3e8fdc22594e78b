// The chart drawn headless: the markers its SVG shows, the thinning of long series, the files.
#include <gtest/gtest.h>

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QImage>
#include <QRegularExpression>
#include <QScatterSeries>
#include <map>
#include <memory>

#include "EngineSupport.h"
#include "PlotChart.h"

using K = store::PointKind;

namespace {

store::PlotPoint Point(int day, double value, K kind) {
    return {platform::DateTime{2004, 3, day}, value, kind, std::to_string(day), "V", "", ""};
}

// The markers drawn, as "shape fill stroke" with their count; legend entries are markers too.
std::map<std::string, int> Markers(const std::string& svg) {
    static const QRegularExpression marker(
        R"re(<g fill="(#\w+)"[^>]*stroke="(#\w+)"[^>]*>\s*<(circle|rect x="0" y="0" width="8"))re");
    std::map<std::string, int> found;
    for (const auto& m : marker.globalMatch(QString::fromStdString(svg)))
        ++found[(m.captured(3).left(4) + " " + m.captured(1) + " " + m.captured(2)).toStdString()];
    return found;
}

}  // namespace

TEST(PlotChart, SvgShowsEachKindOfPointInItsStationsColour) {
    plot::PlotData data{
        "Dissolved oxygen, mg/L",
        {{"101",
          "Bear River",
          {Point(1, 8, K::Measured), Point(2, 7, K::Measured), Point(3, 0.5, K::NonDetect),
           Point(3, 7.5, K::Replicate), Point(4, 9, K::Measured)}},
         {"102", "", {Point(1, 6, K::Measured), Point(5, 6.5, K::Measured)}}},
        store::ParameterRange{5, 11}};
    std::unique_ptr<QChart> chart(plot::BuildChart(data));
    testing_support::TempDir dir;
    ASSERT_TRUE(plot::SaveChart(chart.get(), dir.file("chart.svg"), QSize(800, 500)));
    // Measured filled, non-detects open, replicates square; one legend entry each.
    const std::map<std::string, int> expected = {{"circ #1f77b4 #1f77b4", 3 + 1},
                                                 {"circ #ffffff #1f77b4", 1 + 1},
                                                 {"rect #1f77b4 #1f77b4", 1 + 1},
                                                 {"circ #d62728 #d62728", 2 + 1}};
    EXPECT_EQ(Markers(testing_support::ReadFile(dir.file("chart.svg"))), expected);

    ASSERT_TRUE(plot::SaveChart(chart.get(), dir.file("chart.png"), QSize(640, 400)));
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("chart.png"))).size(), QSize(640, 400));
    EXPECT_FALSE(plot::SaveChart(chart.get(), dir.file("no/such/folder.svg"), QSize(640, 400)));
}

TEST(PlotChart, LongSeriesAreThinnedForDrawingKeepingTheirPeaks) {
    store::PlotSeries series{"101", "", {}};
    for (int i = 0; i < 100000; ++i)
        series.points.push_back({platform::DateTime{2000, 1, 1}.addSeconds(i * 600LL),
                                 i == 54321 ? 99.0 : (i % 7) * 0.5, K::Measured});
    std::unique_ptr<QChart> chart(plot::BuildChart({"pH", {series}, std::nullopt}));
    auto* markers = qobject_cast<QScatterSeries*>(chart->series().at(1));
    ASSERT_TRUE(markers);
    EXPECT_LE(markers->count(), 3000);
    EXPECT_GE(markers->count(), 1000);
    int peaks = 0;
    for (const QPointF& p : markers->points()) peaks += p.y() == 99.0;
    EXPECT_EQ(peaks, 1);

    // Zoomed in to a day, every point of it is drawn again: 144 and one beyond each edge.
    auto* time = chart->axes(Qt::Horizontal).at(0);
    const QDateTime day(QDate(2000, 3, 1), QTime(0, 0));
    static_cast<QDateTimeAxis*>(time)->setRange(day, day.addSecs(86400 - 1));
    EXPECT_EQ(markers->count(), 146);
}

// The chart drawn headless: the markers its SVG shows, the thinning of long series, the files.
#include <gtest/gtest.h>

#include <QCategoryAxis>
#include <QChart>
#include <QDateTime>
#include <QGraphicsScene>
#include <QImage>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QValueAxis>
#include <map>
#include <memory>

#include "ChartKey.h"
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
    // Measured filled, non-detects open, replicates square, each in its station's colour.
    // The key adds a filled marker per station and, in grey, what the filled and open mean.
    const std::map<std::string, int> expected = {
        {"circ #1f77b4 #1f77b4", 3 + 1}, {"circ #ffffff #1f77b4", 1}, {"rect #1f77b4 #1f77b4", 1},
        {"circ #d62728 #d62728", 2 + 1}, {"circ #555555 #555555", 1}, {"circ #ffffff #555555", 1}};
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
    auto* time = static_cast<QValueAxis*>(chart->axes(Qt::Horizontal).at(0));
    const QDateTime day(QDate(2000, 3, 1), QTime(0, 0));
    time->setRange(day.toMSecsSinceEpoch(), day.addSecs(86400 - 1).toMSecsSinceEpoch());
    EXPECT_EQ(markers->count(), 146);
}

namespace {

// The chart laid out at `size` in a scene of its own, as a view would show it.
struct Shown {
    explicit Shown(const plot::PlotData& data, QSize size) : chart(plot::BuildChart(data)) {
        scene.addItem(chart);
        chart->resize(size);
        plot::SettleChart(chart);
    }
    QValueAxis* values() const { return static_cast<QValueAxis*>(chart->axes(Qt::Vertical)[0]); }
    QCategoryAxis* dates() const {
        return static_cast<QCategoryAxis*>(chart->axes(Qt::Horizontal)[0]);
    }
    // The time axis's ticks as "label@yyyy-MM-dd hh:mm", each where its label says.
    std::vector<std::string> dateTicks() const {
        std::vector<std::string> ticks;
        for (const QString& label : dates()->categoriesLabels())
            ticks.push_back((label + "@" +
                             QDateTime::fromMSecsSinceEpoch(qint64(dates()->endValue(label)))
                                 .toString("yyyy-MM-dd hh:mm"))
                                .toStdString());
        return ticks;
    }
    void zoomTo(double left, double width, double top, double height) {
        const QRectF a = chart->plotArea();
        chart->zoomIn(QRectF(a.left() + a.width() * left, a.top() + a.height() * top,
                             a.width() * width, a.height() * height));
        plot::SettleChart(chart);
    }
    QGraphicsScene scene;
    QChart* chart;  // the scene's
};

store::PlotSeries Monthly(const std::string& id, const std::string& name, double from, double by) {
    store::PlotSeries s{id, name, {}};
    for (int m = 0; m < 26; ++m)
        s.points.push_back({platform::DateTime{2002 + m / 12, m % 12 + 1, 19}, from + by * (m % 7),
                            m % 9 == 4    ? K::NonDetect
                            : m % 11 == 6 ? K::Replicate
                                          : K::Measured,
                            std::to_string(m), "V", "", ""});
    return s;
}

}  // namespace

TEST(PlotChart, AxesTickOnRoundValuesAndWholeDatesAlsoAfterAZoom) {
    Shown shown({"Phosphorus, mg/L", {Monthly("101", "Bear River", 0.04, 0.08)}, std::nullopt},
                QSize(1000, 600));
    // Nothing below zero and zero near: the axis starts there, on round steps.
    EXPECT_EQ(shown.values()->min(), 0);
    EXPECT_NEAR(shown.values()->max(), 0.6, 1e-12);
    EXPECT_EQ(shown.values()->tickType(), QValueAxis::TicksDynamic);
    EXPECT_EQ(shown.values()->tickAnchor(), 0);
    EXPECT_NEAR(shown.values()->tickInterval(), 0.1, 1e-12);
    EXPECT_EQ(shown.values()->labelFormat(), "%.1f");
    EXPECT_EQ(shown.dateTicks(),
              (std::vector<std::string>{"Jan 2002@2002-01-01 00:00", "Apr 2002@2002-04-01 00:00",
                                        "Jul 2002@2002-07-01 00:00", "Oct 2002@2002-10-01 00:00",
                                        "Jan 2003@2003-01-01 00:00", "Apr 2003@2003-04-01 00:00",
                                        "Jul 2003@2003-07-01 00:00", "Oct 2003@2003-10-01 00:00",
                                        "Jan 2004@2004-01-01 00:00"}));

    // Zoomed to a few months and a slice of the values: days and finer steps.
    shown.zoomTo(0.4, 0.15, 0.3, 0.3);
    EXPECT_NEAR(shown.values()->tickInterval(), 0.02, 1e-12);
    EXPECT_EQ(shown.values()->labelFormat(), "%.2f");
    EXPECT_EQ(shown.dateTicks(), (std::vector<std::string>{
                                     "11/16/2002@2002-11-16 00:00", "12/1/2002@2002-12-01 00:00",
                                     "12/16/2002@2002-12-16 00:00", "1/1/2003@2003-01-01 00:00",
                                     "1/16/2003@2003-01-16 00:00", "2/1/2003@2003-02-01 00:00",
                                     "2/16/2003@2003-02-16 00:00", "3/1/2003@2003-03-01 00:00"}));

    // Back to the whole: the ticks of the start again; narrower, fewer of them.
    shown.chart->zoomReset();
    plot::SettleChart(shown.chart);
    EXPECT_EQ(shown.dateTicks().size(), 9u);
    shown.chart->resize(QSize(420, 600));
    plot::SettleChart(shown.chart);
    EXPECT_EQ(shown.dateTicks(),
              (std::vector<std::string>{"2002@2002-01-01 00:00", "2003@2003-01-01 00:00",
                                        "2004@2004-01-01 00:00"}));
}

// However narrow the chart, the key says every station's whole name and what the markers
// mean, and each limit line its value.
TEST(PlotChart, TheKeyIsNeverCutAndTheLimitsSayTheirValues) {
    const plot::PlotData data{"Dissolved oxygen, milligrams per liter",
                              {Monthly("101", "Bear River at Highway 30 Bridge", 6, 0.5),
                               Monthly("102", "Willow Reservoir at Dam near Corinne", 7, 0.4)},
                              store::ParameterRange{5, 11.5}};
    std::vector<qreal> heights;
    for (const int width : {1000, 420}) {
        Shown shown(data, QSize(width, 500));
        testing_support::TempDir dir;
        ASSERT_TRUE(plot::SaveChart(shown.chart, dir.file("key.svg"), QSize(width, 500)));
        const std::string svg = testing_support::ReadFile(dir.file("key.svg"));
        for (const char* text :
             {"Bear River at Highway 30 Bridge (101)", "Willow Reservoir at Dam near Corinne (102)",
              "measured", "below the limit", "replicate", "Lower limit 5", "Upper limit 11.5"})
            EXPECT_NE(svg.find(text), std::string::npos) << width << ": " << text;
        EXPECT_EQ(svg.find("..."), std::string::npos) << width;
        // Below the plot and its axis title, inside the chart: narrow, in more rows.
        const QRectF key = plot::KeyArea(shown.chart);
        EXPECT_GT(key.top(), shown.chart->plotArea().bottom() + 30) << width;
        EXPECT_TRUE(shown.chart->rect().contains(key)) << width;
        heights.push_back(key.height());
    }
    EXPECT_GT(heights[1], heights[0] * 1.5);
}

// A plot of 100,000 points: the series read and the chart built and first drawn, beside the
// series' query alone on bare SQLite in the same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "CpuClock.h"
#include "Database.h"
#include "PlotChart.h"
#include "Plots.h"
#include "Schema.h"
#include "SqliteBaseline.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPoints = 100000;

// One station's 100,000 samples a few hours apart, each with a result of parameter 300:
// every 20th below the limit, every 50th also replicated.
std::shared_ptr<platform::Database> seriesDatabase(const std::string& path) {
    std::filesystem::remove(path);
    return store::CreateDatabaseFile(path, [](platform::Database& db) {
        db.ExecuteNative(
            "insert into TBLParameter_Codes values (300, 'DO', 'Dissolved oxygen, mg/L');"
            "insert into tblstation_information (station_id, place_name_description) values "
            "(101, 'Bear River at Bridge');"
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < " +
            std::to_string(kPoints) +
            ") insert into tblsample (idloc, sample_code, station_id, start_date) select 'S', "
            "i, 101, datetime('1980-01-01', '+' || (i * 3) || ' hours') from n;"
            "insert into tblresults (idloc, sample_code, parameter_code, result_value, "
            "remark_code) select 'S', sample_code, 300, 6 + (sample_code % 97) / 10.0, "
            "case when sample_code % 20 = 0 then '<' end from tblsample;"
            "insert into tblreplicates (idloc, sample_code, parameter_code, result_value) "
            "select 'S', sample_code, 300, '7.5' from tblsample where sample_code % 50 = 0");
    });
}

// Reading the series, building the chart and drawing it once at a window's size, as
// opening the plot does; the aim is under a second. The baseline steps the series' three
// queries on bare SQLite in each iteration.
void BM_Plot_OpenSeries100k(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("dataloader-bench-plot-" + std::to_string(getpid()) + ".db"))
                                 .string();
    auto db = seriesDatabase(path);
    std::vector<std::string> baseline;
    for (const char* table : {"tblresults", "tblresults_val_nonnumeric", "tblreplicates"})
        baseline.push_back(std::string("select t.sample_code, t.idloc, t.result_value, "
                                       "t.remark_code, s.start_date from tblsample s join ") +
                           table +
                           " t on s.idloc = t.idloc and s.sample_code = t.sample_code where "
                           "s.station_id = 101 and t.parameter_code = 300");
    double seriesMs = 0, chartMs = 0, drawMs = 0, sqliteMs = 0;
    size_t points = 0;
    QImage image(1000, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        auto start = Clock::now();
        plot::PlotData data{"Dissolved oxygen, mg/L",
                            {store::Plots(*db).Series("101", "300")},
                            store::ParameterRange{5, 11}};
        seriesMs += bench::MillisecondsSince(start);
        start = Clock::now();
        std::unique_ptr<QChart> chart(plot::BuildChart(data));
        chartMs += bench::MillisecondsSince(start);
        start = Clock::now();
        {
            QGraphicsScene scene;
            scene.addItem(chart.get());
            chart->resize(1000, 600);
            image.fill(Qt::white);
            QPainter painter(&image);
            scene.render(&painter);
            painter.end();
            scene.removeItem(chart.get());
        }
        drawMs += bench::MillisecondsSince(start);
        points = data.series.front().points.size();

        state.PauseTiming();
        const auto base = Clock::now();
        for (const std::string& sql : baseline) bench::StepAll(db->handle(), sql.c_str());
        sqliteMs += bench::MillisecondsSince(base);
        state.ResumeTiming();
    }
    db.reset();
    std::filesystem::remove(path);
    const double n = static_cast<double>(state.iterations());
    state.counters["points"] = static_cast<double>(points);
    state.counters["series_ms"] = seriesMs / n;
    state.counters["chart_ms"] = chartMs / n;
    state.counters["draw_ms"] = drawMs / n;
    state.counters["sqlite_ms"] = sqliteMs / n;
    state.counters["open_ms"] = (seriesMs + chartMs + drawMs) / n;
}
BENCHMARK(BM_Plot_OpenSeries100k)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

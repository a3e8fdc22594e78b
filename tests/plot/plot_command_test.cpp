// The command-line plot: its exit statuses and the file it writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "EngineSupport.h"
#include "PlotCommand.h"

TEST(PlotCommand, WritesTheChartOrSaysWhyNot) {
    testing_support::TempDir dir;
    const std::string db = dir.file("water.db");
    testing_support::EmptyDatabase(db)->ExecuteNative(
        "insert into tblsample (idloc, sample_code, station_id, start_date) values "
        "('V', 1, 101, '2004-03-01 09:30:00'); insert into tblresults values "
        "('V', 1, 300, 8.4, NULL, 'A', NULL)");
    const std::string svg = dir.file("chart.svg");
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {{"--station", "101", "--parameter", "300", "--output", svg, "--database", db},
         0,
         "Plotted 1 results at 1 station into"},
        {{"--station", "101", "--parameter", "300", "--output", dir.file("c.jpg")}, 2, ".png or"},
        {{"--parameter", "300", "--output", svg}, 2, "--station"},
        {{"--station", "101", "--output", svg}, 2, "--parameter"},
        {{"--station", "101", "--parameter"}, 2, "needs a value"},
        {{"--station", "1 or 1", "--parameter", "300", "--output", svg, "--database", db},
         2,
         "no code number"},
        {{"--station", "101", "--parameter", "300", "--output", svg}, 1, "no database"},
        {{"--station", "101", "--parameter", "300", "--output", dir.file("no/c.png"), "--database",
          db},
         1,
         "cannot write"},
    };
    for (const Case& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(plot::RunPlotCommand(
                      c.args, [] { return std::nullopt; }, out, err),
                  c.status)
            << c.says;
        EXPECT_NE((out.str() + err.str()).find(c.says), std::string::npos)
            << out.str() << err.str();
    }
    EXPECT_GT(std::filesystem::file_size(svg), 1000u);
}

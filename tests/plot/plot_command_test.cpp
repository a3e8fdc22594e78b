// The command-line plot: its exit statuses, what it says and the file it writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "EngineSupport.h"
#include "PlotCommand.h"

TEST(PlotCommand, WritesTheChartOrSaysWhyNot) {
    testing_support::TempDir dir;
    const std::string path = dir.file("water.db");
    const std::string db = testing_support::Location(path);
    testing_support::EmptyDatabase(path)->ExecuteNative(
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

// A plot with nothing to draw fails and writes nothing; stations without results are named,
// and left out when another station has some. The parameter goes by code or short name.
TEST(PlotCommand, NothingToDrawIsAnErrorAndStationsWithoutResultsAreNamed) {
    testing_support::TempDir dir;
    const std::string path = dir.file("water.db");
    const std::string db = testing_support::Location(path);
    testing_support::EmptyDatabase(path)->ExecuteNative(
        "insert into TBLParameter_Codes values (300, 'DO', 'Dissolved oxygen'), "
        "(400, 'pH', 'pH'); insert into tblstation_information (station_id) values (101), (102);"
        "insert into tblsample (idloc, sample_code, station_id, start_date) values "
        "('V', 1, 101, '2004-03-01 09:30:00'), ('V', 2, 102, NULL); insert into tblresults "
        "values ('V', 1, 300, 8.4, NULL, 'A', NULL), ('V', 2, 300, 7, NULL, 'A', NULL)");
    struct Case {
        std::vector<std::string> stations;
        std::string parameter;
        int status;
        std::string says;
    } cases[] = {
        {{"999"}, "400", 1, "dataloader: No results of parameter 400 at station 999.\n"},
        {{"101"}, "400", 1, "dataloader: No results of parameter 400 at station 101.\n"},
        // An undated result has no place on the time axis.
        {{"102"}, "300", 1, "dataloader: No results of parameter 300 at station 102.\n"},
        {{"102", "999", "998"},
         "300",
         1,
         "dataloader: No results of parameter 300 at stations 102, 999 and 998.\n"},
        {{"999", "101"}, "300", 0, "dataloader: No results of parameter 300 at station 999.\n"},
        {{"101"}, "dO", 0, ""},
        {{"101"}, "ph", 1, "dataloader: No results of parameter ph (400) at station 101.\n"},
        {{"101"},
         "nitrate",
         1,
         "dataloader: no parameter has the code or short name \"nitrate\"\n"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string png = dir.file("chart" + std::to_string(++n) + ".png");
        std::vector<std::string> args = {"--parameter", c.parameter,  "--output",
                                         png,           "--database", db};
        for (const std::string& station : c.stations)
            args.insert(args.end(), {"--station", station});
        std::ostringstream out, err;
        EXPECT_EQ(plot::RunPlotCommand(
                      args, [] { return std::nullopt; }, out, err),
                  c.status)
            << c.says;
        EXPECT_EQ(err.str(), c.says);
        EXPECT_EQ(std::filesystem::exists(png), c.status == 0) << c.says;
        if (c.status == 0) {
            EXPECT_EQ(out.str(), "Plotted 1 results at 1 station into " + png + ".\n");
        }
    }
}

// The command-line review and summary: exit statuses, what they say and the files they write.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "Database.h"
#include "EngineSupport.h"
#include "Review.h"
#include "ReviewCommand.h"

namespace {

class ReviewCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        testing_support::EmptyDatabase(path)->ExecuteNative(
            "insert into TBLParameter_Codes values (400, 'pH', 'pH');"
            "insert into tblstation_information (station_id, place_name_description) values "
            "(101, 'Bear River, at the bridge');"
            "insert into tblsample (idloc, sample_code, station_id, start_date, project_code) "
            "values ('V', 1, 101, '2004-03-01 09:30:00', 'P1'), ('S', 2, 101, '2004-03-02', "
            "'P2');"
            "insert into tblresults (idloc, sample_code, parameter_code, result_value) values "
            "('V', 1, 400, 71), ('S', 2, 400, 7)");
    }
    int Run(bool summary, std::vector<std::string> args) {
        out.str("");
        err.str("");
        args.push_back("--database");
        args.push_back(db);
        return summary ? review::RunSummaryCommand(
                             args, [] { return std::nullopt; }, out, err)
                       : review::RunReviewCommand(
                             args, [] { return std::nullopt; }, out, err);
    }

    testing_support::TempDir dir;
    const std::string path = dir.file("water.db");
    const std::string db = testing_support::Location(path);
    const std::string csv = dir.file("found.csv");
    std::ostringstream out, err;
};

}  // namespace

TEST_F(ReviewCommand, WritesTheFindingsNotReviewedAndSaysHowMany) {
    EXPECT_EQ(Run(false, {"--output", csv}), 3) << err.str();
    EXPECT_EQ(out.str(), "Wrote 1 finding to " + csv + ".\n");
    EXPECT_EQ(testing_support::ReadFile(csv),
              "Check,Source,Sample,Station,Station name,Date,Parameter,Parameter name,Value,"
              "Detail\r\nNot possible,V,1,101,\"Bear River, at the bridge\",3/1/2004 9:30:00 "
              "AM,400,pH,71,A pH of 71 is not possible: pH lies between 0 and 14\r\n");

    // Marked reviewed, it is left out, and nothing found is status 0.
    auto database = platform::Database::OpenDatabase(db);
    store::ReviewMarks(*database).Mark(store::Review(*database).Findings({}), "");
    EXPECT_EQ(Run(false, {"--output", csv}), 0) << err.str();
    EXPECT_EQ(out.str(), "Wrote 0 findings to " + csv + ". Left out 1 finding marked reviewed.\n");
    EXPECT_EQ(testing_support::ReadFile(csv).find("\r\n") + 2,
              testing_support::ReadFile(csv).size());

    database->ExecuteNative("update tblresults set result_value = -3 where sample_code = 1");
    EXPECT_EQ(Run(false, {"--output", csv, "--parameter", "PH", "--station", "101", "--from",
                          "3/1/2004", "--to", "3/1/2004", "--hand-entered", "--project", "P1"}),
              3);
    EXPECT_EQ(Run(false, {"--output", csv, "--project", "P2"}), 0);
}

TEST_F(ReviewCommand, TheSummaryTable) {
    EXPECT_EQ(Run(true, {"--output", csv, "--station", "101"}), 0) << err.str();
    EXPECT_EQ(out.str(), "Wrote the summary of 1 station and parameter to " + csv + ".\n");
    EXPECT_EQ(testing_support::ReadFile(csv),
              "Station,Station name,Parameter,Parameter name,Count,Below limit,Minimum,10th "
              "percentile,Median,Mean,90th percentile,Maximum,First date,Last date,Outside "
              "expected range\r\n101,\"Bear River, at the bridge\",400,pH,2,0,7,13.4,39,39,64.6,"
              "71,3/1/2004 9:30:00 AM,3/2/2004,0\r\n");
}

TEST_F(ReviewCommand, WrongArgumentsAndFailuresWriteNothing) {
    const std::string elsewhere = dir.file("no/such/folder/f.csv");
    struct Case {
        bool summary;
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {false, {}, 2, "--review needs --output FILE.csv"},
        {true, {"--output", dir.file("f.txt")}, 2, "--output must name a .csv file"},
        {false, {"--output", csv, "--from", "13/45/2004"}, 2, "cannot read the date '13/45/2004'"},
        {false, {"--output", csv, "--from", "3/2/2004", "--to", "3/1/2004"}, 2, "comes before"},
        {false, {"--output", csv, "--station", "Bear"}, 2, "\"Bear\" is no station code"},
        {true, {"--output", csv, "--colour", "red"}, 2, "unknown summary option --colour"},
        {false, {"--output", csv, "--parameter", "Zinc"}, 1, "no parameter has the code"},
        {false, {"--output", elsewhere}, 1, "cannot write"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.summary, c.args), c.status) << c.says;
        EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_FALSE(std::filesystem::exists(csv));
    std::ostringstream o, e;
    EXPECT_EQ(review::RunReviewCommand(
                  {"--output", csv}, [] { return std::nullopt; }, o, e),
              1);
    EXPECT_NE(e.str().find("no database"), std::string::npos) << e.str();
}

// --import-results: the exit status, what it prints, and that a refused row keeps the file
// out unless told to skip it.
#include <gtest/gtest.h>

#include <sstream>

#include "EngineSupport.h"
#include "ImportCommand.h"
#include "LabFile.h"

namespace {

class ImportCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        db = lab::Database(dir.file("lab.db"));
        testing_support::WriteFile(file, lab::File("\r\n"));
    }
    int Run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return import::RunImportCommand(
            args, [&] { return remembered; }, out, err);
    }
    std::string Stored() {
        return testing_support::QueryValue(*db, "select count(*) from tblresults");
    }

    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db;
    std::string file = dir.file("lab.csv");
    std::optional<std::string> remembered;
    std::ostringstream out, err;
};

TEST_F(ImportCommand, StoresOnlyWhenNoRowIsRefusedOrWhenToldToSkip) {
    const std::string database = testing_support::Location(dir.file("lab.db"));
    EXPECT_EQ(Run({file, "--database", database}), 1);
    EXPECT_EQ(out.str(),
              "line 306: unknown remark code \"Q\"\n"
              "Nothing was stored. The file holds 302 numeric results (2 replaced), 2 text "
              "results and 1 replicate; 1 row refused; --skip-refused stores the rest.\n");
    EXPECT_EQ(Stored(), "1");

    remembered = database;
    EXPECT_EQ(Run({"--skip-refused", file}), 0);
    EXPECT_EQ(out.str(),
              "line 306: unknown remark code \"Q\"\n"
              "Stored 302 numeric results (2 replaced), 2 text results and 1 replicate; "
              "1 row refused.\nReplaced:\n"
              "sample 1, parameter 400: the numeric result 7.1 by the numeric result 7.3\n"
              "sample 1, parameter 10: the text result ICE by the numeric result 18\n");
    EXPECT_EQ(Stored(), "302");
}

// A lab that writes "12,5" and keeps a note beside it, separated by semicolons.
TEST_F(ImportCommand, ReadsTheFilesDecimalMarkAndRefusesWhatWouldBeLost) {
    const std::string semicolons = dir.file("semicolons.csv");
    testing_support::WriteFile(
        semicolons,
        "sample_code;parameter_code;result_value;remark_code;grade;comments\n"
        "1;400;12,5;;A;\"note; x\"\n");
    const std::string database = testing_support::Location(dir.file("lab.db"));
    auto pH = [&] {
        return testing_support::QueryRows(
            *db, "select result_value, comments from tblresults where parameter_code = 400");
    };

    EXPECT_EQ(Run({semicolons, "--database", database, "--decimal-point"}), 1);
    EXPECT_EQ(out.str(),
              "line 2: \"12,5\" reads as the number 12.5, to be stored as the number or as "
              "typed\nNothing was stored. The file holds 0 numeric results, 0 text results and 0 "
              "replicates; 1 row refused; --skip-refused stores the rest, --store-as-typed "
              "stores the numbers written otherwise as text.\n");
    EXPECT_EQ(Run({semicolons, "--database", database, "--decimal-point", "--store-as-typed",
                   "--skip-refused"}),
              0);
    EXPECT_EQ(out.str(),
              "line 2: a text result keeps no comment, and the comment \"note; x\" would be "
              "lost\nStored 0 numeric results, 0 text results and 0 replicates; 1 row refused.\n");
    EXPECT_EQ(pH(), (testing_support::Table{{"7.1", "field"}}));

    EXPECT_EQ(Run({semicolons, "--database", database}), 0);
    EXPECT_EQ(out.str(),
              "The values are read with a decimal comma, as the file writes them; "
              "--decimal-point reads them otherwise.\n"
              "Stored 1 numeric result (1 replaced), 0 text results and 0 replicates; 0 rows "
              "refused.\nReplaced:\n"
              "sample 1, parameter 400: the numeric result 7.1 by the numeric result 12.5\n");
    EXPECT_EQ(pH(), (testing_support::Table{{"12.5", "note; x"}}));

    // A comma-separated file is taken for decimal points unless told otherwise.
    testing_support::WriteFile(semicolons,
                               "sample_code,parameter_code,result_value\n1,400,\"7,5\"\n");
    EXPECT_EQ(Run({semicolons, "--database", database}), 1);
    EXPECT_EQ(Run({semicolons, "--database", database, "--decimal-comma"}), 0);
    EXPECT_EQ(pH(), (testing_support::Table{{"7.5", ""}}));
}

TEST_F(ImportCommand, TellsWrongArgumentsFromFailures) {
    testing_support::WriteFile(dir.file("novalue.csv"), "sample_code,parameter_code\n1,400\n");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string message;
    } cases[] = {
        {{}, 2, "--import-results needs a file"},
        {{file, "--database"}, 2, "--database needs a value"},
        {{file, "--all"}, 2, "unknown import option --all"},
        {{file, "--decimal-comma", "--decimal-point"},
         2,
         "--decimal-comma and --decimal-point exclude each other"},
        {{file, file}, 2, "unknown import option " + file},
        {{dir.file("none.csv")}, 1, "cannot read " + dir.file("none.csv")},
        {{dir.file("novalue.csv")}, 1, "No column is chosen for the value."},
        {{file}, 1, "datalocation"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.args), c.status) << c.message;
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    }
    EXPECT_EQ(Stored(), "1");
}

}  // namespace
